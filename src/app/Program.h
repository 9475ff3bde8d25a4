#pragma once

#include "app/Main.h"

class VarnelApplication;

// Reads the settings, builds and starts the main window and runs the event
// loop. An error during start-up is shown and ends the program with 1. With
// `traceStatus` (--trace-status) the status line goes to stderr.
int RunVarnel(VarnelApplication& app, ProgramServices services, bool traceStatus = false);
