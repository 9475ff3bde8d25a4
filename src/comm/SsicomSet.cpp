#include <algorithm>
#include <array>

#include "comm/SensorRules.h"
#include "comm/Ssicom.h"

namespace {
constexpr int CommitPauseMs = 1500;
constexpr int FactoryReadPauseMs = 1000;

using enum ParameterSet::RegisterIndex;
using Registers = std::initializer_list<TSSICom::RegisterIndex>;

// LinTableByte stands for the table entry at the first address.
// clang-format off
constexpr Registers CountedReads = {
    Filter, SSIStartSync, Measurement, OutputCode, Direction, IndicationCounter, BitWidth,
    FactoryNumber, SyncTiming, JitterWindow, Offset, ErrorValue, Scale, UltrasonicSpeed,
    CycleTime, UARTCounter};
constexpr Registers IgnoredReads = {
    PowerfailTime, MonoflopTime, Chargepump, OutputFlags, Mode, PositionCount, Length, Model,
    LinearizationFlags, SecErrorValue, StartPoint, EndPoint, LinStartValue, LinTableByte,
    SlowAvarageFilter};
constexpr Registers StrictReads = {
    Filter, SSIStartSync, Measurement, OutputCode, Direction, IndicationCounter, BitWidth,
    FactoryNumber, SyncTiming, JitterWindow, Offset, ErrorValue, Scale, UltrasonicSpeed,
    CycleTime, UARTCounter, PowerfailTime, MonoflopTime, Chargepump, OutputFlags, Mode,
    PositionCount, Length, Model, LinearizationFlags, SecErrorValue, StartPoint, EndPoint,
    LinTableByte};
constexpr Registers WriteOrder = {
    Resolution, Filter, Measurement, OutputCode, Direction, IndicationCounter, BitWidth,
    Chargepump, PositionCount, Mode, OutputFlags, Length, Model, SyncTiming, JitterWindow,
    Offset, MonoflopTime, ErrorValue, Scale, UltrasonicSpeed, CycleTime, UARTCounter,
    PowerfailTime, SSIStartSync, LinearizationFlags, SlowAvarageFilter, SecErrorValue,
    Blanking};
// clang-format on
}  // namespace

bool TSSICom::ReadForSet(RegisterIndex r) {
    return r == LinTableByte ? ReadLinTableByte(ParameterSet::LinTableFirstAddress)
                             : ReadRegister(r);
}

bool TSSICom::ReadAll(std::initializer_list<RegisterIndex> registers) {
    bool ok = true;
    for (const RegisterIndex r : registers) {
        ok = ReadForSet(r) && ok;
    }
    return ok;
}

// A sensor that really reports resolution 0 gets 1; a read that failed proves
// nothing about the sensor, so nothing is written then.
bool TSSICom::ReadResolutionForSet() {
    DataElement& resolution = parameters_[Resolution];
    const bool ok = ReadRegister(Resolution);
    if (ok && resolution.Value == 0) {
        resolution.Value = 1;
        WriteRegister(Resolution);
    }
    return ok;
}

bool TSSICom::ReadSet(std::initializer_list<RegisterIndex> counted,
                      std::initializer_list<RegisterIndex> ignored) {
    const ParameterSet saved = parameters_;
    if (!ReadRegister(FirmwareVersion)) {
        parameters_ = saved;
        parameters_[FirmwareVersion].Answered = 0;
        return false;
    }
    bool ok = ReadResolutionForSet();
    ok = ReadAll(counted) && ok;
    ReadAll(ignored);
    if (rules::HasBlanking(FirmwareVersionNumber())) {
        ok = ReadRegister(Blanking) && ok;
    } else {
        // A sensor without the register must not inherit the answer of the one before it.
        parameters_[Blanking].Answered = 0;
    }
    if (!ok) {
        parameters_ = saved;
    }
    return ok;
}

bool TSSICom::ReadParameterSet() {
    return ReadSet(CountedReads, IgnoredReads);
}

bool TSSICom::ReadParameterSetStrict() {
    return ReadSet(StrictReads, {});
}

// A register the sensor did not answer in its last read (the 8-digit RA word of
// older firmware, blanking without WA) cannot be confirmed; it is left out and
// does not fail the set.
bool TSSICom::WriteParameterSet() {
    std::array<bool, RegisterCount> answered{};
    for (int r = 0; r < RegisterCount; ++r) {
        answered[r] = parameters_.ParameterStruct[r].Answered != 0;
    }
    const auto write = [&](RegisterIndex r) { return !answered[r] || WriteRegister(r); };
    bool ok = true;
    for (const RegisterIndex r : WriteOrder) {
        ok = write(r) && ok;
    }
    if (rules::HasWideRaWord(FirmwareVersionNumber())) {
        ok = write(LinearizationFlags) && ok;
    }
    return ok;
}

bool TSSICom::WrittenBySet(RegisterIndex r) {
    return std::find(WriteOrder.begin(), WriteOrder.end(), r) != WriteOrder.end();
}

// The sensor does not confirm these commands; a command that never left the
// port is the one failure the program can tell, and then nothing is cleared.
bool TSSICom::SendEepromCommand(const char* command, std::initializer_list<Range> cleared,
                                int pauseMs) {
    if (!SendCommand(command))
        return false;
    for (const Range& range : cleared) {
        for (int r = range.first; r <= range.last; ++r) {
            parameters_.ParameterStruct[r].Modified = 0;
        }
    }
    clock().sleep(pauseMs);
    return true;
}

bool TSSICom::CommitToEeprom() {
    return SendEepromCommand(
        "CN",
        {{Resolution, LinearizationFlags}, {Model, UltrasonicSpeed}, {LinStartValue, Blanking}},
        CommitPauseMs);
}

bool TSSICom::WriteFactorySettings() {
    return SendEepromCommand("EN",
                             {{Resolution, PowerfailTime},
                              {Model, FirmwareVersion},
                              {SSIStartSync, UltrasonicSpeed},
                              {Blanking, Blanking}},
                             CommitPauseMs);
}

bool TSSICom::ReadFactorySettings() {
    return SendEepromCommand("QN",
                             {{Resolution, PowerfailTime},
                              {Model, FirmwareVersion},
                              {SSIStartSync, UltrasonicSpeed},
                              {Blanking, Blanking}},
                             FactoryReadPauseMs);
}

bool TSSICom::Commit() {
    return rules::CommitsWithCN(FirmwareVersionNumber()) ? CommitToEeprom()
                                                         : WriteFactorySettings();
}
