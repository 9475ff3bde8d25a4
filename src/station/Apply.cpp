#include "station/Apply.h"

#include <array>

#include "files/SpeedAfterLoad.h"
#include "files/StoredSet.h"

namespace station {

namespace {

using Reading = std::optional<int32_t>;
using SetReading = std::array<Reading, TSSICom::RegisterCount>;

SetReading readSet(TSSICom& sensor) {
    SetReading reading{};
    if (!sensor.ReadParameterSet())
        return reading;
    for (size_t r = 0; r < reading.size(); ++r) {
        const TSSICom::DataElement& element = sensor.Parameters().ParameterStruct[r];
        if (element.Answered)
            reading[r] = element.Value;
    }
    return reading;
}

Reading readRegister(TSSICom& sensor, TSSICom::RegisterIndex r) {
    if (!sensor.ReadRegister(r))
        return std::nullopt;
    return sensor[r].Value;
}

// The registers of the file that the set write sent, with the values it sent.
std::vector<Check> writtenRegisters(const TSSICom& sensor, const files::ParameterFile& file,
                                    const AnsweredRegisters& answered) {
    std::vector<Check> checks;
    for (size_t r = 0; r < file.values.size() && r < answered.size(); ++r) {
        const auto reg = TSSICom::RegisterIndex(r);
        if (answered[r] && TSSICom::WrittenBySet(reg))
            checks.push_back({reg, sensor[reg].Value, std::nullopt});
    }
    return checks;
}

Reading agreedValue(TSSICom& sensor, TSSICom::RegisterIndex r, Reading first, Reading second) {
    for (int reread = 0; reread < VerifyRereads && !(first && first == second); ++reread) {
        first = second;
        second = readRegister(sensor, r);
    }
    return first && first == second ? first : std::nullopt;
}

void verify(TSSICom& sensor, std::vector<Check>& checks) {
    const SetReading first = readSet(sensor);
    const SetReading second = readSet(sensor);
    for (Check& check : checks)
        check.found =
            agreedValue(sensor, check.reg, first[size_t(check.reg)], second[size_t(check.reg)]);
}

bool WriteLoadedSet(TSSICom& sensor) {
    return sensor.WriteParameterSet() && files::MatchScaleToSensor(sensor);
}

}  // namespace

AnsweredRegisters Answered(const TSSICom& sensor) {
    AnsweredRegisters answered{};
    for (size_t r = 0; r < answered.size(); ++r)
        answered[r] = sensor.Parameters().ParameterStruct[r].Answered != 0;
    return answered;
}

bool WriteFile(TSSICom& sensor, const files::ParameterFile& file) {
    files::LoadIntoSet(file, sensor.Parameters());
    return WriteLoadedSet(sensor);
}

std::vector<Check> ApplyResult::mismatches() const {
    std::vector<Check> differing;
    for (const Check& check : checks) {
        if (!check.matches())
            differing.push_back(check);
    }
    return differing;
}

ApplyResult Apply(TSSICom& sensor, const files::ParameterFile& file, bool commit) {
    if (!sensor.ReadParameterSet())
        return {ApplyResult::Failure::Read, false, {}};
    return ApplyToReadSet(sensor, file, commit);
}

ApplyResult ApplyToReadSet(TSSICom& sensor, const files::ParameterFile& file, bool commit) {
    ApplyResult result;
    const AnsweredRegisters answered = Answered(sensor);
    files::LoadIntoSet(file, sensor.Parameters());
    result.checks = writtenRegisters(sensor, file, answered);
    const bool written = WriteLoadedSet(sensor);
    // The scale and offset follow the sensor's own speed; a refused write leaves the file's wish.
    if (!written) {
        result.failure = ApplyResult::Failure::Write;
    } else {
        for (Check& check : result.checks)
            check.wanted = sensor[check.reg].Value;
    }
    if (written && commit) {
        result.committed = sensor.Commit();
        if (!result.committed)
            result.failure = ApplyResult::Failure::Commit;
    }
    verify(sensor, result.checks);
    return result;
}

}  // namespace station
