#pragma once

#include <cstdint>

namespace platform {

// Milliseconds on a monotonic time line. Every pause and time-out of the sensor
// protocol goes through a Clock so that tests can run them on virtual time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual int64_t now() = 0;
    virtual void sleep(int64_t ms) = 0;
};

class SteadyClock final : public Clock {
public:
    int64_t now() override;
    void sleep(int64_t ms) override;
};

// Time that moves only when someone sleeps or advances it.
class VirtualClock final : public Clock {
public:
    int64_t now() override { return now_; }
    void sleep(int64_t ms) override { advanceTo(now_ + ms); }
    void advanceTo(int64_t ms) {
        if (ms > now_)
            now_ = ms;
    }

private:
    int64_t now_ = 0;
};

}  // namespace platform
