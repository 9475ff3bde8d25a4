#pragma once

#include <string>
#include <vector>

#include "comm/Ssicom.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

// A TSSICom on COM1, wired to a simulated sensor on virtual time.
struct SimLink {
    explicit SimLink(const sim::SensorConfig& config = {}, uint8_t port = 1) : sensor(config) {
        com.OpenDefault(port);
    }

    // Command lines the sensor received, without their carriage returns.
    std::vector<std::string> commands() const { return entries(sim::TrafficEntry::Kind::Command); }
    std::vector<std::string> entries(sim::TrafficEntry::Kind kind) const {
        std::vector<std::string> texts;
        for (const sim::TrafficEntry& e : sensor.traffic()) {
            if (e.kind == kind) {
                texts.push_back(e.text);
            }
        }
        return texts;
    }
    // When the carriage return of each command arrived.
    std::vector<int64_t> commandTimes() const {
        std::vector<int64_t> times;
        for (const sim::TrafficEntry& e : sensor.traffic()) {
            if (e.kind == sim::TrafficEntry::Kind::Command) {
                times.push_back(e.timeMs);
            }
        }
        return times;
    }
    int64_t lastCommandTime() const {
        const std::vector<int64_t> times = commandTimes();
        return times.empty() ? -1 : times.back();
    }
    int64_t elapsedSince(int64_t start) { return clock.now() - start; }

    platform::VirtualClock clock;
    sim::SimulatedSensor sensor;
    sim::InProcessBackend backend{sensor, clock};
    platform::ComPortMap ports;
    TSSICom com{backend, clock, ports};
};

template <typename Change>
sim::SensorConfig configWith(Change change) {
    sim::SensorConfig config;
    change(config);
    return config;
}

inline sim::SensorConfig firmware(int version) {
    sim::SensorConfig config;
    config.firmwareVersion = version;
    return config;
}
