#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "support/ChildProcess.h"
#include "support/Elapsed.h"

namespace testsupport {

// How a program run to its end went.
struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
    int64_t elapsedMs = 0;
};

// Runs argv (the program first) with env until it ends or the limit passes;
// a program still running then is a test failure and is stopped.
inline ProgramRun RunToEnd(const std::vector<std::string>& argv,
                           const std::vector<std::string>& env, std::chrono::milliseconds limit) {
    const auto start = ChildProcess::Clock::now();
    ChildProcess program(argv, env);
    ProgramRun run;
    const auto code = program.wait(limit);
    run.elapsedMs = msSince(start);
    EXPECT_TRUE(code.has_value()) << argv.front() << " did not end within the limit";
    run.exitCode = code.value_or(-1);
    program.stop();
    run.out = program.out();
    run.err = program.err();
    return run;
}

}  // namespace testsupport
