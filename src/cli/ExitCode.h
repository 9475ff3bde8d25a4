#pragma once

namespace cli {

enum ExitCode : int {
    Success = 0,
    SensorFailure = 1,  // no answer, no confirmation, or the port cannot be opened
    FileFailure = 1,    // the settings file cannot be read or holds a wrong type
    UsageError = 2,
};

}  // namespace cli
