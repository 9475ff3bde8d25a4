#include "sim/MeasurementStream.h"

#include <algorithm>

#include "sim/WireText.h"

namespace sim {

namespace {

constexpr uint32_t kMeasurementMask = 0x000C0000;
constexpr int kMeasurementShift = 18;
constexpr int kWordBits = 32;
constexpr uint32_t kTemperatureFlag = 0x00020000;  // KA bit 17: output flag 2
constexpr uint32_t kPositionBits24 = 0x00FFFFFF;

int64_t counts(const RegisterBank& bank, int positionUm) {
    const int64_t resolutionUm = std::max<uint32_t>(bank.words.at("AA"), 1);
    return positionUm / resolutionUm + wiretext::signExtend24(bank.words.at("NA"));
}

uint32_t streamWord(const RegisterBank& bank, int positionUm, int temperatureC) {
    if ((bank.words.at("KA") & kTemperatureFlag) != 0) {
        const auto temperature = uint32_t(uint8_t(int8_t(temperatureC)));
        return temperature << 24 | (uint32_t(counts(bank, positionUm)) & kPositionBits24);
    }
    const int bitWidth = std::clamp(int(bank.words.at("DA") & kBitWidthMask), 1, kWordBits);
    return uint32_t(counts(bank, positionUm)) << (kWordBits - bitWidth);
}

}  // namespace

bool streamsAt(const RegisterBank& bank, int baudRate) {
    const uint32_t measurement = (bank.words.at("DA") & kMeasurementMask) >> kMeasurementShift;
    return (measurement & 1) != 0 && (baudRate == 38400 || baudRate == 115200);
}

std::string streamRecord(const RegisterBank& bank, int positionUm, int temperatureC) {
    return wiretext::hex(streamWord(bank, positionUm, temperatureC), 8) + '\r';
}

}  // namespace sim
