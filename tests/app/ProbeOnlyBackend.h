#pragma once

#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "platform/SerialBackend.h"

// A machine whose serial devices can only be probed: the paths in `present`
// open, those in `denied` exist but refuse this account, all others are missing.
class ProbeOnlyBackend final : public platform::SerialBackend {
public:
    std::set<std::string> present;
    std::set<std::string> denied;
    std::vector<std::string> probed;

    bool open(const std::string&, int, int) override { return false; }
    bool probe(const std::string& devicePath) override {
        probed.push_back(devicePath);
        if (present.count(devicePath)) {
            error_ = {};
            return true;
        }
        error_ = denied.count(devicePath) ? platform::SystemError{EACCES, "Permission denied"}
                                          : platform::SystemError{ENOENT, "No such file"};
        return false;
    }
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

private:
    platform::SystemError error_;
};
