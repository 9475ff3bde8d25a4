#include "Commands.h"

#include "ExitCode.h"
#include "JsonOutput.h"
#include "ReportPdf.h"
#include "StreamCommand.h"
#include "TableOutput.h"
#include "comm/ProgramTitle.h"
#include "comm/SensorRules.h"
#include "report/SensorReport.h"
#include "report/TemplateFiles.h"

namespace cli {

namespace {

std::string key(TSSICom::RegisterIndex r) {
    return TSSICom::RegisterKey(r);
}

}  // namespace

CommandRunner::CommandRunner(TSSICom& com, std::string port, std::ostream& out, std::ostream& err,
                             OperationLog* log)
    : com_(com), port_(std::move(port)), out_(out), err_(err), log_(log) {}

int CommandRunner::run(const Invocation& invocation, const std::optional<RegisterInput>& input) {
    switch (invocation.command) {
        case Command::Read:
            return read(invocation.json);
        case Command::Get:
            return invocation.key ? get(*invocation.key) : UsageError;
        case Command::Set:
            return invocation.key && input ? set(*invocation.key, *input) : UsageError;
        case Command::Commit:
            return commit();
        case Command::Wake:
            return wake();
        case Command::Report:
            return report(invocation.pdf, invocation.language);
        default:
            return UsageError;
    }
}

int CommandRunner::readSet() {
    // A failed set read restores every flag, so the firmware read is done on
    // its own first to tell a silent sensor from an incomplete set.
    if (!readFirmware())
        return noAnswer(TSSICom::FirmwareVersion);
    const bool complete = com_.ReadParameterSet();
    // Registers whose read the set ignores may have failed because the port
    // went away, which must not pass for a successful read.
    if (!com_.CheckPort())
        return portLost();
    if (!complete) {
        err_ << "The sensor on " << port_
             << " did not answer every register; the parameter set was not read\n";
        return SensorFailure;
    }
    return Success;
}

int CommandRunner::readSetLogged() {
    const int code = readSet();
    if (log_ != nullptr)
        log_->done(history::Operation::Read, code == Success);
    return code;
}

int CommandRunner::read(bool json) {
    if (const int code = readSetLogged(); code != Success)
        return code;
    if (json) {
        out_ << parameterSetJson(port_, com_.FirmwareType(), registerRows(com_.Parameters()))
             << "\n";
    } else {
        out_ << parameterSetTable(port_, com_.Parameters());
    }
    return Success;
}

int CommandRunner::report(const std::string& pdf, uint8_t language) {
    if (const int code = readSetLogged(); code != Success)
        return code;
    const report::ReportRequest request{
        report::SensorTemplate(language), language,
        report::SensorReportParameters(com_.Parameters(), language, ProgramTitleText)};
    return WriteReportPdf(request, pdf, out_, err_);
}

int CommandRunner::stream(const StreamRequest& request, const volatile std::sig_atomic_t& stop) {
    if (const int code = readSetLogged(); code != Success)
        return code;
    return StreamCommand(com_, port_, out_, err_, stop).run(request);
}

int CommandRunner::get(TSSICom::RegisterIndex r) {
    if (!readFirmware())
        return noAnswer(TSSICom::FirmwareVersion);
    if (!readOne(r))
        return noAnswer(r);
    out_ << displayValue(r, com_[r]) << "\n";
    return Success;
}

int CommandRunner::set(TSSICom::RegisterIndex r, const RegisterInput& input) {
    return logged(history::Operation::Write, writeOne(r, input), key(r));
}

int CommandRunner::writeOne(TSSICom::RegisterIndex r, const RegisterInput& input) {
    if (!readFirmware())
        return noAnswer(TSSICom::FirmwareVersion);
    TSSICom::DataElement& element = com_[r];
    applyInput(r, element, input);
    element.Modified = 1;
    const std::string wanted = displayValue(r, element);
    if (!com_.WriteRegister(r))
        return writeFailed(r, wanted);
    reportWritten(r);
    return Success;
}

int CommandRunner::commit() {
    if (!readFirmware())
        return logged(history::Operation::Commit, noAnswer(TSSICom::FirmwareVersion));
    const int version = com_.FirmwareVersionNumber();
    com_.Commit();
    out_ << "Committed with " << (rules::CommitsWithCN(version) ? "CN" : "EN") << " (firmware "
         << version << ")\n";
    return logged(history::Operation::Commit, Success);
}

int CommandRunner::logged(history::Operation operation, int code, const std::string& subject) {
    if (log_ != nullptr)
        log_->done(operation, code == Success, subject, false);
    return code;
}

int CommandRunner::wake() {
    if (!com_.WakeSensor()) {
        err_ << "The wake-up sequence could not be sent on " << port_ << ": "
             << com_.LastError().message << "\n";
        return SensorFailure;
    }
    out_ << "Wake-up sequence sent on " << port_ << "\n";
    return Success;
}

bool CommandRunner::readFirmware() {
    return com_.ReadRegister(TSSICom::FirmwareVersion);
}

// A few registers are filled by the read of another one.
bool CommandRunner::readOne(TSSICom::RegisterIndex r) {
    switch (r) {
        case TSSICom::SSISampleTime:
            return com_.ReadRegister(TSSICom::LinearizationFlags);
        case TSSICom::LinTableByte:
        case TSSICom::LinTableAddress:
            return com_.ReadLinTableByte(ParameterSet::LinTableFirstAddress);
        default:
            return com_.ReadRegister(r);
    }
}

int CommandRunner::portLost() {
    err_ << "The port " << port_ << " stopped working during the read: " << com_.LastError().message
         << "\n";
    return SensorFailure;
}

int CommandRunner::noAnswer(TSSICom::RegisterIndex r) {
    err_ << key(r) << ": the sensor on " << port_ << " did not answer\n";
    return SensorFailure;
}

int CommandRunner::writeFailed(TSSICom::RegisterIndex r, const std::string& wanted) {
    const TSSICom::DataElement& element = com_[r];
    const std::string reported = displayValue(r, element);
    if (!element.Answered) {
        err_ << key(r) << ": the sensor on " << port_ << " did not answer while writing " << wanted
             << "\n";
    } else if (reported == wanted) {
        err_ << key(r) << ": the sensor on " << port_ << " did not confirm writing " << wanted
             << "\n";
    } else {
        err_ << key(r) << ": sensor reports " << reported << " after writing " << wanted << "\n";
    }
    return SensorFailure;
}

void CommandRunner::reportWritten(TSSICom::RegisterIndex r) {
    out_ << key(r) << " = " << displayValue(r, com_[r]);
    const char* readBack = r == TSSICom::Model ? "sent without read-back; " : "";
    out_ << " (" << readBack << "not yet committed: run varnelctl commit to keep it)\n";
}

}  // namespace cli
