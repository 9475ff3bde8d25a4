#include "FileCommands.h"

#include <array>
#include <ctime>

#include "Commands.h"
#include "ExitCode.h"
#include "FileOutput.h"
#include "JsonOutput.h"
#include "comm/ProgramTitle.h"
#include "files/FileAccess.h"
#include "files/FileHeader.h"
#include "files/StoredSet.h"
#include "platform/AtomicFile.h"
#include "platform/Windows1252.h"
#include "station/Apply.h"

namespace cli {

namespace {

std::string problemText(files::FileProblem problem) {
    switch (problem) {
        case files::FileProblem::TooBig:
            return "the file is too big (more than 65535 bytes)";
        case files::FileProblem::NotCompatible:
            return "the file is not compatible: its text does not begin with \"" +
                   std::string(files::FormatMark) + "\"";
        default:
            return "error in file: its fields run past its end or its set size is out of range";
    }
}

files::SaveDate today() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {static_cast<uint32_t>(local.tm_year + 1900), static_cast<uint8_t>(local.tm_mon + 1),
            static_cast<uint8_t>(local.tm_mday)};
}

std::string key(int r) {
    return TSSICom::RegisterKey(TSSICom::RegisterIndex(r));
}

std::vector<int32_t> storedValues(const ParameterSet& set, size_t count) {
    std::vector<int32_t> values;
    for (size_t r = 0; r < count && r < set.ParameterStruct.size(); ++r)
        values.push_back(set.ParameterStruct[r].Value);
    return values;
}

std::string foundText(const station::Check& check) {
    return check.found ? std::to_string(*check.found) : "no two reads that agree";
}

}  // namespace

std::string mismatchLines(const station::ApplyResult& result) {
    std::string lines;
    for (const station::Check& c : result.mismatches())
        lines +=
            key(c.reg) + ": wanted " + std::to_string(c.wanted) + ", found " + foundText(c) + "\n";
    return lines;
}

std::string applyFailureText(const station::ApplyResult& result, const std::string& port) {
    using Failure = station::ApplyResult::Failure;
    switch (result.failure) {
        case Failure::Read:
            return "The sensor on " + port +
                   " did not answer every register; the parameter set was not read\n";
        case Failure::Write:
            return "Error while writing parameters to the sensor on " + port + "\n";
        case Failure::Commit:
            return "The commit did not reach the sensor on " + port + "\n";
        case Failure::None:
            break;
    }
    return {};
}

std::string applyJson(const std::string& path, const std::string& port,
                      const station::ApplyResult& result) {
    std::string out = "{\"file\": " + jsonString(path) + ", \"port\": " + jsonString(port) +
                      ", \"ok\": " + (result.ok() ? "true" : "false") +
                      ", \"written\": " + (result.written() ? "true" : "false") +
                      ", \"committed\": " + (result.committed ? "true" : "false") +
                      ", \"compared\": " + std::to_string(result.checks.size()) +
                      ", \"differences\": [";
    const auto mismatches = result.mismatches();
    for (size_t i = 0; i < mismatches.size(); ++i) {
        const station::Check& c = mismatches[i];
        out += (i > 0 ? ", " : "");
        out += "{\"key\": " + jsonString(key(c.reg)) + ", \"wanted\": " + std::to_string(c.wanted) +
               ", \"found\": " + (c.found ? std::to_string(*c.found) : "null") + "}";
    }
    return out + "]}";
}

void logApplied(OperationLog& log, const station::ApplyResult& result, const std::string& subject) {
    std::string message = mismatchLines(result);
    if (!message.empty())
        message.pop_back();
    log.done(history::Operation::Load, result.ok(), subject, true, false, message);
    if (result.committed || result.failure == station::ApplyResult::Failure::Commit)
        log.done(history::Operation::Commit, result.committed, {}, false);
}

