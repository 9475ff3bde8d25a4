#include "StreamCommand.h"

#include <cstdio>

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

std::string number(const char* format, double value) {
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string figureLines(const testmode::Figures& f, const std::string& indent) {
    if (f.positions == 0) {
        return indent + "no positions\n";
    }
    return indent + "mean " + number("%.2f", f.meanUm) + " µm, standard deviation " +
           number("%.2f", f.deviationUm) + " µm, peak-to-peak " + number("%.1f", f.peakToPeakUm) +
           " µm\n" + indent + "minimum " + testmode::MillimetreText(f.minimumMm) + " mm, maximum " +
           testmode::MillimetreText(f.maximumMm) + " mm\n";
}

std::string countLine(const testmode::Figures& f) {
    return std::to_string(f.samples) + " samples, " + number("%.1f", f.samplesPerSecond) + "/s, " +
           std::to_string(f.errors.errorValues) + " error values, " +
           std::to_string(f.errors.undecoded) + " undecoded blocks\n";
}

std::string jsonFigure(double value, bool known, const char* format) {
    return known ? number(format, value) : "null";
}

std::string figuresJson(const testmode::Figures& f) {
    const bool known = f.positions > 0;
    return "{\"samples\": " + std::to_string(f.samples) +
           ", \"positions\": " + std::to_string(f.positions) +
           ", \"samples_per_s\": " + number("%.3f", f.samplesPerSecond) +
           ", \"error_values\": " + std::to_string(f.errors.errorValues) +
           ", \"undecoded\": " + std::to_string(f.errors.undecoded) +
           ", \"mean_um\": " + jsonFigure(f.meanUm, known, "%.4f") +
           ", \"stddev_um\": " + jsonFigure(f.deviationUm, known, "%.4f") +
           ", \"peak_to_peak_um\": " + jsonFigure(f.peakToPeakUm, known, "%.1f") +
           ", \"min_mm\": " + (known ? testmode::MillimetreText(f.minimumMm) : "null") +
           ", \"max_mm\": " + (known ? testmode::MillimetreText(f.maximumMm) : "null") + "}";
}

}  // namespace

std::string statisticsText(const testmode::StreamStatistics& statistics, double wireRate) {
    const testmode::Figures all = statistics.SinceStart();
    const testmode::Figures window = statistics.Window();
    return "Statistics: " + countLine(all) + "  the wire carries " + number("%.1f", wireRate) +
           " blocks/s\n" + figureLines(all, "  ") + "Last " + std::to_string(window.samples) +
           " samples: " + number("%.1f", window.samplesPerSecond) + "/s, " +
           std::to_string(window.errors.errorValues) + " error values, " +
           std::to_string(window.errors.undecoded) + " undecoded blocks\n" +
           figureLines(window, "  ");
}

std::string statisticsJson(const testmode::StreamStatistics& statistics, double wireRate) {
    return "{\"stats\": " + figuresJson(statistics.SinceStart()) +
           ", \"wire_samples_per_s\": " + number("%.3f", wireRate) +
           ", \"window\": " + figuresJson(statistics.Window()) + "}\n";
}

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

int StreamCommand::run(const StreamRequest& request) {
    testmode::SensorTestLink link(com_);
    link.Enter();
    if (const auto header = sampleHeader(request.format)) {
        out_ << *header << "\n";
    }
    testmode::StreamStatistics statistics(link.HalfMicrometres());
    const int64_t startMs = com_.Now();
    const auto due = [&] {
        return request.seconds && double(com_.Now() - startMs) >= *request.seconds * 1000;
    };
    long printed = 0;
    std::optional<std::string> lost;
    while (!stop_ && (!request.count || printed < *request.count) && !due() && !lost) {
        if (const auto reading = link.ReadBlock()) {
            out_ << sampleLine(*reading, link.HalfMicrometres(), request.format) << "\n";
            statistics.Add(testmode::Timed(*reading));
            ++printed;
        } else if (com_.ReadRequestFailed()) {
            lost = com_.LastError().message;
        }
    }
    printStatistics(request, statistics, link.WireBlocksPerSecond());
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

void StreamCommand::printStatistics(const StreamRequest& request,
                                    const testmode::StreamStatistics& statistics, double wireRate) {
    if (!request.stats) {
        return;
    }
    switch (request.format) {
        case SampleFormat::Json:
            out_ << statisticsJson(statistics, wireRate);
            break;
        case SampleFormat::Csv:
            err_ << statisticsText(statistics, wireRate);
            break;
        case SampleFormat::Text:
            out_ << statisticsText(statistics, wireRate);
            break;
    }
}

}  // namespace cli
