#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "comm/ParameterSet.h"
#include "comm/SensorRules.h"
#include "platform/TextRows.h"

// What the parameter view shows of a register set: the lines of the sensor
// information box, the texts of some fields, the items of the choices and the
// check marks. The view's refresh and the sensor report both take them from here.
namespace rules {

// ---- Sensor information lines ----

// The sensor type as the model table names it ("QH", "KBF", ...), empty when unknown.
std::string SensorTypeTextOf(const ParameterSet& set);
// The type whose charge pump has eight stages.
inline constexpr char SensorTypeWithEightStages[] = "KBF";
bool HasEightChargepumpStages(const std::string& sensorTypeText);

std::string SensorTypeLine(const ParameterSet& set);       // "Q-Series SSI (QH)"
std::string LengthLine(const ParameterSet& set);           // "500mm"
std::string UltrasonicSpeedLine(const ParameterSet& set);  // "282000 cm/s"
std::string FirmwareLine(const ParameterSet& set);         // "396-01-05"

// ---- Fields ----

// The resolution field's text: "0.5" for a half-micrometre scale, otherwise the
// resolution; nothing when the refresh leaves the field as it is.
std::optional<std::string> ResolutionFieldText(const ParameterSet& set);
// The offset field's micrometres.
int32_t OffsetFieldMicrons(const ParameterSet& set);

enum class ViewText { PointNotDefined, Count };
const TextRow<ViewText>& ViewTextRow(ViewText id);

// ---- Choices: the item shown, -1 for none ----

int MeasuringModeItem(int32_t mode);
// A B model and extrapolation fix the start of measurement to synchronous.
bool MeasurementStartFixed(const ParameterSet& set);
// The start-of-measurement choice: 1 synchronous, 0 asynchronous.
int MeasurementStartItem(const ParameterSet& set);
int ChargepumpStagesItem(const ParameterSet& set);

// ---- Check marks ----

// The internal linearization and extrapolation boxes; a set without the
// linearization flags shows the default of its firmware type.
bool InternalLinearizationChecked(const ParameterSet& set);
bool ExtrapolationChecked(const ParameterSet& set);
// Extrapolation (real): only with extrapolation.
bool ExtrapolationForwardChecked(int32_t linearizationFlags);
bool TemperatureCompensationChecked(int32_t linearizationFlags);
// The error-and-parity and the temperature boxes; nothing where the refresh
// leaves the box as it is.
std::optional<bool> SiemensChecked(const ParameterSet& set);
std::optional<bool> TemperatureChecked(const ParameterSet& set);
// "Activate second error value (-1)".
bool SecondErrorValueChecked(const ParameterSet& set);

// What the cycle-time line is computed from, with the temperature compensation as given.
CycleTimeInputs CycleTimeInputsOf(const ParameterSet& set, bool temperatureCompensation);

}  // namespace rules
