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
    void setBaudRate(int baudRate);
    void setPaced(bool paced);

    // Queues `bytes` to start no earlier than `earliestMs`; returns when the
    // first byte starts.
    int64_t send(std::string_view bytes, int64_t earliestMs);
    // Bytes that have fully arrived by `untilMs`, in order.
    std::vector<TimedByte> take(int64_t untilMs);
    std::optional<int64_t> nextTime() const;
    // Drops every byte not yet taken; the line is free again at `atMs`.
    void cancel(int64_t atMs);

private:
    bool paced() const { return paced_ && baudRate_ > 0; }
    // When `bits` bit times after the base have passed, rounded up to the microsecond.
    int64_t afterBitsUs(int64_t bits) const;
    int64_t lineFreeUs() const { return afterBitsUs(bitsSent_); }
    void restartAt(int64_t us);

    std::deque<TimedByte> queue_;
    // The line is free `bitsSent_` bit times after `baseUs_`: counting bits keeps
    // a long run of bytes back to back exact.
    int64_t baseUs_ = 0;
    int64_t bitsSent_ = 0;
    int baudRate_ = 4800;
    bool paced_ = true;
};

}  // namespace sim
