#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/Clock.h"
#include "platform/SerialBackend.h"
#include "sim/SimulatedSensor.h"

namespace sim {

// A serial port wired straight to a SimulatedSensor on virtual time. Writes take
// their wire time at the open baud rate; reads wait on the virtual clock for the
// sensor's bytes under the open time-out. Devices other than `devicePath` do not exist.
class InProcessBackend final : public platform::SerialBackend {
public:
    InProcessBackend(SimulatedSensor& sensor, platform::VirtualClock& clock,
                     std::string devicePath = "/dev/ttyUSB0");

    bool open(const std::string& devicePath, int baudRate, int timeoutMs) override;
    bool probe(const std::string& devicePath) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool setRts(bool asserted) override;
    bool purge() override;
    bool read(uint8_t* buffer, size_t n, size_t& received) override;
    bool write(const uint8_t* buffer, size_t n) override;
    const platform::SystemError& lastError() const override { return error_; }

    // Unplugging makes every request on the open port fail and the device vanish.
    void unplug();
    void plugIn();
    // Unplugged from `fromMs` until `untilMs` on the clock: requests in between fail
    // as after unplug(), and what the sensor sends in between is lost.
    void unplugBetween(int64_t fromMs, int64_t untilMs);
    bool busy = false;       // another program holds the device: open and probe fail with EBUSY
    int failedRequests = 0;  // every request that failed, for tests of what follows a failure

    int baudRate() const { return baudRate_; }
    int timeoutMs() const { return timeoutMs_; }

private:
    bool fail(int code, const std::string& what);
    // Clears the last error; false (with the reason) when no request can be made.
    bool usable();
    bool deviceAvailable(const std::string& devicePath);
    bool unplugged(int64_t atMs) const;
    // Moves what the sensor has sent up to `untilMs` into the receive buffer.
    void collect(int64_t untilMs);

    SimulatedSensor& sensor_;
    platform::VirtualClock& clock_;
    std::string devicePath_;
    std::deque<uint8_t> received_;
    platform::SystemError error_;
    bool open_ = false;
    bool unplugged_ = false;
    int64_t unpluggedFromMs_ = 0;
    int64_t unpluggedUntilMs_ = 0;
    int baudRate_ = 0;
    int timeoutMs_ = 0;
};

}  // namespace sim
