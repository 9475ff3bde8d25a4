#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "comm/Ssicom.h"
#include "files/ParameterFile.h"

// Loading a parameter file into a sensor and proving that it holds it.
namespace station {

// Which registers answered the set's last read.
using AnsweredRegisters = std::array<bool, TSSICom::RegisterCount>;
AnsweredRegisters Answered(const TSSICom& sensor);

// Puts the file's values into the sensor's set and writes it, matching the
// scale to the sensor's own ultrasonic speed. The set must have been read.
bool WriteFile(TSSICom& sensor, const files::ParameterFile& file);

// One register the load wrote, and what the sensor holds afterwards.
struct Check {
    TSSICom::RegisterIndex reg;
    int32_t wanted;
    // Empty when no two reads of the register agreed.
    std::optional<int32_t> found;

    bool matches() const { return found == wanted; }
};

struct ApplyResult {
    enum class Failure { None, Read, Write, Commit };
    // The first step that failed; the check runs also after a failed write.
    Failure failure = Failure::None;
    bool committed = false;
    std::vector<Check> checks;

    std::vector<Check> mismatches() const;
    // Whether the file reached the sensor (a failed commit comes after the write).
    bool written() const { return failure == Failure::None || failure == Failure::Commit; }
    bool ok() const { return failure == Failure::None && mismatches().empty(); }
};

// How often a register is read once more when its reads disagree.
inline constexpr int VerifyRereads = 5;

// Reads the set, writes the file, commits when asked and reads the set back.
// A reply can be garbled into another valid one, so a register counts as found
// only when two reads in a row agree: the set is read twice, and a register
// whose reads differ is read again.
ApplyResult Apply(TSSICom& sensor, const files::ParameterFile& file, bool commit);
// Apply without the first read, for a set that has just been read.
ApplyResult ApplyToReadSet(TSSICom& sensor, const files::ParameterFile& file, bool commit);

}  // namespace station
