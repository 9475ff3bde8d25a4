#pragma once

#include <map>
#include <string>

namespace platform {

// What the system's device records say about one serial device. Every text is
// empty where the records hold nothing.
struct PortDescription {
    std::string devicePath;  // as the port leads to it: /dev/ttyUSB0
    std::string byIdPath;    // the stable name: /dev/serial/by-id/usb-FTDI_..._A50285BI-if00-port0
    std::string vendorId;    // USB ids in four hex digits: 0403
    std::string productId;   // 6001
    std::string vendor;      // FTDI
    std::string product;     // FT232R USB UART
    std::string serial;      // the adapter's serial number: A50285BI
    std::string driver;      // ftdi_sio

    // Whether the records knew anything beyond the path.
    bool known() const;
    bool operator==(const PortDescription&) const = default;
};

// udev's properties of a tty device (DEVNAME, DEVLINKS, ID_VENDOR_ID, ID_MODEL_ENC, ...),
// together with what sysfs says where udev's database has no entry: the driver of the
// nearest parent device that has one ("driver") and the attributes of the USB device
// ("usb:idVendor", "usb:idProduct", "usb:manufacturer", "usb:product", "usb:serial").
using DeviceProperties = std::map<std::string, std::string>;

inline constexpr const char* DriverProperty = "driver";
inline constexpr const char* UsbAttributePrefix = "usb:";
inline constexpr const char* ByIdFolder = "/dev/serial/by-id/";

// The description the properties give; udev's own values win over sysfs's.
PortDescription DescribeProperties(const std::string& devicePath,
                                   const DeviceProperties& properties);

// udev's \xNN escapes (ID_MODEL_ENC) as the bytes they stand for.
std::string DecodeUdevText(const std::string& encoded);

// The properties udev and sysfs hold for the character device at `devicePath`
// (symbolic links followed); empty when it is none or udev does not know it.
DeviceProperties QueryDeviceProperties(const std::string& devicePath);

// QueryDeviceProperties, then DescribeProperties.
PortDescription DescribePort(const std::string& devicePath);

}  // namespace platform
