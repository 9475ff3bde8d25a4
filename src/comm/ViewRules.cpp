#include "comm/ViewRules.h"

namespace rules {

namespace {

using Reg = ParameterSet::RegisterIndex;

bool answered(const ParameterSet& set, Reg r) {
    return set[r].Answered != 0;
}

std::string unsignedText(int32_t value) {
    return std::to_string(static_cast<uint32_t>(value));
}

// clang-format off
constexpr TextRow<ViewText> kViewTexts[] = {
    {ViewText::PointNotDefined, "not defined", "nicht definiert"},
};
// clang-format on

static_assert(RowsFollowIds(kViewTexts, ViewText::Count), "one row per text, in id order");

}  // namespace

std::string SensorTypeTextOf(const ParameterSet& set) {
    return ModelCodeFor(set[ParameterSet::Model].Value).typeText;
}

bool HasEightChargepumpStages(const std::string& sensorTypeText) {
    return sensorTypeText == SensorTypeWithEightStages;
}

std::string SensorTypeLine(const ParameterSet& set) {
    return FamilyLine(ModelCodeFor(set[ParameterSet::Model].Value));
}

std::string LengthLine(const ParameterSet& set) {
    return std::to_string(set[ParameterSet::Length].Value) + "mm";
}

std::string UltrasonicSpeedLine(const ParameterSet& set) {
    return std::to_string(set[ParameterSet::UltrasonicSpeed].Value) + " cm/s";
}

std::string FirmwareLine(const ParameterSet& set) {
    return FirmwareText(set[ParameterSet::FirmwareVersion].Reply);
}

std::optional<std::string> ResolutionFieldText(const ParameterSet& set) {
    const auto& scale = set[ParameterSet::Scale];
    if (scale.Answered && UsesHalfMicrometres(scale.Value))
        return "0.5";
    if (answered(set, ParameterSet::Resolution))
        return unsignedText(set[ParameterSet::Resolution].Value);
    return std::nullopt;
}

int32_t OffsetFieldMicrons(const ParameterSet& set) {
    return OffsetMicrons(static_cast<uint32_t>(set.FirmwareVersionNumber()),
                         set[ParameterSet::Offset].Value, set[ParameterSet::Resolution].Value,
                         set[ParameterSet::Filter].Value);
}

const TextRow<ViewText>& ViewTextRow(ViewText id) {
    return kViewTexts[static_cast<size_t>(id)];
}

int MeasuringModeItem(int32_t mode) {
    return mode >= 0 && mode < 3 ? mode : -1;
}

bool MeasurementStartFixed(const ParameterSet& set) {
    return ModelBeginsWithB(set[ParameterSet::Model].Value) || ExtrapolationChecked(set);
}

int MeasurementStartItem(const ParameterSet& set) {
    return MeasurementStartFixed(set) ||
                   set[ParameterSet::Measurement].Value == MeasurementSynchronous
               ? 1
               : 0;
}

int ChargepumpStagesItem(const ParameterSet& set) {
    return ChargepumpItem(HasEightChargepumpStages(SensorTypeTextOf(set)),
                          set[ParameterSet::Chargepump].Value);
}

bool InternalLinearizationChecked(const ParameterSet& set) {
    if (answered(set, ParameterSet::LinearizationFlags))
        return HasFlag(set[ParameterSet::LinearizationFlags].Value, InternalLinearizationBit);
    return set.FirmwareType() == FirmwareType39604;
}

bool ExtrapolationChecked(const ParameterSet& set) {
    if (answered(set, ParameterSet::LinearizationFlags))
        return HasFlag(set[ParameterSet::LinearizationFlags].Value, ExtrapolationBit);
    return set.FirmwareType() == FirmwareType39602;
}

bool ExtrapolationForwardChecked(int32_t linearizationFlags) {
    return HasFlag(linearizationFlags, ExtrapolationBit) &&
           HasFlag(linearizationFlags, ExtrapolationForwardBit);
}

bool TemperatureCompensationChecked(int32_t linearizationFlags) {
    return HasFlag(linearizationFlags, TemperatureCompensationBit);
}

std::optional<bool> SiemensChecked(const ParameterSet& set) {
    const auto& flags = set[ParameterSet::OutputFlags];
    if (!flags.Answered || ModelBeginsWithB(set[ParameterSet::Model].Value))
        return std::nullopt;
    if (set.FirmwareType() == FirmwareType39601)
        return flags.Value == SiemensValue39601;
    return HasFlag(flags.Value, SiemensBit);
}

std::optional<bool> TemperatureChecked(const ParameterSet& set) {
    const auto& flags = set[ParameterSet::OutputFlags];
    if (!flags.Answered || ModelBeginsWithB(set[ParameterSet::Model].Value) ||
        set.FirmwareType() == FirmwareType39601)
        return std::nullopt;
    return HasFlag(flags.Value, TemperatureBit);
}

bool SecondErrorValueChecked(const ParameterSet& set) {
    return set[ParameterSet::SecErrorValue].Value == 0;
}

CycleTimeInputs CycleTimeInputsOf(const ParameterSet& set, bool temperatureCompensation) {
    CycleTimeInputs in;
    in.measurement = set[ParameterSet::Measurement].Value;
    in.jitterWindow = set[ParameterSet::JitterWindow].Value;
    in.outputFlags = set[ParameterSet::OutputFlags].Value;
    in.outputCode = set[ParameterSet::OutputCode].Value;
    in.positionCount = set[ParameterSet::PositionCount].Value;
    in.temperatureCompensation = temperatureCompensation;
    in.syncTiming = set[ParameterSet::SyncTiming].Value;
    in.cycleTime = set[ParameterSet::CycleTime].Value;
    return in;
}

}  // namespace rules
