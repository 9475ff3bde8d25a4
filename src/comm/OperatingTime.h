#pragma once

#include <cstdint>

namespace rules {

// The operating-time counter (3-minute steps) split into calendar parts: a year
// of 365 days, a month of 30 days. The last five days of a year read as
// 0 months of the next year rather than as a thirteenth month.
struct OperatingTime {
    uint32_t years = 0;
    uint32_t months = 0;
    uint32_t days = 0;
    uint32_t hours = 0;
    uint32_t minutes = 0;

    bool operator==(const OperatingTime&) const = default;
};

OperatingTime SplitOperatingTime(uint32_t counter);

}  // namespace rules
