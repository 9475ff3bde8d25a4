#include "platform/PortDescription.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/PortMonitor.h"

namespace {

namespace fs = std::filesystem;
using platform::DeviceProperties;
using platform::PortDescription;

// What udev's database holds for an FTDI adapter on ttyUSB0.
DeviceProperties UdevDatabaseEntry() {
    return {
        {"DEVNAME", "/dev/ttyUSB0"},
        {"DEVLINKS",
         "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0 "
         "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"},
        {"ID_VENDOR_ID", "0403"},
        {"ID_MODEL_ID", "6001"},
        {"ID_VENDOR", "FTDI"},
        {"ID_VENDOR_ENC", "FTDI"},
        {"ID_VENDOR_FROM_DATABASE", "Future Technology Devices International, Ltd"},
        {"ID_MODEL", "FT232R_USB_UART"},
        {"ID_MODEL_ENC", "FT232R\\x20USB\\x20UART"},
        {"ID_MODEL_FROM_DATABASE", "FT232 Serial (UART) IC"},
        {"ID_SERIAL_SHORT", "A50285BI"},
        {"ID_USB_DRIVER", "ftdi_sio"},
        {"driver", "ftdi_sio"},
        {"usb:idVendor", "0403"},
    };
}

// What sysfs alone says of a CH340 adapter when udev's database is empty.
DeviceProperties SysfsOnly() {
    return {
        {"DEVNAME", "/dev/ttyUSB1"}, {"driver", "ch341-uart"},        {"usb:idVendor", "1a86"},
        {"usb:idProduct", "7523"},   {"usb:manufacturer", "QinHeng"}, {"usb:product", "USB Serial"},
        {"usb:serial", "5A3B"},
    };
}

struct DescriptionCase {
    const char* name;
    DeviceProperties properties;
    PortDescription expected;
};

TEST(PortDescription, MapsTheDeviceRecordsToTheDescription) {
    const std::vector<DescriptionCase> cases = {
        {"udev database",
         UdevDatabaseEntry(),
         {"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0", "0403",
          "6001", "FTDI", "FT232R USB UART", "A50285BI", "ftdi_sio"}},
        {"sysfs only",
         SysfsOnly(),
         {"/dev/ttyUSB1", "", "1a86", "7523", "QinHeng", "USB Serial", "5A3B", "ch341-uart"}},
        {"only the database's names",
         {{"ID_VENDOR_FROM_DATABASE", "Prolific Technology, Inc."},
          {"ID_MODEL_FROM_DATABASE", "PL2303 Serial Port"},
          {"DEVLINKS", "/dev/serial/by-path/x"}},
         {"/dev/ttyUSB0", "", "", "", "Prolific Technology, Inc.", "PL2303 Serial Port", "", ""}},
        {"a built-in port",
         {{"DEVNAME", "/dev/ttyS0"}, {"driver", "port"}},
         {"/dev/ttyUSB0", "", "", "", "", "", "", "port"}},
        {"nothing known", {}, {"/dev/ttyUSB0", "", "", "", "", "", "", ""}},
    };
    for (const auto& c : cases) {
        const std::string path = c.expected.devicePath;
        const PortDescription got = platform::DescribeProperties(path, c.properties);
        EXPECT_EQ(got, c.expected) << c.name << ": " << got.byIdPath << "|" << got.vendor << "|"
                                   << got.product << "|" << got.driver;
        EXPECT_EQ(got.known(), std::string(c.name) != "nothing known") << c.name;
    }
}

TEST(PortDescription, DecodesUdevEscapes) {
    EXPECT_EQ(platform::DecodeUdevText("FT232R\\x20USB\\x20UART"), "FT232R USB UART");
    EXPECT_EQ(platform::DecodeUdevText("M\\xc3\\xbcller"), "M\xc3\xbcller");
    EXPECT_EQ(platform::DecodeUdevText("a\\x2"), "a\\x2");
    EXPECT_EQ(platform::DecodeUdevText("a\\xzz\\"), "a\\xzz\\");
}

// The records of this machine's own devices, through the real libudev.
TEST(PortDescription, AsksUdevAboutTheDevicesOfThisMachine) {
    const DeviceProperties null = platform::QueryDeviceProperties("/dev/null");
    ASSERT_FALSE(null.empty());
    EXPECT_EQ(null.at("DEVNAME"), "/dev/null");
    EXPECT_EQ(null.at("SUBSYSTEM"), "mem");
    EXPECT_FALSE(platform::DescribePort("/dev/null").known());

    EXPECT_TRUE(platform::QueryDeviceProperties("/dev/varnel-no-such-device").empty());
    EXPECT_TRUE(platform::QueryDeviceProperties("/tmp").empty());
    EXPECT_EQ(platform::DescribePort("/tmp").devicePath, "/tmp");

    // Every tty with a driver in sysfs is described with that driver.
    int described = 0;
    for (const auto& tty : fs::directory_iterator("/sys/class/tty")) {
        const fs::path driver = tty.path() / "device" / "driver";
        const std::string node = "/dev/" + tty.path().filename().string();
        struct stat status {};
        if (!fs::exists(driver) || ::stat(node.c_str(), &status) != 0)
            continue;
        const PortDescription description = platform::DescribePort(node);
        EXPECT_EQ(description.devicePath, node);
        EXPECT_EQ(description.driver, fs::read_symlink(driver).filename().string()) << node;
        ++described;
    }
    if (described == 0)
        GTEST_SKIP() << "no tty with a driver on this machine";
}

TEST(PortEvents, TellWhichDeviceCameOrWent) {
    DeviceProperties properties = UdevDatabaseEntry();
    const std::string byId = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    EXPECT_EQ(platform::PortEventFrom("add", properties),
              (platform::PortEvent{platform::PortEvent::Kind::Added, "/dev/ttyUSB0", byId}));
    EXPECT_EQ(platform::PortEventFrom("remove", properties),
              (platform::PortEvent{platform::PortEvent::Kind::Removed, "/dev/ttyUSB0", byId}));
    EXPECT_FALSE(platform::PortEventFrom("change", properties));
    EXPECT_FALSE(platform::PortEventFrom("bind", properties));
    properties.erase("DEVNAME");
    EXPECT_FALSE(platform::PortEventFrom("add", properties));
    EXPECT_EQ(platform::PortEventFrom("add", {{"DEVNAME", "/dev/ttyACM0"}}),
              (platform::PortEvent{platform::PortEvent::Kind::Added, "/dev/ttyACM0", ""}));
}

TEST(PortEvents, TheMonitorGivesASocketToWatch) {
    platform::PortMonitor monitor;
    if (!monitor.valid())
        GTEST_SKIP() << "udev's netlink socket is not available here";
    EXPECT_GE(monitor.fd(), 0);
    // Nothing is waiting: the socket does not block.
    EXPECT_FALSE(monitor.receive());
}

}  // namespace
