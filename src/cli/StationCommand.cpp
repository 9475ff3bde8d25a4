#include "StationCommand.h"

#include <ctime>
#include <filesystem>
#include <sstream>
#include <utility>

#include "Commands.h"
#include "ExitCode.h"
#include "FileCommands.h"
#include "JsonOutput.h"

namespace cli {

namespace {

std::string timeText(const char* format, bool utc) {
    const std::time_t now = std::time(nullptr);
    std::tm parts{};
    if (utc)
        gmtime_r(&now, &parts);
    else
        localtime_r(&now, &parts);
    char text[32];
    std::strftime(text, sizeof text, format, &parts);
    return text;
}

// Midnight of the local day, as the history's UTC time.
std::string startOfToday() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_hour = local.tm_min = local.tm_sec = 0;
    local.tm_isdst = -1;
    const std::time_t midnight = std::mktime(&local);
    std::tm utc{};
    gmtime_r(&midnight, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S.000Z", &utc);
    return text;
}

std::string differingText(const station::ApplyResult& result) {
    if (result.failure != station::ApplyResult::Failure::None && result.mismatches().empty()) {
        std::string text = applyFailureText(result, "");
        return text.substr(0, text.find('\n'));
    }
    std::string text;
    for (const station::Check& check : result.mismatches()) {
        text += (text.empty() ? "" : ", ") + std::string(TSSICom::RegisterKey(check.reg)) +
                " (wanted " + std::to_string(check.wanted) + ", found " +
                (check.found ? std::to_string(*check.found) : "no two reads that agree") + ")";
    }
    return text;
}

std::string jsonOrNull(const std::string& text) {
    return text.empty() ? "null" : jsonUtf8String(text);
}

}  // namespace

StationCommand::StationCommand(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                               OperationLog* log, history::HistoryStore* store)
    : com_(com), port_(std::move(port)), out_(out), err_(err), log_(log), store_(store) {}

int StationCommand::run(uint8_t portNumber, const StationOptions& options) {
    options_ = options;
    const auto file = readParameterFile(options.file, err_);
    if (!file)
        return FileFailure;
    station::RunStation(com_, portNumber, *file, options.again, *this);
    progress("");
    return failures_ ? SensorFailure : Success;
}

bool StationCommand::stopRequested() {
    return interrupt_.raised();
}

bool StationCommand::doneToday(const std::string& factoryNumber) {
    if (store_ == nullptr)
        return false;
    const auto events = store_->events({factoryNumber, startOfToday()});
    if (!events) {
        if (!warned_)
            err_ << "varnelctl: warning: " << store_->lastError()
                 << "; sensors done today are set up again\n";
        warned_ = true;
        return false;
    }
    for (const history::Event& event : *events) {
        if (event.operation == history::Operation::Load && event.ok &&
            event.subject == options_.file)
            return true;
    }
    return false;
}

void StationCommand::waitingForSensor() {
    progress("Waiting for a sensor on " + port_ + " (Ctrl-C ends)");
}

void StationCommand::applying(const std::string& factoryNumber) {
    progress("Applying " + options_.file + " to sensor " + factoryNumber);
}

void StationCommand::applied(const std::string& factoryNumber, const station::ApplyResult& result) {
    if (log_ != nullptr)
        logApplied(*log_, result, options_.file);
    const std::string report = result.ok() ? writeReport(factoryNumber) : std::string();
    const bool reportMissing = result.ok() && !options_.reportDir.empty() && report.empty();
    failures_ = failures_ || !result.ok() || reportMissing;
    if (options_.json) {
        line("{\"factoryNumber\": " + jsonString(factoryNumber) +
             ", \"result\": " + (result.ok() ? "\"ok\"" : "\"failed\"") +
             ", \"time\": " + jsonUtf8String(timeText("%Y-%m-%dT%H:%M:%SZ", true)) +
             ", \"report\": " + jsonOrNull(report) +
             ", \"apply\": " + applyJson(options_.file, port_, result) + "}");
        return;
    }
    std::string text = factoryNumber + (result.ok() ? "  OK" : "  FAILED " + differingText(result));
    text += "  " + timeText("%Y-%m-%d %H:%M:%S", false);
    if (!report.empty())
        text += "  report " + report;
    line(text);
}

void StationCommand::skipped(const std::string& factoryNumber) {
    if (options_.json) {
        line("{\"factoryNumber\": " + jsonString(factoryNumber) +
             ", \"result\": \"skipped\", \"time\": " +
             jsonUtf8String(timeText("%Y-%m-%dT%H:%M:%SZ", true)) +
             ", \"report\": null, \"apply\": null}");
        return;
    }
    line(factoryNumber + "  already done today, skipped (--again sets it up again)  " +
         timeText("%Y-%m-%d %H:%M:%S", false));
}

void StationCommand::waitingForRemoval(const std::string& factoryNumber) {
    progress("Remove sensor " + factoryNumber + " from " + port_);
}

std::string StationCommand::writeReport(const std::string& factoryNumber) {
    if (options_.reportDir.empty())
        return {};
    const std::string path =
        (std::filesystem::path(options_.reportDir) / (factoryNumber + ".pdf")).string();
    std::ostringstream written;
    const int code = CommandRunner(com_, port_, written, err_).report(path, options_.language);
    return code == Success ? path : std::string();
}

// One line redrawn in place on a terminal; nothing elsewhere.
void StationCommand::progress(const std::string& text) {
    if (!options_.terminal)
        return;
    err_ << "\r\033[K" << text << std::flush;
    progressShown_ = !text.empty();
}

void StationCommand::line(const std::string& text) {
    if (progressShown_)
        progress("");
    out_ << text << std::endl;
}

}  // namespace cli
