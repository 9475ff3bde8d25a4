#include <gtest/gtest.h>

#include "bench/soak/SensorTruth.h"
#include "bench/soak/SoakSession.h"
#include "comm/SimLink.h"

namespace {

using R = TSSICom::RegisterIndex;

std::vector<std::string> Names(const std::vector<soak::Mismatch>& mismatches) {
    std::vector<std::string> names;
    for (const soak::Mismatch& m : mismatches)
        names.push_back(m.what);
    return names;
}

// The soak is only as good as its view of the sensor: a set read right agrees
// with it on every preset, and a change behind the program's back shows.
TEST(SoakTruth, AgreesWithAFreshReadAndSeesChangesBehindTheProgramsBack) {
    for (const std::string& preset : sim::presetNames()) {
        SCOPED_TRACE(preset);
        SimLink link(*sim::presetConfig(preset));
        ASSERT_TRUE(link.com.ReadParameterSet());
        const bool hasTable = link.com[R::LinTableByte].Answered != 0;
        const std::set<int> believed = hasTable ? std::set<int>{200} : std::set<int>{};
        EXPECT_EQ(Names(soak::CompareBelief(link.com, link.sensor, believed)),
                  std::vector<std::string>{});

        link.sensor.setWord("DA", link.sensor.word("DA") ^ 0x410000);  // Filter, Direction
        link.sensor.setWord("NA", 0xFFFFFE);
        link.sensor.setLinTableByte(200, uint8_t(link.sensor.linTableByte(200) + 1));
        std::vector<std::string> expected{"Filter", "Direction", "Offset"};
        if (hasTable)
            expected.push_back("table entry 200");
        EXPECT_EQ(Names(soak::CompareBelief(link.com, link.sensor, believed)), expected);
    }
}

TEST(SoakSession, TheSeedReplaysTheSessionExactly) {
    for (const uint64_t seed : {7u, 8u, 9u}) {
        const soak::Figures first = soak::SoakSession(seed).Run();
        const soak::Figures again = soak::SoakSession(seed).Run();
        EXPECT_EQ(first.sensorMs, again.sensorMs) << seed;
        EXPECT_EQ(first.faults, again.faults) << seed;
        EXPECT_GT(first.sensorMs, 0);
        for (size_t i = 0; i < first.operations.size(); ++i)
            EXPECT_EQ(first.operations[i].succeeded, again.operations[i].succeeded) << seed;
    }
}

}  // namespace
