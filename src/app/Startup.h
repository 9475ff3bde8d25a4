#pragma once

#include <QString>
#include <functional>
#include <memory>

#include "ui/AccessLevel.h"

class Dialogs;
class MainState;
class PageControl;
class QWidget;
class SettingsStore;
class TAboutForm;

namespace platform {
class Clock;
}

// What the start-up works with; the main window wires it.
struct StartupParts {
    QWidget& window;
    PageControl& pages;
    MainState& state;
    SettingsStore& settings;
    Dialogs& dialogs;
    platform::Clock& clock;
    // Told how long the splash and the wait took; may be empty.
    const std::function<void(const QString& line)>& trace;
    std::function<void()> applyLanguage;
    std::function<void(TAccessLevel level)> setAccessLevel;
    // False when the user quit the port dialog.
    std::function<bool()> openPort;
};

// The start-up sequence after the main window has been built: splash, settings,
// first-run language, access level, texts, sensor link, and the window shown.
// An error (a settings value of the wrong type) propagates and ends the program.
class Startup {
public:
    static constexpr int ShowDelayMs = 500;

    explicit Startup(StartupParts parts);
    ~Startup();

    // False when the user quit at the port dialog: the window stays hidden and no port was opened.
    bool Run();

private:
    void FadeInSplash();
    void OpenSettings();
    void ChooseLanguage();
    void ApplyAccessLevel();
    bool OpenStoredPort();
    void ShowMainWindow();
    void Finish();

    StartupParts parts_;
    std::unique_ptr<TAboutForm> splash_;
};
