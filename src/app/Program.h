#pragma once

#include <functional>
#include <string>

#include "app/Main.h"

class VarnelApplication;

// Receives the address of a network port whose server leaves modem-line
// requests unanswered.
using ModemLineWarningReceiver = std::function<void(const std::string& address)>;
// Lets the window receive those warnings while it exists (an empty receiver ends it).
using ModemLineWarningHook = std::function<void(ModemLineWarningReceiver)>;

// Reads the settings, builds and starts the main window and runs the event
// loop. An error during start-up is shown and ends the program with 1. With
// `traceStatus` (--trace-status) the status line goes to stderr.
int RunVarnel(VarnelApplication& app, ProgramServices services, bool traceStatus = false,
              const ModemLineWarningHook& modemLineWarnings = {});
