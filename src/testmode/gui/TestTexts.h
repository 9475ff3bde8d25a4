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
    Statistics,
    Histogram,
    Pause,
    Resume,
    Record,
    StopRecording,
    SaveChart,
    Reset,
    WindowColumn,
    SinceStartColumn,
    Mean,
    Deviation,
    PeakToPeak,
    Minimum,
    Maximum,
    SampleRate,
    ErrorValues,
    Undecoded,
    WireRate,
    Recording,
    HistogramTitle,
    RecordCaption,
    CsvFilter,
    SaveChartCaption,
    ImageFilter,
    Count  // the number of texts
};

const TextPair& text(Id id);
// "Please do not disconnect the sensor in test mode.", titled "WARNING".
const MessagePair& disconnectWarning();
// "The recording to %1 stopped: %2. The sensor test goes on.", titled "Recording".
MessagePair recordingStopped(const QString& path, const QString& reason);
// "The chart could not be saved as %1.", titled "Save chart".
MessagePair chartNotSaved(const QString& path);

}  // namespace testtexts
