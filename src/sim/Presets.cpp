#include <utility>

#include "sim/SimulatedSensor.h"

namespace sim {

namespace {

constexpr uint32_t kGrayCode = 1u << 17;
constexpr uint32_t kOneErrorBeforeIndication = 1u << 8;

uint32_t daWord(uint32_t bitWidth) {
    return kGrayCode | kOneErrorBeforeIndication | bitWidth;
}

SensorConfig qh() {
    return SensorConfig{};
}

SensorConfig kbf() {
    SensorConfig config;
    config.model = "KB";
    config.firmwareVersion = 3960607;
    config.factoryNumber = "20815001";
    config.lengthMm = 1250;
    config.resolutionUm = 2;
    config.words = {{"DA", daWord(26)}, {"JA", 4}};
    return config;
}

SensorConfig bSeries() {
    SensorConfig config;
    config.model = "BP";
    config.firmwareVersion = 3960612;
    config.factoryNumber = "31190007";
    config.lengthMm = 12350;
    config.resolutionUm = 10;
    config.words = {{"DA", daWord(24)}, {"WA", 320}};
    return config;
}

SensorConfig old() {
    SensorConfig config;
    config.firmwareVersion = 3960100;
    config.factoryNumber = "00071234";
    config.lengthMm = 250;
    config.linearizationTable = false;
    return config;
}

SensorConfig offsetRaw() {
    SensorConfig config;
    config.model = "QP";
    config.firmwareVersion = 3960405;
    config.factoryNumber = "40400311";
    config.lengthMm = 1000;
    config.resolutionUm = 1;
    config.words = {{"NA", 100}};
    return config;
}

using Preset = std::pair<const char*, SensorConfig (*)()>;
constexpr Preset kPresets[] = {
    {"qh", qh}, {"kbf", kbf}, {"b", bSeries}, {"old", old}, {"offset-raw", offsetRaw},
};

}  // namespace

std::optional<SensorConfig> presetConfig(const std::string& name) {
    for (const auto& [presetName, make] : kPresets)
        if (name == presetName)
            return make();
    return std::nullopt;
}

std::vector<std::string> presetNames() {
    std::vector<std::string> names;
    for (const auto& preset : kPresets)
        names.emplace_back(preset.first);
    return names;
}

}  // namespace sim
