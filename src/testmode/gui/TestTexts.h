#pragma once

#include "ui/Texts.h"

// The texts of the sensor test window, each in English and German.
namespace testtexts {

enum class Id {
    Caption,
    ValueLabel,
    TemperatureLabel,
    Quit,
    ChartTitle,
    AxisHalfMicrometres,
    AxisMicrometres,
    Count  // the number of texts
};

const TextPair& text(Id id);
// "Please do not disconnect the sensor in test mode.", titled "WARNING".
const MessagePair& disconnectWarning();

}  // namespace testtexts
