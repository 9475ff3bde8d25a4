#include "platform/FdWait.h"

#include <poll.h>

#include <cerrno>

namespace platform {

FdWait WaitForFd(int fd, short events, int64_t deadline, Clock& clock) {
    for (;;) {
        const int64_t left = deadline - clock.now();
        if (left <= 0)
            return FdWait::TimedOut;
        pollfd p{fd, events, 0};
        const int n = poll(&p, 1, int(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return FdWait::PollError;
        if (n == 0)
            continue;
        return (p.revents & events) ? FdWait::Ready : FdWait::Broken;
    }
}

}  // namespace platform
