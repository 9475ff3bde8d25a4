#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/soak/FaultInjector.h"

namespace soak {

enum class OperationKind {
    ReadSet,
    Poll,
    WriteRegister,
    WriteSet,
    LoadFile,
    Commit,
    LinRead,
    LinWrite,
    LinRun,
    SensorTest,
    Count
};

inline constexpr int OperationKindCount = static_cast<int>(OperationKind::Count);
const char* OperationName(OperationKind kind);

struct OperationTally {
    long run = 0;
    long succeeded = 0;
    long failedWithoutFault = 0;  // the sensor was sound, the request was not
};

enum class FindingKind { SilentWrongWrite, Crash, SlippedThrough, UnconfirmedModel, Stale, Lost };

// What a session found, and the seed that replays it.
struct Finding {
    FindingKind kind = FindingKind::SilentWrongWrite;
    uint64_t seed = 0;
    std::string text;
};

struct Figures {
    long sessions = 0;
    long faultFreeSessions = 0;
    std::array<OperationTally, OperationKindCount> operations{};
    FaultCounts faults{};
    long silentWrongWrites = 0;
    long crashes = 0;
    // Operations with a reply corrupted into another valid one, by whether
    // they only read or also wrote, and of those the ones that reported
    // success with a wrong value left behind.
    struct ValidCorruptions {
        long operations = 0;
        long slippedThrough = 0;
    };
    ValidCorruptions inReads;
    ValidCorruptions inWrites;
    long unconfirmedModelWrites = 0;
    long staleAfterReportedFailure = 0;
    long sensorsLost = 0;
    long filesRefused = 0;
    int64_t sensorMs = 0;
    std::vector<Finding> findings;

    void Add(const Figures& session);
    bool Clean() const { return silentWrongWrites == 0 && crashes == 0; }
    void Print(std::FILE* out, uint64_t firstSeed, double wallSeconds) const;
};

}  // namespace soak
