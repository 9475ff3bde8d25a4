#include "testmode/AxisRange.h"

namespace testmode {

namespace {

constexpr int64_t Margin = 100;
constexpr int64_t FirstHalfWidth = 15000;

// Positions near the ends of 32 bits wrap as the sensor's arithmetic does.
int32_t Wrapped(int64_t value) {
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

}  // namespace

bool AxisRange::Follow(int32_t position) {
    bool set = false;
    if (position > int64_t(maximum_) - Margin) {
        maximum_ = Wrapped(int64_t(position) + Margin);
        if (minimum_ == UnsetMinimum) {
            minimum_ = Wrapped(int64_t(position) - FirstHalfWidth);
            maximum_ = Wrapped(int64_t(position) + FirstHalfWidth);
        }
        set = true;
    }
    if (position < int64_t(minimum_) + Margin) {
        minimum_ = Wrapped(int64_t(position) - Margin);
        set = true;
    }
    return set;
}

}  // namespace testmode
