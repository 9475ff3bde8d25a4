#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string_view>
#include <vector>

#include "sim/SensorTypes.h"

namespace sim {

// The sensor's transmit line: bytes leave one after another, each taking 10 bit
// times at the current baud rate, and a new reply waits until the line is free.
class WireOutput {
public:
    void setBaudRate(int baudRate) { baudRate_ = baudRate; }
    void setPaced(bool paced) { paced_ = paced; }

    // Queues `bytes` to start no earlier than `earliestMs`; returns when the
    // first byte starts.
    int64_t send(std::string_view bytes, int64_t earliestMs);
    // Bytes that have fully arrived by `untilMs`, in order.
    std::vector<TimedByte> take(int64_t untilMs);
    std::optional<int64_t> nextTime() const;

private:
    int64_t byteEndUs(int64_t startUs, size_t index) const;

    std::deque<TimedByte> queue_;
    int64_t lineFreeUs_ = 0;
    int baudRate_ = 4800;
    bool paced_ = true;
};

}  // namespace sim
