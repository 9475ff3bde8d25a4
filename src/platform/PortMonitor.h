#pragma once

#include <optional>
#include <string>

#include "platform/PortDescription.h"

struct udev;
struct udev_monitor;

namespace platform {

// A serial device that appeared or went away.
struct PortEvent {
    enum class Kind { Added, Removed };
    Kind kind = Kind::Added;
    std::string devicePath;  // /dev/ttyUSB0
    std::string byIdPath;    // empty when the device has no stable name
    bool operator==(const PortEvent&) const = default;
};

// The event udev's ACTION and properties describe; nothing for actions other
// than add and remove and for devices without a node.
std::optional<PortEvent> PortEventFrom(const std::string& action,
                                       const DeviceProperties& properties);

// udev's announcements of tty devices, read from a socket that the caller
// watches: when fd() is readable, receive() takes one announcement.
class PortMonitor {
public:
    PortMonitor();
    ~PortMonitor();
    PortMonitor(const PortMonitor&) = delete;
    PortMonitor& operator=(const PortMonitor&) = delete;

    // False when udev could not be asked; the monitor then never reports.
    bool valid() const { return monitor_ != nullptr; }
    int fd() const;
    // Nothing when no announcement was waiting or it was of no interest.
    std::optional<PortEvent> receive();

private:
    ::udev* context_ = nullptr;
    ::udev_monitor* monitor_ = nullptr;
};

}  // namespace platform
