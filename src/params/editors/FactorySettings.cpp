#include "params/editors/FactorySettings.h"

#include "params/editors/EepromUpdate.h"
#include "params/pages/PageControls.h"
#include "ui/MainState.h"
#include "ui/PairedMessage.h"
#include "ui/WaitCursor.h"
#include "ui/controls/CheckBox.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"
#include "ui/controls/RadioGroup.h"

namespace params {

// The factory values are now in the sensor's working memory and need the EEPROM update to stay.
void FactorySettings::ReadFactoryButtonClick() {
    MainState& state = contract_.state();
    TSSICom& sensor = contract_.sensor();
    if (!state.SensorOnline)
        return;
    bool restored = false;
    {
        WaitCursor hourglass;
        restored = sensor.ReadFactorySettings();
        if (sensor.IsDemo())
            sensor.LoadDemoSet();
    }
    // The event keeps the set read after the factory values came back; a read
    // that failed leaves the program's set as it was before, which it is not.
    const bool read = sensor.ReadParameterSetStrict();
    state.RecordOutcome(history::Operation::FactoryRestore, restored,
                        messages::communicationError(), {},
                        read ? SensorOperation::Kept::Set : SensorOperation::Kept::Nothing);
    state.RefreshView();
    highlightEverySetting();
    state.MarkParametersChanged();
}

void FactorySettings::highlightEverySetting() {
    const auto& ssi = ui_.SSISettings;
    const auto& errors = ui_.ErrorIndication;
    const auto& measurement = ui_.Measurement;
    const auto& flags = ui_.Measurement2;
    const auto& expert = ui_.ExpertSettings;
    for (LabeledEdit* field :
         {errors.ErrorValue, errors.PowerFail, measurement.Resolution, errors.ErrorCount,
          ssi.BitWidth, expert.FactoryNumber, expert.Length, measurement.Offset, expert.CycleTime,
          expert.SyncTiming, expert.UltrasonicSpeed, expert.MonoflopTime, ssi.UARTWrites,
          ssi.JitterWindow, expert.Blanking}) {
        field->setColour(FieldColour::Highlight);
    }
    for (RadioGroup* choice :
         {measurement.FilterS, ssi.Mode, ssi.CodingGroup, measurement.Direction,
          measurement.PosDifVel, expert.ChargepumpStages, expert.Model}) {
        choice->setColour(FieldColour::Highlight);
    }
    for (CheckBox* box :
         {flags.Siemens, flags.Temperature, errors.ErrorValue2, flags.Linearisierung,
          flags.Extrapolation, flags.ExtrapolForward, flags.TempComp, ssi.SSI_Start_CheckBox}) {
        box->setColour(FieldColour::Highlight);
    }
}

void FactorySettings::WriteFactoryButtonClick() {
    MainState& state = contract_.state();
    if (!state.SensorOnline)
        return;
    {
        WaitCursor hourglass;
        const bool written = contract_.sensor().WriteFactorySettings();
        state.ClearParametersChanged();
        state.RecordOutcome(history::Operation::Commit, written, messages::communicationError(),
                            "factory set");
    }
    state.RefreshView();
}

void FactorySettings::RestoreFactorySettings1Click() {
    MainState& state = contract_.state();
    if (!state.SensorOnline)
        return;
    const MessageResult answer = ShowPairedMessage(
        state.dialogs(), state.UiLanguage, mainmessages::message(mainmessages::Id::RestoreQuestion),
        MessageButtons::YesNo, MessageIcon::Question);
    if (answer != MessageResult::Yes)
        return;
    WaitCursor hourglass;
    ReadFactoryButtonClick();
    update_.EEPROMUpdateButtonClick();
}

}  // namespace params
