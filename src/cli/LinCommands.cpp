#include "LinCommands.h"

#include <QString>

#include "Commands.h"
#include "ExitCode.h"
#include "ReportPdf.h"
#include "linearization/LinChart.h"
#include "linearization/LinExport.h"
#include "linearization/LinTable.h"
#include "linearization/LinearityReport.h"
#include "platform/AtomicFile.h"
#include "report/render/LinearityPicture.h"

namespace cli {

namespace {

constexpr int BarWidth = 40;
constexpr int PlainProgressStep = 100;
const char* const EntryWord = "entry";
const char* const FactorWord = "factor";

std::string entryName(int address, const char* what) {
    return std::string(what) + " " + std::to_string(address);
}

bool writes(const LinInvocation& lin) {
    return lin.action == LinAction::Set ||
           (lin.value && (lin.action == LinAction::Factor || lin.action == LinAction::Start));
}

// What a write's event names: "entry 250", "factor 501", "LinStartValue".
std::string writeSubject(const LinInvocation& lin) {
    switch (lin.action) {
        case LinAction::Set:
            return entryName(lin.address, EntryWord);
        case LinAction::Factor:
            return entryName(ParameterSet::LinFactorAddress, FactorWord);
        default:
            return TSSICom::RegisterKey(TSSICom::LinStartValue);
    }
}

}  // namespace

int LinCommands::run(const LinInvocation& lin) {
    if (!com_.ReadRegister(TSSICom::FirmwareVersion)) {
        const int code = failed("FirmwareVersion", "did not answer");
        if (writes(lin))
            return logged(history::Operation::LinWrite, code, writeSubject(lin));
        if (lin.action == LinAction::Report)
            return logged(history::Operation::Read, code, {}, true);
        return code;
    }
    if (writes(lin))
        return logged(history::Operation::LinWrite, runAction(lin), writeSubject(lin));
    return runAction(lin);
}

int LinCommands::runAction(const LinInvocation& lin) {
    switch (lin.action) {
        case LinAction::Get:
            return readEntry(lin.address, EntryWord);
        case LinAction::Set:
            return writeEntry(lin.address, *lin.value, EntryWord);
        case LinAction::Factor:
            return lin.value ? writeEntry(ParameterSet::LinFactorAddress, *lin.value, FactorWord)
                             : readEntry(ParameterSet::LinFactorAddress, FactorWord);
        case LinAction::Start:
            return start(lin);
        case LinAction::Export:
            return exportTable(lin);
        case LinAction::Report:
            return report(lin);
    }
    return UsageError;
}

int LinCommands::readEntry(int address, const char* what) {
    if (!com_.ReadLinTableByte(address))
        return failed(entryName(address, what), "gave no valid reply");
    out_ << int(linearization::SignedByte(com_[TSSICom::LinTableByte].Value)) << "\n";
    return Success;
}

int LinCommands::writeEntry(int address, int32_t value, const char* what) {
    com_[TSSICom::LinTableByte].Value = value;
    if (!com_.WriteLinTableByte(address))
        return failed(entryName(address, what), "did not confirm the write");
    out_ << entryName(address, what) << " = "
         << int(linearization::SignedByte(com_[TSSICom::LinTableByte].Value)) << "\n";
    return Success;
}

int LinCommands::start(const LinInvocation& lin) {
    auto& startValue = com_[TSSICom::LinStartValue];
    if (!lin.value) {
        if (!com_.ReadRegister(TSSICom::LinStartValue))
            return failed("LinStartValue", "did not answer");
        out_ << startValue.Value << "\n";
        return Success;
    }
    startValue.Value = *lin.value;
    startValue.Modified = 1;
    if (!com_.WriteRegister(TSSICom::LinStartValue))
        return failed("LinStartValue", "did not confirm the write");
    out_ << "LinStartValue = " << startValue.Value
         << " (not yet committed: run varnelctl commit to keep it)\n";
    return Success;
}

int LinCommands::exportTable(const LinInvocation& lin) {
    linearization::TableExport exporter(com_, lin.language);
    const auto outcome =
        exporter.run(false, [this](int address, int8_t) { showProgress(address); });
    if (terminal_)
        err_ << "\n";
    if (outcome != linearization::TableExport::Outcome::Complete)
        return failed("the linearization table", "did not give every entry; no file written");
    const auto bytes = exporter.fileBytes();
    if (!bytes) {
        err_ << lin.file << ": the table's text cannot be stored in Windows-1252\n";
        return FileFailure;
    }
    const platform::WriteResult written = platform::WriteFileAtomically(lin.file, *bytes);
    if (!written.ok) {
        err_ << lin.file << ": " << written.reason << "\n";
        return FileFailure;
    }
    out_ << "Linearization table written to " << lin.file << "\n";
    return Success;
}

int LinCommands::report(const LinInvocation& lin) {
    if (const int code = CommandRunner(com_, port_, out_, err_).readSet(); code != Success)
        return logged(history::Operation::Read, code, {}, true);
    linearization::ChartData data;
    const bool complete = linearization::ReadChartData(
        com_, false, data, [this](int address) { showProgress(address); });
    if (terminal_)
        err_ << "\n";
    if (!complete) {
        const int code =
            failed("the linearization table", "did not give every entry; no file written");
        return logged(history::Operation::Read, code, {}, true);
    }
    logged(history::Operation::Read, Success, {}, true, true);
    const auto length = static_cast<uint32_t>(com_[TSSICom::Length].Value);
    const report::PreparedLinearityReport prepared = report::PrepareLinearityReport(
        {data, length, lin.language}, linearization::ChartFieldsOf(com_.Parameters()),
        linearization::ChartLabels(lin.language));
    if (!prepared.picture.written) {
        err_ << prepared.picturePath.toStdString() << ": " << prepared.picture.reason.toStdString()
             << "\n";
        return FileFailure;
    }
    return WriteReportPdf(prepared.request, lin.file, out_, err_);
}

void LinCommands::showProgress(int address) {
    const int done = address - ParameterSet::LinTableFirstAddress + 1;
    if (terminal_) {
        const int filled = done * BarWidth / linearization::EntryCount;
        err_ << "\r[" << std::string(size_t(filled), '#')
             << std::string(size_t(BarWidth - filled), ' ') << "] " << done << "/"
             << linearization::EntryCount << std::flush;
    } else if (done % PlainProgressStep == 0 || done == linearization::EntryCount) {
        err_ << "read " << done << " of " << linearization::EntryCount << " entries\n";
    }
}

int LinCommands::logged(history::Operation operation, int code, const std::string& subject,
                        bool withSet, bool withLinTable) {
    if (log_ != nullptr)
        log_->done(operation, code == Success, subject, withSet, withLinTable);
    return code;
}

int LinCommands::failed(const std::string& what, const char* happened) {
    err_ << what << ": the sensor on " << port_ << " " << happened << "\n";
    return SensorFailure;
}

}  // namespace cli
