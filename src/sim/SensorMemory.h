#pragma once

#include <cstdint>

#include "sim/FlashMemory.h"
#include "sim/LinearizationTable.h"
#include "sim/RegisterBank.h"
#include "sim/SensorTypes.h"

namespace sim {

// Everything the sensor keeps: the parameter set in working memory, in the
// EEPROM and as the factory set, the linearization table, the operating-time
// counter, and where the magnet is.
struct SensorMemory {
    static constexpr int64_t kOperatingTimeStepMs = 3 * 60 * 1000;

    explicit SensorMemory(const SensorConfig& config);

    // The counter at `timeMs`: one count per 3 minutes of running.
    uint32_t operatingTime(int64_t timeMs) const;
    void setOperatingTime(uint32_t counts, int64_t timeMs);

    // Where the magnet is: in micrometres while internal linearization is on,
    // otherwise in the resolution steps of working memory.
    uint32_t magnetPosition() const;
    bool internalLinearization() const;

    int firmwareVersion;
    bool hasLinearizationTable;
    RegisterBank working;
    RegisterBank eeprom;
    RegisterBank factory;
    LinearizationTable linTable;
    int magnetPositionUm;
    int magnetCount;
    FlashMemory flash;

private:
    uint32_t operatingTimeBase_ = 0;
    int64_t operatingSinceMs_ = 0;
};

}  // namespace sim
