#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/ComPortMap.h"

namespace platform {

// One COM port and the device it leads to.
struct PortEntry {
    int number = 0;
    std::string devicePath;  // empty for the demo port
};

inline constexpr int HighestListedPort = 100;

// COM1 to COM100 in number order, those that lead to a device and are usable.
std::vector<PortEntry> ListPorts(const ComPortMap& ports,
                                 const std::function<bool(const PortEntry&)>& usable);

bool DeviceExists(const std::string& path);

}  // namespace platform
