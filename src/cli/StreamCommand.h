#pragma once

#include <csignal>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "comm/Ssicom.h"
#include "testmode/SensorTestLink.h"

namespace cli {

// One sample as a line of the chosen format, without the line end.
std::string sampleLine(const testmode::Reading& reading, bool halfMicrometres, SampleFormat format);
// The first line of the format, if it has one.
std::optional<std::string> sampleHeader(SampleFormat format);

// Switches the sensor into its test mode, prints its samples and switches it
// back after `count` samples, once `stop` is set (by a signal handler), or when
// the port stops working.
class StreamCommand {
public:
    StreamCommand(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                  const volatile std::sig_atomic_t& stop);

    // Expects the parameter set read; returns the exit code.
    int run(std::optional<long> count, SampleFormat format);

private:
    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    const volatile std::sig_atomic_t& stop_;
};

}  // namespace cli
