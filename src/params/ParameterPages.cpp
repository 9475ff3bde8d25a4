#include "params/ParameterPages.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>

#include "comm/OperatingTime.h"
#include "comm/SensorRules.h"
#include "params/AutomaticCorrections.h"
#include "params/ParameterView.h"
#include "params/RangePoints.h"
#include "params/editors/EepromUpdate.h"
#include "params/editors/ErrorIndicationEditors.h"
#include "params/editors/ExpertEditors.h"
#include "params/editors/FactorySettings.h"
#include "params/editors/LengthEditor.h"
#include "params/editors/MeasurementEditors.h"
#include "params/editors/NewOrigin.h"
#include "params/editors/OffsetEditor.h"
#include "params/editors/SsiOutputEditors.h"
#include "ui/MainState.h"
#include "ui/PageNames.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/PageControl.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ViewRefreshScope.h"

namespace params {

ParameterPages::ParameterPages(PageControl& pages, QWidget& infoParent, MainState& state,
                               TSSICom& sensor)
    : state_(state), sensor_(sensor) {
    ui.SSISettings.build(*pages.page(pagenames::SSISettings));
    ui.ErrorIndication.build(*pages.page(pagenames::ErrorIndication));
    ui.Measurement.build(*pages.page(pagenames::Measurement));
    ui.Measurement2.build(*pages.page(pagenames::Measurement2));
    ui.ExpertSettings.build(*pages.page(pagenames::ExpertSettings));
    ui.ExpertSettings2.build(*pages.page(pagenames::ExpertSettings2));
    ui.SensorInfo.build(infoParent);
    buildEditors();
    connectButtons();
    watchPageExit(pages);
}

void ParameterPages::buildEditors() {
    Contract = std::make_unique<EditorContract>(state_, sensor_);
    Range = std::make_unique<RangePoints>(ui, *Contract);
    SsiOutput = std::make_unique<SsiOutputEditors>(ui, *Contract);
    ErrorIndication = std::make_unique<ErrorIndicationEditors>(ui, *Contract, *Range);
    Eeprom = std::make_unique<EepromUpdate>(*Contract);
    Offset = std::make_unique<OffsetEditor>(ui, *Contract);
    Length = std::make_unique<LengthEditor>(ui, *Contract);
    Measurement = std::make_unique<MeasurementEditors>(ui, *Contract, *Offset, *Length);
    Origin = std::make_unique<NewOrigin>(*Contract, *Offset);
    Expert = std::make_unique<ExpertEditors>(ui, *Contract, *Offset);
    Factory = std::make_unique<FactorySettings>(ui, *Contract, *Eeprom);
}

void ParameterPages::connectButtons() {
    const auto onClick = [](QPushButton* button, auto handler) {
        QObject::connect(button, &QPushButton::clicked, button, handler);
    };
    onClick(ui.SensorInfo.EEPROMUpdateButton, [this] { Eeprom->EEPROMUpdateButtonClick(); });
    onClick(ui.Measurement.OriginButton, [this] { Origin->OriginButtonClick(); });
    onClick(ui.Measurement2.SetStartPoint, [this] { Range->SetStartPointClick(); });
    onClick(ui.Measurement2.SetEndPoint, [this] { Range->SetEndPointClick(); });
    onClick(ui.Measurement2.DelStartPoint, [this] { Range->DelStartPointClick(); });
    onClick(ui.Measurement2.DelEndPoint, [this] { Range->DelEndPointClick(); });
    onClick(ui.ExpertSettings2.ReadFactoryButton, [this] { Factory->ReadFactoryButtonClick(); });
    onClick(ui.ExpertSettings2.WriteFactoryButton, [this] { Factory->WriteFactoryButtonClick(); });
}

// The factory number's own exit handler already ran when the focus left from it.
void ParameterPages::watchPageExit(PageControl& pages) {
    pageExitWatch_ = QObject::connect(
        qApp, &QApplication::focusChanged, &pages, [this, &pages](QWidget* old, QWidget* now) {
            const bool left = old && pages.isAncestorOf(old) && !(now && pages.isAncestorOf(now));
            if (left && old != &ui.ExpertSettings.FactoryNumber->field())
                Expert->ParameterPageExit();
        });
}

ParameterPages::~ParameterPages() {
    QObject::disconnect(pageExitWatch_);
}

void ParameterPages::Refresh() {
    ViewRefreshScope refreshing(state_.ViewRefreshing);
    AutomaticCorrections(state_, sensor_).Apply();
    ParameterView(ui, state_, sensor_).Refresh();
}

void ParameterPages::ApplyAccessLevel(TAccessLevel level) {
    ui.SSISettings.applyAccessLevel(level);
    ui.ErrorIndication.applyAccessLevel(level);
    ui.Measurement.applyAccessLevel(level);
    ui.Measurement2.applyAccessLevel(level);
    ui.ExpertSettings.applyAccessLevel(level);
}

void ParameterPages::ShowParametersChanged(bool changed) {
    ui.SensorInfo.EEPROMUpdateButton->setEnabled(changed);
}

void ParameterPages::ShowOperatingTime(uint32_t minutes) {
    auto& page = ui.ErrorIndication;
    const rules::OperatingTime time = rules::SplitOperatingTime(minutes);
    page.OpTimeYears->setText(QString::number(time.years));
    page.OpTimeMonth->setText(QString::number(time.months));
    page.OpTimeDays->setText(QString::number(time.days));
    page.OpTimeHours->setText(QString::number(time.hours));
    page.OpTimeMinutes->setText(QString::number(time.minutes));
}

bool ParameterPages::KModelChosen() const {
    return ui.ExpertSettings.KModelChosen();
}

}  // namespace params
