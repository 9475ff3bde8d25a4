#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "app/PortList.h"

class Dialogs;
class MainState;
class QWidget;
class SettingsStore;
class TSSICom;

namespace platform {
class Clock;
class ComPortMap;
class SerialBackend;
}  // namespace platform

// What the port choice works with; the main window wires it.
struct PortChoiceParts {
    TSSICom& link;
    MainState& state;
    SettingsStore& settings;
    Dialogs& dialogs;
    QWidget& window;  // the parent of the port dialog
    platform::SerialBackend& probe;
    platform::Clock& clock;
    const platform::ComPortMap& ports;
    // Opens the port on the command link (0 is the demo port).
    std::function<void(uint8_t port)> openLink;
};

// Which port the program talks through: the stored one when it can be opened,
// otherwise the user's choice from the port dialog ("Demo" is port 0).
class PortChoice {
public:
    explicit PortChoice(PortChoiceParts parts);

    // The start-up step: stored, probed, or asked. False when the user quit the
    // dialog (or closed it), before any port was opened.
    bool Startup();
    // The SelComPort button: closes the port, asks, and opens the choice. Quit
    // ends the program; closing the dialog opens the previous port again.
    void Choose();

private:
    enum class Answer { Connect, Quit, Cancel };

    bool AskAtStartup();
    Answer Ask(uint8_t& choice);
    void Use(uint8_t choice);
    void Open(bool connectedToDemo);
    bool ProbeStored(uint8_t port);
    // Tells the user about ports that exist but that this account may not open.
    void Advise(const std::vector<app::PortEntry>& denied);
    void Tell(const QString& advice);

    PortChoiceParts parts_;
};
