#pragma once

#include <algorithm>
#include <cstring>

#include "platform/Clock.h"
#include "platform/SerialBackend.h"

// A serial port whose received bytes are a fixed input, handed out in order to
// the reads; every write succeeds. When the input runs out a read waits its
// time-out on the virtual clock and fails, like a silent sensor.
class ReplayBackend final : public platform::SerialBackend {
public:
    ReplayBackend(platform::VirtualClock& clock, const uint8_t* data, size_t size)
        : clock_(clock), data_(data), size_(size) {}

    bool open(const std::string&, int, int timeoutMs) override {
        timeoutMs_ = timeoutMs;
        open_ = true;
        return true;
    }
    bool probe(const std::string&) override { return true; }
    void close() override { open_ = false; }
    bool isOpen() const override { return open_; }
    bool setRts(bool) override { return open_; }
    // The input stands for bytes still to come, so there is nothing to discard.
    bool purge() override { return open_; }
    bool read(uint8_t* buffer, size_t n, size_t& received) override {
        received = std::min(n, size_ - position_);
        std::memcpy(buffer, data_ + position_, received);
        position_ += received;
        if (received < n) {
            clock_.sleep(timeoutMs_);
        }
        return received == n;
    }
    bool write(const uint8_t*, size_t) override { return open_; }
    const platform::SystemError& lastError() const override { return error_; }

private:
    platform::VirtualClock& clock_;
    const uint8_t* data_;
    size_t size_;
    size_t position_ = 0;
    int timeoutMs_ = 0;
    bool open_ = false;
    platform::SystemError error_;
};
