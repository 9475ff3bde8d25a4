#pragma once

#include <csignal>
#include <optional>
#include <ostream>
#include <string>

#include "Arguments.h"
#include "comm/Ssicom.h"
#include "testmode/SensorTestLink.h"
#include "testmode/StreamStatistics.h"

namespace cli {

// One sample as a line of the chosen format, without the line end.
std::string sampleLine(const testmode::Reading& reading, bool halfMicrometres, SampleFormat format);
// The first line of the format, if it has one.
std::optional<std::string> sampleHeader(SampleFormat format);

struct StreamRequest {
    std::optional<long> count;      // samples, all when empty
    std::optional<double> seconds;  // on the link's clock, instead of a count
    SampleFormat format = SampleFormat::Text;
    bool stats = false;
};

// The statistics since the start and over the last window, as lines of text or
// as one JSON object on one line; both end with a line end.
std::string statisticsText(const testmode::StreamStatistics& statistics, double wireRate);
std::string statisticsJson(const testmode::StreamStatistics& statistics, double wireRate);

// Switches the sensor into its test mode, prints its samples and switches it
// back after `count` samples or `seconds`, once `stop` is set (by a signal handler), or when
// the port stops working.
class StreamCommand {
public:
    StreamCommand(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                  const volatile std::sig_atomic_t& stop);

    // Expects the parameter set read; returns the exit code.
    int run(const StreamRequest& request);

private:
    void printStatistics(const StreamRequest& request, const testmode::StreamStatistics& statistics,
                         double wireRate);

    TSSICom& com_;
    std::string port_;
    std::ostream& out_;
    std::ostream& err_;
    const volatile std::sig_atomic_t& stop_;
};

}  // namespace cli
