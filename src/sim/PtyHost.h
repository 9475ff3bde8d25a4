#pragma once

#include <cstdint>
#include <string>

#include "platform/Clock.h"
#include "platform/UniqueFd.h"
#include "sim/SimulatedSensor.h"

namespace sim {

// Puts a SimulatedSensor behind a pseudo-terminal. The host keeps its own
// descriptor of the slave side open, so the terminal outlives every client, and
// reads the slave's line settings to follow the baud rate the client sets (a
// pseudo-terminal has no RTS line and no real speed). Input and output take
// their wire time at that baud rate unless pacing is off.
class PtyHost {
public:
    // Throws std::system_error when no pseudo-terminal can be had.
    PtyHost(SimulatedSensor& sensor, platform::Clock& clock, bool paced = true);

    const std::string& slavePath() const { return slavePath_; }

    // Waits at most `maxWaitMs` for the client, hands what it wrote to the
    // sensor and writes out what the sensor has sent by now.
    void serve(int maxWaitMs);

private:
    int waitTimeMs(int maxWaitMs);
    void followBaudRate();
    void receiveAvailable();
    void transmitDue();
    int64_t arrivalMs(int64_t nowMs);

    SimulatedSensor& sensor_;
    platform::Clock& clock_;
    platform::UniqueFd master_;
    platform::UniqueFd slave_;
    std::string slavePath_;
    bool paced_;
    int64_t inputFreeUs_ = 0;
};

// The baud rate a termios speed constant stands for, 0 for none.
int baudRateOf(unsigned speed);

}  // namespace sim
