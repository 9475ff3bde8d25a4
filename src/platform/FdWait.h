#pragma once

#include <cstdint>

#include "platform/Clock.h"

namespace platform {

enum class FdWait {
    Ready,
    TimedOut,
    PollError,  // errno tells why
    Broken,     // an error or a hang-up came instead of the events
};

// Waits until fd is ready for `events` or the clock reaches the deadline; an
// interrupted wait goes on.
FdWait WaitForFd(int fd, short events, int64_t deadline, Clock& clock);

}  // namespace platform
