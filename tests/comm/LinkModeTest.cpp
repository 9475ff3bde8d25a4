#include "comm/LinkMode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comm/SimLink.h"

namespace {

using sim::TrafficEntry;

// The RTS changes and speed changes since `start`, each with its time after it.
std::vector<std::string> LineChanges(const SimLink& link, int64_t start) {
    std::vector<std::string> changes;
    for (const TrafficEntry& e : link.sensor.traffic()) {
        if (e.kind == TrafficEntry::Kind::Rts)
            changes.push_back("RTS " + e.text + " @" + std::to_string(e.timeMs - start));
        if (e.kind == TrafficEntry::Kind::Baud)
            changes.push_back("BAUD " + e.text + " @" + std::to_string(e.timeMs - start));
    }
    return changes;
}

struct ModeCase {
    const char* name;
    comm::LinkProfile profile;
    int baud;
    int timeoutMs;
    std::vector<std::string> entering;
    int64_t enterMs;  // the purge pauses 10 ms
    std::vector<std::string> leaving;
};

TEST(LinkMode, EachModeSwitchesWithItsOwnPulsesPausesAndSpeed) {
    const ModeCase cases[] = {
        {"origin",
         comm::OriginStreamLink,
         38400,
         2000,
         {"RTS 1 @0", "RTS 0 @200", "BAUD 38400 @200"},
         200 + 500 + 10,
         {"RTS 1 @0", "RTS 0 @100", "BAUD 4800 @100"}},
        {"test 3960105",
         comm::TestStreamLink(3960105),
         38400,
         1000,
         {"RTS 1 @0", "RTS 0 @100", "BAUD 38400 @100"},
         100 + 10,
         {"RTS 1 @0", "RTS 0 @300", "BAUD 4800 @300"}},
        {"test 3960403",
         comm::TestStreamLink(3960403),
         115200,
         1000,
         {"RTS 1 @0", "RTS 0 @100", "BAUD 115200 @100"},
         100 + 10,
         {"RTS 1 @0", "RTS 0 @300", "BAUD 4800 @300"}},
        {"bootloader",
         comm::BootloaderLink,
         38400,
         4000,
         {"BAUD 38400 @0", "RTS 1 @0", "RTS 0 @500"},
         500 + 10,
         {"BAUD 4800 @0"}},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.name);
        SimLink link;
        comm::LinkMode mode(link.com, c.profile);
        link.sensor.clearTraffic();
        const int64_t entered = link.clock.now();
        ASSERT_TRUE(mode.Enter());
        EXPECT_EQ(LineChanges(link, entered), c.entering);
        EXPECT_EQ(link.elapsedSince(entered), c.enterMs);
        EXPECT_EQ(link.backend.baudRate(), c.baud);
        EXPECT_EQ(link.backend.timeoutMs(), c.timeoutMs);

        link.sensor.clearTraffic();
        const int64_t left = link.clock.now();
        ASSERT_TRUE(mode.Leave());
        EXPECT_EQ(LineChanges(link, left), c.leaving);
        EXPECT_EQ(link.backend.baudRate(), 4800);
        EXPECT_EQ(link.backend.timeoutMs(), 50);
        EXPECT_EQ(link.com.PortNumber(), 1);
        EXPECT_TRUE(link.com.ReadRegister(TSSICom::FactoryNumber)) << "the sensor answers again";
    }
}

// Nothing follows on a port that did not reopen: no pulse, no settling pause.
TEST(LinkMode, APortThatDoesNotReopenEndsTheSwitch) {
    for (const comm::LinkProfile& profile : {comm::OriginStreamLink, comm::BootloaderLink}) {
        SimLink link;
        comm::LinkMode mode(link.com, profile);
        link.sensor.clearTraffic();
        link.backend.busy = true;
        const int64_t entered = link.clock.now();
        EXPECT_FALSE(mode.Enter());
        EXPECT_EQ(link.elapsedSince(entered), profile.pulseBeforeReopenMs);
        EXPECT_FALSE(link.com.IsOpen());
        link.backend.busy = false;
        EXPECT_TRUE(mode.Leave());
    }
}

}  // namespace
