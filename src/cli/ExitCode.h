#pragma once

namespace cli {

enum ExitCode : int {
    Success = 0,
    SensorFailure = 1,  // no answer, no confirmation, or the port cannot be opened
    UsageError = 2,
};

}  // namespace cli
