#pragma once

#include "comm/ParameterSet.h"
#include "comm/Ssicom.h"
#include "files/ParameterFile.h"
#include "station/Apply.h"

// Setting up a replacement sensor with the recorded set of the one it replaces.
namespace station {

// Why a recorded set does not go into the connected sensor.
enum class Misfit {
    None,
    FirmwareType,  // another firmware type reads and writes its registers otherwise
    Model,         // another sensor family (Q, K, B series), or other unknown model letters
};

Misfit MisfitOf(const ParameterSet& old, const ParameterSet& present);

// Whether the connected sensor keeps its own value of the register: its identity
// (factory number, firmware), what the set write does not write, and its build
// (model, length, charge pump, monoflop time).
bool KeptByReplacement(TSSICom::RegisterIndex r);

// The stored registers of the old set, with the registers the connected sensor
// keeps taken from `present`.
files::ParameterFile ReplacementFile(const ParameterSet& old, const ParameterSet& present);

struct RestoreResult {
    Misfit misfit = Misfit::None;
    // Empty checks and no failure when the set was refused.
    ApplyResult apply;
    // Of the sensor before the write, for the message of a refusal.
    int32_t presentModel = 0;
    int32_t presentFirmware = 0;

    bool refused() const { return misfit != Misfit::None; }
    bool ok() const { return !refused() && apply.ok(); }
};

// Reads the connected sensor, refuses a set that does not fit it before anything
// is written, and otherwise applies the old set as a file and verifies it.
RestoreResult Restore(TSSICom& sensor, const ParameterSet& old, bool commit);

}  // namespace station
