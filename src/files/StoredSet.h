#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "comm/ParameterSet.h"
#include "files/ParameterFile.h"

// Which part of the register table a parameter file carries, and how a file's
// values go back into the table.
namespace files {

// Registers 0 to 28; the rest (ultrasonic speed, operating time, range points,
// linearization, blanking) belong to the sensor and are not stored.
inline constexpr int StoredRegisterCount = 29;

// A file of the set's stored values, with the full table's set size.
ParameterFile FileOfSet(const ParameterSet& set, std::string header, SaveDate date);

// Puts the file's values into registers 0 to N - 1. The firmware version stays
// the connected sensor's: the reply lengths and the order of writes follow it.
void LoadIntoSet(const ParameterFile& file, ParameterSet& set);

}  // namespace files
