#pragma once

#include <memory>

class TAboutForm;
class TMainForm;

// The start-up sequence after the main window has been built: splash, settings,
// first-run language, access level, texts, sensor link, and the window shown.
// An error (a settings value of the wrong type) propagates and ends the program.
class Startup {
public:
    static constexpr int ShowDelayMs = 500;

    explicit Startup(TMainForm& form);
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

    TMainForm& form_;
    std::unique_ptr<TAboutForm> splash_;
};
