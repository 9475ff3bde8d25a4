#include "platform/PortMonitor.h"

#include <libudev.h>

namespace platform {

namespace {

DeviceProperties PropertiesOf(udev_device* device) {
    DeviceProperties properties;
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(device)) {
        properties[udev_list_entry_get_name(entry)] = udev_list_entry_get_value(entry);
    }
    return properties;
}

}  // namespace

std::optional<PortEvent> PortEventFrom(const std::string& action,
                                       const DeviceProperties& properties) {
    const auto node = properties.find("DEVNAME");
    if (node == properties.end() || node->second.empty())
        return std::nullopt;
    PortEvent event;
    if (action == "add")
        event.kind = PortEvent::Kind::Added;
    else if (action == "remove")
        event.kind = PortEvent::Kind::Removed;
    else
        return std::nullopt;
    const PortDescription description = DescribeProperties(node->second, properties);
    event.devicePath = description.devicePath;
    event.byIdPath = description.byIdPath;
    return event;
}

PortMonitor::PortMonitor() : context_(udev_new()) {
    if (context_ == nullptr)
        return;
    monitor_ = udev_monitor_new_from_netlink(context_, "udev");
    if (monitor_ == nullptr)
        return;
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor_, "tty", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        udev_monitor_unref(monitor_);
        monitor_ = nullptr;
    }
}

PortMonitor::~PortMonitor() {
    if (monitor_ != nullptr)
        udev_monitor_unref(monitor_);
    if (context_ != nullptr)
        udev_unref(context_);
}

int PortMonitor::fd() const {
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

std::optional<PortEvent> PortMonitor::receive() {
    if (monitor_ == nullptr)
        return std::nullopt;
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (device == nullptr)
        return std::nullopt;
    const char* action = udev_device_get_action(device);
    auto event = PortEventFrom(action != nullptr ? action : "", PropertiesOf(device));
    udev_device_unref(device);
    return event;
}

}  // namespace platform
