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

    // The start-up step: stored, probed, or asked.
    void Startup();
    // The SelComPort button: closes the port, asks, and opens the choice.
    void Choose();

private:
    void AskAndOpen();
    // The dialog's choice, or nothing when the user quit.
    bool Ask(uint8_t& choice);
    void Use(uint8_t choice);
    bool ProbeStored(uint8_t port);
    // Tells the user about ports that exist but that this account may not open.
    void Advise(const std::vector<app::PortEntry>& denied);

    TMainForm& form_;
};
