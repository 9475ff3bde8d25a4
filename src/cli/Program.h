#pragma once

#include <ostream>

#include "Arguments.h"

namespace cli {

// Runs a parsed invocation against the real serial port; returns the exit code.
int execute(const Invocation& invocation, std::ostream& out, std::ostream& err);

}  // namespace cli
