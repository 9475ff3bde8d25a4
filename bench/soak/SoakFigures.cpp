#include "bench/soak/SoakFigures.h"

#include <cinttypes>

namespace soak {

namespace {

constexpr size_t ListedFailures = 20;
constexpr size_t ListedExamples = 3;

const char* FindingTitle(FindingKind kind) {
    switch (kind) {
        case FindingKind::SilentWrongWrite:
            return "silent wrong write";
        case FindingKind::Crash:
            return "crash";
        case FindingKind::SlippedThrough:
            return "corruption into a valid reply, left behind a success";
        case FindingKind::UnconfirmedModel:
            return "refused model write, not confirmed";
        case FindingKind::Stale:
            return "stale value after a reported failure";
        case FindingKind::Lost:
            return "sensor never found again";
    }
    return "";
}

void PrintFindings(std::FILE* out, const std::vector<Finding>& findings, FindingKind kind,
                   size_t limit) {
    size_t listed = 0;
    for (const Finding& f : findings) {
        if (f.kind != kind)
            continue;
        if (listed++ == limit) {
            std::fprintf(out, "    ...\n");
            return;
        }
        std::fprintf(out, "  %s, seed %" PRIu64 ": %s\n", FindingTitle(kind), f.seed,
                     f.text.c_str());
    }
}

}  // namespace

const char* OperationName(OperationKind kind) {
    switch (kind) {
        case OperationKind::ReadSet:
            return "read the set";
        case OperationKind::Poll:
            return "poll";
        case OperationKind::WriteRegister:
            return "write one register";
        case OperationKind::WriteSet:
            return "write the set";
        case OperationKind::LoadFile:
            return "load a file";
        case OperationKind::Commit:
            return "commit to EEPROM";
        case OperationKind::LinRead:
            return "read a table entry";
        case OperationKind::LinWrite:
            return "write a table entry";
        case OperationKind::LinRun:
            return "read the whole table";
        case OperationKind::SensorTest:
            return "sensor test";
        case OperationKind::Count:
            break;
    }
    return "";
}

void Figures::Add(const Figures& s) {
    sessions += s.sessions;
    faultFreeSessions += s.faultFreeSessions;
    for (size_t i = 0; i < operations.size(); ++i) {
        operations[i].run += s.operations[i].run;
        operations[i].succeeded += s.operations[i].succeeded;
        operations[i].failedWithoutFault += s.operations[i].failedWithoutFault;
    }
    for (size_t i = 0; i < faults.size(); ++i)
        faults[i] += s.faults[i];
    silentWrongWrites += s.silentWrongWrites;
    crashes += s.crashes;
    for (auto [sum, add] : {std::pair{&inReads, &s.inReads}, {&inWrites, &s.inWrites}}) {
        sum->operations += add->operations;
        sum->slippedThrough += add->slippedThrough;
    }
    unconfirmedModelWrites += s.unconfirmedModelWrites;
    staleAfterReportedFailure += s.staleAfterReportedFailure;
    sensorsLost += s.sensorsLost;
    filesRefused += s.filesRefused;
    sensorMs += s.sensorMs;
    findings.insert(findings.end(), s.findings.begin(), s.findings.end());
}

void Figures::Print(std::FILE* out, uint64_t firstSeed, double wallSeconds) const {
    std::fprintf(out,
                 "Fault soak: %ld sessions (%ld of them without faults), seeds %" PRIu64
                 " to %" PRIu64 "\n",
                 sessions, faultFreeSessions, firstSeed, firstSeed + uint64_t(sessions) - 1);
    std::fprintf(out, "\n%-24s %9s %9s %9s %14s\n", "operation", "run", "succeeded", "failed",
                 "failed, no fault");
    long total = 0;
    for (int i = 0; i < OperationKindCount; ++i) {
        const OperationTally& t = operations[size_t(i)];
        total += t.run;
        std::fprintf(out, "  %-22s %9ld %9ld %9ld %14ld\n", OperationName(OperationKind(i)), t.run,
                     t.succeeded, t.run - t.succeeded, t.failedWithoutFault);
    }
    std::fprintf(out, "  %-22s %9ld\n", "all", total);
    std::fprintf(out, "\nfaults injected\n");
    for (int i = 0; i < FaultKindCount; ++i)
        std::fprintf(out, "  %-32s %9ld\n", FaultName(FaultKind(i)), faults[size_t(i)]);
    std::fprintf(out, "\nresults\n");
    std::fprintf(out, "  %-52s %9ld\n", "silent wrong writes", silentWrongWrites);
    std::fprintf(out, "  %-52s %9ld\n", "crashes", crashes);
    std::fprintf(out, "  %-52s %9ld\n", "reads with a reply corrupted into a valid one",
                 inReads.operations);
    std::fprintf(out, "  %-52s %9ld\n", "  wrong value shown after a success",
                 inReads.slippedThrough);
    std::fprintf(out, "  %-52s %9ld\n", "writes with a reply corrupted into a valid one",
                 inWrites.operations);
    std::fprintf(out, "  %-52s %9ld\n", "  caught by the read-back, or without effect",
                 inWrites.operations - inWrites.slippedThrough);
    std::fprintf(out, "  %-52s %9ld\n", "  wrong value left behind a success",
                 inWrites.slippedThrough);
    std::fprintf(out, "  %-52s %9ld\n", "refused model writes reported as done (no read-back)",
                 unconfirmedModelWrites);
    std::fprintf(out, "  %-52s %9ld\n", "stale values after a reported failure",
                 staleAfterReportedFailure);
    std::fprintf(out, "  %-52s %9ld\n", "sensors never found again", sensorsLost);
    std::fprintf(out, "  %-52s %9ld\n", "damaged files refused before any traffic", filesRefused);
    std::fprintf(out, "  %-52s %9.1f\n", "sensor time, hours (virtual)", double(sensorMs) / 3.6e6);
    std::fprintf(out, "  %-52s %9.2f\n", "wall time, s", wallSeconds);
    if (findings.empty())
        return;
    std::fprintf(out, "\nfindings (replay with --seed S --sessions 1)\n");
    PrintFindings(out, findings, FindingKind::Crash, ListedFailures);
    PrintFindings(out, findings, FindingKind::SilentWrongWrite, ListedFailures);
    for (const FindingKind kind : {FindingKind::SlippedThrough, FindingKind::UnconfirmedModel,
                                   FindingKind::Stale, FindingKind::Lost})
        PrintFindings(out, findings, kind, ListedExamples);
}

}  // namespace soak
