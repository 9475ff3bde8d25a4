#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "comm/ParameterSet.h"

// The sensor's rules, free of widgets and of the link, for the desktop program
// and varnelctl alike: firmware types and thresholds, the commit rule, the
// model table, flag bits, value ranges and the texts derived from registers.
namespace rules {

// ---- Firmware ----

// The firmware type: the first five characters of the version's unsigned
// decimal text, read as a number (3960105 gives 39601). A text of five
// characters or fewer is read whole, so 39606 stays 39606 and 0 stays 0.
int FirmwareTypeOf(int32_t firmwareVersion);

inline constexpr int FirmwareType39601 = 39601;
inline constexpr int FirmwareType39602 = 39602;
inline constexpr int FirmwareType39604 = 39604;
inline constexpr int FirmwareType39606 = 39606;

// Up to this version the set is committed with EN, above it with CN.
inline constexpr uint32_t LastFirmwareCommittingWithEN = 3960100;
// From this version on the refresh corrects the bit width (temperature bit)
// and the filter (velocity mode).
inline constexpr uint32_t FirstCorrectingFirmware = 3960607;
// Above this version the sensor has the blanking register.
inline constexpr uint32_t LastFirmwareWithoutBlanking = 3960609;
// Above this version a 39602 firmware carries the SSI sample time.
inline constexpr uint32_t LastFirmware39602WithoutSampleTime = 3960202;
// Versions whose offset is kept and shown raw, without conversion.
inline constexpr uint32_t FirstOffsetRawFirmware = 3960400;
inline constexpr uint32_t LastOffsetRawFirmware = 3960415;

bool CommitsWithCN(int32_t firmwareVersion);
// Firmware that streams its test mode at the fast rate.
inline constexpr uint32_t FirstFastStreamingFirmware = 3960403;
inline constexpr uint32_t LastFastStreamingFirmware = 3960405;
inline constexpr int FastStreamBaud = 115200;
inline constexpr int StreamBaud = 38400;
inline constexpr int StreamTimeoutMs = 1000;
int TestStreamBaud(int32_t firmwareVersion);
bool AppliesCorrections(int32_t firmwareVersion);
bool HasBlanking(int32_t firmwareVersion);
bool IsOffsetRawFirmware(uint32_t firmwareVersion);
// The RA word has 32 bits, and LinearizationFlags is written again after a set.
bool HasWideRaWord(int32_t firmwareVersion);
// The 24-bit RA word carries the SSI sample time in bits 23 to 8.
bool HasSampleTimeInNarrowRaWord(int32_t firmwareVersion);
// The SSI sample cycle and the firmware page are available.
bool HasSampleCycle(int32_t firmwareVersion);

// A firmware image is loaded for type 39606 only, or for version 0 as after a table reset.
bool AcceptsFirmwareImage(int32_t firmwareVersion);
// Versions below this one are the data logger software.
inline constexpr uint32_t FirstFirmwareAfterDatalogger = 1000010;
bool IsDataloggerFirmware(uint32_t firmwareVersion);

// The firmware version reply as 396-01-05.
std::string FirmwareText(const std::string& reply);

// ---- Flag bits ----

enum OutputFlag : int32_t {
    SiemensBit = 1,  // error-and-parity bit
    TemperatureBit = 2,
};
// Firmware type 39601 means the Siemens bit only by the whole value 1.
inline constexpr int32_t SiemensValue39601 = 1;

enum LinearizationFlag : int32_t {
    InternalLinearizationBit = 1,
    ExtrapolationBit = 2,  // extrapolation, synchronised start
    TemperatureCompensationBit = 4,
    ExtrapolationForwardBit = 8,  // extrapolation (real)
};

inline bool HasFlag(int32_t flags, int32_t bit) {
    return (flags & bit) != 0;
}

// Values of single registers that rules branch on.
inline constexpr int32_t MeasurementSynchronous = 2;
// Bit 0 of the Measurement field switches the sensor into its streaming test mode.
inline constexpr int32_t MeasurementTestMode = 1;
inline constexpr int32_t ModeVelocity = 2;
inline constexpr int32_t PositionCountDifference = 2;
inline constexpr int32_t OutputCodeBinary = 0;

// ---- Models ----

enum class SensorFamily { None, QSeries, KSeries, BSeries };

struct ModelCode {
    std::string typeText;  // "QH", "QP", "KBF", ...; empty when not recognised
    SensorFamily family = SensorFamily::None;
    int modelItem = -1;  // item of the model choice, -1 for none
};

// Register `Model` holds two letters: first letter * 256 + second letter.
constexpr int32_t ModelValue(char first, char second) {
    return static_cast<int32_t>(first) * 256 + static_cast<int32_t>(second);
}
ModelCode ModelCodeFor(int32_t modelValue);
bool ModelBeginsWithB(int32_t modelValue);
// True for the model choice items KH and KP.
bool IsKModelItem(int item);
// The first line of the sensor information box.
std::string FamilyLine(const ModelCode& code);
// The two letters of a model value, or the value as a number when it holds none.
std::string ModelLetters(int32_t modelValue);
// Two letters in any case as a model value in upper case; nothing for other text.
std::optional<int32_t> ParseModelLetters(const std::string& text);
// Whether a model value holds two upper-case letters, as ParseModelLetters gives them.
bool IsModelValue(int32_t modelValue);

// ---- Value ranges ----

struct ValueRange {
    int64_t min = 0;
    int64_t max = 0;
    bool contains(int64_t value) const { return value >= min && value <= max; }
};

inline constexpr ValueRange Signed24Range{-0x800000, 0x7FFFFF};
// The values a user may set in a register, from the register table; for the
// factory number, its number of characters.
ValueRange RegisterRange(ParameterSet::RegisterIndex r);

// Lengths from LongLengthFrom mm on are sent in steps of LongLengthStep mm.
inline constexpr int32_t LongLengthFrom = 10000;
inline constexpr int32_t LongLengthStep = 50;
bool IsSendableLength(int64_t length);

inline constexpr size_t FactoryNumberChars = 8;
// One to eight letters or digits, upper case and padded with zeros to eight.
std::optional<std::string> NormalisedFactoryNumber(const std::string& text);

// ---- Derived values and texts ----

// A scale above this selects positions in half micrometres.
inline constexpr uint32_t LargestMicrometreScale = 0x1F0000;
bool UsesHalfMicrometres(int32_t scale);

// The offset field's micrometres.
int32_t OffsetMicrons(uint32_t firmwareVersion, int32_t offset, int32_t resolution, int32_t filter);
// The other way round, and the scale for a speed: see SettingRules.h.

struct CycleTimeInputs {
    int32_t measurement = 0;
    int32_t jitterWindow = 0;
    int32_t outputFlags = 0;
    int32_t outputCode = 0;
    int32_t positionCount = 0;
    bool temperatureCompensation = false;
    int32_t syncTiming = 0;  // quarter microseconds
    int32_t cycleTime = 0;   // quarter microseconds
};

struct CycleTimeLine {
    int32_t minPeriodOverhead = 0;
    int32_t microseconds = 0;
    bool synchronous = false;  // the line shows the minimum SSI period
};

CycleTimeLine CycleTimeFor(const CycleTimeInputs& in);

// Item of the charge-pump choice, -1 for none. A KBF sensor has eight stages
// whose value is the item number with its three bits reversed, in bits 5 to 7.
int ChargepumpItem(bool kbf, int32_t value);
int32_t ChargepumpValue(bool kbf, int item);

// The "not taught" values of the range points.
inline constexpr int32_t NoStartPoint = 0;
inline constexpr int32_t NoEndPoint = 0x1FFFFFF;

// A taught range point in millimetres with three decimals ("100.000 mm"), or
// nothing when the point is the "not taught" value of its kind.
std::optional<std::string> PointText(int32_t point, bool endPoint, int32_t offsetMicrons,
                                     bool internalLinearization, int32_t resolution);
// Micrometres as millimetres with three decimals.
std::string MillimetreText(int32_t micrometres);

// The first integer of an edit field's text, 0 when it holds none.
int32_t FieldInteger(const std::string& text);

// From the correction firmware on, the temperature bit forces 24 data bits and
// the velocity mode forces filter 0.
bool BitWidthForced(int32_t firmwareVersion, int32_t outputFlags);
bool FilterForced(int32_t firmwareVersion, int32_t mode);
inline constexpr int32_t TemperatureBitWidth = 24;
inline constexpr int32_t VelocityFilter = 0;

// The output flags after the error-and-parity bit was switched: firmware type
// 39606 keeps the other bits, every other type takes the bit as the whole value.
int32_t OutputFlagsWithSiemens(int32_t flags, bool on, int firmwareType);
int32_t WithFlag(int32_t flags, int32_t bit, bool on);

// A taught measuring range refers to the resolution it was taught with on these
// sensors; after a change of resolution it has to be taught again.
inline constexpr int32_t FirmwareKeepingRangeInCounts = 3960107;
bool RangeFollowsResolution(int32_t firmwareVersion);
bool RangeTaught(int32_t startPoint, int32_t endPoint);

// Up to this version the jitter window field checks its text when it is left.
inline constexpr uint32_t LastFirmwareCheckingJitterWindow = 6250000;
bool ChecksJitterWindowOnExit(int32_t firmwareVersion);

// A linearization factor of 1 to 9 means the table holds the factory's
// linearization; any other factor means the option excludes the reflection.
bool IsInternalLinearizationFactor(int32_t factor);

}  // namespace rules
