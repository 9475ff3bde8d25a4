#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "sim/SensorMemory.h"

namespace sim {

// The sensor's non-volatile memory as text lines: the EEPROM copy and the
// factory set word by word, the linearization table, the operating time and
// every flash page that holds more than the erased bytes.
std::string formatState(const SensorMemory& memory, int64_t timeMs);
// Applies a text of formatState to `memory`; on any malformed line it changes
// nothing and returns false. Working memory is left alone.
bool parseState(std::string_view text, SensorMemory& memory, int64_t timeMs);

std::optional<std::string> readFile(const std::string& path);

}  // namespace sim
