#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/ComPortMap.h"

namespace cli {

// The port number to open and the port map that leads it to its device.
struct PortChoice {
    uint8_t number = 0;
    std::map<int, std::string> explicitPaths;
    std::string label;  // how messages name the port
};

// A device path given on the command line is reached through this number.
constexpr uint8_t kPathPortNumber = 255;

// "COM3" (any case), "3" or a device path; nothing for COM0 (the demo port),
// numbers above 255 and other text.
std::optional<PortChoice> resolvePort(const std::string& text);

struct PortEntry {
    int number = 0;
    std::string devicePath;
};

// COM1 to COM100 whose mapped device exists.
std::vector<PortEntry> existingPorts(const platform::ComPortMap& ports,
                                     const std::function<bool(const std::string&)>& exists);

bool deviceExists(const std::string& path);

}  // namespace cli
