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

}  // namespace changes
