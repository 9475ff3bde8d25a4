#pragma once

#include <string>

#include "platform/Clock.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace simtest {

// A sensor on an open 4800 baud, 50 ms in-process port, driven on virtual time.
struct Link {
    explicit Link(const sim::SensorConfig& config = {}, int baud = 4800, int timeoutMs = 50)
        : sensor(config), backend(sensor, clock) {
        backend.open("/dev/ttyUSB0", baud, timeoutMs);
    }

    bool send(const std::string& command) {
        const std::string wire = command + "\r";
        return backend.write(reinterpret_cast<const uint8_t*>(wire.data()), wire.size());
    }

    // Reads n bytes; returns what arrived (possibly fewer).
    std::string read(size_t n) {
        std::string text(n, '\0');
        size_t received = 0;
        backend.read(reinterpret_cast<uint8_t*>(text.data()), n, received);
        text.resize(received);
        return text;
    }

    // A command and its whole reply (payload + CR), read at once after sending.
    std::string ask(const std::string& command, size_t replyLength) {
        send(command);
        return read(replyLength);
    }

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::InProcessBackend backend;
};

}  // namespace simtest
