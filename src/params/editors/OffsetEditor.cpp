#include "params/editors/OffsetEditor.h"

#include "comm/SensorRules.h"
#include "comm/SettingRules.h"
#include "ui/controls/EditorContract.h"
#include "ui/controls/LabeledEdit.h"

namespace params {

OffsetEditor::OffsetEditor(PageControls& controls, EditorContract& contract)
    : field_(*controls.Measurement.Offset), contract_(contract) {
    contract_.bindEdit(
        field_, [this](const QString& text) { OnEditOffset(text); }, [this] { OnChangeOffset(); });
}

int32_t OffsetEditor::FieldMicrometres() const {
    return FieldNumber(field_.text());
}

void OffsetEditor::ShowMicrometres(int32_t micrometres) {
    field_.setText(QString::number(micrometres));
}

void OffsetEditor::OnEditOffset(const QString& text) {
    TSSICom& sensor = contract_.sensor();
    const int32_t resolution = sensor[TSSICom::Resolution].Value;
    if (resolution == 0 || rules::IsOffsetRawFirmware(sensor.FirmwareVersionNumber())) {
        field_.setText(QString::number(sensor[TSSICom::Offset].Value));
        return;
    }
    const int32_t offset =
        rules::SensorOffset(FieldNumber(text), sensor[TSSICom::Filter].Value, resolution);
    field_.setColour(FieldColour::Highlight);
    contract_.write(TSSICom::Offset, offset);
}

void OffsetEditor::OnChangeOffset() {
    contract_.finishExit(field_, StrictNumber(field_.text()).has_value(),
                         mainmessages::Id::BadOffset);
}

}  // namespace params
