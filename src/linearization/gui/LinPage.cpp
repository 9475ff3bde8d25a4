#include <QGridLayout>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <string>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "linearization/LinTable.h"
#include "linearization/gui/LinPage.h"
#include "ui/MainState.h"
#include "ui/PageNames.h"
#include "ui/PairedMessage.h"
#include "ui/controls/FieldColour.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/PageParts.h"
#include "ui/controls/ViewRefreshScope.h"

namespace linearization {

namespace {

QGridLayout* entryFields(QWidget& page, LinPageControls& ui) {
    ui.LinStartValue = makeDisplay(QStringLiteral("LinStartValue"), page);
    ui.FactorLabel = makeEdit(QStringLiteral("FactorLabel"), page);
    ui.FactorLabel->setReadOnly(true);
    ui.AdresLabel = makeEdit(QStringLiteral("AdresLabel"), page);
    ui.ValueLabel = makeEdit(QStringLiteral("ValueLabel"), page);
    ui.ReadLinValue = makeButton(QStringLiteral("ReadLinValue"), page);
    ui.WriteLinValue = makeButton(QStringLiteral("WriteLinValue"), page);
    ui.WriteLinValue->setEnabled(false);

    auto* grid = new QGridLayout;
    grid->addWidget(ui.LinStartValue, 0, 0);
    grid->addWidget(ui.FactorLabel, 1, 0);
    grid->addWidget(ui.AdresLabel, 2, 0);
    grid->addWidget(ui.ReadLinValue, 2, 1);
    grid->addWidget(ui.ValueLabel, 3, 0);
    grid->addWidget(ui.WriteLinValue, 3, 1);
    return grid;
}

QString signedByteText(int32_t value) {
    return QString::number(SignedByte(value));
}

}  // namespace

void LinPageControls::build(QWidget& page) {
    WriteLinFile = makeButton(QStringLiteral("WriteLinFile"), page);
    PrintLinFile = makeButton(QStringLiteral("PrintLinFile"), page);
    CGauge1 = makeNamed<QProgressBar>(QStringLiteral("CGauge1"), page);
    CGauge1->setRange(0, 300);
    CGauge1->setValue(0);

    auto* files = new QHBoxLayout;
    files->addWidget(WriteLinFile);
    files->addWidget(PrintLinFile);
    files->addStretch();

    auto* layout = new QVBoxLayout(&page);
    auto* top = new QHBoxLayout;
    top->addLayout(entryFields(page, *this));
    top->addStretch();
    layout->addLayout(top);
    layout->addStretch();
    layout->addLayout(files);
    layout->addWidget(CGauge1);
}

LinPage::LinPage(PageControl& pages, MainState& state, TSSICom& sensor)
    : state_(state), sensor_(sensor), contract_(state, sensor), export_(ui, state, sensor) {
    ui.build(*pages.page(pagenames::LinPage));
    connectHandlers();
}

void LinPage::connectHandlers() {
    QObject::connect(ui.ReadLinValue, &QPushButton::clicked, ui.ReadLinValue,
                     [this] { ReadLinValueClick(); });
    QObject::connect(ui.WriteLinValue, &QPushButton::clicked, ui.WriteLinValue,
                     [this] { WriteLinValueClick(); });
    QObject::connect(ui.WriteLinFile, &QPushButton::clicked, ui.WriteLinFile,
                     [this] { export_.WriteLinFileClick(); });
    QObject::connect(ui.PrintLinFile, &QPushButton::clicked, ui.PrintLinFile,
                     [this] { PrintLinFileClick(); });
    const auto silentWhileRefreshing = [this](LabeledEdit* edit, void (LinPage::*handler)()) {
        QObject::connect(edit, &LabeledEdit::textChanged, edit, [this, handler] {
            if (!state_.ViewRefreshing)
                (this->*handler)();
        });
    };
    silentWhileRefreshing(ui.AdresLabel, &LinPage::AdresLabelChange);
    silentWhileRefreshing(ui.ValueLabel, &LinPage::ValueLabelChange);
    silentWhileRefreshing(ui.FactorLabel, &LinPage::FactorLabelChange);
    contract_.bindEdit(
        *ui.LinStartValue, [this](const QString& text) { LinStartValueChange(text); },
        [this] { LinStartValueExit(); });
}

void LinPage::ReadLinValueClick() {
    const std::optional<int> address = enteredAddress();
    if (!address)
        return;
    if (!sensor_.ReadLinTableByte(*address)) {
        show(lintexts::Id::ReadFailed);
        return;
    }
    // Not a refresh: a value that differs from the one shown marks the entry as edited.
    showEntry();
    ui.AdresLabel->setColour(FieldColour::White);
    ui.ValueLabel->setColour(FieldColour::White);
    ui.FactorLabel->setEnabled(true);
    ui.FactorLabel->setColour(FieldColour::White);
    ui.AdresLabel->setEnabled(true);
    ui.ValueLabel->setEnabled(true);
    sensor_.ReadLinTableByte(ParameterSet::LinFactorAddress);
    showFactor();
}

void LinPage::WriteLinValueClick() {
    std::optional<int> address = enteredAddress();
    if (!address)
        return;
    const bool factorEdited = ui.FactorLabel->colour() == FieldColour::Highlight;
    if (factorEdited)
        address = ParameterSet::LinFactorAddress;
    const std::optional<int32_t> value =
        enteredInteger((factorEdited ? ui.FactorLabel : ui.ValueLabel)->text());
    if (!value)
        return;
    auto& entry = sensor_[TSSICom::LinTableByte];
    entry.Value = *value;
    if (!entry.Modified)
        return;
    const bool written = sensor_.WriteLinTableByte(*address);
    recordTableWrite(*address, written);
    if (!written) {
        // The sensor may hold the new byte all the same: the next table run reads it.
        state_.LinTableCached = false;
        show(lintexts::Id::WriteFailed);
        return;
    }
    entry.Modified = 0;
    colourTableFields(FieldColour::White);
    state_.RefreshView();
}

// The table goes with the event when the program holds all of it: the write's
// read-back has put the new byte into the image.
void LinPage::recordTableWrite(int address, bool written) {
    const auto kept =
        state_.LinTableCached ? SensorOperation::Kept::SetAndTable : SensorOperation::Kept::Set;
    state_.RecordOutcome(history::Operation::LinWrite, written,
                         lintexts::message(lintexts::Id::WriteFailed), std::to_string(address),
                         kept);
}

void LinPage::AdresLabelChange() {
    ValueLabelChange();
}

void LinPage::ValueLabelChange() {
    sensor_[TSSICom::LinTableByte].Modified = 1;
    ui.AdresLabel->setColour(FieldColour::Highlight);
    ui.ValueLabel->setColour(FieldColour::Highlight);
    ui.FactorLabel->setEnabled(false);
}

void LinPage::FactorLabelChange() {
    sensor_[TSSICom::LinTableByte].Modified = 1;
    ui.AdresLabel->setEnabled(false);
    ui.ValueLabel->setEnabled(false);
    ui.FactorLabel->setColour(FieldColour::Highlight);
}

void LinPage::LinStartValueChange(const QString& text) {
    ui.LinStartValue->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::LinStartValue, FieldNumber(text));
}