std::optional<files::ParameterFile> readParameterFile(const std::string& path, std::ostream& err) {
    const files::FileBytes bytes = files::ReadParameterFile(path);
    switch (bytes.status) {
        case files::ReadStatus::Ok:
            break;
        case files::ReadStatus::TooBig:
            err << path << ": " << problemText(files::FileProblem::TooBig) << "\n";
            return std::nullopt;
        default:
            err << "Cannot open " << path << ": " << bytes.reason << "\n";
            return std::nullopt;
    }
    files::DecodedFile decoded = files::DecodeParameterFile(bytes.bytes);
    if (!decoded.file)
        err << path << ": " << problemText(decoded.problem) << "\n";
    return std::move(decoded.file);
}

int showFile(const std::string& path, bool json, std::ostream& out, std::ostream& err) {
    const auto file = readParameterFile(path, err);
    if (!file)
        return FileFailure;
    out << (json ? parameterFileJson(*file) + "\n" : parameterFileTable(path, *file));
    return Success;
}

int diffFiles(const std::string& first, const std::string& second, bool json, std::ostream& out,
              std::ostream& err) {
    const auto a = readParameterFile(first, err);
    const auto b = readParameterFile(second, err);
    if (!a || !b)
        return FileFailure;
    const auto differences = differingValues(a->values, b->values);
    out << (json ? differencesJson(first, second, differences, {}) + "\n"
                 : differencesTable(first, second, differences, {}));
    return Success;
}

SensorFileCommands::SensorFileCommands(TSSICom& com, std::string port, std::ostream& out,
                                       std::ostream& err, Confirmation confirmation,
                                       OperationLog* log)
    : com_(com),
      port_(std::move(port)),
      out_(out),
      err_(err),
      confirmation_(confirmation),
      log_(log) {}

int SensorFileCommands::run(const Invocation& invocation) {
    const std::string& path = invocation.files.at(0);
    switch (invocation.command) {
        case Command::Save:
            return save(path, invocation.comment);
        case Command::Load:
            return load(path, invocation.yes, invocation.commit);
        case Command::Diff:
            return diff(path, invocation.json);
        case Command::Apply:
            return apply(path, invocation.commit, invocation.json, invocation.pdf,
                         invocation.language);
        default:
            return UsageError;
    }
}

int SensorFileCommands::save(const std::string& path, const std::string& comment) {
    const files::Header header = files::BuildHeader(ProgramTitleText, comment);
    if (header.problem == files::HeaderProblem::CommentTooLong) {
        err_ << "varnelctl: the comment is longer than " << files::LongestComment
             << " characters\n";
        return UsageError;
    }
    if (header.problem == files::HeaderProblem::CommentNotEncodable) {
        err_ << "varnelctl: the comment holds a character that Windows-1252 cannot store\n";
        return UsageError;
    }
    if (CommandRunner(com_, port_, out_, err_, log_).readSetLogged() != Success)
        return SensorFailure;
    const files::ParameterFile file = files::FileOfSet(com_.Parameters(), header.text, today());
    const platform::WriteResult written =
        platform::WriteFileAtomically(path, files::EncodeParameterFile(file));
    if (!written.ok) {
        err_ << "Cannot write " << path << ": " << written.reason << "\n";
        return FileFailure;
    }
    out_ << "Saved " << file.values.size() << " registers of the sensor on " << port_ << " to "
         << path << "\n";
    return Success;
}

int SensorFileCommands::load(const std::string& path, bool yes, bool commit) {
    const auto file = readParameterFile(path, err_);
    if (!file)
        return FileFailure;
    if (!yes && !confirmation_.terminal) {
        err_ << "varnelctl: load asks before it writes; give --yes when not on a terminal\n";
        return UsageError;
    }
    if (!confirmed(path, *file, yes)) {
        out_ << "Nothing loaded\n";
        return SensorFailure;
    }
    const bool written = readSet() && writeSet(*file);
    if (log_ != nullptr)
        log_->done(history::Operation::Load, written, path);
    if (!written)
        return SensorFailure;
    if (commit) {
        com_.Commit();
        out_ << "Loaded " << path << " into the sensor on " << port_ << " and committed it\n";
        logCommit();
    } else {
        out_ << "Loaded " << path << " into the sensor on " << port_
             << " (not yet committed: run varnelctl commit to keep it)\n";
    }
    return Success;
}

