#include "sim/SensorMemory.h"

#include <algorithm>

namespace sim {

namespace {
constexpr uint32_t kDeliveredOperatingTime = 500;  // 25 hours of factory burn-in
constexpr int32_t kQhStartValueUm = 51000;
constexpr int32_t kQpStartValueUm = 28000;
constexpr int32_t kOtherStartValueUm = 30000;

int32_t startValueFor(const std::string& model) {
    if (model == "QH")
        return kQhStartValueUm;
    if (model == "QP" || model == "PA")
        return kQpStartValueUm;
    return kOtherStartValueUm;
}
}  // namespace

SensorMemory::SensorMemory(const SensorConfig& config)
    : firmwareVersion(config.firmwareVersion),
      hasLinearizationTable(config.linearizationTable),
      working(makeBank(config)),
      eeprom(working),
      factory(working),
      linTable(LinearizationTable::typical(startValueFor(config.model))),
      magnetPositionUm(config.magnetPositionUm),
      magnetCount(config.magnetCount),
      flash(FlashMemory::forChip(config.chip).value()),
      operatingTimeBase_(kDeliveredOperatingTime) {}

uint32_t SensorMemory::operatingTime(int64_t timeMs) const {
    const int64_t running = std::max<int64_t>(timeMs - operatingSinceMs_, 0);
    return operatingTimeBase_ + uint32_t(running / kOperatingTimeStepMs);
}

void SensorMemory::setOperatingTime(uint32_t counts, int64_t timeMs) {
    operatingTimeBase_ = counts;
    operatingSinceMs_ = timeMs;
}

bool SensorMemory::internalLinearization() const {
    return firmwareType(firmwareVersion) == 39606 && (working.words.at("RA") >> 8 & 1) != 0;
}

uint32_t SensorMemory::magnetPosition() const {
    const uint32_t um = uint32_t(std::max(magnetPositionUm, 0));
    if (internalLinearization())
        return um;
    return um / std::max<uint32_t>(working.words.at("AA"), 1);
}

}  // namespace sim
