#include "platform/ComPortMap.h"

#include <gtest/gtest.h>

namespace {

using platform::ComPortMap;

TEST(ComPortMap, UsbAdaptersComeFirst) {
    ComPortMap ports;
    EXPECT_EQ(ports.devicePath(1), "/dev/ttyUSB0");
    EXPECT_EQ(ports.devicePath(16), "/dev/ttyUSB15");
}

TEST(ComPortMap, AcmDevicesFollow) {
    ComPortMap ports;
    EXPECT_EQ(ports.devicePath(17), "/dev/ttyACM0");
    EXPECT_EQ(ports.devicePath(32), "/dev/ttyACM15");
}

TEST(ComPortMap, OnBoardPortsFollowAcm) {
    ComPortMap ports;
    EXPECT_EQ(ports.devicePath(33), "/dev/ttyS0");
    EXPECT_EQ(ports.devicePath(64), "/dev/ttyS31");
}

TEST(ComPortMap, NumbersOutsideTheRangesMapToNothing) {
    ComPortMap ports;
    EXPECT_EQ(ports.devicePath(0), "");
    EXPECT_EQ(ports.devicePath(65), "");
    EXPECT_EQ(ports.devicePath(255), "");
}

TEST(ComPortMap, ExplicitEntryWins) {
    ComPortMap ports({{3, "/dev/serial/by-id/usb-adapter"}, {255, "/tmp/sim-link"}});
    EXPECT_EQ(ports.devicePath(3), "/dev/serial/by-id/usb-adapter");
    EXPECT_EQ(ports.devicePath(255), "/tmp/sim-link");
    EXPECT_EQ(ports.devicePath(4), "/dev/ttyUSB3");
}

}  // namespace
