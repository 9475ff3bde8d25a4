#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "comm/Ssicom.h"
#include "sim/SimulatedSensor.h"

namespace soak {

// One place where the program's belief and the sensor's memory differ.
struct Mismatch {
    std::string what;
    std::string belief;
    std::string sensor;
};

// What a register reads as from the sensor's working memory, decoded by the
// register's place in its raw word; nothing for the registers that have no
// value of their own to compare (sample time, operating time, table entries).
std::optional<int32_t> SensorValue(const sim::SimulatedSensor& sensor, TSSICom::RegisterIndex r);

// Every register the program holds as answered against the sensor, the factory
// number by its text, and the image's entries at `believedAddresses`.
std::vector<Mismatch> CompareBelief(const TSSICom& com, const sim::SimulatedSensor& sensor,
                                    const std::set<int>& believedAddresses);

std::string Describe(const std::vector<Mismatch>& mismatches);

}  // namespace soak
