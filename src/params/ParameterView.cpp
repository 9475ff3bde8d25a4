#include "params/ParameterView.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "app/Main.h"
#include "app/PairedMessage.h"
#include "app/controls/CheckBox.h"
#include "app/controls/EditorGuard.h"
#include "app/controls/FieldColour.h"
#include "app/controls/Hint.h"
#include "app/controls/LabeledEdit.h"
#include "app/controls/RadioGroup.h"
#include "comm/SensorRules.h"

namespace params {
using namespace rules;

namespace {

constexpr uint32_t CorrectionFirmware = 3960607;
constexpr uint32_t BlankingFirmware = 3960609;
constexpr uint32_t SampleCycleFirmware39602 = 3960202;
constexpr int LinFirstAddress = 200;
constexpr int LinLastEntry = 500;
constexpr int LinFactorAddress = 501;

const MessagePair& BitWidthCorrected() {
    static const MessagePair message{
        {QStringLiteral("Number of data bits will be automatically\ncorrected to 24 because "
                        "temperature bit is set"),
         QStringLiteral("Die Anzahl der Datenbits wird automatisch\nauf 24 korrigiert, da das "
                        "Temperaturbit gesetzt ist")},
        {QStringLiteral("Info"), QStringLiteral("Info")}};
    return message;
}

const MessagePair& FilterCorrected() {
    static const MessagePair message{
        {QStringLiteral("Filter settings will be\ncorrected to 0 automatically,\nbecause velocity "
                        "mode is activ"),
         QStringLiteral("Die Filtereinstellung wird\nautomatisch zu 0 korrigiert, da der\n"
                        "Geschwindigkeitsmodus aktiv ist")},
        {QStringLiteral("Info"), QStringLiteral("Info")}};
    return message;
}

QString SignedByteText(int32_t value) {
    return QString::number(static_cast<int8_t>(static_cast<uint8_t>(value & 0xFF)));
}

}  // namespace

ParameterView::ParameterView(TMainForm& form) : form_(form), sensor_(*form.SensorLink) {}

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
    form_.LinTableCached = false;
    ViewRefreshScope refreshing(form_.ViewRefreshing);
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
    showLinearizationPage();
    showLinStartValue();
    showRangePoints();
    showBlanking();
    finishModel();
}

void ParameterView::showSsiOutput() {
    auto& ui = form_.ui;
    showChoice(*ui.CodingGroup, TSSICom::OutputCode, reg(TSSICom::OutputCode).Value);
    if (reg(TSSICom::BitWidth).Answered) {
        applyTemperatureRule();
        ui.BitWidth->setText(signedText(TSSICom::BitWidth));
    } else {
        ui.BitWidth->setEnabled(false);
    }
    paint(*ui.BitWidth, TSSICom::BitWidth);
}

void ParameterView::applyTemperatureRule() {
    const bool temperatureBit = (reg(TSSICom::OutputFlags).Value & 2) != 0;
    const bool forced =
        static_cast<uint32_t>(sensor_.FirmwareVersionNumber()) >= CorrectionFirmware &&
        temperatureBit;
    if (forced && reg(TSSICom::BitWidth).Value != 24) {
        ShowPairedMessage(form_.dialogs(), form_.UiLanguage, BitWidthCorrected(),
                          MessageButtons::Ok, MessageIcon::Information);
        sensor_[TSSICom::BitWidth].Value = 24;
        sensor_[TSSICom::BitWidth].Modified = 1;
        form_.WriteOutcome(sensor_.WriteRegister(TSSICom::BitWidth));
    }
    form_.ui.BitWidth->setEnabled(!forced);
}

void ParameterView::showErrorIndication() {
    showEdit(*form_.ui.ErrorValue, TSSICom::ErrorValue, signedText(TSSICom::ErrorValue));
    showEdit(*form_.ui.ErrorCount, TSSICom::IndicationCounter,
             signedText(TSSICom::IndicationCounter));
}

void ParameterView::showFilter() {
    auto& filter = *form_.ui.FilterS;
    if (reg(TSSICom::Filter).Answered) {
        applyVelocityRule();
        filter.setItemIndex(reg(TSSICom::Filter).Value);
    } else {
        filter.setEnabled(false);
    }
    paint(filter, TSSICom::Filter);
}

