#pragma once

#include <cerrno>
#include <set>
#include <string>
#include <vector>

#include "support/NullSerialBackend.h"

// A machine whose serial devices can only be probed: the paths in `present`
// open, those in `denied` exist but refuse this account, those in `busy` are
// held by another program, all others are missing.
class ProbeOnlyBackend final : public NullSerialBackend {
public:
    std::set<std::string> present;
    std::set<std::string> denied;
    std::set<std::string> busy;
    std::vector<std::string> probed;

    bool probe(const std::string& devicePath) override {
        probed.push_back(devicePath);
        if (present.count(devicePath)) {
            error_ = {};
            return true;
        }
        if (denied.count(devicePath))
            error_ = {EACCES, "Permission denied"};
        else if (busy.count(devicePath))
            error_ = {EBUSY, "Device or resource busy"};
        else
            error_ = {ENOENT, "No such file"};
        return false;
    }
};
