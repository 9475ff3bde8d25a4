#pragma once

#include <cstdint>
#include <vector>

#include "app/PortList.h"

class TMainForm;

// Which port the program talks through: the stored one when it can be opened,
// otherwise the user's choice from the port dialog ("Demo" is port 0).
class PortChoice {
public:
    explicit PortChoice(TMainForm& form);

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

    TMainForm& form_;
};
