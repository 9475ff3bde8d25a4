#pragma once

#include <QString>

#include "params/pages/PageControls.h"

class EditorContract;

namespace params {

// The sensor's length: a new length chooses the charge-pump stage and both
// cycle times, whose fields then write them. The editors of linearization,
// measuring mode and resolution run it again because the cycle times depend on them.
class LengthEditor {
public:
    LengthEditor(PageControls& controls, EditorContract& contract);

    void OnEditLength(const QString& text);
    void OnChangeLength();
    // The live handler for the length the field shows.
    void Recompute();

private:
    void limitToThousand(int32_t length);
    void setLength(int32_t length);
    void showCycleTimes(int32_t length);

    PageControls& ui_;
    EditorContract& contract_;
};

}  // namespace params
