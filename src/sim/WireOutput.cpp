#include "sim/WireOutput.h"

#include <algorithm>

namespace sim {

namespace {
constexpr int64_t kUsPerSecond = 1000000;

int64_t ceilMs(int64_t us) {
    return (us + 999) / 1000;
}
}  // namespace

int64_t WireOutput::afterBitsUs(int64_t bits) const {
    if (!paced())
        return baseUs_;
    return baseUs_ + (bits * kUsPerSecond + baudRate_ - 1) / baudRate_;
}

void WireOutput::restartAt(int64_t us) {
    baseUs_ = us;
    bitsSent_ = 0;
}

void WireOutput::setBaudRate(int baudRate) {
    restartAt(lineFreeUs());
    baudRate_ = baudRate;
}

void WireOutput::setPaced(bool paced) {
    restartAt(lineFreeUs());
    paced_ = paced;
}

int64_t WireOutput::send(std::string_view bytes, int64_t earliestMs) {
    if (earliestMs * 1000 > lineFreeUs())
        restartAt(earliestMs * 1000);
    const int64_t startUs = lineFreeUs();
    for (size_t i = 0; i < bytes.size(); ++i) {
        const int64_t endUs = afterBitsUs(bitsSent_ + int64_t(i + 1) * kBitsPerByte);
        queue_.push_back({ceilMs(endUs), uint8_t(bytes[i])});
    }
    if (paced())
        bitsSent_ += int64_t(bytes.size()) * kBitsPerByte;
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

void WireOutput::cancel(int64_t atMs) {
    queue_.clear();
    if (lineFreeUs() > atMs * 1000)
        restartAt(atMs * 1000);
}

}  // namespace sim