void LinPage::LinStartValueExit() {
    contract_.finishExit(*ui.LinStartValue, StrictNumber(ui.LinStartValue->text()).has_value(),
                         lintexts::message(lintexts::Id::BadStartValue));
}

void LinPage::PrintLinFileClick() {
    LinearityContent content;
    const auto progress = [this](int address) {
        ui.CGauge1->setValue(address - ParameterSet::LinTableFirstAddress);
    };
    if (!ReadChartData(sensor_, state_.LinTableCached, content.data, progress)) {
        show(lintexts::Id::TableReadFailed);
        return;
    }
    content.lengthMm = static_cast<uint32_t>(sensor_[TSSICom::Length].Value);
    content.fields = sensorFields_ ? sensorFields_() : SensorFields{};
    content.language = state_.UiLanguage;
    auto* chart = new TLinearityForm(*ui.PrintLinFile->window(), content, state_.dialogs(), print_);
    chart->showMaximized();
    state_.LinTableCached = true;
    ui.CGauge1->setValue(0);
}

std::optional<int> LinPage::enteredAddress() {
    const std::optional<int32_t> address = enteredInteger(ui.AdresLabel->text());
    if (!address)
        return std::nullopt;
    if (!InRange(*address, ParameterSet::LinTableFirstAddress, ParameterSet::LinTableLastEntry)) {
        show(lintexts::Id::BadAddress);
        return std::nullopt;
    }
    return *address;
}

