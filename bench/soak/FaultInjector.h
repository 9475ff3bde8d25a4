#pragma once

#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "sim/InProcessBackend.h"
#include "sim/SensorTypes.h"

namespace soak {

enum class FaultKind {
    ReplyLost,
    CorruptedInvalid,  // a character no reply of that command may hold
    CorruptedValid,    // another character the reply may hold there: still a valid reply
    CutShort,
    MissingCarriageReturn,
    ZeroByte,
    WriteRefused,
    Unplugged,
    Count
};

inline constexpr int FaultKindCount = static_cast<int>(FaultKind::Count);
const char* FaultName(FaultKind kind);

using FaultCounts = std::array<long, FaultKindCount>;

// How often a session's faults strike.
struct FaultRates {
    double perReply = 0;      // chance that a reply is damaged or lost
    double perWrite = 0;      // chance that a value write is refused
    double perOperation = 0;  // chance that the adapter is unplugged for a while
};

// Draws the faults of one session through the simulator's hooks and keeps
// account of what it did, per operation and in all.
class FaultInjector {
public:
    FaultInjector(std::mt19937_64& random, FaultRates rates);

    void Attach(sim::Faults& faults);
    // Starts the account of one operation; may unplug the adapter during it.
    void BeginOperation(sim::InProcessBackend& backend, int64_t nowMs);

    // In the operation begun last.
    int ValidCorruptions() const { return validCorruptions_; }
    int Injected() const { return injected_; }
    bool RefusedModelWrite() const { return refusedModelWrite_; }
    // Each fault of the operation and the command it struck.
    const std::string& Log() const { return log_; }

    const FaultCounts& Counts() const { return counts_; }

private:
    bool Refuse(const std::string& line);
    void Tamper(const std::string& command, std::string& wire);
    void Corrupt(const std::string& command, std::string& wire, bool valid);
    void Count(FaultKind kind, const std::string& command);
    size_t PayloadPosition(const std::string& wire);
    bool Chance(double p);

    std::mt19937_64& random_;
    FaultRates rates_;
    FaultCounts counts_{};
    int validCorruptions_ = 0;
    int injected_ = 0;
    bool refusedModelWrite_ = false;
    std::string log_;
};

}  // namespace soak
