#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace testsupport {

// Starts the simulator `program` on `link` with `options` into `sim` (ending the one it held)
// and returns once it has printed its pseudo-terminal and published the link, or with a
// failure of the test.
inline void StartSimulator(std::unique_ptr<ChildProcess>& sim, const std::string& program,
                           const std::string& link, const std::vector<std::string>& options,
                           std::chrono::milliseconds limit = std::chrono::seconds(20)) {
    sim.reset();
    std::vector<std::string> argv = {program, "--link", link};
    argv.insert(argv.end(), options.begin(), options.end());
    sim = std::make_unique<ChildProcess>(argv);
    ASSERT_TRUE(sim->started());
    const auto terminal = sim->outputLine(limit);
    ASSERT_TRUE(terminal.has_value()) << "no terminal from the simulator: " << sim->err();
    EXPECT_EQ(terminal->rfind("/dev/", 0), 0u) << *terminal;
    ASSERT_TRUE(std::filesystem::exists(link)) << "the simulator published no link";
}

}  // namespace testsupport