std::optional<int32_t> LinPage::enteredInteger(const QString& text) {
    const std::optional<int32_t> value = StrictNumber(text);
    if (!value)
        show(lintexts::Id::NotAnInteger);
    return value;
}

void LinPage::showEntry() {
    ui.ValueLabel->setText(signedByteText(sensor_[TSSICom::LinTableByte].Value));
}

void LinPage::showFactor() {
    ui.FactorLabel->setText(signedByteText(sensor_[TSSICom::LinTableByte].Value));
}

void LinPage::colourTableFields(FieldColour colour) {
    for (LabeledEdit* edit : {ui.AdresLabel, ui.ValueLabel, ui.FactorLabel})
        edit->setColour(colour);
}

void LinPage::show(lintexts::Id message) {
    contract_.show(lintexts::message(message));
}

void LinPage::ApplyAccessLevel(TAccessLevel level) {
    ui.FactorLabel->setReadOnly(level != TAccessLevel::Developer);
}

void LinPage::Refresh() {
    ViewRefreshScope refreshing(state_.ViewRefreshing);
    state_.LinTableCached = false;
    showTable();
    showStartValue();
}

void LinPage::showTable() {
    const bool hasTable = sensor_[TSSICom::LinTableByte].Answered != 0;
    for (QWidget* control :
         {static_cast<QWidget*>(ui.ValueLabel), static_cast<QWidget*>(ui.AdresLabel),
          static_cast<QWidget*>(ui.FactorLabel), static_cast<QWidget*>(ui.ReadLinValue),
          static_cast<QWidget*>(ui.WriteLinFile), static_cast<QWidget*>(ui.PrintLinFile)}) {
        control->setEnabled(hasTable);
    }
    ui.WriteLinValue->setEnabled(hasTable && state_.AccessLevel == TAccessLevel::Developer);
    colourTableFields(hasTable ? FieldColour::White : FieldColour::ButtonFace);
    if (!hasTable) {
        for (LabeledEdit* edit : {ui.AdresLabel, ui.ValueLabel, ui.FactorLabel, ui.LinStartValue})
            edit->setText(QString());
        return;
    }
    bool isNumber = false;
    const int address = ui.AdresLabel->text().toInt(&isNumber);
    // An address that is not one of the table's entries is read as the first entry.
    if (!isNumber || address < ParameterSet::LinTableFirstAddress ||
        address > ParameterSet::LinTableLastEntry) {
        ui.AdresLabel->setText(QString::number(ParameterSet::LinTableFirstAddress));
    }
    sensor_.ReadLinTableByte(ui.AdresLabel->text().toInt());
    showEntry();
    sensor_.ReadLinTableByte(ParameterSet::LinFactorAddress);
    showFactor();
    state_.InternalLinearization =
        rules::IsInternalLinearizationFactor(sensor_[TSSICom::LinTableByte].Value);
}

void LinPage::showStartValue() {
    auto& edit = *ui.LinStartValue;
    auto& startValue = sensor_[TSSICom::LinStartValue];
    const bool developer = state_.AccessLevel == TAccessLevel::Developer;
    if (startValue.Answered) {
        edit.setEnabled(true);
        edit.setReadOnly(!developer);
        if (rules::IsOffsetRawFirmware(static_cast<uint32_t>(sensor_.FirmwareVersionNumber()))) {
            startValue.Value = 0;
            edit.setEnabled(false);
        }
        edit.setText(QString::number(startValue.Value));
    } else {
        edit.setEnabled(false);
    }
    if (startValue.Modified) {
        edit.setColour(FieldColour::Highlight);
    } else {
        edit.setColour(developer ? FieldColour::White : FieldColour::ButtonFace);
    }
}

}  // namespace linearization
