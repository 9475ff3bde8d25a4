#pragma once

#include <cstdint>
#include <string>

#include "sim/SensorTypes.h"

namespace sim {

// One line of the traffic log: milliseconds since `originMs`, the baud rate,
// and what happened ("RX" command received, "TX" reply sent, "RTS", "BAUD").
// Bytes that are not printable appear as \xNN.
std::string formatTrafficLine(const TrafficEntry& entry, int64_t originMs);

}  // namespace sim
