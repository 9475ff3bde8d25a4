#include "Clock.h"

#include <cerrno>
#include <ctime>

namespace platform {

namespace {
int64_t toMs(const timespec& t) {
    return int64_t(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}
}  // namespace

int64_t SteadyClock::now() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return toMs(t);
}

void SteadyClock::sleep(int64_t ms) {
    if (ms <= 0)
        return;
    timespec deadline{};
    clock_gettime(CLOCK_MONOTONIC, &deadline);
    deadline.tv_sec += ms / 1000;
    deadline.tv_nsec += (ms % 1000) * 1000000;
    if (deadline.tv_nsec >= 1000000000) {
        deadline.tv_sec += 1;
        deadline.tv_nsec -= 1000000000;
    }
    while (clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
    }
}

}  // namespace platform
