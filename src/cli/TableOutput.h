#pragma once

#include <string>

#include "comm/ParameterSet.h"

namespace cli {

// The register table for people: one line per register with its value, the
// sensor's reply and whether it answered.
std::string parameterSetTable(const std::string& port, const ParameterSet& set);

}  // namespace cli
