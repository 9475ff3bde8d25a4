#pragma once

#include <cstdint>
#include <string>

#include "comm/Ssicom.h"

// What a change of a setting does to the sensor: whether the value is taken at
// all, and the registers the change also writes. The desktop editors, the
// command-line tool and the parameter-file load all go through here.
namespace changes {

// Whether the register takes the value a user typed or gave.
bool Accepts(TSSICom::RegisterIndex r, int64_t value);
// Whether the factory number takes the text: no more characters than the register holds.
bool AcceptsFactoryNumber(const std::string& text);

// The scale for a speed at the present resolution; a sensor set to 0.5 µm
// (resolution 1 with the doubled scale) keeps the doubling.
int32_t ScaleAfterSpeed(int32_t ultrasonicSpeed, int32_t resolution, int32_t presentScale);

// Takes the speed, computes the scale from it, marks the speed modified and
// writes the speed, then the scale. False at the first write that fails.
bool WriteSpeedAndScale(TSSICom& sensor, int32_t ultrasonicSpeed);

// The registers a change of resolution writes together.
struct ScaleSet {
    int32_t resolution;
    int32_t scale;
    int32_t offset;
};
ScaleSet PresentScaleSet(const TSSICom& sensor);

// A resolution in µm, with the offset kept at its micrometres.
ScaleSet ScaleSetFor(const TSSICom& sensor, int32_t resolution, int32_t offsetMicrometres);
// The 0.5 µm setting: resolution 1 with twice the scale of 1 µm.
ScaleSet HalfMicrometreScaleSet(const TSSICom& sensor, int32_t offsetMicrometres);

// Marks the resolution and the scale modified, and the offset where the firmware
// converts it, and writes the three. False at the first write that fails.
bool WriteScaleSet(TSSICom& sensor, const ScaleSet& wanted);
// Writes a set back as it was before a refused change.
bool RestoreScaleSet(TSSICom& sensor, const ScaleSet& previous);

// Whether a K-series sensor refuses the resolution: it takes 10 µm and above.
bool RefusedByKSeries(const TSSICom& sensor, int32_t resolution);

}  // namespace changes
