#include "params/editors/ErrorIndicationEditors.h"

#include <limits>

#include "comm/SensorRules.h"
#include "comm/SettingChanges.h"
#include "params/RangePoints.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace params {

namespace {

using mainmessages::Id;

// The exit check leaves a margin below the 32-bit limits that the live handler accepts.
constexpr int64_t LargestErrorValueOnExit = 2147483600;
constexpr int32_t SecondErrorValueOn = 0;
constexpr int32_t SecondErrorValueOff = 255;

}  // namespace

ErrorIndicationEditors::ErrorIndicationEditors(PageControls& controls, EditorContract& contract,
                                               RangePoints& rangePoints)
    : page_(controls.ErrorIndication),
      expert_(controls.ExpertSettings),
      contract_(contract),
      rangePoints_(rangePoints) {
    connectHandlers();
}

void ErrorIndicationEditors::connectHandlers() {
    using Guard = EditorContract::Guard;
    contract_.bindEdit(
        *page_.ErrorValue, [this](const QString& text) { OnEditErrorValue(text); },
        [this] { OnChangeErrorValue(); });
    contract_.bindEdit(
        *page_.ErrorCount, [this](const QString& text) { OnEditErrorCount(text); },
        [this] { OnChangeErrorCount(); }, Guard::RefreshAndControlSettings);
    contract_.bindEdit(
        *page_.PowerFail, [this](const QString& text) { OnEditPowerFail(text); },
        [this] { OnChangePowerFail(); });
    contract_.bindCheck(*page_.ErrorValue2, [this](bool checked) { ErrorValue2Click(checked); });
}

void ErrorIndicationEditors::OnEditErrorValue(const QString& text) {
    bool isNumber = false;
    const int32_t value = text.toInt(&isNumber);
    if (!isNumber)
        return;
    page_.ErrorValue->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::ErrorValue, value);
}

void ErrorIndicationEditors::OnChangeErrorValue() {
    bool isNumber = false;
    const int64_t value = page_.ErrorValue->text().toLongLong(&isNumber);
    contract_.finishExit(
        *page_.ErrorValue,
        isNumber && InRange(value, -LargestErrorValueOnExit, LargestErrorValueOnExit),
        Id::BadErrorValue);
}

void ErrorIndicationEditors::OnEditErrorCount(const QString& text) {
    const int32_t count = FieldNumber(text);
    if (expert_.KModelChosen() && count > 1) {
        contract_.sensor()[TSSICom::IndicationCounter].Value = 1;
        contract_.refuseForKFamily([this] { page_.ErrorCount->setText(QStringLiteral("1")); });
        return;
    }
    if (!changes::Accepts(TSSICom::IndicationCounter, count))
        return;
    page_.ErrorCount->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::IndicationCounter, count);
}

void ErrorIndicationEditors::OnChangeErrorCount() {
    contract_.finishExit(
        *page_.ErrorCount,
        changes::Accepts(TSSICom::IndicationCounter, FieldNumber(page_.ErrorCount->text())),
        Id::BadErrorCount);
}

void ErrorIndicationEditors::OnEditPowerFail(const QString& text) {
    const int32_t milliseconds = FieldNumber(text);
    if (!changes::Accepts(TSSICom::PowerfailTime, milliseconds))
        return;
    page_.PowerFail->setColour(FieldColour::Highlight);
    contract_.sensor()[TSSICom::PowerfailTime].Value = milliseconds;
    if (milliseconds == 0) {
        contract_.show(Id::PowerfailOff, MessageIcon::Warning);
        page_.PowerFail->focusField();
    }
    contract_.write(TSSICom::PowerfailTime);
}

void ErrorIndicationEditors::OnChangePowerFail() {
    contract_.finishExit(
        *page_.PowerFail,
        changes::Accepts(TSSICom::PowerfailTime, FieldNumber(page_.PowerFail->text())),
        Id::BadPowerfailTime);
}

// The sensor takes the second error value through the range register, so the
// points are read again afterwards, also when the write failed.
void ErrorIndicationEditors::ErrorValue2Click(bool checked) {
    if (checked && expert_.KModelChosen()) {
        contract_.refuseForKFamily([this] { page_.ErrorValue2->setChecked(false); });
        return;
    }
    page_.ErrorValue2->setColour(FieldColour::Highlight);
    contract_.write(TSSICom::SecErrorValue, checked ? SecondErrorValueOn : SecondErrorValueOff);
    rangePoints_.ReadRangePoints();
}

}  // namespace params
