#pragma once

#include <string>
#include <variant>
#include <vector>

#include "sim/SensorTypes.h"

namespace sim {

// What the command line of varnel-sensor-sim asks for.
struct SimOptions {
    SensorConfig sensor;
    Faults faults;
    std::string linkPath;
    std::string statePath;
    std::string logPath;
    double unplugAfterSeconds = 0;  // 0: stays plugged in
    bool help = false;
    bool version = false;
};

// The options, or the message that explains what is wrong with them.
std::variant<SimOptions, std::string> parseSimOptions(const std::vector<std::string>& args);

std::string simUsage();

}  // namespace sim
