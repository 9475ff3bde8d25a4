#include "sim/MeasurementStream.h"

#include <algorithm>

#include "sim/WireText.h"

namespace sim {

namespace {

constexpr uint32_t kMeasurementMask = 0x000C0000;
constexpr int kMeasurementShift = 18;
constexpr uint32_t kBitWidthMask = 0x000000FF;
constexpr int kWordBits = 32;

int64_t counts(const RegisterBank& bank, int positionUm) {
    const int64_t resolutionUm = std::max<uint32_t>(bank.words.at("AA"), 1);
    return positionUm / resolutionUm + wiretext::signExtend24(bank.words.at("NA"));
}

uint32_t streamWord(const RegisterBank& bank, int positionUm) {
    const int bitWidth = std::clamp(int(bank.words.at("DA") & kBitWidthMask), 1, kWordBits);
    return uint32_t(counts(bank, positionUm)) << (kWordBits - bitWidth);
}

}  // namespace

bool streamsAt(const RegisterBank& bank, int baudRate) {
    const uint32_t measurement = (bank.words.at("DA") & kMeasurementMask) >> kMeasurementShift;
    return (measurement & 1) != 0 && (baudRate == 38400 || baudRate == 115200);
}

std::string streamRecord(const RegisterBank& bank, int positionUm) {
    return wiretext::hex(streamWord(bank, positionUm), 8) + '\r';
}

}  // namespace sim
