#include "comm/SettingChanges.h"

#include "comm/SensorRules.h"
#include "comm/SettingRules.h"

namespace changes {

bool Accepts(TSSICom::RegisterIndex r, int64_t value) {
    return rules::RegisterRange(r).contains(value);
}

bool AcceptsFactoryNumber(const std::string& text) {
    return static_cast<int64_t>(text.size()) <= rules::RegisterRange(TSSICom::FactoryNumber).max;
}

int32_t ScaleAfterSpeed(int32_t ultrasonicSpeed, int32_t resolution, int32_t presentScale) {
    if (resolution == 1 && rules::UsesHalfMicrometres(presentScale))
        return rules::HalfMicrometreScale(ultrasonicSpeed);
    return rules::ScaleFromSpeed(ultrasonicSpeed, resolution);
}

bool WriteSpeedAndScale(TSSICom& sensor, int32_t ultrasonicSpeed) {
    sensor[TSSICom::UltrasonicSpeed].Value = ultrasonicSpeed;
    const int32_t resolution = sensor[TSSICom::Resolution].Value;
    TSSICom::DataElement& scale = sensor[TSSICom::Scale];
    if (resolution != 0)
        scale.Value = ScaleAfterSpeed(ultrasonicSpeed, resolution, scale.Value);
    sensor[TSSICom::UltrasonicSpeed].Modified = 1;
    return sensor.WriteRegister(TSSICom::UltrasonicSpeed) && sensor.WriteRegister(TSSICom::Scale);
}

ScaleSet PresentScaleSet(const TSSICom& sensor) {
    return {sensor[TSSICom::Resolution].Value, sensor[TSSICom::Scale].Value,
            sensor[TSSICom::Offset].Value};
}

namespace {

constexpr int32_t KSeriesSmallestResolution = 10;

bool OffsetFollowsResolution(const TSSICom& sensor) {
    return sensor.FirmwareType() != rules::FirmwareType39604;
}

ScaleSet WithScale(const TSSICom& sensor, int32_t resolution, int32_t scale,
                   int32_t offsetMicrometres) {
    const int32_t offset =
        OffsetFollowsResolution(sensor)
            ? rules::SensorOffset(offsetMicrometres, sensor[TSSICom::Filter].Value, resolution)
            : sensor[TSSICom::Offset].Value;
    return {resolution, scale, offset};
}

bool WriteThree(TSSICom& sensor, const ScaleSet& set) {
    sensor[TSSICom::Resolution].Value = set.resolution;
    sensor[TSSICom::Scale].Value = set.scale;
    sensor[TSSICom::Offset].Value = set.offset;
    return sensor.WriteRegister(TSSICom::Resolution) && sensor.WriteRegister(TSSICom::Scale) &&
           sensor.WriteRegister(TSSICom::Offset);
}

}  // namespace

ScaleSet ScaleSetFor(const TSSICom& sensor, int32_t resolution, int32_t offsetMicrometres) {
    return WithScale(sensor, resolution,
                     rules::ScaleFor(sensor[TSSICom::UltrasonicSpeed].Value, resolution),
                     offsetMicrometres);
}

ScaleSet HalfMicrometreScaleSet(const TSSICom& sensor, int32_t offsetMicrometres) {
    return WithScale(sensor, 1, rules::HalfMicrometreScale(sensor[TSSICom::UltrasonicSpeed].Value),
                     offsetMicrometres);
}

bool WriteScaleSet(TSSICom& sensor, const ScaleSet& wanted) {
    sensor[TSSICom::Resolution].Modified = 1;
    sensor[TSSICom::Scale].Modified = 1;
    if (OffsetFollowsResolution(sensor))
        sensor[TSSICom::Offset].Modified = 1;
    return WriteThree(sensor, wanted);
}

bool RestoreScaleSet(TSSICom& sensor, const ScaleSet& previous) {
    return WriteThree(sensor, previous);
}

bool RefusedByKSeries(const TSSICom& sensor, int32_t resolution) {
    const int32_t model = sensor[TSSICom::Model].Value;
    const bool kModel =
        model == rules::ModelValue('K', 'H') || model == rules::ModelValue('K', 'P');
    return kModel && resolution < KSeriesSmallestResolution;
}

}  // namespace changes
