#include "cli/PortChoice.h"

#include <gtest/gtest.h>

#include "platform/ComPortMap.h"

namespace {

using cli::resolvePort;

TEST(PortChoice, ComNameInAnyCase) {
    const auto a = resolvePort("COM3");
    ASSERT_TRUE(a.has_value());
    EXPECT_EQ(a->number, 3);
    EXPECT_EQ(a->label, "COM3");
    EXPECT_TRUE(a->explicitPaths.empty());
    EXPECT_EQ(resolvePort("com12")->number, 12);
}

TEST(PortChoice, BareNumber) {
    EXPECT_EQ(resolvePort("7")->number, 7);
    EXPECT_EQ(resolvePort("7")->label, "COM7");
    EXPECT_EQ(resolvePort("255")->number, 255);
}

TEST(PortChoice, DevicePathOrNetworkAddressGoesThroughAnExplicitEntry) {
    for (const char* text :
         {"/dev/pts/4", "rfc2217://192.0.2.10:4001", "socket://[::1]:4002", "rfc2217://pi"}) {
        const auto choice = resolvePort(text);
        ASSERT_TRUE(choice.has_value()) << text;
        EXPECT_EQ(choice->number, cli::kPathPortNumber);
        EXPECT_EQ(choice->label, text);
        const platform::ComPortMap ports(choice->explicitPaths);
        EXPECT_EQ(ports.devicePath(choice->number), text);
    }
}

TEST(PortChoice, DemoPortAndNonsenseAreRefused) {
    for (const char* text : {"0", "COM0", "256", "COM", "COMx", "", "3a", "-1", "1000"}) {
        EXPECT_FALSE(resolvePort(text).has_value()) << text;
    }
}

}  // namespace
