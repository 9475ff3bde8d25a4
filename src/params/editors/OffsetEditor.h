#pragma once

#include <QString>

#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

// The zero offset: the field shows micrometres, the sensor keeps sensor units
// that depend on the resolution and the filter grade. Offset-raw firmware keeps
// the raw value, which the field then cannot change.
class OffsetEditor {
public:
    OffsetEditor(PageControls& controls, EditorContract& contract);

    void OnEditOffset(const QString& text);
    void OnChangeOffset();
    // The offset field's text as micrometres, 0 when it is no number.
    int32_t FieldMicrometres() const;
    // Sets the field's text, which writes the offset through the live handler.
    void ShowMicrometres(int32_t micrometres);

private:
    LabeledEdit& field_;
    EditorContract& contract_;
};

}  // namespace params
