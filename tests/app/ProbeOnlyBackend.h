#pragma once

#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "support/NullSerialBackend.h"

// A machine whose serial devices can only be probed: the paths in `present`
// open, those in `denied` exist but refuse this account, all others are missing.
class ProbeOnlyBackend final : public NullSerialBackend {
public:
    std::set<std::string> present;
    std::set<std::string> denied;
    std::vector<std::string> probed;

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
};
