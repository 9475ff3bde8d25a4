#include "StreamCommand.h"

#include "ExitCode.h"
#include "JsonOutput.h"

namespace cli {

namespace {

std::string millimetres(const testmode::Reading& reading, bool halfMicrometres) {
    return testmode::MillimetreText(
        testmode::Millimetres(reading.sample.position, halfMicrometres));
}

std::string temperature(const testmode::Reading& reading, const char* none) {
    return reading.sample.temperature ? std::to_string(*reading.sample.temperature) : none;
}

// The record as printable ASCII; a byte that is not is shown as '?'.
std::string printableRecord(const std::string& record) {
    std::string text = record;
    for (char& c : text) {
        if (c < ' ' || c > '~') {
            c = '?';
        }
    }
    return text;
}

}  // namespace

std::string sampleLine(const testmode::Reading& reading, bool halfMicrometres,
                       SampleFormat format) {
    const std::string mm = millimetres(reading, halfMicrometres);
    switch (format) {
        case SampleFormat::Json:
            return "{\"position_mm\": " + mm +
                   ", \"temperature\": " + temperature(reading, "null") +
                   ", \"raw\": " + jsonString(reading.record) + "}";
        case SampleFormat::Csv:
            return mm + "," + temperature(reading, "") + "," + printableRecord(reading.record);
        case SampleFormat::Text:
            break;
    }
    const std::string degrees = temperature(reading, "");
    return mm + " mm" + (degrees.empty() ? "" : "  " + degrees + " °C");
}

std::optional<std::string> sampleHeader(SampleFormat format) {
    if (format == SampleFormat::Csv) {
        return "position_mm,temperature,raw";
    }
    return std::nullopt;
}

StreamCommand::StreamCommand(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                             const volatile std::sig_atomic_t& stop)
    : com_(com), port_(std::move(port)), out_(out), err_(err), stop_(stop) {}

int StreamCommand::run(std::optional<long> count, SampleFormat format) {
    testmode::SensorTestLink link(com_);
    link.Enter();
    if (const auto header = sampleHeader(format)) {
        out_ << *header << "\n";
    }
    long printed = 0;
    std::optional<std::string> lost;
    while (!stop_ && (!count || printed < *count) && !lost) {
        if (const auto reading = link.ReadBlock()) {
            out_ << sampleLine(*reading, link.HalfMicrometres(), format) << "\n";
            ++printed;
        } else if (com_.ReadRequestFailed()) {
            lost = com_.LastError().message;
        }
    }
    out_.flush();
    const bool left = link.Leave();
    if (lost) {
        err_ << "The port " << port_ << " stopped working during the stream: " << *lost << "\n";
        return SensorFailure;
    }
    if (!left) {
        err_ << "The sensor on " << port_
             << " did not take its measurement mode back after the stream; read it and check.\n";
        return SensorFailure;
    }
    return Success;
}

}  // namespace cli
