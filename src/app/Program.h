#pragma once

class Dialogs;
class VarnelApplication;

namespace platform {
class Clock;
class SerialBackend;
}  // namespace platform

// What the program needs of its platform; main() passes the real ones.
struct ProgramPlatform {
    platform::SerialBackend& serial;
    platform::Clock& clock;
    Dialogs& dialogs;
    platform::SerialBackend& probe;  // used only to find the ports that exist
    bool traceStatus = false;        // --trace-status: the status line goes to stderr
};

// Reads the settings, builds and starts the main window and runs the event
// loop. An error during start-up is shown and ends the program with 1.
int RunVarnel(VarnelApplication& app, ProgramPlatform platform);
