#pragma once

#include "platform/SerialBackend.h"

// A machine without the device: every request fails.
class NullSerialBackend : public platform::SerialBackend {
public:
    bool open(const std::string&, int, int) override { return false; }
    bool probe(const std::string&) override { return false; }
    void close() override {}
    bool isOpen() const override { return false; }
    bool setRts(bool) override { return false; }
    bool purge() override { return false; }
    bool read(uint8_t*, size_t, size_t& received) override {
        received = 0;
        return false;
    }
    bool write(const uint8_t*, size_t) override { return false; }
    const platform::SystemError& lastError() const override { return error_; }

protected:
    platform::SystemError error_;
};
