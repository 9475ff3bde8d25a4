#pragma once

#include "platform/TextRows.h"

// The texts of the linearity chart and its window, in English and German.
namespace linearization {

enum class ChartText {
    Caption,
    Title,
    ModelLabel,
    LengthLabel,
    ResolutionLabel,
    GradientLabel,
    SerialNumberLabel,
    FirmwareLabel,
    LeftAxis,
    BottomAxis,
    Print,
    Close,
    Count  // the number of texts
};

const TextRow<ChartText>& ChartTextRow(ChartText id);

}  // namespace linearization
