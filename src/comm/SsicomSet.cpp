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

bool TSSICom::WriteParameterSet() {
    bool ok = true;
    for (const RegisterIndex r : WriteOrder) {
        ok = WriteRegister(r) && ok;
    }
    if (rules::HasWideRaWord(FirmwareVersionNumber())) {
        ok = WriteRegister(LinearizationFlags) && ok;
    }
    return ok;
}

bool TSSICom::SendEepromCommand(const char* command, std::initializer_list<Range> cleared,
                                int pauseMs) {
    SendCommand(command);
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