void ParameterView::applyVelocityRule() {
    const bool forced =
        static_cast<uint32_t>(sensor_.FirmwareVersionNumber()) >= CorrectionFirmware &&
        reg(TSSICom::Mode).Value == 2;
    if (forced && reg(TSSICom::Filter).Value != 0) {
        ShowPairedMessage(form_.dialogs(), form_.UiLanguage, FilterCorrected(), MessageButtons::Ok,
                          MessageIcon::Information);
        sensor_[TSSICom::Filter].Value = 0;
        sensor_[TSSICom::Filter].Modified = 1;
        form_.ui.FilterS->setItemIndex(0);
        form_.WriteOutcome(sensor_.WriteRegister(TSSICom::Filter));
    }
    form_.ui.FilterS->setEnabled(!forced);
}

void ParameterView::showMeasuringChoices() {
    auto& ui = form_.ui;
    showCheck(*ui.SlowAvarageFilter, TSSICom::SlowAvarageFilter,
              reg(TSSICom::SlowAvarageFilter).Value != 0);
    showChoice(*ui.Direction, TSSICom::Direction, reg(TSSICom::Direction).Value);
    showCheck(*ui.SSI_Start_CheckBox, TSSICom::SSIStartSync, reg(TSSICom::SSIStartSync).Value != 0);
    const int32_t mode = reg(TSSICom::Mode).Value;
    showChoice(*ui.PosDifVel, TSSICom::Mode, mode >= 0 && mode < 3 ? mode : -1);
}

void ParameterView::showOutputFlags() {
    auto& ui = form_.ui;
    const auto& flags = reg(TSSICom::OutputFlags);
    if (!flags.Answered || ModelBeginsWithB(reg(TSSICom::Model).Value)) {
        ui.Siemens->setEnabled(false);
    } else {
        ui.Siemens->setEnabled(true);
        if (sensor_.FirmwareType() == 39601) {
            ui.Siemens->setChecked(flags.Value == 1);
        } else {
            ui.Siemens->setChecked((flags.Value & 1) != 0);
            ui.Temperature->setChecked((flags.Value & 2) != 0);
        }
    }
    paint(*ui.Siemens, TSSICom::OutputFlags);
    paint(*ui.Temperature, TSSICom::OutputFlags);
}

void ParameterView::showResolutionAndOffset() {
    showEdit(*form_.ui.Resolution, TSSICom::Resolution, unsignedText(TSSICom::Resolution));
    const int32_t micrometres = OffsetMicrons(
        static_cast<uint32_t>(sensor_.FirmwareVersionNumber()), reg(TSSICom::Offset).Value,
        reg(TSSICom::Resolution).Value, reg(TSSICom::Filter).Value);
    showEdit(*form_.ui.Offset, TSSICom::Offset, QString::number(micrometres));
}

void ParameterView::showSensorInformation() {
    auto& ui = form_.ui;
    const ModelCode code = ModelCodeFor(reg(TSSICom::Model).Value);
    form_.SensorTypeText = QString::fromStdString(code.typeText);
    ui.InfoLabel1->setText(QString::fromStdString(FamilyLine(code)));
    ui.InfoLabel2->setText(signedText(TSSICom::Length) + QStringLiteral("mm"));
    ui.InfoLabel3->setText(QString::fromStdString(reg(TSSICom::FactoryNumber).Reply));
    ui.InfoLabel4->setText(signedText(TSSICom::UltrasonicSpeed) + QStringLiteral(" cm/s"));
    showCycleTimeLine();
    ui.InfoLabel6->setText(
        QString::fromStdString(FirmwareText(reg(TSSICom::FirmwareVersion).Reply)));
}

void ParameterView::showCycleTimeLine() {
    auto& ui = form_.ui;
    CycleTimeInputs in;
    in.measurement = reg(TSSICom::Measurement).Value;
    in.jitterWindow = reg(TSSICom::JitterWindow).Value;
    in.outputFlags = reg(TSSICom::OutputFlags).Value;
    in.outputCode = reg(TSSICom::OutputCode).Value;
    in.positionCount = reg(TSSICom::PositionCount).Value;
    in.temperatureCompensation = ui.TempComp->isChecked();
    in.syncTiming = reg(TSSICom::SyncTiming).Value;
    in.cycleTime = reg(TSSICom::CycleTime).Value;
    const CycleTimeLine line = CycleTimeFor(in);
    form_.MinPeriodOverhead = line.minPeriodOverhead;
    ui.InfoLabel5->setText(QString::number(line.microseconds) + QStringLiteral("µs"));
    cycleTimeCaption_ =
        line.synchronous
            ? TextPair{QStringLiteral("Min. SSI period:"), QStringLiteral("Min. Meßzykluszeit:")}
            : TextPair{QStringLiteral("Cycle Time:"), QStringLiteral("Zykluszeit:")};
    showCycleTimeCaption();
}

