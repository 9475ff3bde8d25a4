#pragma once

#include <cstdint>
#include <optional>

#include "comm/Ssicom.h"

// A loaded set carries the scale of the sensor that saved it, but the sensor it
// goes into keeps its own ultrasonic speed; these steps make the two agree.
namespace files {

// Converts the offset's micrometres to the register under the present
// resolution and filter, marks it modified and writes it. Nothing happens on
// offset-raw firmware or at resolution 0, which gives no result.
std::optional<bool> RewriteOffset(TSSICom& sensor, int32_t micrometres);

// Both steps for a loaded set, with the speed and offset that the set holds.
bool MatchScaleToSensor(TSSICom& sensor);

}  // namespace files
