#include "bench/soak/SoakSession.h"

#include <algorithm>
#include <exception>
#include <utility>

#include "comm/SensorRules.h"

namespace soak {

namespace {

constexpr uint8_t Port = 1;
constexpr int ShortestSession = 5;
constexpr int LongestSession = 30;
constexpr double FaultFreeShare = 0.15;
constexpr int RecoveryPolls = 30;
constexpr int PollWithoutSensorMs = 600;
constexpr int WakeEveryNthPoll = 4;

using Kind = OperationKind;

// How often each operation is drawn.
constexpr std::pair<Kind, int> Weights[] = {
    {Kind::ReadSet, 8},  {Kind::Poll, 8},       {Kind::WriteRegister, 36}, {Kind::WriteSet, 7},
    {Kind::LoadFile, 7}, {Kind::Commit, 8},     {Kind::LinRead, 9},        {Kind::LinWrite, 9},
    {Kind::LinRun, 1},   {Kind::SensorTest, 5},
};

sim::SensorConfig RandomConfig(std::mt19937_64& random) {
    const std::vector<std::string> names = sim::presetNames();
    sim::SensorConfig config = *sim::presetConfig(
        names[std::uniform_int_distribution<size_t>(0, names.size() - 1)(random)]);
    config.magnetPositionUm = std::uniform_int_distribution<int>(0, config.lengthMm * 1000)(random);
    config.streamStepUm = std::uniform_int_distribution<int>(0, 500)(random);
    // Firmware that commits with CN leaves test mode by itself when the stream ends.
    config.dropsTestBitAfterStream = rules::CommitsWithCN(config.firmwareVersion);
    return config;
}

// A session's rates lie between none and these.
constexpr FaultRates HighestRates{0.12, 0.1, 0.06};

FaultRates RandomRates(std::mt19937_64& random) {
    std::uniform_real_distribution<double> share(0, 1);
    if (share(random) < FaultFreeShare)
        return {};
    return {share(random) * HighestRates.perReply, share(random) * HighestRates.perWrite,
            share(random) * HighestRates.perOperation};
}

}  // namespace

SoakSession::SoakSession(uint64_t seed, std::FILE* trace)
    : seed_(seed),
      random_(seed),
      config_(RandomConfig(random_)),
      rates_(RandomRates(random_)),
      sensor_(config_),
      backend_(sensor_, clock_),
      com_(backend_, clock_, ports_),
      faults_(random_, rates_),
      trace_(trace) {}

int64_t SoakSession::Uniform(int64_t low, int64_t high) {
    return std::uniform_int_distribution<int64_t>(low, high)(random_);
}

bool SoakSession::Chance(double p) {
    return std::uniform_real_distribution<double>(0, 1)(random_) < p;
}

OperationKind SoakSession::RandomOperation() {
    int total = 0;
    for (const auto& [kind, weight] : Weights)
        total += weight;
    int pick = static_cast<int>(Uniform(0, total - 1));
    for (const auto& [kind, weight] : Weights) {
        if (pick < weight)
            return kind;
        pick -= weight;
    }
    return Kind::Poll;
}

Figures SoakSession::Run() {
    figures_.sessions = 1;
    figures_.faultFreeSessions =
        rates_.perReply == 0 && rates_.perWrite == 0 && rates_.perOperation == 0;
    faults_.Attach(sensor_.faults());
    com_.OpenDefault(Port);
    if (trace_)
        std::fprintf(
            trace_,
            "firmware %d, model %s, faults per reply %.3f, per write %.3f, per operation %.3f\n",
            config_.firmwareVersion, config_.model.c_str(), rates_.perReply, rates_.perWrite,
            rates_.perOperation);
    bool going = Step(Kind::ReadSet) || Recover();
    const int64_t operations = Uniform(ShortestSession, LongestSession);
    for (int64_t i = 0; going && i < operations; ++i)
        going = Step(RandomOperation()) || Recover();
    figures_.faults = faults_.Counts();
    figures_.sensorMs = clock_.now();
    return figures_;
}

bool SoakSession::Step(OperationKind kind) {
    faults_.BeginOperation(backend_, clock_.now());
    Outcome outcome;
    try {
        outcome = Perform(kind);
    } catch (const std::exception& e) {
        ++figures_.crashes;
        Note(FindingKind::Crash, kind, std::string("exception: ") + e.what());
        return false;
    }
    return Judge(kind, outcome);
}

SoakSession::Outcome SoakSession::Perform(OperationKind kind) {
    switch (kind) {
        case Kind::ReadSet:
            return ReadSet();
        case Kind::Poll:
            return Poll();
        case Kind::WriteRegister:
            return WriteRegister();
        case Kind::WriteSet:
            return WriteSet();
        case Kind::LoadFile:
            return LoadFile();
        case Kind::Commit:
            return Commit();
        case Kind::LinRead:
            return LinRead();
        case Kind::LinWrite:
            return LinWrite();
        case Kind::LinRun:
            return LinRun();
        case Kind::SensorTest:
            return SensorTest();
        case Kind::Count:
            break;
    }
    return {};
}

void SoakSession::Tally(OperationKind kind, const Outcome& outcome) {
    if (outcome.fileRefused) {
        ++figures_.filesRefused;
        return;
    }
    OperationTally& tally = figures_.operations[static_cast<size_t>(kind)];
    ++tally.run;
    if (outcome.ok)
        ++tally.succeeded;
    else if (faults_.Injected() == 0)
        ++tally.failedWithoutFault;
    if (faults_.ValidCorruptions() > 0)
        ++Corruptions(kind).operations;
}

void SoakSession::Trace(OperationKind kind, const Outcome& outcome,
                        const std::vector<Mismatch>& mismatches) {
    if (trace_)
        std::fprintf(trace_, "%8lld ms  %-20s %-12s %-6s [%s] %s\n",
                     static_cast<long long>(clock_.now()), OperationName(kind),
                     outcome.detail.c_str(), outcome.ok ? "ok" : "failed", faults_.Log().c_str(),
                     Describe(mismatches).c_str());
}

bool SoakSession::Judge(OperationKind kind, const Outcome& outcome) {
    Tally(kind, outcome);
    std::vector<Mismatch> mismatches = CompareBelief(com_, sensor_, believedAddresses_);
    mismatches.insert(mismatches.end(), outcome.missed.begin(), outcome.missed.end());
    Trace(kind, outcome, mismatches);
    const bool trustedBefore = std::exchange(beliefTrusted_, mismatches.empty());
    if (outcome.ok)
        return mismatches.empty() || JudgeMismatch(kind, mismatches);
    if (mismatches.empty() || !trustedBefore || faults_.ValidCorruptions() > 0)
        return false;
    if (UnconfirmedModel(mismatches)) {
        ++figures_.unconfirmedModelWrites;
        Note(FindingKind::UnconfirmedModel, kind, Describe(mismatches));
    } else {
        ++figures_.staleAfterReportedFailure;
        Note(FindingKind::Stale, kind, Describe(mismatches));
    }
    return false;
}

// A success with a wrong value behind it: the protocol could not have told
// when a reply was corrupted into another valid one, or when the sensor
// refused a model write, which has no read-back. Anything else is a silent
// wrong write.
bool SoakSession::JudgeMismatch(OperationKind kind, const std::vector<Mismatch>& mismatches) {
    const std::string text = Describe(mismatches);
    if (faults_.ValidCorruptions() > 0) {
        ++Corruptions(kind).slippedThrough;
        Note(FindingKind::SlippedThrough, kind, text);
    } else if (UnconfirmedModel(mismatches)) {
        ++figures_.unconfirmedModelWrites;
        Note(FindingKind::UnconfirmedModel, kind, text);
    } else {
        ++figures_.silentWrongWrites;
        Note(FindingKind::SilentWrongWrite, kind, text);
    }
    return false;
}

Figures::ValidCorruptions& SoakSession::Corruptions(OperationKind kind) {
    const bool onlyReads = kind == Kind::ReadSet || kind == Kind::Poll || kind == Kind::LinRead ||
                           kind == Kind::LinRun;
    return onlyReads ? figures_.inReads : figures_.inWrites;
}

// The model is written without a read-back: a refused write goes unnoticed.
bool SoakSession::UnconfirmedModel(const std::vector<Mismatch>& mismatches) const {
    const std::string model = TSSICom::RegisterKey(TSSICom::Model);
    return faults_.RefusedModelWrite() &&
           std::all_of(mismatches.begin(), mismatches.end(),
                       [&](const Mismatch& m) { return m.what.starts_with(model); });
}

void SoakSession::Note(FindingKind kind, OperationKind operation, const std::string& text) {
    figures_.findings.push_back({kind, seed_, std::string(OperationName(operation)) + ": " + text});
}

// As the poll does after a lost sensor: check the port, now and then wake the
// sensor, and read the whole set until it answers.
bool SoakSession::Recover() {
    believedAddresses_.clear();
    recovering_ = true;
    for (int poll = 1; poll <= RecoveryPolls; ++poll) {
        clock_.sleep(PollWithoutSensorMs);
        com_.CheckPort();
        if (poll % WakeEveryNthPoll == 0)
            com_.WakeSensor();
        if (Step(Kind::ReadSet)) {
            recovering_ = false;
            return true;
        }
        believedAddresses_.clear();
    }
    ++figures_.sensorsLost;
    Note(FindingKind::Lost, Kind::ReadSet,
         "no set read after " + std::to_string(RecoveryPolls) + " polls");
    return false;
}

void SoakSession::Expect(Outcome& outcome, TSSICom::RegisterIndex r, int32_t wanted) {
    const std::optional<int32_t> held = SensorValue(sensor_, r);
    if (!held)
        return;
    const bool matches =
        r == TSSICom::SecErrorValue ? (*held != 0) == (wanted != 0) : *held == wanted;
    if (!matches)
        outcome.missed.push_back({std::string(TSSICom::RegisterKey(r)) + " written",
                                  std::to_string(wanted), std::to_string(*held)});
}

}  // namespace soak