void ParameterView::showCycleTimeCaption() {
    if (auto text = pick(form_.UiLanguage, cycleTimeCaption_))
        form_.ui.Label5->setText(*text);
}

void ParameterView::showExpertFields() {
    auto& ui = form_.ui;
    showEdit(*ui.FactoryNumber, TSSICom::FactoryNumber,
             QString::fromStdString(reg(TSSICom::FactoryNumber).Reply));
    showEdit(*ui.Length, TSSICom::Length, unsignedText(TSSICom::Length));
    showEdit(*ui.UltrasonicSpeed, TSSICom::UltrasonicSpeed, unsignedText(TSSICom::UltrasonicSpeed));
    if (reg(TSSICom::Scale).Answered) {
        ui.Scale->setText(unsignedText(TSSICom::Scale));
        if (static_cast<uint32_t>(reg(TSSICom::Scale).Value) > 0x1F0000u) {
            ui.Resolution->setText(QStringLiteral("0.5"));
        }
    }
    showEdit(*ui.CycleTime, TSSICom::CycleTime, unsignedText(TSSICom::CycleTime));
    showEdit(*ui.SyncTiming, TSSICom::SyncTiming, unsignedText(TSSICom::SyncTiming));
    showEdit(*ui.MonoflopTime, TSSICom::MonoflopTime, unsignedText(TSSICom::MonoflopTime));
    showEdit(*ui.UARTWrites, TSSICom::UARTCounter, unsignedText(TSSICom::UARTCounter));
    showEdit(*ui.PowerFail, TSSICom::PowerfailTime, unsignedText(TSSICom::PowerfailTime));
}

void ParameterView::showLinearizationFlags() {
    auto& ui = form_.ui;
    CheckBox* boxes[] = {ui.Linearisierung, ui.Extrapolation, ui.TempComp, ui.ExtrapolForward,
                         ui.Temperature};
    const auto& flags = reg(TSSICom::LinearizationFlags);
    for (CheckBox* box : boxes)
        box->setEnabled(flags.Answered != 0);
    if (flags.Answered) {
        ui.Linearisierung->setChecked((flags.Value & 1) != 0);
        const bool extrapolation = (flags.Value & 2) != 0;
        ui.Extrapolation->setChecked(extrapolation);
        ui.ExtrapolForward->setEnabled(extrapolation);
        if (extrapolation) {
            ui.Mode->setEnabled(false);
            ui.ExtrapolForward->setChecked((flags.Value & 8) != 0);
        } else {
            ui.ExtrapolForward->setChecked(false);
        }
        ui.TempComp->setChecked((flags.Value & 4) != 0);
    } else {
        ui.Linearisierung->setChecked(sensor_.FirmwareType() == 39604);
        ui.Extrapolation->setChecked(sensor_.FirmwareType() == 39602);
    }
    for (CheckBox* box : boxes)
        paint(*box, TSSICom::LinearizationFlags);
}

void ParameterView::showStartOfMeasurement() {
    auto& mode = *form_.ui.Mode;
    if (reg(TSSICom::Measurement).Answered) {
        const bool fixed =
            ModelBeginsWithB(reg(TSSICom::Model).Value) || form_.ui.Extrapolation->isChecked();
        mode.setEnabled(!fixed);
        mode.setItemIndex(fixed || reg(TSSICom::Measurement).Value == 2 ? 1 : 0);
    } else {
        mode.setEnabled(false);
    }
    paint(mode, TSSICom::Measurement);
}

void ParameterView::showSampleCycle() {
    auto& ui = form_.ui;
    const int type = sensor_.FirmwareType();
    const bool available =
        type == 39606 || (type == 39602 && static_cast<uint32_t>(sensor_.FirmwareVersionNumber()) >
                                               SampleCycleFirmware39602);
    ui.SSI_Abstand->setEnabled(available);
    if (available)
        ui.SSI_Abstand->setText(unsignedText(TSSICom::SSISampleTime));
    for (QWidget* control :
         {static_cast<QWidget*>(ui.LoadFile), static_cast<QWidget*>(ui.UpdateFW),
          static_cast<QWidget*>(ui.InfoBox), static_cast<QWidget*>(ui.Download)}) {
        control->setEnabled(available);
    }
    const FieldColour listColour = available ? FieldColour::White : FieldColour::ButtonFace;
    paintField(*ui.InfoBox, listColour);
    paintField(*ui.Download, listColour);
}

