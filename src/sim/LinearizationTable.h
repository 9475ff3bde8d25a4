#pragma once

#include <array>
#include <cstdint>

namespace sim {

// The sensor's table of non-linearity corrections. It lives in the EEPROM only:
// a write changes it for good, without a commit.
class LinearizationTable {
public:
    static constexpr int kFirstAddress = 200;
    static constexpr int kLastAddress = 507;
    static constexpr int kFactorAddress = 501;
    static constexpr int kStartValueAddress = 502;  // read as a 24-bit start value

    // A factory-measured looking table: small values around zero, factor 2.
    static LinearizationTable typical(int32_t startValueUm);

    // 0 outside the table.
    uint8_t byte(int address) const;
    // Ignored outside the table.
    void setByte(int address, uint8_t value);
    static bool contains(int address);

    int32_t startValue() const { return startValue_; }
    void setStartValue(int32_t value) { startValue_ = value; }

private:
    std::array<uint8_t, kLastAddress - kFirstAddress + 1> bytes_{};
    int32_t startValue_ = 0;
};

}  // namespace sim
