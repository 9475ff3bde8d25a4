#include "params/ParameterView.h"

#include <QLabel>
#include <QPushButton>

#include "comm/SensorRules.h"
#include "comm/ViewRules.h"
#include "ui/MainState.h"
#include "ui/MainTexts.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/FieldColour.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"
#include "ui/controls/ViewRefreshScope.h"

namespace params {

ParameterView::ParameterView(PageControls& controls, MainState& state, TSSICom& sensor)
    : ui_(controls), state_(state), sensor_(sensor) {}

const TSSICom::DataElement& ParameterView::reg(Reg r) const {
    return sensor_[r];
}

QString ParameterView::unsignedText(Reg r) const {
    return QString::number(static_cast<uint32_t>(reg(r).Value));
}

QString ParameterView::signedText(Reg r) const {
    return QString::number(reg(r).Value);
}

void ParameterView::paint(LabeledEdit& edit, Reg r) {
    edit.setColour(reg(r).Modified ? FieldColour::Highlight : FieldColour::White);
}

void ParameterView::paint(RadioGroup& group, Reg r) {
    group.setColour(reg(r).Modified ? FieldColour::Highlight : FieldColour::ButtonFace);
}

void ParameterView::paint(CheckBox& box, Reg r) {
    box.setColour(reg(r).Modified ? FieldColour::Highlight : FieldColour::ButtonFace);
}

void ParameterView::showEdit(LabeledEdit& edit, Reg r, const QString& text) {
    const bool answered = reg(r).Answered != 0;
    edit.setEnabled(answered);
    if (answered)
        edit.setText(text);
    paint(edit, r);
}

void ParameterView::showChoice(RadioGroup& group, Reg r, int item) {
    const bool answered = reg(r).Answered != 0;
    group.setEnabled(answered);
    if (answered)
        group.setItemIndex(item);
    paint(group, r);
}

void ParameterView::showCheck(CheckBox& box, Reg r, bool checked) {
    const bool answered = reg(r).Answered != 0;
    box.setEnabled(answered);
    if (answered)
        box.setChecked(checked);
    paint(box, r);
}

void ParameterView::Refresh() {
    ViewRefreshScope refreshing(state_.ViewRefreshing);
    showSsiOutput();
    showErrorIndication();
    showFilter();
    showMeasuringChoices();
    showOutputFlags();
    showResolutionAndOffset();
    showSensorInformation();
    showExpertFields();
    showLinearizationFlags();
    showStartOfMeasurement();
    showSampleCycle();
    showChargepump();
    showModelChoice();
    showRangePoints();
    showBlanking();
    finishModel();
}

void ParameterView::showSsiOutput() {
    auto& ui = ui_.SSISettings;
    showChoice(*ui.CodingGroup, TSSICom::OutputCode, reg(TSSICom::OutputCode).Value);
    if (reg(TSSICom::BitWidth).Answered) {
        ui.BitWidth->setEnabled(!rules::BitWidthForced(sensor_.FirmwareVersionNumber(),
                                                       reg(TSSICom::OutputFlags).Value));
        ui.BitWidth->setText(signedText(TSSICom::BitWidth));
    } else {
        ui.BitWidth->setEnabled(false);
    }
    paint(*ui.BitWidth, TSSICom::BitWidth);
}

void ParameterView::showErrorIndication() {
    auto& ui = ui_.ErrorIndication;
    showEdit(*ui.ErrorValue, TSSICom::ErrorValue, signedText(TSSICom::ErrorValue));
    showEdit(*ui.ErrorCount, TSSICom::IndicationCounter, signedText(TSSICom::IndicationCounter));
}

void ParameterView::showFilter() {
    auto& filter = *ui_.Measurement.FilterS;
    if (reg(TSSICom::Filter).Answered) {
        filter.setEnabled(
            !rules::FilterForced(sensor_.FirmwareVersionNumber(), reg(TSSICom::Mode).Value));
        filter.setItemIndex(reg(TSSICom::Filter).Value);
    } else {
        filter.setEnabled(false);
    }
    paint(filter, TSSICom::Filter);
}

void ParameterView::showMeasuringChoices() {
    showCheck(*ui_.Measurement.SlowAvarageFilter, TSSICom::SlowAvarageFilter,
              reg(TSSICom::SlowAvarageFilter).Value != 0);
    showChoice(*ui_.Measurement.Direction, TSSICom::Direction, reg(TSSICom::Direction).Value);
    showCheck(*ui_.SSISettings.SSI_Start_CheckBox, TSSICom::SSIStartSync,
              reg(TSSICom::SSIStartSync).Value != 0);
    showChoice(*ui_.Measurement.PosDifVel, TSSICom::Mode,
               rules::MeasuringModeItem(reg(TSSICom::Mode).Value));
}

void ParameterView::showOutputFlags() {
    auto& ui = ui_.Measurement2;
    const std::optional<bool> siemens = rules::SiemensChecked(sensor_.Parameters());
    ui.Siemens->setEnabled(siemens.has_value());
    if (siemens)
        ui.Siemens->setChecked(*siemens);
    if (const std::optional<bool> temperature = rules::TemperatureChecked(sensor_.Parameters()))
        ui.Temperature->setChecked(*temperature);
    paint(*ui.Siemens, TSSICom::OutputFlags);
    paint(*ui.Temperature, TSSICom::OutputFlags);
}

void ParameterView::showResolutionAndOffset() {
    auto& ui = ui_.Measurement;
    ui.Resolution->setEnabled(reg(TSSICom::Resolution).Answered != 0);
    if (const auto text = rules::ResolutionFieldText(sensor_.Parameters()))
        ui.Resolution->setText(QString::fromStdString(*text));
    paint(*ui.Resolution, TSSICom::Resolution);
    showEdit(*ui.Offset, TSSICom::Offset,
             QString::number(rules::OffsetFieldMicrons(sensor_.Parameters())));
}

void ParameterView::showSensorInformation() {
    auto& ui = ui_.SensorInfo;
    const ParameterSet& set = sensor_.Parameters();
    state_.SensorTypeText = QString::fromStdString(rules::SensorTypeTextOf(set));
    ui.InfoLabel1->setText(QString::fromStdString(rules::SensorTypeLine(set)));
    ui.InfoLabel2->setText(QString::fromStdString(rules::LengthLine(set)));
    ui.InfoLabel3->setText(QString::fromStdString(reg(TSSICom::FactoryNumber).Reply));
    ui.InfoLabel4->setText(QString::fromStdString(rules::UltrasonicSpeedLine(set)));
    showCycleTimeLine();
    ui.InfoLabel6->setText(QString::fromStdString(rules::FirmwareLine(set)));
}

void ParameterView::showCycleTimeLine() {
    // The compensation box still shows the previous set here: its own step comes later.
    const rules::CycleTimeLine line = rules::CycleTimeFor(
        rules::CycleTimeInputsOf(sensor_.Parameters(), ui_.Measurement2.TempComp->isChecked()));
    state_.MinPeriodOverhead = line.minPeriodOverhead;
    ui_.SensorInfo.InfoLabel5->setText(QString::number(line.microseconds) + QStringLiteral("µs"));
    state_.CycleTimeCaption = line.synchronous ? MainState::CycleTimeWording::Synchronous
                                               : MainState::CycleTimeWording::Asynchronous;
}

void ParameterView::showExpertFields() {
    auto& ui = ui_.ExpertSettings;
    showEdit(*ui.FactoryNumber, TSSICom::FactoryNumber,
             QString::fromStdString(reg(TSSICom::FactoryNumber).Reply));
    showEdit(*ui.Length, TSSICom::Length, unsignedText(TSSICom::Length));
    showEdit(*ui.UltrasonicSpeed, TSSICom::UltrasonicSpeed, unsignedText(TSSICom::UltrasonicSpeed));
    if (reg(TSSICom::Scale).Answered)
        ui.Scale->setText(unsignedText(TSSICom::Scale));
    showEdit(*ui.CycleTime, TSSICom::CycleTime, unsignedText(TSSICom::CycleTime));
    showEdit(*ui.SyncTiming, TSSICom::SyncTiming, unsignedText(TSSICom::SyncTiming));
    showEdit(*ui.MonoflopTime, TSSICom::MonoflopTime, unsignedText(TSSICom::MonoflopTime));
    showEdit(*ui_.SSISettings.UARTWrites, TSSICom::UARTCounter, unsignedText(TSSICom::UARTCounter));
    showEdit(*ui_.ErrorIndication.PowerFail, TSSICom::PowerfailTime,
             unsignedText(TSSICom::PowerfailTime));
}

void ParameterView::showLinearizationFlags() {
    auto& ui = ui_.Measurement2;
    CheckBox* boxes[] = {ui.Linearisierung, ui.Extrapolation, ui.TempComp, ui.ExtrapolForward,
                         ui.Temperature};
    const auto& flags = reg(TSSICom::LinearizationFlags);
    for (CheckBox* box : boxes)
        box->setEnabled(flags.Answered != 0);
    const bool extrapolation = rules::ExtrapolationChecked(sensor_.Parameters());
    ui.Linearisierung->setChecked(rules::InternalLinearizationChecked(sensor_.Parameters()));
    ui.Extrapolation->setChecked(extrapolation);
    if (flags.Answered) {
        ui.ExtrapolForward->setEnabled(extrapolation);
        if (extrapolation)
            ui_.SSISettings.Mode->setEnabled(false);
        ui.ExtrapolForward->setChecked(rules::ExtrapolationForwardChecked(flags.Value));
        ui.TempComp->setChecked(rules::TemperatureCompensationChecked(flags.Value));
    }
    for (CheckBox* box : boxes)
        paint(*box, TSSICom::LinearizationFlags);
}

void ParameterView::showStartOfMeasurement() {
    auto& mode = *ui_.SSISettings.Mode;
    if (reg(TSSICom::Measurement).Answered) {
        mode.setEnabled(!rules::MeasurementStartFixed(sensor_.Parameters()));
        mode.setItemIndex(rules::MeasurementStartItem(sensor_.Parameters()));
    } else {
        mode.setEnabled(false);
    }
    paint(mode, TSSICom::Measurement);
}

void ParameterView::showSampleCycle() {
    auto& sampleCycle = *ui_.SSISettings.SSI_Abstand;
    const bool available = rules::HasSampleCycle(sensor_.FirmwareVersionNumber());
    sampleCycle.setEnabled(available);
    if (available)
        sampleCycle.setText(unsignedText(TSSICom::SSISampleTime));
}

void ParameterView::showChargepump() {
    auto& stages = *ui_.ExpertSettings.ChargepumpStages;
    if (reg(TSSICom::Chargepump).Answered) {
        stages.setEnabled(true);
        state_.ApplyLanguage();
        if (rules::HasEightChargepumpStages(state_.SensorTypeText.toStdString()))
            ui_.ExpertSettings.Q_SERIE->setVisible(false);
        stages.setItemIndex(rules::ChargepumpStagesItem(sensor_.Parameters()));
    } else {
        stages.setEnabled(false);
    }
    paint(stages, TSSICom::Chargepump);
}

void ParameterView::showModelChoice() {
    auto& ui = ui_.ExpertSettings;
    showEdit(*ui_.SSISettings.JitterWindow, TSSICom::JitterWindow,
             unsignedText(TSSICom::JitterWindow));
    if (reg(TSSICom::Model).Answered) {
        ui.Model->setEnabled(true);
        ui.Model->setItemIndex(rules::ModelCodeFor(reg(TSSICom::Model).Value).modelItem);
    }
    paint(*ui.Model, TSSICom::Model);
    showCheck(*ui_.ErrorIndication.ErrorValue2, TSSICom::SecErrorValue,
              rules::SecondErrorValueChecked(sensor_.Parameters()));
}

void ParameterView::showRangePoints() {
    showRangePoint(TSSICom::StartPoint, *ui_.Measurement2.StartPoint, false);
    showRangePoint(TSSICom::EndPoint, *ui_.Measurement2.EndPoint, true);
}

void ParameterView::showRangePoint(Reg r, LabeledEdit& field, bool endPoint) {
    auto& ui = ui_.Measurement2;
    const bool answered = reg(r).Answered != 0;
    field.setEnabled(answered);
    (endPoint ? ui.SetEndPoint : ui.SetStartPoint)->setEnabled(answered);
    (endPoint ? ui.DelEndPoint : ui.DelStartPoint)->setEnabled(answered);
    if (answered) {
        if (auto text = RangePointText(ui_, state_, sensor_, endPoint))
            field.setText(*text);
    }
}

void ParameterView::showBlanking() {
    auto& blanking = *ui_.ExpertSettings.Blanking;
    const bool shown =
        rules::HasBlanking(sensor_.FirmwareVersionNumber()) && reg(TSSICom::Blanking).Answered;
    blanking.setEnabled(shown);
    if (shown)
        blanking.setText(signedText(TSSICom::Blanking));
    paint(blanking, TSSICom::Blanking);
}

void ParameterView::finishModel() {
    auto& ui = ui_.ExpertSettings;
    if (!reg(TSSICom::Model).Answered)
        return;
    ui.Model->setEnabled(true);
    auto& jitterWindow = *ui_.SSISettings.JitterWindow;
    if (ui.KModelChosen()) {
        jitterWindow.setReadOnly(true);
        jitterWindow.setColour(FieldColour::ButtonFace);
        return;
    }
    jitterWindow.setReadOnly(false);
    jitterWindow.setColour(FieldColour::White);
    ui_.Measurement2.Siemens->setEnabled(!rules::ModelBeginsWithB(reg(TSSICom::Model).Value));
}

std::optional<QString> RangePointText(const PageControls& controls, const MainState& state,
                                      const TSSICom& sensor, bool endPoint) {
    const auto point = sensor[endPoint ? TSSICom::EndPoint : TSSICom::StartPoint].Value;
    const auto text = rules::PointText(
        point, endPoint, rules::FieldInteger(controls.Measurement.Offset->text().toStdString()),
        controls.Measurement2.Linearisierung->isChecked(), sensor[TSSICom::Resolution].Value);
    if (text)
        return QString::fromStdString(*text);
    return pick(state.UiLanguage, maintexts::pointNotDefined());
}

}  // namespace params