void ParameterView::showChargepump() {
    auto& ui = form_.ui;
    auto& stages = *ui.ChargepumpStages;
    if (reg(TSSICom::Chargepump).Answered) {
        stages.setEnabled(true);
        form_.ApplyLanguage();
        // The language's texts hold the plain cycle-time caption; the line keeps its own.
        showCycleTimeCaption();
        const bool kbf = form_.SensorTypeText == QLatin1String("KBF");
        if (kbf)
            ui.Q_SERIE->setVisible(false);
        stages.setItemIndex(ChargepumpItem(kbf, reg(TSSICom::Chargepump).Value));
    } else {
        stages.setEnabled(false);
    }
    paint(stages, TSSICom::Chargepump);
}

void ParameterView::showModelChoice() {
    auto& ui = form_.ui;
    showEdit(*ui.JitterWindow, TSSICom::JitterWindow, unsignedText(TSSICom::JitterWindow));
    if (reg(TSSICom::Model).Answered) {
        ui.Model->setEnabled(true);
        ui.Model->setItemIndex(ModelCodeFor(reg(TSSICom::Model).Value).modelItem);
    }
    paint(*ui.Model, TSSICom::Model);
    showCheck(*ui.ErrorValue2, TSSICom::SecErrorValue, reg(TSSICom::SecErrorValue).Value == 0);
}

void ParameterView::showLinearizationPage() {
    auto& ui = form_.ui;
    const bool hasTable = reg(TSSICom::LinTableByte).Answered != 0;
    for (QWidget* control :
         {static_cast<QWidget*>(ui.ValueLabel), static_cast<QWidget*>(ui.AdresLabel),
          static_cast<QWidget*>(ui.FactorLabel), static_cast<QWidget*>(ui.ReadLinValue),
          static_cast<QWidget*>(ui.WriteLinFile), static_cast<QWidget*>(ui.PrintLinFile)}) {
        control->setEnabled(hasTable);
    }
    ui.WriteLinValue->setEnabled(hasTable && form_.AccessLevel == TAccessLevel::Developer);
    const FieldColour colour = hasTable ? FieldColour::White : FieldColour::ButtonFace;
    for (LabeledEdit* edit : {ui.AdresLabel, ui.ValueLabel, ui.FactorLabel})
        edit->setColour(colour);
    if (!hasTable) {
        for (LabeledEdit* edit : {ui.AdresLabel, ui.ValueLabel, ui.FactorLabel, ui.LinStartValue}) {
            edit->setText(QString());
        }
        return;
    }
    bool isNumber = false;
    const int address = ui.AdresLabel->text().toInt(&isNumber);
    // An address that is not one of the table's entries is read as the first entry.
    if (!isNumber || address < LinFirstAddress || address > LinLastEntry) {
        ui.AdresLabel->setText(QString::number(LinFirstAddress));
    }
    sensor_.ReadLinTableByte(ui.AdresLabel->text().toInt());
    ui.ValueLabel->setText(SignedByteText(reg(TSSICom::LinTableByte).Value));
    sensor_.ReadLinTableByte(LinFactorAddress);
    ui.FactorLabel->setText(SignedByteText(reg(TSSICom::LinTableByte).Value));
    showLinearizationWording();
}

void ParameterView::showLinearizationWording() {
    auto& box = *form_.ui.Linearisierung;
    const auto factor = static_cast<uint32_t>(reg(TSSICom::LinTableByte).Value);
    const bool internal = factor >= 1 && factor <= 9;
    const TextPair caption = internal ? TextPair{QStringLiteral("internal linearization"),
                                                 QStringLiteral("interne Linearisierung")}
                                      : TextPair{QStringLiteral("exclude reflection"),
                                                 QStringLiteral("Reflexion ausschließen")};
    const TextPair hint =
        internal
            ? TextPair{QStringLiteral("With integrated linearity values for compenzation!\n"
                                      "Attention: \n - the cycle time will be changed\n - only "
                                      "available, if already ordered with this option"),
                       QStringLiteral("Der im Werk ermittelte Nichtlinearität wird "
                                      "herausgerechnet!\nAchtung: \n - die Zykluszeit ändert "
                                      "sich!\n - nur möglich, wenn diese Option auch bestellt "
                                      "wurde!")}
            : TextPair{QStringLiteral("For exclude the reflection of returned wave!\nAttention: "
                                      "The cycle time will be changed."),
                       QStringLiteral("Die Reflexion (Sensoren > 600mm) wird hiermit "
                                      "ausgeschlossen!\nAchtung: \n - die Zykluszeit ändert "
                                      "sich!")};
    if (auto text = pick(form_.UiLanguage, caption))
        box.setCaption(*text);
    if (auto text = pick(form_.UiLanguage, hint))
        setHint(box, *text);
}

