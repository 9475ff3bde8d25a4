#include "platform/PortListing.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(PortListing, ListsOnlyPortsWhoseDeviceExists) {
    const std::set<std::string> present = {"/dev/ttyUSB0", "/dev/ttyACM0", "/dev/ttyS0",
                                           "/tmp/sim-link", "/tmp/far-away"};
    const platform::ComPortMap ports({{5, "/tmp/sim-link"}, {150, "/tmp/far-away"}});
    const auto found = platform::ListPorts(ports, [&](const platform::PortEntry& entry) {
        return present.count(entry.devicePath) > 0;
    });
    ASSERT_EQ(found.size(), 4u);
    EXPECT_EQ(found[0].number, 1);
    EXPECT_EQ(found[0].devicePath, "/dev/ttyUSB0");
    EXPECT_EQ(found[1].number, 5);
    EXPECT_EQ(found[1].devicePath, "/tmp/sim-link");
    EXPECT_EQ(found[2].number, 17);
    EXPECT_EQ(found[3].number, 33);
}

TEST(PortListing, DeviceExistsAsksTheFileSystem) {
    EXPECT_TRUE(platform::DeviceExists("/dev/null"));
    EXPECT_FALSE(platform::DeviceExists("/dev/varnel-no-such-device"));
}

}  // namespace
