#include "platform/PortDescription.h"

#include <libudev.h>
#include <sys/stat.h>

#include <initializer_list>
#include <memory>
#include <sstream>

namespace platform {

namespace {

struct UdevDeleter {
    void operator()(udev* context) const { udev_unref(context); }
    void operator()(udev_device* device) const { udev_device_unref(device); }
};
using UdevContext = std::unique_ptr<udev, UdevDeleter>;
using UdevDevice = std::unique_ptr<udev_device, UdevDeleter>;

// The first of the properties that holds a text; ENC properties are decoded.
std::string FirstOf(const DeviceProperties& properties, std::initializer_list<const char*> names) {
    for (const std::string name : names) {
        const auto it = properties.find(name);
        if (it == properties.end() || it->second.empty())
            continue;
        const bool encoded = name.size() > 4 && name.ends_with("_ENC");
        return encoded ? DecodeUdevText(it->second) : it->second;
    }
    return {};
}

std::string ByIdLink(const DeviceProperties& properties) {
    const auto links = properties.find("DEVLINKS");
    if (links == properties.end())
        return {};
    std::istringstream words(links->second);
    for (std::string link; words >> link;) {
        if (link.starts_with(ByIdFolder))
            return link;
    }
    return {};
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

void AddProperties(udev_device* device, DeviceProperties& properties) {
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_device_get_properties_list_entry(device)) {
        properties[udev_list_entry_get_name(entry)] = udev_list_entry_get_value(entry);
    }
}

void AddDriver(udev_device* device, DeviceProperties& properties) {
    for (udev_device* at = device; at != nullptr; at = udev_device_get_parent(at)) {
        if (const char* driver = udev_device_get_driver(at)) {
            properties[DriverProperty] = driver;
            return;
        }
    }
}

void AddUsbAttributes(udev_device* device, DeviceProperties& properties) {
    udev_device* usb = udev_device_get_parent_with_subsystem_devtype(device, "usb", "usb_device");
    if (usb == nullptr)
        return;
    for (const char* name : {"idVendor", "idProduct", "manufacturer", "product", "serial"}) {
        if (const char* value = udev_device_get_sysattr_value(usb, name))
            properties[std::string(UsbAttributePrefix) + name] = value;
    }
}

std::string Usb(const char* attribute) {
    return std::string(UsbAttributePrefix) + attribute;
}

}  // namespace

bool PortDescription::known() const {
    return !(byIdPath.empty() && vendorId.empty() && productId.empty() && vendor.empty() &&
             product.empty() && serial.empty() && driver.empty());
}

std::string DecodeUdevText(const std::string& encoded) {
    std::string text;
    for (size_t i = 0; i < encoded.size(); ++i) {
        if (encoded[i] == '\\' && i + 3 < encoded.size() && encoded[i + 1] == 'x') {
            const int high = HexDigit(encoded[i + 2]);
            const int low = HexDigit(encoded[i + 3]);
            if (high >= 0 && low >= 0) {
                text += static_cast<char>(high * 16 + low);
                i += 3;
                continue;
            }
        }
        text += encoded[i];
    }
    return text;
}

PortDescription DescribeProperties(const std::string& devicePath,
                                   const DeviceProperties& properties) {
    const std::string vendorId = Usb("idVendor"), productId = Usb("idProduct");
    const std::string manufacturer = Usb("manufacturer"), product = Usb("product");
    const std::string serial = Usb("serial");
    PortDescription description;
    description.devicePath = devicePath;
    description.byIdPath = ByIdLink(properties);
    description.vendorId = FirstOf(properties, {"ID_VENDOR_ID", vendorId.c_str()});
    description.productId = FirstOf(properties, {"ID_MODEL_ID", productId.c_str()});
    description.vendor = FirstOf(properties, {"ID_VENDOR_ENC", manufacturer.c_str(),
                                              "ID_VENDOR_FROM_DATABASE", "ID_VENDOR"});
    description.product = FirstOf(
        properties, {"ID_MODEL_ENC", product.c_str(), "ID_MODEL_FROM_DATABASE", "ID_MODEL"});
    description.serial = FirstOf(properties, {"ID_SERIAL_SHORT", serial.c_str()});
    description.driver = FirstOf(properties, {"ID_USB_DRIVER", DriverProperty});
    return description;
}

DeviceProperties QueryDeviceProperties(const std::string& devicePath) {
    struct stat status {};
    if (::stat(devicePath.c_str(), &status) != 0 || !S_ISCHR(status.st_mode))
        return {};
    const UdevContext context(udev_new());
    if (!context)
        return {};
    const UdevDevice device(udev_device_new_from_devnum(context.get(), 'c', status.st_rdev));
    if (!device)
        return {};
    DeviceProperties properties;
    AddProperties(device.get(), properties);
    AddDriver(device.get(), properties);
    AddUsbAttributes(device.get(), properties);
    return properties;
}

PortDescription DescribePort(const std::string& devicePath) {
    return DescribeProperties(devicePath, QueryDeviceProperties(devicePath));
}

}  // namespace platform