void ParameterView::showLinStartValue() {
    auto& edit = *form_.ui.LinStartValue;
    const bool developer = form_.AccessLevel == TAccessLevel::Developer;
    if (reg(TSSICom::LinStartValue).Answered) {
        edit.setEnabled(true);
        edit.setReadOnly(!developer);
        if (IsOffsetRawFirmware(static_cast<uint32_t>(sensor_.FirmwareVersionNumber()))) {
            sensor_[TSSICom::LinStartValue].Value = 0;
            edit.setEnabled(false);
        }
        edit.setText(signedText(TSSICom::LinStartValue));
    } else {
        edit.setEnabled(false);
    }
    if (reg(TSSICom::LinStartValue).Modified) {
        edit.setColour(FieldColour::Highlight);
    } else {
        edit.setColour(developer ? FieldColour::White : FieldColour::ButtonFace);
    }
}

void ParameterView::showRangePoints() {
    showRangePoint(TSSICom::StartPoint, *form_.ui.StartPoint, false);
    showRangePoint(TSSICom::EndPoint, *form_.ui.EndPoint, true);
}

void ParameterView::showRangePoint(Reg r, LabeledEdit& field, bool endPoint) {
    auto& ui = form_.ui;
    const bool answered = reg(r).Answered != 0;
    field.setEnabled(answered);
    (endPoint ? ui.SetEndPoint : ui.SetStartPoint)->setEnabled(answered);
    (endPoint ? ui.DelEndPoint : ui.DelStartPoint)->setEnabled(answered);
    if (answered) {
        if (auto text = RangePointText(form_, endPoint))
            field.setText(*text);
    }
}

void ParameterView::showBlanking() {
    auto& blanking = *form_.ui.Blanking;
    const bool shown = static_cast<uint32_t>(sensor_.FirmwareVersionNumber()) > BlankingFirmware &&
                       reg(TSSICom::Blanking).Answered;
    blanking.setEnabled(shown);
    if (shown)
        blanking.setText(signedText(TSSICom::Blanking));
}

void ParameterView::finishModel() {
    auto& ui = form_.ui;
    if (!reg(TSSICom::Model).Answered)
        return;
    ui.Model->setEnabled(true);
    if (form_.KModelChosen()) {
        ui.JitterWindow->setReadOnly(true);
        ui.JitterWindow->setColour(FieldColour::ButtonFace);
        return;
    }
    ui.JitterWindow->setReadOnly(false);
    ui.JitterWindow->setColour(FieldColour::White);
    ui.Siemens->setEnabled(!ModelBeginsWithB(reg(TSSICom::Model).Value));
}

std::optional<QString> RangePointText(const TMainForm& form, bool endPoint) {
    const TSSICom& sensor = *form.SensorLink;
    const auto point = sensor[endPoint ? TSSICom::EndPoint : TSSICom::StartPoint].Value;
    const auto text =
        PointText(point, endPoint, FieldInteger(form.ui.Offset->text().toStdString()),
                  form.ui.Linearisierung->isChecked(), sensor[TSSICom::Resolution].Value);
    if (text)
        return QString::fromStdString(*text);
    return pick(form.UiLanguage,
                TextPair{QStringLiteral("not defined"), QStringLiteral("nicht definiert")});
}

}  // namespace params

void TMainForm::RefreshParameterView() {
    params::ParameterView(*this).Refresh();
}

bool TMainForm::KModelChosen() const {
    return rules::IsKModelItem(ui.Model->itemIndex());
}

void TMainForm::WriteOutcome(bool succeeded) {
    if (succeeded) {
        MarkParametersChanged();
        return;
    }
    ShowPairedMessage(dialogs(), UiLanguage, messages::communicationError(), MessageButtons::Ok,
                      MessageIcon::Error);
    ClearParametersChanged();
    SensorOnline = false;
}
