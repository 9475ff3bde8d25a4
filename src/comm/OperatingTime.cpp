#include "comm/OperatingTime.h"

namespace rules {

OperatingTime SplitOperatingTime(uint32_t counter) {
    constexpr uint32_t MinutesPerYear = 525600;
    constexpr uint32_t MinutesPerMonth = 43200;
    constexpr uint32_t MinutesPerDay = 1440;
    const uint32_t minutes = counter * 3u;

    OperatingTime t;
    t.years = minutes / MinutesPerYear;
    uint32_t rest = minutes % MinutesPerYear;
    t.months = rest / MinutesPerMonth;
    rest %= MinutesPerMonth;
    t.days = rest / MinutesPerDay;
    rest %= MinutesPerDay;
    t.hours = rest / 60;
    t.minutes = rest % 60;
    if (t.months == 12) {
        t.months = 0;
        ++t.years;
    }
    return t;
}

}  // namespace rules
