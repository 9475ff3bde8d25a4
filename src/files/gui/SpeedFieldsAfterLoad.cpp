#include "files/gui/SpeedFieldsAfterLoad.h"

#include "comm/Ssicom.h"
#include "files/SpeedAfterLoad.h"
#include "ui/MainState.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"

namespace files {

void SpeedFieldsAfterLoad::Run() {
    bool isNumber = false;
    const int32_t speed = fields_.UltrasonicSpeed.text().toInt(&isNumber);
    if (!isNumber)
        return;
    fields_.UltrasonicSpeed.setColour(FieldColour::Highlight);
    if (!WriteSpeedAndScale(sensor_, speed)) {
        state_.WriteOutcome(false);
        return;
    }
    rewriteOffset();
    sensor_[TSSICom::Offset].Modified = 0;
    fields_.Offset.setColour(FieldColour::White);
    state_.MarkParametersChanged();
    fields_.Scale.setText(QString::number(static_cast<uint32_t>(sensor_[TSSICom::Scale].Value)));
}

// The offset field's live handling: on offset-raw firmware the field only shows the register.
void SpeedFieldsAfterLoad::rewriteOffset() {
    const auto written = RewriteOffset(sensor_, FieldNumber(fields_.Offset.text()));
    if (!written) {
        fields_.Offset.setText(QString::number(sensor_[TSSICom::Offset].Value));
        return;
    }
    fields_.Offset.setColour(FieldColour::Highlight);
    state_.WriteOutcome(*written);
}

}  // namespace files
