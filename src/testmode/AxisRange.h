#pragma once

#include <cstdint>

namespace testmode {

// The chart's value axis in position units. It starts unset, takes a range
// 30000 wide around the first sample above -100, and only ever widens by a
// margin of 100 beyond a sample that comes near or past an end.
class AxisRange {
public:
    // The minimum's value while the range is unset.
    static constexpr int32_t UnsetMinimum = 33333333;

    // True when the axis range was set again.
    bool Follow(int32_t position);

    int32_t Minimum() const { return minimum_; }
    int32_t Maximum() const { return maximum_; }

private:
    int32_t minimum_ = UnsetMinimum;
    int32_t maximum_ = 0;
};

}  // namespace testmode
