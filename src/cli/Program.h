#pragma once

#include <ostream>

#include "Arguments.h"

namespace cli {

// Runs a parsed invocation against the real serial port; returns the exit code.
// On a terminal, work that takes seconds draws a progress bar.
int execute(const Invocation& invocation, std::ostream& out, std::ostream& err,
            bool terminal = false);

}  // namespace cli
