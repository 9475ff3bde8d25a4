#pragma once

#include <cstdint>
#include <cstdio>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/soak/FaultInjector.h"
#include "bench/soak/SensorTruth.h"
#include "bench/soak/SoakFigures.h"
#include "comm/Ssicom.h"
#include "platform/Clock.h"
#include "platform/ComPortMap.h"
#include "sim/InProcessBackend.h"
#include "sim/SimulatedSensor.h"

namespace soak {

// One simulated sensor, a random sequence of operations on it under random
// faults, and after every operation the program's belief held against the
// sensor's memory. The seed decides everything, so a session replays exactly.
class SoakSession {
public:
    // With `trace`, every operation is printed with its outcome and faults.
    explicit SoakSession(uint64_t seed, std::FILE* trace = nullptr);
    Figures Run();

private:
    // An operation's own success flag and what it was asked to leave in the
    // sensor but did not.
    struct Outcome {
        bool ok = false;
        std::vector<Mismatch> missed;
        bool fileRefused = false;  // a damaged file, refused before any traffic
        std::string detail = {};   // which register or entry, for the trace
    };

    bool Step(OperationKind kind);
    Outcome Perform(OperationKind kind);
    // False when the operation failed or left a wrong belief: then the program
    // reads the sensor afresh, as after a lost sensor.
    bool Judge(OperationKind kind, const Outcome& outcome);
    void Tally(OperationKind kind, const Outcome& outcome);
    void Trace(OperationKind kind, const Outcome& outcome, const std::vector<Mismatch>& mismatches);
    bool JudgeMismatch(OperationKind kind, const std::vector<Mismatch>& mismatches);
    bool UnconfirmedModel(const std::vector<Mismatch>& mismatches) const;
    Figures::ValidCorruptions& Corruptions(OperationKind kind);
    bool Recover();
    void Note(FindingKind kind, OperationKind operation, const std::string& text);

    Outcome ReadSet();
    Outcome Poll();
    Outcome WriteRegister();
    Outcome WriteSet();
    Outcome LoadFile();
    Outcome Commit();
    Outcome LinRead();
    Outcome LinWrite();
    Outcome LinRun();
    Outcome SensorTest();

    void Expect(Outcome& outcome, TSSICom::RegisterIndex r, int32_t wanted);
    int32_t RandomValue(TSSICom::RegisterIndex r);
    int RandomAddress();
    std::string RandomFactoryNumber();
    OperationKind RandomOperation();
    int64_t Uniform(int64_t low, int64_t high);
    bool Chance(double p);

    uint64_t seed_;
    std::mt19937_64 random_;
    sim::SensorConfig config_;
    FaultRates rates_;
    platform::VirtualClock clock_;
    sim::SimulatedSensor sensor_;
    sim::InProcessBackend backend_;
    platform::ComPortMap ports_;
    TSSICom com_;
    FaultInjector faults_;
    // Table addresses whose entry the program has read or written successfully.
    std::set<int> believedAddresses_;
    bool recovering_ = false;
    // The last operation judged left no wrong value behind.
    bool beliefTrusted_ = true;
    std::FILE* trace_;
    Figures figures_;
};

}  // namespace soak
