#include "sim/LinearizationTable.h"

#include <cmath>

namespace sim {

namespace {
constexpr int kValueCount = 301;  // addresses 200 to 500
constexpr uint8_t kFactor = 2;    // micrometres per table unit
constexpr double kAmplitude = 12.0;
}  // namespace

LinearizationTable LinearizationTable::typical(int32_t startValueUm) {
    LinearizationTable table;
    const double pi = std::acos(-1.0);
    for (int i = 0; i < kValueCount; ++i) {
        const double wave = kAmplitude * std::sin(3.0 * pi * i / (kValueCount - 1));
        table.setByte(kFirstAddress + i, uint8_t(int8_t(std::lround(wave))));
    }
    table.setByte(kFactorAddress, kFactor);
    table.setStartValue(startValueUm);
    return table;
}

bool LinearizationTable::contains(int address) {
    return address >= kFirstAddress && address <= kLastAddress;
}

uint8_t LinearizationTable::byte(int address) const {
    return contains(address) ? bytes_[address - kFirstAddress] : 0;
}

void LinearizationTable::setByte(int address, uint8_t value) {
    if (contains(address))
        bytes_[address - kFirstAddress] = value;
}

}  // namespace sim
