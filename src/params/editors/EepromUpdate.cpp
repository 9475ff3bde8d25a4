#include "params/editors/EepromUpdate.h"

#include "comm/SensorRules.h"
#include "ui/MainState.h"
#include "ui/Texts.h"
#include "ui/WaitCursor.h"
#include "ui/controls/EditorContract.h"

namespace params {

void EepromUpdate::EEPROMUpdateButtonClick() {
    MainState& state = contract_.state();
    TSSICom& sensor = contract_.sensor();
    if (!state.SensorOnline)
        return;
    const auto pause = state.PausePolling();
    {
        WaitCursor hourglass;
        if (rules::CommitsWithCN(sensor.FirmwareVersionNumber()))
            warnIfRangeNeedsTeaching();
        const bool committed = sensor.Commit();
        state.ClearParametersChanged();
        state.RecordOutcome(history::Operation::Commit, committed, messages::communicationError());
    }
    sensor.WakeSensor();
    state.RefreshView();
}

void EepromUpdate::warnIfRangeNeedsTeaching() {
    const TSSICom& sensor = contract_.sensor();
    if (sensor[TSSICom::Resolution].Modified &&
        rules::RangeFollowsResolution(sensor.FirmwareVersionNumber()) &&
        rules::RangeTaught(sensor[TSSICom::StartPoint].Value, sensor[TSSICom::EndPoint].Value)) {
        contract_.show(mainmessages::Id::RangeNeedsTeaching, MessageIcon::Warning);
    }
}

}  // namespace params
