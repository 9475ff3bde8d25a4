#include "files/gui/LoadParameters.h"

#include <QFile>

#include "comm/Ssicom.h"
#include "comm/ViewRules.h"
#include "files/FileAccess.h"
#include "files/StoredSet.h"
#include "files/gui/FileTexts.h"
#include "files/gui/Openparameter.h"
#include "platform/Windows1252.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/WaitCursor.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"

namespace files {

namespace {

using filetexts::Id;

Id readProblem(ReadStatus status) {
    switch (status) {
        case ReadStatus::NotFound:
            return Id::FileNotFound;
        case ReadStatus::TooBig:
            return Id::TooBig;
        default:
            return Id::CannotOpen;
    }
}

Id fileProblem(FileProblem problem) {
    switch (problem) {
        case FileProblem::TooBig:
            return Id::TooBig;
        case FileProblem::NotCompatible:
            return Id::NotCompatible;
        default:
            return Id::ErrorInFile;
    }
}

SensorSummary summaryOf(const ParameterSet& set) {
    return {QString::fromStdString(rules::SensorTypeLine(set)),
            QString::fromStdString(rules::LengthLine(set))};
}

}  // namespace

void LoadParameters::Run() {
    const QString path = state_.dialogs().openFileName(
        {QString(), filetexts::FileFilter, QString(), filetexts::DefaultSuffix});
    if (path.isEmpty())
        return;
    if (const std::optional<ParameterFile> file = readFile(path))
        Offer(*file, QFile::encodeName(path).toStdString());
}

void LoadParameters::Offer(const ParameterFile& file, const std::string& subject) {
    if (confirm(file))
        load(file, subject);
}

std::optional<ParameterFile> LoadParameters::readFile(const QString& path) {
    const FileBytes bytes = ReadParameterFile(QFile::encodeName(path).toStdString());
    std::optional<Id> refusal;
    DecodedFile decoded;
    if (bytes.status != ReadStatus::Ok) {
        refusal = readProblem(bytes.status);
    } else {
        decoded = DecodeParameterFile(bytes.bytes);
        if (!decoded.file)
            refusal = fileProblem(decoded.problem);
    }
    if (refusal) {
        const auto icon = *refusal == Id::FileNotFound ? MessageIcon::Warning : MessageIcon::Error;
        ShowPairedMessage(state_.dialogs(), state_.UiLanguage, filetexts::message(*refusal),
                          MessageButtons::Ok, icon);
    }
    return decoded.file;
}

bool LoadParameters::confirm(const ParameterFile& file) {
    TOpenParametersForm form(state_.UiLanguage);
    form.ShowFile(QString::fromStdString(DateText(file.date)),
                  QString::fromStdString(platform::DecodeWindows1252(file.header)));
    ParameterSet loaded = sensor_.Parameters();
    LoadIntoSet(file, loaded);
    form.ShowSensors(summaryOf(loaded), summaryOf(sensor_.Parameters()));
    return state_.dialogs().execDialog(form) == QDialog::Accepted;
}

void LoadParameters::load(const ParameterFile& file, const std::string& subject) {
    LoadIntoSet(file, sensor_.Parameters());
    parameterPage_.setEnabled(false);
    bool written = false;
    {
        WaitCursor hourglass;
        written = sensor_.WriteParameterSet();
        state_.RecordOutcome(history::Operation::Load, written,
                             filetexts::message(Id::WriteToSensorFailed), subject);
        if (written)
            finishLoad();
    }
    if (!written)
        failLoad();
}

void LoadParameters::finishLoad() {
    state_.RefreshView();
    speedEntered_();
    sensor_[TSSICom::UltrasonicSpeed].Modified = 0;
    state_.MarkParametersChanged();
    // The sensor may hold other values than the file gave (its own factory
    // number, a value it adjusted); the view and the report show the sensor's.
    const bool read = sensor_.ReadParameterSet();
    state_.RecordOutcome(history::Operation::Read, read, messages::communicationError());
    state_.RefreshView();
    if (!read) {
        ShowPairedMessage(state_.dialogs(), state_.UiLanguage, messages::communicationError(),
                          MessageButtons::Ok, MessageIcon::Error);
        state_.SensorOnline = false;
        return;
    }
    parameterPage_.setEnabled(true);
}

// The table is reset, so the next poll must read the sensor afresh rather than
// show the reset table for the same factory number.
void LoadParameters::failLoad() {
    ShowPairedMessage(state_.dialogs(), state_.UiLanguage,
                      filetexts::message(Id::WriteToSensorFailed), MessageButtons::Ok,
                      MessageIcon::Error);
    state_.SensorOnline = false;
    state_.ParametersChanged = false;
    sensor_.ResetTable();
    state_.LastFactoryNumber = MainState::NoFactoryNumber;
}

}  // namespace files
