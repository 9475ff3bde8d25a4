#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace testmode {

struct ChartPoint {
    int64_t x = 0;
    int32_t y = 0;
};

// The chart's rolling window: it starts with the point (0, 0); once the last
// X passes LastXBeforeRolling, each new point first drops the oldest one. A
// ring, so that adding a point never moves the others.
class SampleWindow {
public:
    static constexpr int64_t LastXBeforeRolling = 299;
    static constexpr size_t Capacity = LastXBeforeRolling + 2;

    SampleWindow() { Add(0); }

    void Add(int32_t y) {
        const int64_t x = count_ == 0 ? 0 : Last().x + 1;
        if (count_ > 0 && Last().x > LastXBeforeRolling) {
            first_ = (first_ + 1) % Capacity;
            --count_;
        }
        points_[(first_ + count_) % Capacity] = {x, y};
        ++count_;
    }

    size_t Size() const { return count_; }
    // The point at `index`, counted from the oldest.
    const ChartPoint& At(size_t index) const { return points_[(first_ + index) % Capacity]; }
    const ChartPoint& Last() const { return At(count_ - 1); }

private:
    std::array<ChartPoint, Capacity> points_{};
    size_t first_ = 0;
    size_t count_ = 0;
};

}  // namespace testmode
