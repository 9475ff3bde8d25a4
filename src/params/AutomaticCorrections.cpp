#include "params/AutomaticCorrections.h"

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"
#include "ui/MainMessages.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/controls/EditorContract.h"

namespace params {

namespace {

void showInfo(MainState& state, const MessagePair& message) {
    ShowPairedMessage(state.dialogs(), state.UiLanguage, message, MessageButtons::Ok,
                      MessageIcon::Information);
}

}  // namespace

void AutomaticCorrections::Apply() {
    correctBitWidth();
    correctFilter();
}

void AutomaticCorrections::correctBitWidth() {
    auto& bitWidth = sensor_[TSSICom::BitWidth];
    if (!bitWidth.Answered ||
        !rules::BitWidthForced(sensor_.FirmwareVersionNumber(),
                               sensor_[TSSICom::OutputFlags].Value) ||
        bitWidth.Value == rules::TemperatureBitWidth) {
        return;
    }
    showInfo(state_, mainmessages::message(mainmessages::Id::BitWidthCorrected));
    bitWidth.Value = rules::TemperatureBitWidth;
    bitWidth.Modified = 1;
    state_.WriteOutcome(WriteRecorded(state_, sensor_, TSSICom::BitWidth));
}

void AutomaticCorrections::correctFilter() {
    auto& filter = sensor_[TSSICom::Filter];
    if (!filter.Answered ||
        !rules::FilterForced(sensor_.FirmwareVersionNumber(), sensor_[TSSICom::Mode].Value) ||
        filter.Value == rules::VelocityFilter) {
        return;
    }
    showInfo(state_, mainmessages::message(mainmessages::Id::FilterCorrected));
    filter.Value = rules::VelocityFilter;
    filter.Modified = 1;
    state_.WriteOutcome(WriteRecorded(state_, sensor_, TSSICom::Filter));
}

}  // namespace params
