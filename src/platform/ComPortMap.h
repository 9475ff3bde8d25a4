#pragma once

#include <map>
#include <string>
#include <utility>

namespace platform {

// COM port numbers name serial devices. An explicit entry wins; otherwise
// COM1-16 are /dev/ttyUSB0-15, COM17-32 /dev/ttyACM0-15, COM33-64 /dev/ttyS0-31.
class ComPortMap {
public:
    ComPortMap() = default;
    explicit ComPortMap(std::map<int, std::string> explicitPaths)
        : explicit_(std::move(explicitPaths)) {}

    // Empty for port 0 and for numbers that map to no device.
    std::string devicePath(int port) const;
    // Makes `path` the explicit entry of `port`.
    void setDevicePath(int port, std::string path) { explicit_[port] = std::move(path); }

private:
    std::map<int, std::string> explicit_;
};

}  // namespace platform
