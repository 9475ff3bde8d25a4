#pragma once

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
    bool busy = false;  // another program holds the device: open and probe fail with EBUSY

private:
    ...
};

}  // namespace sim
