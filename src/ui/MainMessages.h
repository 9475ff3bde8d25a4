#pragma once

#include "ui/Texts.h"

// The message boxes of the main window and its editors, each a text and a
// caption in English and German.
namespace mainmessages {

enum class Id {
    BitWidthCorrected,
    FilterCorrected,
    CommitQuestion,
    KSeriesNotAvailable,
    KSeriesSsiNotAvailable,
    BadBitWidth,
    BadUartCounter,
    BadJitterWindow,
    TemperatureNeeds24Bits,
    BadErrorValue,
    BadErrorCount,
    PowerfailOff,
    BadPowerfailTime,
    StartPointUnreadable,
    EndPointUnreadable,
    EmptyMeasuringRange,
    RangeNeedsTeaching,
    OffsetMustBeZero,
    VelocityZeroesFilter,
    ResolutionKSeries,
    BadResolution,
    HalfMicrometreNotAvailable,
    BadOffset,
    CheckStartOfMeasurement,
    OffsetNotMirrored,
    NoPositionReceived,
    MagnetError,
    OperationFailed,
    BadFactoryNumber,
    LengthUpTo1000,
    LengthInSteps,
    BadLength,
    BadUltrasonicSpeed,
    BadCycleTime,
    BadSyncTiming,
    BadMonoflopTime,
    BadBlanking,
    RestoreQuestion,
    Count  // the number of messages
};

const MessagePair& message(Id id);

}  // namespace mainmessages
