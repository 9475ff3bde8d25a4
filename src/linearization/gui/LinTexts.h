#pragma once

#include "linearization/ChartTexts.h"
#include "ui/Texts.h"

// The texts of the linearization page's messages and of the linearity chart,
// each in English and German.
namespace lintexts {

enum class Id {
    BadAddress,
    NotAnInteger,
    ReadFailed,
    WriteFailed,
    BadStartValue,
    NoSensorFound,
    TableReadFailed,
    ExportWritten,  // the file name follows the text
    ExportNotWritten,
    Count  // the number of messages
};

const MessagePair& message(Id id);

// The chart window's texts.
using Chart = linearization::ChartText;

TextPair chartText(Chart id);

}  // namespace lintexts
