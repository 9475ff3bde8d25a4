#include "linearization/gui/LinFileExport.h"

#include <QFile>
#include <QFileInfo>
#include <QProgressBar>

#include "comm/Ssicom.h"
#include "linearization/LinExport.h"
#include "linearization/gui/LinPage.h"
#include "platform/AtomicFile.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/WaitCursor.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/ViewRefreshScope.h"

namespace linearization {

namespace {

const QString TextSuffix = QStringLiteral("txt");
const QString TextFilter = QStringLiteral("Text files (*.txt)");

}  // namespace

void LinFileExport::WriteLinFileClick() {
    ViewRefreshScope refreshing(state_.ViewRefreshing);
    if (!sensor_.ReadRegister(TSSICom::FactoryNumber)) {
        show(lintexts::Id::NoSensorFound);
        return;
    }
    WaitCursor hourglass;
    const QString chosen = chooseFile();
    if (!chosen.isEmpty())
        exportTo(chosen);
}

QString LinFileExport::chooseFile() {
    const std::string defaultName = DefaultExportName(sensor_[TSSICom::FactoryNumber].Reply);
    const QString chosen = state_.dialogs().saveFileName(
        {{}, TextFilter, QString::fromStdString(defaultName), TextSuffix});
    if (chosen.isEmpty() || !QFileInfo::exists(chosen))
        return chosen;
    const MessageResult answer =
        ShowPairedMessage(state_.dialogs(), state_.UiLanguage, messages::overwriteQuestion(),
                          MessageButtons::YesNo, MessageIcon::Question);
    switch (answer) {
        case MessageResult::Yes:
            return chosen;
        case MessageResult::No:
            return unusedName(chosen);
        default:
            return {};
    }
}

QString LinFileExport::unusedName(const QString& chosen) const {
    const auto exists = [](const std::string& name) {
        return QFileInfo::exists(QString::fromStdString(name));
    };
    return QString::fromStdString(NumberedExportName(chosen.toStdString(), exists));
}

void LinFileExport::exportTo(const QString& fileName) {
    TableExport exporter(sensor_, state_.UiLanguage);
    const auto outcome = exporter.run(
        state_.LinTableCached, [this](int address, int8_t value) { showEntry(address, value); });
    if (exporter.factor())
        ui_.FactorLabel->setText(QString::number(*exporter.factor()));
    if (outcome != TableExport::Outcome::Complete) {
        show(lintexts::Id::TableReadFailed);
        return;
    }
    state_.LinTableCached = true;
    const auto bytes = exporter.fileBytes();
    const QString failure = bytes ? save(fileName, *bytes) : fileName;
    if (!failure.isEmpty()) {
        show(lintexts::Id::ExportNotWritten, failure);
        return;
    }
    show(lintexts::Id::ExportWritten, fileName);
    ui_.CGauge1->setValue(0);
}

void LinFileExport::showEntry(int address, int8_t value) {
    ui_.AdresLabel->setText(QString::number(address));
    ui_.ValueLabel->setText(QString::number(value));
    ui_.AdresLabel->repaint();
    ui_.ValueLabel->repaint();
    ui_.CGauge1->setValue(address - ParameterSet::LinTableFirstAddress);
}

QString LinFileExport::save(const QString& fileName, const std::string& bytes) {
    const platform::WriteResult written =
        platform::WriteFileAtomically(QFile::encodeName(fileName).toStdString(), bytes);
    return written.ok ? QString()
                      : fileName + QStringLiteral("\n") + QString::fromStdString(written.reason);
}

void LinFileExport::show(lintexts::Id id, const QString& appended) {
    ShowPairedMessage(state_.dialogs(), state_.UiLanguage,
                      WithAppended(lintexts::message(id), appended));
}

}  // namespace linearization
