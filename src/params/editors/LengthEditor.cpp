#include "params/editors/LengthEditor.h"

#include "comm/SensorRules.h"
#include "comm/SettingRules.h"
#include "comm/ViewRules.h"
#include "ui/MainState.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace params {

namespace {

using mainmessages::Id;

// Sensors above this firmware version take lengths up to 1000 mm and no other
// setting from the length field.
constexpr uint32_t LastFirmwareWithLengthRules = 6250000;
constexpr uint32_t LargestShortLength = 1000;
constexpr int32_t LargestLength = 2147483646;

}  // namespace

LengthEditor::LengthEditor(PageControls& controls, EditorContract& contract)
    : ui_(controls), contract_(contract) {
    contract_.bindEdit(
        *ui_.ExpertSettings.Length, [this](const QString& text) { OnEditLength(text); },
        [this] { OnChangeLength(); });
}

void LengthEditor::Recompute() {
    OnEditLength(ui_.ExpertSettings.Length->text());
}

void LengthEditor::OnEditLength(const QString& text) {
    const auto length = StrictNumber(text);
    if (!length)
        return;
    if (static_cast<uint32_t>(contract_.sensor().FirmwareVersionNumber()) >
        LastFirmwareWithLengthRules) {
        limitToThousand(*length);
        return;
    }
    setLength(*length);
    auto& field = *ui_.ExpertSettings.Length;
    if (rules::SendableLength(*length) != *length) {
        contract_.show(Id::LengthInSteps, MessageIcon::Warning);
        field.focusField();
        field.setText(QString::number(rules::SendableLength(*length)));
    }
    const bool kbf =
        rules::HasEightChargepumpStages(contract_.state().SensorTypeText.toStdString());
    if (auto item = rules::ChargepumpItemForLength(kbf, *length))
        ui_.ExpertSettings.ChargepumpStages->setItemIndex(*item);
    showCycleTimes(*length);
}

void LengthEditor::setLength(int32_t length) {
    auto& reg = contract_.sensor()[TSSICom::Length];
    reg.Value = length;
    reg.Modified = 1;
    ui_.ExpertSettings.Length->setColour(FieldColour::Highlight);
}

void LengthEditor::limitToThousand(int32_t length) {
    setLength(length);
    if (static_cast<uint32_t>(length) <= LargestShortLength)
        return;
    MainState& state = contract_.state();
    contract_.sensor()[TSSICom::Length].Value = static_cast<int32_t>(LargestShortLength);
    state.ClearParametersChanged();
    state.SensorOnline = false;
    contract_.show(Id::LengthUpTo1000, MessageIcon::Warning);
    ui_.ExpertSettings.Length->focusField();
}

// The cycle-time fields write what they are given through their own live handlers.
void LengthEditor::showCycleTimes(int32_t length) {
    TSSICom& sensor = contract_.sensor();
    const rules::CycleTimes times = rules::CycleTimesForLength(
        length, ui_.Measurement2.Linearisierung->isChecked(), sensor[TSSICom::Resolution].Value,
        sensor[TSSICom::PositionCount].Value);
    if (!contract_.writeRegister(TSSICom::Length)) {
        contract_.state().WriteOutcome(false);
        return;
    }
    contract_.state().MarkParametersChanged();
    ui_.ExpertSettings.CycleTime->setText(QString::number(static_cast<uint32_t>(times.cycleTime)));
    ui_.ExpertSettings.SyncTiming->setText(
        QString::number(static_cast<uint32_t>(times.syncTiming)));
}

void LengthEditor::OnChangeLength() {
    const auto length = StrictNumber(ui_.ExpertSettings.Length->text());
    contract_.finishExit(*ui_.ExpertSettings.Length, length && InRange(*length, 1, LargestLength),
                         Id::BadLength);
}

}  // namespace params
