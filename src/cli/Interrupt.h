#pragma once

#include <csignal>

namespace cli {

// While it lives, Ctrl-C and SIGTERM only raise a flag, so that work which put
// the sensor into a special mode can take it back out before the program ends.
class InterruptFlag {
public:
    InterruptFlag();
    ~InterruptFlag();
    InterruptFlag(const InterruptFlag&) = delete;
    InterruptFlag& operator=(const InterruptFlag&) = delete;

    bool raised() const;

private:
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};

}  // namespace cli