int SensorFileCommands::diff(const std::string& path, bool json) {
    const auto file = readParameterFile(path, err_);
    if (!file)
        return FileFailure;
    if (CommandRunner(com_, port_, out_, err_, log_).readSetLogged() != Success)
        return SensorFailure;
    std::vector<bool> compared;
    std::vector<std::string> notCompared;
    for (size_t r = 0; r < file->values.size(); ++r) {
        const TSSICom::DataElement& element = com_.Parameters().ParameterStruct[r];
        // Registers filled by another one's read have no answer of their own.
        compared.push_back(element.Answered != 0 || r == TSSICom::SSISampleTime);
        if (!compared.back())
            notCompared.push_back(key(int(r)));
    }
    const auto differences = differingValues(
        file->values, storedValues(com_.Parameters(), file->values.size()), compared);
    const std::string sensor = "sensor on " + port_;
    out_ << (json ? differencesJson(path, sensor, differences, notCompared) + "\n"
                  : differencesTable(path, sensor, differences, notCompared));
    return Success;
}

int SensorFileCommands::apply(const std::string& path, bool commit, bool json,
                              const std::string& report, uint8_t language) {
    const auto file = readParameterFile(path, err_);
    if (!file)
        return FileFailure;
    const station::ApplyResult result = station::Apply(com_, *file, commit);
    if (const int code = reportApplied(path, result, json, path); code != Success || report.empty())
        return code;
    return CommandRunner(com_, port_, json ? err_ : out_, err_).report(report, language);
}

int SensorFileCommands::reportApplied(const std::string& shown, const station::ApplyResult& result,
                                      bool json, const std::string& subject) {
    err_ << applyFailureText(result, port_);
    if (json) {
        out_ << applyJson(shown, port_, result) << "\n";
    } else {
        out_ << mismatchLines(result);
        if (result.failure != station::ApplyResult::Failure::Read)
            out_ << shown << " on the sensor on " << port_ << ": " << result.checks.size()
                 << " registers compared, " << result.mismatches().size() << " differ"
                 << (result.committed ? ", committed" : "") << "\n";
    }
    if (log_ != nullptr)
        logApplied(*log_, result, subject);
    return result.ok() ? Success : SensorFailure;
}

void SensorFileCommands::logCommit() {
    if (log_ != nullptr)
        log_->done(history::Operation::Commit, true, {}, false);
}

bool SensorFileCommands::readSet() {
    return CommandRunner(com_, port_, out_, err_).readSet() == Success;
}

bool SensorFileCommands::confirmed(const std::string& path, const files::ParameterFile& file,
                                   bool yes) {
    out_ << path << ", saved " << files::DateText(file.date) << ":\n"
         << platform::DecodeWindows1252(file.header) << "\n";
    if (yes)
        return true;
    out_ << "Really load this file into the sensor on " << port_ << "? [y/N] " << std::flush;
    std::string answer;
    if (!confirmation_.answers || !std::getline(*confirmation_.answers, answer))
        return false;
    return answer == "y" || answer == "Y" || answer == "yes";
}

bool SensorFileCommands::writeSet(const files::ParameterFile& file) {
    const station::AnsweredRegisters answered = station::Answered(com_);
    if (station::WriteFile(com_, file))
        return true;
    for (size_t r = 0; r < file.values.size(); ++r) {
        const TSSICom::DataElement& element = com_.Parameters().ParameterStruct[r];
        const bool loaded = TSSICom::WrittenBySet(TSSICom::RegisterIndex(r));
        if (answered[r] && loaded && (!element.Answered || element.Value != file.values[r]))
            err_ << key(int(r)) << ": the sensor on " << port_
                 << " did not confirm the file's value\n";
    }
    err_ << "Error while writing parameters to the sensor on " << port_ << "\n";
    return false;
}

}  // namespace cli
