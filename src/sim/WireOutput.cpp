#include "sim/WireOutput.h"

#include <algorithm>

namespace sim {

namespace {
constexpr int64_t kBitsPerByte = 10;  // start bit, 8 data bits, stop bit

int64_t ceilMs(int64_t us) {
    return (us + 999) / 1000;
}
}  // namespace

int64_t WireOutput::byteEndUs(int64_t startUs, size_t index) const {
    if (!paced_ || baudRate_ <= 0)
        return startUs;
    const int64_t bits = int64_t(index + 1) * kBitsPerByte * 1000000;
    return startUs + (bits + baudRate_ - 1) / baudRate_;
}

int64_t WireOutput::send(std::string_view bytes, int64_t earliestMs) {
    const int64_t startUs = std::max(earliestMs * 1000, lineFreeUs_);
    for (size_t i = 0; i < bytes.size(); ++i)
        queue_.push_back({ceilMs(byteEndUs(startUs, i)), uint8_t(bytes[i])});
    if (!bytes.empty())
        lineFreeUs_ = byteEndUs(startUs, bytes.size() - 1);
    return ceilMs(startUs);
}

std::vector<TimedByte> WireOutput::take(int64_t untilMs) {
    std::vector<TimedByte> taken;
    while (!queue_.empty() && queue_.front().timeMs <= untilMs) {
        taken.push_back(queue_.front());
        queue_.pop_front();
    }
    return taken;
}

std::optional<int64_t> WireOutput::nextTime() const {
    if (queue_.empty())
        return std::nullopt;
    return queue_.front().timeMs;
}

}  // namespace sim
