#pragma once

#include <cstdint>
#include <optional>
#include <string>

// What the parameter view shows but the sensor does not store: derived texts
// and numbers, kept free of widgets so that each rule can be checked alone.
namespace rules {

enum class SensorFamily { None, QSeries, KSeries, BSeries };

struct ModelCode {
    std::string typeText;  // "QH", "QP", "KBF", ...; empty when not recognised
    SensorFamily family = SensorFamily::None;
    int modelItem = -1;  // item of the model choice, -1 for none
};

// Register `Model` holds two letters: first letter * 256 + second letter.
ModelCode ModelCodeFor(int32_t modelValue);
bool ModelBeginsWithB(int32_t modelValue);
// True for the model choice items KH and KP.
bool IsKModelItem(int item);
// The first line of the sensor information box.
std::string FamilyLine(const ModelCode& code);

// The firmware version reply as 396-01-05.
std::string FirmwareText(const std::string& reply);

bool IsOffsetRawFirmware(uint32_t firmwareVersion);
// The offset field's micrometres.
int32_t OffsetMicrons(uint32_t firmwareVersion, int32_t offset, int32_t resolution, int32_t filter);

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

constexpr int32_t NoStartPoint = 0;
constexpr int32_t NoEndPoint = 0x1FFFFFF;

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
bool BitWidthForced(uint32_t firmwareVersion, int32_t outputFlags);
bool FilterForced(uint32_t firmwareVersion, int32_t mode);
inline constexpr int32_t TemperatureBitWidth = 24;
inline constexpr int32_t VelocityFilter = 0;

// Whether the sensor has the SSI sample cycle and takes a firmware download.
bool HasSampleCycle(int firmwareType, uint32_t firmwareVersion);
bool HasBlanking(uint32_t firmwareVersion);

// The linearization table: entries at 200 to 500, the factor at 501.
inline constexpr int LinFirstAddress = 200;
inline constexpr int LinLastEntry = 500;
inline constexpr int LinFactorAddress = 501;
// A factor of 1 to 9 means the table holds the factory's linearization; any
// other factor means the option excludes the reflection.
bool IsInternalLinearizationFactor(int32_t factor);

}  // namespace rules
