#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include <QString>

#include "app/PortList.h"

class Dialogs;
class TComPortSelectForm;
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
    QWidget& window;                  // the parent of the port dialog
    platform::SerialBackend& serial;  // the link's own, for the search while the link is closed
    platform::SerialBackend& probe;
    std::function<platform::PortDescription(const std::string& devicePath)> describe;
    platform::Clock& clock;
    platform::ComPortMap& ports;
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
    // Lists the ports anew in the port dialog while it is open.
    void PortsChanged();

private:
    enum class Answer { Connect, Quit, Cancel };

    bool AskAtStartup();
    Answer Ask(uint8_t& choice, QString& address);
    app::PortScan Scan();
    search::PortOutcome TryPort(const app::PortEntry& port);
    void Use(uint8_t choice, const QString& address);
    // Makes the port map lead `port` to `path`, here and in the settings.
    void Remember(uint8_t port, const std::string& path);
    void Open(bool connectedToDemo);
    bool ProbeStored(uint8_t port);
    // Tells the user about ports that exist but that this account may not open.
    void Advise(const std::vector<app::PortEntry>& denied);
    void Tell(const QString& advice);

    PortChoiceParts parts_;
    TComPortSelectForm* openDialog_ = nullptr;
};
