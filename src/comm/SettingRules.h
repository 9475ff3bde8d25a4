#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The values the editors compute when a setting changes: the offset in sensor
// units, the scale, the mirror base, the cycle times and the charge pump for a
// length, and the model letters to write.
namespace rules {

// Offset in sensor units for micrometres: µm × 2^filter ÷ resolution, in signed
// 32-bit arithmetic truncating toward zero. The resolution must not be 0.
int32_t SensorOffset(int32_t micrometres, int32_t filter, int32_t resolution);
// The offset kept in micrometres across a change of the filter grade.
int32_t RescaledOffset(int32_t offset, int32_t oldFilter, int32_t newFilter);

// The base about which an inverted direction mirrors the offset, in µm: defined
// for the QH and QP models only.
std::optional<int32_t> MirrorBase(int32_t modelValue, int32_t lengthMm);

// Scale = speed [cm/s] × 5.12 ÷ resolution [µm], rounded down, without a 32-bit limit.
int32_t ScaleFor(int32_t ultrasonicSpeed, int32_t resolution);
// The same as the speed editor computes it: the product kept to 32 bits.
int32_t ScaleFromSpeed(int32_t ultrasonicSpeed, int32_t resolution);
// Twice the 1 µm scale: the 0.5 µm setting.
int32_t HalfMicrometreScale(int32_t ultrasonicSpeed);
// Whether a sensor takes the 0.5 µm setting: its firmware text begins with "3960"
// and its model reply with Q.
bool TakesHalfMicrometres(int32_t firmwareVersion, const std::string& modelReply);

struct CycleTimes {
    int32_t cycleTime = 0;   // asynchronous, quarter microseconds
    int32_t syncTiming = 0;  // synchronous, quarter microseconds
};

CycleTimes CycleTimesForLength(int32_t lengthMm, bool internalLinearization, int32_t resolution,
                               int32_t positionCount);

// The charge-pump item for a length; nothing where a KBF's length is too short to choose.
std::optional<int> ChargepumpItemForLength(bool kbf, int32_t lengthMm);

// The model value that the model choice's item writes: older firmware knows
// only QH and PA.
int32_t ModelValueForItem(int item, int32_t firmwareVersion);

// The Q_SERIE conversion on firmware type 39606: V or W by the firmware's
// revision, H or P by the model item. Nothing for other firmware types.
struct SeriesConversion {
    int32_t modelValue;
    int item;  // the model item to show, -1 for none
};
std::optional<SeriesConversion> QSeriesConversion(int32_t firmwareVersion, int modelItem);

// A length above LongLengthFrom rounded down to the step that the sensor takes.
int32_t SendableLength(int32_t lengthMm);

}  // namespace rules
