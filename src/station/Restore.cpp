#include "station/Restore.h"

#include <algorithm>
#include <array>

#include "comm/SensorRules.h"
#include "files/StoredSet.h"

namespace station {

namespace {

using enum ParameterSet::RegisterIndex;

// What the sensor is built as; a replacement sensor of another length or model
// needs its own values, whatever its predecessor held.
constexpr std::array BuildRegisters{Model, Length, Chargepump, MonoflopTime};

int32_t valueOf(const ParameterSet& set, ParameterSet::RegisterIndex r) {
    return set[r].Value;
}

bool sameModelGroup(int32_t oldModel, int32_t presentModel) {
    const rules::SensorFamily family = rules::ModelCodeFor(oldModel).family;
    if (family != rules::ModelCodeFor(presentModel).family)
        return false;
    return family != rules::SensorFamily::None || oldModel == presentModel;
}

}  // namespace

Misfit MisfitOf(const ParameterSet& old, const ParameterSet& present) {
    if (!old[FirmwareVersion].Answered || old.FirmwareType() != present.FirmwareType())
        return Misfit::FirmwareType;
    if (!sameModelGroup(valueOf(old, Model), valueOf(present, Model)))
        return Misfit::Model;
    return Misfit::None;
}

bool KeptByReplacement(TSSICom::RegisterIndex r) {
    return !TSSICom::WrittenBySet(r) ||
           std::find(BuildRegisters.begin(), BuildRegisters.end(), r) != BuildRegisters.end();
}

files::ParameterFile ReplacementFile(const ParameterSet& old, const ParameterSet& present) {
    files::ParameterFile file = files::FileOfSet(old, std::string(files::FormatMark), {});
    for (size_t r = 0; r < file.values.size(); ++r) {
        const auto reg = TSSICom::RegisterIndex(r);
        if (KeptByReplacement(reg))
            file.values[r] = valueOf(present, reg);
    }
    return file;
}

RestoreResult Restore(TSSICom& sensor, const ParameterSet& old, bool commit) {
    RestoreResult result;
    if (!sensor.ReadParameterSet()) {
        result.apply.failure = ApplyResult::Failure::Read;
        return result;
    }
    result.presentModel = sensor[Model].Value;
    result.presentFirmware = sensor.FirmwareVersionNumber();
    result.misfit = MisfitOf(old, sensor.Parameters());
    if (result.refused())
        return result;
    result.apply = ApplyToReadSet(sensor, ReplacementFile(old, sensor.Parameters()), commit);
    return result;
}

}  // namespace station
