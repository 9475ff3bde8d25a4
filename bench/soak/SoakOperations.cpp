// The operations a session draws from, each as the program runs it, and what
// each must have left in the sensor when it reports success.

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>

#include "bench/soak/SoakSession.h"
#include "comm/SensorRules.h"
#include "files/ParameterFile.h"
#include "files/SpeedAfterLoad.h"
#include "files/StoredSet.h"
#include "linearization/LinTable.h"
#include "testmode/SensorTestLink.h"

namespace soak {

namespace {

using R = TSSICom::RegisterIndex;

constexpr double OutOfRangeShare = 0.15;
constexpr double StrictReadShare = 0.2;
constexpr double DamagedFileShare = 0.25;
constexpr int LongestTestBlocks = 8;
constexpr int TableStart = ParameterSet::LinTableFirstAddress;
constexpr int TableEnd = ParameterSet::LinFactorAddress;

// clang-format off
constexpr std::array Writable = {
    R::Resolution, R::Filter, R::SlowAvarageFilter, R::Measurement, R::OutputCode, R::Direction,
    R::IndicationCounter, R::BitWidth, R::PositionCount, R::Mode, R::OutputFlags, R::Length,
    R::Offset, R::ErrorValue, R::PowerfailTime, R::LinearizationFlags, R::Model, R::Chargepump,
    R::SyncTiming, R::JitterWindow, R::MonoflopTime, R::Scale, R::CycleTime, R::UARTCounter,
    R::SecErrorValue, R::SSIStartSync, R::FactoryNumber, R::UltrasonicSpeed, R::LinStartValue,
    R::Blanking};
// Registers without a write of their own: asking must fail without traffic.
constexpr std::array ReadOnly = {
    R::SSISampleTime, R::FirmwareVersion, R::OperatingTime, R::StartPoint, R::EndPoint,
    R::LinTableByte, R::LinTableAddress};
// The registers a whole-set write sends, as far as they answered before.
constexpr std::array SetRegisters = {
    R::Resolution, R::Filter, R::Measurement, R::OutputCode, R::Direction, R::IndicationCounter,
    R::BitWidth, R::Chargepump, R::PositionCount, R::Mode, R::OutputFlags, R::Length, R::Model,
    R::SyncTiming, R::JitterWindow, R::Offset, R::MonoflopTime, R::ErrorValue, R::Scale,
    R::UltrasonicSpeed, R::CycleTime, R::UARTCounter, R::PowerfailTime, R::SSIStartSync,
    R::LinearizationFlags, R::SlowAvarageFilter, R::SecErrorValue, R::Blanking};
// clang-format on

// What a load rewrites after the set: the scale from the sensor's own speed, and the offset.
bool RewrittenAfterLoad(R r) {
    return r == R::Scale || r == R::UltrasonicSpeed || r == R::Offset;
}

std::array<int32_t, TSSICom::RegisterCount> Values(const TSSICom& com) {
    std::array<int32_t, TSSICom::RegisterCount> values{};
    for (int r = 0; r < TSSICom::RegisterCount; ++r)
        values[size_t(r)] = com[R(r)].Value;
    return values;
}

std::array<bool, TSSICom::RegisterCount> AnsweredFlags(const TSSICom& com) {
    std::array<bool, TSSICom::RegisterCount> answered{};
    for (int r = 0; r < TSSICom::RegisterCount; ++r)
        answered[size_t(r)] = com[R(r)].Answered != 0;
    return answered;
}

// A factory number as it is sent: upper case, zero-padded on the left to eight.
std::string PaddedUpperCase(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (text.size() < rules::FactoryNumberChars)
        text.insert(0, rules::FactoryNumberChars - text.size(), '0');
    return text;
}

int32_t Clamp32(int64_t value) {
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

int32_t SoakSession::RandomValue(R r) {
    const rules::ValueRange range = rules::RegisterRange(r);
    if (Chance(OutOfRangeShare)) {
        switch (Uniform(0, 3)) {
            case 0:
                return Clamp32(range.max + Uniform(1, 1000));
            case 1:
                return Clamp32(range.min - Uniform(1, 1000));
            case 2:
                return std::numeric_limits<int32_t>::min();
            default:
                return r == R::Length ? Clamp32(Uniform(10000, 0xFFFF)) : Clamp32(range.max + 1);
        }
    }
    if (r == R::Length)
        return Chance(0.5) ? Clamp32(Uniform(0, 9999)) : Clamp32(Uniform(200, 1310) * 50);
    if (r == R::Model) {
        const auto first = char('A' + Uniform(0, 25));  // one draw after the other, as replays need
        return rules::ModelValue(first, char('A' + Uniform(0, 25)));
    }
    // Wrapped into 32 bits, as the table holds full-word registers.
    return static_cast<int32_t>(static_cast<uint32_t>(Uniform(range.min, range.max)));
}

int SoakSession::RandomAddress() {
    if (Chance(0.9))
        return int(Uniform(TableStart, TableEnd));
    return Chance(0.5) ? int(Uniform(-1, TableStart - 1))
                       : int(Uniform(ParameterSet::LinTableLastAddress + 1, 1000));
}

std::string SoakSession::RandomFactoryNumber() {
    static constexpr std::string_view Characters = "0123456789ABCDEFXYZabcxyz-";
    std::string text;
    const int64_t length = Chance(0.1) ? Uniform(0, 10) : Uniform(1, 8);
    for (int64_t i = 0; i < length; ++i)
        text += Characters[size_t(Uniform(0, int64_t(Characters.size()) - 1))];
    return text;
}

SoakSession::Outcome SoakSession::ReadSet() {
    const bool strict = !recovering_ && Chance(StrictReadShare);
    Outcome outcome{strict ? com_.ReadParameterSetStrict() : com_.ReadParameterSet(),
                    {},
                    false,
                    strict ? "strict" : ""};
    if (outcome.ok && com_[R::LinTableByte].Answered &&
        com_[R::LinTableAddress].Value == TableStart)
        believedAddresses_.insert(TableStart);
    return outcome;
}

// The connection monitor's tick while a sensor answers.
SoakSession::Outcome SoakSession::Poll() {
    com_.Purge();
    const bool ok = com_.CheckPort() && com_.ReadRegister(R::FactoryNumber);
    com_.ReadRegister(R::OperatingTime);
    return {ok, {}};
}

SoakSession::Outcome SoakSession::WriteRegister() {
    if (Chance(0.05)) {
        const R r = ReadOnly[size_t(Uniform(0, ReadOnly.size() - 1))];
        const size_t trafficBefore = sensor_.traffic().size();
        Outcome outcome{com_.WriteRegister(r), {}, false, TSSICom::RegisterKey(r)};
        if (outcome.ok || sensor_.traffic().size() != trafficBefore)
            outcome.missed.push_back({std::string(TSSICom::RegisterKey(r)) + " has no write",
                                      "sent", "nothing expected"});
        return outcome;
    }
    const R r = Writable[size_t(Uniform(0, Writable.size() - 1))];
    com_[r].Modified = 1;
    if (r == R::FactoryNumber) {
        const std::string text = RandomFactoryNumber();
        com_[r].Reply = text;
        Outcome outcome{com_.WriteRegister(r), {}, false, text};
        if (outcome.ok && sensor_.factoryNumber() != PaddedUpperCase(text))
            outcome.missed.push_back({"FactoryNumber written", text, sensor_.factoryNumber()});
        return outcome;
    }
    const int32_t value = RandomValue(r);
    com_[r].Value = value;
    Outcome outcome{com_.WriteRegister(r),
                    {},
                    false,
                    std::string(TSSICom::RegisterKey(r)) + " " + std::to_string(value)};
    if (outcome.ok)
        Expect(outcome, r, value);
    return outcome;
}

SoakSession::Outcome SoakSession::WriteSet() {
    std::string changed;
    for (int64_t n = Uniform(0, 4); n > 0; --n) {
        const R r = SetRegisters[size_t(Uniform(0, SetRegisters.size() - 1))];
        com_[r].Value = RandomValue(r);
        com_[r].Modified = 1;
        changed += std::string(changed.empty() ? "" : " ") + TSSICom::RegisterKey(r) + " " +
                   std::to_string(com_[r].Value);
    }
    const auto values = Values(com_);
    const auto answered = AnsweredFlags(com_);
    Outcome outcome{com_.WriteParameterSet(), {}, false, changed};
    if (outcome.ok)
        for (const R r : SetRegisters)
            if (answered[r])
                Expect(outcome, r, values[r]);
    return outcome;
}

// As the desktop program loads a file: the set goes to the sensor, then the
// scale follows the sensor's own speed; a failure resets the table.
SoakSession::Outcome SoakSession::LoadFile() {
    files::ParameterFile file =
        files::FileOfSet(com_.Parameters(), std::string(files::FormatMark), {2024, 5, 17});
    for (int64_t n = Uniform(0, 6); n > 0; --n) {
        const R r = SetRegisters[size_t(Uniform(0, SetRegisters.size() - 1))];
        if (r < files::StoredRegisterCount)
            file.values[r] = RandomValue(r);
    }
    std::vector<uint8_t> bytes = files::EncodeParameterFile(file);
    if (Chance(DamagedFileShare)) {
        if (Chance(0.5))
            bytes[size_t(Uniform(0, int64_t(bytes.size()) - 1))] ^= uint8_t(Uniform(1, 255));
        else
            bytes.resize(size_t(Uniform(0, int64_t(bytes.size()) - 1)));
    }
    const files::DecodedFile decoded = files::DecodeParameterFile(bytes);
    if (!decoded.file)
        return {true, {}, true};
    const auto answered = AnsweredFlags(com_);
    files::LoadIntoSet(*decoded.file, com_.Parameters());
    Outcome outcome{com_.WriteParameterSet() && files::MatchScaleToSensor(com_), {}};
    if (!outcome.ok) {
        com_.ResetTable();
        return outcome;
    }
    for (const R r : SetRegisters)
        if (answered[r] && size_t(r) < decoded.file->values.size() && !RewrittenAfterLoad(r))
            Expect(outcome, r, decoded.file->values[r]);
    return outcome;
}

SoakSession::Outcome SoakSession::Commit() {
    Outcome outcome{com_.Commit(), {}};
    if (!outcome.ok)
        return outcome;
    using Bank = sim::SimulatedSensor::Bank;
    if (!(sensor_.bank(Bank::Eeprom) == sensor_.bank(Bank::Working)))
        outcome.missed.push_back({"EEPROM after the commit", "the working set", "another set"});
    if (!rules::CommitsWithCN(com_.FirmwareVersionNumber()) &&
        !(sensor_.bank(Bank::Factory) == sensor_.bank(Bank::Working)))
        outcome.missed.push_back(
            {"factory set after the commit", "the working set", "another set"});
    return outcome;
}

SoakSession::Outcome SoakSession::LinRead() {
    const int address = RandomAddress();
    Outcome outcome{linearization::ReadEntry(com_, address), {}, false, std::to_string(address)};
    if (!outcome.ok)
        return outcome;
    if (address < TableStart || address > ParameterSet::LinTableLastAddress)
        outcome.missed.push_back(
            {"entry read at " + std::to_string(address), "success", "no such entry"});
    else
        believedAddresses_.insert(address);
    return outcome;
}

SoakSession::Outcome SoakSession::LinWrite() {
    const int address = RandomAddress();
    const auto value = static_cast<int32_t>(Chance(0.1) ? Uniform(-300, 600) : Uniform(0, 255));
    com_[R::LinTableByte].Value = value;
    com_[R::LinTableByte].Modified = 1;
    Outcome outcome{com_.WriteLinTableByte(address),
                    {},
                    false,
                    std::to_string(address) + " " + std::to_string(value)};
    if (!outcome.ok) {
        // As the program no longer trusts its copy of the table then.
        believedAddresses_.clear();
        return outcome;
    }
    if (address < TableStart || address > ParameterSet::LinTableLastAddress) {
        outcome.missed.push_back(
            {"entry written at " + std::to_string(address), "success", "no such entry"});
        return outcome;
    }
    believedAddresses_.insert(address);
    if (sensor_.linTableByte(address) != (value & 0xFF))
        outcome.missed.push_back({"entry " + std::to_string(address) + " written",
                                  std::to_string(value & 0xFF),
                                  std::to_string(sensor_.linTableByte(address))});
    return outcome;
}

SoakSession::Outcome SoakSession::LinRun() {
    std::vector<int8_t> visited;
    Outcome outcome{
        linearization::RunTable(com_, false, [&](int, int8_t value) { visited.push_back(value); }),
        {}};
    if (!outcome.ok)
        return outcome;
    for (int address = TableStart; address <= ParameterSet::LinTableLastEntry; ++address) {
        believedAddresses_.insert(address);
        const auto held = static_cast<int8_t>(sensor_.linTableByte(address));
        if (visited.at(size_t(address - TableStart)) != held)
            outcome.missed.push_back({"entry " + std::to_string(address) + " in the run",
                                      std::to_string(visited[size_t(address - TableStart)]),
                                      std::to_string(held)});
    }
    return outcome;
}

// A short sensor test: into test mode, a few blocks, back to the command link.
// Every block read must hold a record the sensor streamed.
SoakSession::Outcome SoakSession::SensorTest() {
    testmode::SensorTestLink link(com_);
    link.Enter();
    Outcome outcome;
    const auto& streamed = sensor_.streamed();
    for (int64_t n = Uniform(1, LongestTestBlocks); n > 0; --n) {
        const auto reading = link.ReadBlock();
        if (reading &&
            std::find(streamed.rbegin(), streamed.rend(), reading->record) == streamed.rend())
            outcome.missed.push_back({"test block", reading->record, "never streamed"});
    }
    outcome.ok = link.Leave();
    if (outcome.ok && backend_.baudRate() != sim::SimulatedSensor::kCommandBaud)
        outcome.missed.push_back(
            {"port after the test", "4800 baud", std::to_string(backend_.baudRate()) + " baud"});
    return outcome;
}

}  // namespace soak
