#include "files/SpeedAfterLoad.h"

#include "comm/SensorRules.h"
#include "comm/SettingChanges.h"
#include "comm/SettingRules.h"

namespace files {

std::optional<bool> RewriteOffset(TSSICom& sensor, int32_t micrometres) {
    const int32_t resolution = sensor[TSSICom::Resolution].Value;
    const auto firmware = static_cast<uint32_t>(sensor.FirmwareVersionNumber());
    if (resolution == 0 || rules::IsOffsetRawFirmware(firmware))
        return std::nullopt;
    TSSICom::DataElement& offset = sensor[TSSICom::Offset];
    offset.Value = rules::SensorOffset(micrometres, sensor[TSSICom::Filter].Value, resolution);
    offset.Modified = 1;
    return sensor.WriteRegister(TSSICom::Offset);
}

bool MatchScaleToSensor(TSSICom& sensor) {
    const int32_t micrometres = rules::OffsetMicrons(
        static_cast<uint32_t>(sensor.FirmwareVersionNumber()), sensor[TSSICom::Offset].Value,
        sensor[TSSICom::Resolution].Value, sensor[TSSICom::Filter].Value);
    if (!changes::WriteSpeedAndScale(sensor, sensor[TSSICom::UltrasonicSpeed].Value))
        return false;
    return RewriteOffset(sensor, micrometres).value_or(true);
}

}  // namespace files
