#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

namespace cli {

// The port number to open and the port map that leads it to its device.
struct PortChoice {
    uint8_t number = 0;
    std::map<int, std::string> explicitPaths;
    std::string label;  // how messages name the port
};

// A device path or network address given on the command line is reached through this number.
constexpr uint8_t kPathPortNumber = 255;

// "COM3" (any case), "3", a device path or a network address (rfc2217://HOST:PORT,
// socket://HOST:PORT, which hold a '/' as paths do); nothing for COM0 (the demo port),
// numbers above 255 and other text. A number comes without explicit paths:
// the caller adds the port map of the settings.
std::optional<PortChoice> resolvePort(const std::string& text);

bool isDevicePath(const std::string& text);

}  // namespace cli
