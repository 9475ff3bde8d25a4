#include <gtest/gtest.h>

#include "SimHarness.h"

using simtest::Link;
using Bank = sim::SimulatedSensor::Bank;

namespace {

struct EepromTest : ::testing::Test {
    uint32_t da(Bank bank) const { return link.sensor.bank(bank).words.at("DA"); }
    std::string la(Bank bank) const { return link.sensor.bank(bank).la; }

    Link link;
    const uint32_t original = 0x020119;
};

TEST_F(EepromTest, WritesStayInWorkingMemoryUntilCommitted) {
    link.send("DNC3A518");
    EXPECT_EQ(da(Bank::Working), 0xC3A518u);
    EXPECT_EQ(da(Bank::Eeprom), original);
    link.sensor.powerCycle();
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
}

TEST_F(EepromTest, CnCommitsWorkingMemoryToTheEepromOnly) {
    link.send("DNC3A518");
    link.send("LNQH123F");
    link.send("YN20000000");
    link.send("CN");
    EXPECT_EQ(link.read(4), "06\r");  // only the switch answers
    EXPECT_EQ(da(Bank::Eeprom), 0xC3A518u);
    EXPECT_EQ(la(Bank::Eeprom), "QH123F");
    EXPECT_EQ(link.sensor.bank(Bank::Eeprom).words.at(sim::kSecondErrorRead), 0u);
    EXPECT_EQ(da(Bank::Factory), original);
    EXPECT_EQ(link.sensor.commitCount("CN"), 1);
    link.sensor.powerCycle();
    EXPECT_EQ(link.ask("DA", 7), "C3A518\r");
}

TEST_F(EepromTest, EnCommitsToEepromAndFactorySet) {
    link.send("DNC3A518");
    link.send("EN");
    EXPECT_EQ(link.read(1), "");
    EXPECT_EQ(da(Bank::Eeprom), 0xC3A518u);
    EXPECT_EQ(da(Bank::Factory), 0xC3A518u);
}

TEST_F(EepromTest, QnRestoresTheFactorySetEverywhere) {
    link.send("DNC3A518");
    link.send("CN");
    link.send("DN000018");
    link.send("QN");
    EXPECT_EQ(link.read(1), "");
    EXPECT_EQ(da(Bank::Working), original);
    EXPECT_EQ(da(Bank::Eeprom), original);
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
}

TEST_F(EepromTest, TableWritesNeedNoCommitAndSurviveFactoryRestore) {
    link.send("XN012C00F6");
    link.send("XN33FFFC18");
    link.send("QN");
    link.sensor.powerCycle();
    EXPECT_EQ(link.ask("XA012C00", 7), "012CF6\r");
    EXPECT_EQ(link.ask("XA01F600", 7), "FFFC18\r");
}

TEST_F(EepromTest, PersistentChangesAreAnnounced) {
    std::vector<std::string> announced;
    link.sensor.onPersistentChange([&] { announced.push_back(link.sensor.traffic().back().text); });
    for (const char* command : {"DNC3A518", "CN", "AN00000002", "EN", "QN", "XN012C00F6",
                                "XN33000010", "YN40000000", "XN0FFF0001"})
        link.send(command);
    EXPECT_EQ(announced, (std::vector<std::string>{"CN", "EN", "QN", "XN012C00F6", "XN33000010"}));
}

}  // namespace
