#include <QGridLayout>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "linearization/gui/LinPage.h"
#include "ui/MainState.h"
#include "ui/PageNames.h"
#include "ui/controls/ViewRefreshScope.h"
#include "ui/controls/FieldColour.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/PageParts.h"

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
    return QString::number(static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF)));
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
    : state_(state), sensor_(sensor) {
    ui.build(*pages.page(pagenames::LinPage));
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
    const FieldColour colour = hasTable ? FieldColour::White : FieldColour::ButtonFace;
    for (LabeledEdit* edit : {ui.AdresLabel, ui.ValueLabel, ui.FactorLabel})
        edit->setColour(colour);
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
    ui.ValueLabel->setText(signedByteText(sensor_[TSSICom::LinTableByte].Value));
    sensor_.ReadLinTableByte(ParameterSet::LinFactorAddress);
    ui.FactorLabel->setText(signedByteText(sensor_[TSSICom::LinTableByte].Value));
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
