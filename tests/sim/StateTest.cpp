#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>

#include "SimHarness.h"
#include "platform/AtomicFile.h"
#include "sim/StateFile.h"

using simtest::Link;
using Bank = sim::SimulatedSensor::Bank;

namespace {

TEST(StateTest, PersistentStateSurvivesARoundTrip) {
    Link link(*sim::presetConfig("kbf"));
    link.send("DNC3A518");
    link.send("EN");
    link.send("LNKB123C");
    link.send("FNAB000042");
    link.send("YN80000000");
    link.send("CN");
    link.send("XN012C00F6");
    link.send("XN33FFFC18");
    link.send("AN00000009");  // not committed: not part of the state
    link.clock.advanceTo(30 * 60 * 1000);
    const std::string state = link.sensor.saveState();

    sim::SimulatedSensor restored(*sim::presetConfig("kbf"));
    ASSERT_TRUE(restored.loadState(state));
    EXPECT_EQ(restored.bank(Bank::Eeprom), link.sensor.bank(Bank::Eeprom));
    EXPECT_EQ(restored.bank(Bank::Factory), link.sensor.bank(Bank::Factory));
    EXPECT_EQ(restored.bank(Bank::Working), link.sensor.bank(Bank::Eeprom));
    EXPECT_EQ(restored.laWord(), "KB123C");
    EXPECT_EQ(restored.factoryNumber(), "AB000042");
    EXPECT_EQ(restored.word("AA"), 2u);
    EXPECT_EQ(restored.linTableByte(300), 0xF6);
    EXPECT_EQ(restored.linStartValue(), -1000);
    EXPECT_EQ(restored.word("TA"), link.sensor.word("TA"));
    EXPECT_EQ(restored.saveState(), state);
}

TEST(StateTest, MalformedStateIsRefusedWithoutChanges) {
    sim::SimulatedSensor sensor;
    const std::string good = sensor.saveState();
    const std::string before = good;
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = good;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    for (const std::string& bad : {
             std::string("something else\n"),
             replaced("eeprom DA 00020119", "eeprom DA 0002011G"),
             replaced("eeprom DA 00020119", "eeprom QQ 00020119"),
             replaced("eeprom LA QH0500", "eeprom LA QH05X0"),
             replaced("lin-table ", "lin-table 00"),
             replaced("operating-time", "operating-time 1"),
             good + "eeprom DA 00020118 extra\n",
         }) {
        EXPECT_FALSE(sensor.loadState(bad)) << bad;
        EXPECT_EQ(sensor.saveState(), before);
    }
    EXPECT_TRUE(sensor.loadState(replaced("eeprom DA 00020119", "eeprom DA 00C3A518")));
    EXPECT_EQ(sensor.word("DA"), 0xC3A518u);
}

TEST(StateTest, AStateFileReadsBackAsWrittenAndAMissingOneAsNothing) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("varnel-sim-state-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    const std::string path = (folder / "sensor.state").string();

    ASSERT_TRUE(platform::WriteFileAtomically(path, "first\n").ok);
    EXPECT_EQ(sim::readFile(path), "first\n");
    EXPECT_FALSE(sim::readFile((folder / "missing").string()));
    std::filesystem::remove_all(folder);
}

}  // namespace
