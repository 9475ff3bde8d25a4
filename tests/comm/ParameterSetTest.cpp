#include <gtest/gtest.h>

#include "comm/SimLink.h"

using R = TSSICom::RegisterIndex;
using Lines = std::vector<std::string>;

namespace {
sim::SensorConfig kbf() {
    return *sim::presetConfig("kbf");
}

std::vector<int> stillModified(const TSSICom& com) {
    std::vector<int> left;
    for (int r = 0; r < TSSICom::RegisterCount; ++r) {
        if (com.Parameters().ParameterStruct[r].Modified) {
            left.push_back(r);
        }
    }
    return left;
}
}  // namespace

TEST(ReadParameterSet, ReadsInOrder) {
    SimLink link(kbf());
    ASSERT_TRUE(link.com.ReadParameterSet());
    const Lines expected = {
        "VA",         "AA",         "DA",         "DA",       "DA",       "DA", "DA", "DA", "DA",
        "FA",         "MA",         "MA",         "NA",       "PA",       "SA", "UA", "ZA", "ZA",
        "RA",         "OA",         "JA",         "KA",       "KA",       "KA", "LA", "LA", "RA",
        "YA30000000", "YA00000000", "YA80000000", "XA01F600", "XA00C800", "DA"};
    EXPECT_EQ(link.commands(), expected);
    EXPECT_EQ(link.com[R::Model].Value, 'K' * 256 + 'B');
    EXPECT_EQ(link.com[R::BitWidth].Value, 26);
    EXPECT_EQ(link.com[R::FactoryNumber].Reply, "20815001");
}

TEST(ReadParameterSet, FailureRestoresTheWholeTable) {
    SimLink link(kbf());
    link.com.LoadDemoSet();
    link.com[R::Direction].Modified = 1;
    link.com[R::Scale].Answered = 1;
    const auto table = link.com.Parameters().ParameterStruct;
    const auto image = link.com.Parameters().LinTableImage;
    link.sensor.faults().silentCommands = {"SA"};
    EXPECT_FALSE(link.com.ReadParameterSet());
    EXPECT_TRUE(link.com.Parameters().ParameterStruct == table);
    EXPECT_TRUE(link.com.Parameters().LinTableImage == image);

    link.sensor.faults().silentCommands = {"VA"};
    link.sensor.clearTraffic();
    EXPECT_FALSE(link.com.ReadParameterSet());
    EXPECT_EQ(link.commands(), Lines(5, "VA"));
    auto expected = table;
    expected[R::FirmwareVersion].Answered = 0;
    EXPECT_TRUE(link.com.Parameters().ParameterStruct == expected);
}

TEST(ReadParameterSet, ResolutionZeroBecomesOne) {
    sim::SensorConfig config;
    config.words = {{"AA", 0}};
    SimLink link(config);
    ASSERT_TRUE(link.com.ReadParameterSet());
    EXPECT_EQ(link.com[R::Resolution].Value, 1);
    EXPECT_EQ(link.sensor.word("AA"), 1u);
    const Lines commands = link.commands();
    EXPECT_EQ(Lines(commands.begin() + 2, commands.begin() + 5), (Lines{"AA", "AN00000001", "AA"}));

    SimLink demo({}, 0);
    ASSERT_TRUE(demo.com.ReadParameterSet());
    EXPECT_EQ(demo.com[R::Resolution].Value, 1);
    EXPECT_TRUE(demo.sensor.traffic().empty());
}

TEST(ReadParameterSet, StrictNeedsEveryRegister) {
    SimLink link(kbf());
    EXPECT_TRUE(link.com.ReadParameterSetStrict());
    link.sensor.faults().silentCommands = {"LA"};
    EXPECT_TRUE(link.com.ReadParameterSet()) << "the model read is not counted";
    EXPECT_EQ(link.com[R::Model].Answered, 0);
    const auto table = link.com.Parameters().ParameterStruct;
    link.sensor.clearTraffic();
    EXPECT_FALSE(link.com.ReadParameterSetStrict());
    EXPECT_TRUE(link.com.Parameters().ParameterStruct == table);
    const Lines commands = link.commands();
    EXPECT_EQ(std::count(commands.begin(), commands.end(), "XA01F600"), 0);
    EXPECT_EQ(commands.back(), "XA00C800");
}

TEST(ReadParameterSet, BlankingFrom3960610) {
    for (const int version : {3960609, 3960610}) {
        SimLink link(firmware(version));
        ASSERT_TRUE(link.com.ReadParameterSet());
        const Lines commands = link.commands();
        EXPECT_EQ(std::count(commands.begin(), commands.end(), "WA"), version == 3960610);
    }
    SimLink link(firmware(3960610));
    link.sensor.faults().silentCommands = {"WA"};
    EXPECT_FALSE(link.com.ReadParameterSet());
}

TEST(WriteParameterSet, WritesInOrderAndFlagsTwiceOn39606) {
    SimLink link(kbf());
    ASSERT_TRUE(link.com.ReadParameterSet());
    link.sensor.clearTraffic();
    ASSERT_TRUE(link.com.WriteParameterSet());
    Lines writes;
    for (const std::string& command : link.commands()) {
        if (command[1] == 'N') {
            writes.push_back(command.substr(0, 2));
        }
    }
    const Lines expected = {"AN", "DN", "DN", "DN", "DN", "DN", "DN", "JN", "KN", "KN",
                            "KN", "LN", "LN", "MN", "MN", "NN", "ON", "PN", "SN", "UN",
                            "ZN", "ZN", "RN", "DN", "RN", "DN", "YN", "RN"};
    EXPECT_EQ(writes, expected);
    EXPECT_EQ(link.sensor.word("DA"), 0x02011Au) << "the set went back unchanged";

    link.sensor.faults().refusedCommands = {"MN"};
    link.com[R::SyncTiming].Value += 1;
    EXPECT_FALSE(link.com.WriteParameterSet()) << "one refused value fails the set";
    EXPECT_EQ(link.commands().back().substr(0, 2), "RA") << "the rest is still written";
}

int sent(const Lines& commands, const std::string& prefix) {
    return int(std::count_if(commands.begin(), commands.end(),
                             [&](const std::string& c) { return c.rfind(prefix, 0) == 0; }));
}

// Older firmware has a 24-bit RA word that the 32-bit flags read cannot take,
// and only 3960610 on reads blanking: what the sensor did not answer is not written.
TEST(WriteParameterSet, LeavesOutWhatTheSensorDidNotAnswer) {
    struct Case {
        const char* preset;
        bool flagsAnswered;
        int raWrites;
        int blankingWrites;
    };
    const Case cases[] = {
        {"qh", false, 1, 0}, {"old", false, 1, 0}, {"offset-raw", false, 1, 0},
        {"kbf", true, 3, 0}, {"b", true, 3, 1},
    };
    for (const Case& c : cases) {
        SimLink link(*sim::presetConfig(c.preset));
        ASSERT_TRUE(link.com.ReadParameterSet()) << c.preset;
        EXPECT_EQ(link.com[R::LinearizationFlags].Answered, c.flagsAnswered) << c.preset;
        link.sensor.clearTraffic();
        EXPECT_TRUE(link.com.WriteParameterSet()) << c.preset;
        EXPECT_EQ(sent(link.commands(), "RN"), c.raWrites) << c.preset;
        EXPECT_EQ(sent(link.commands(), "WN"), c.blankingWrites) << c.preset;

        link.sensor.faults().refusedCommands = {"ON"};
        link.com[R::MonoflopTime].Value += 1;
        EXPECT_FALSE(link.com.WriteParameterSet()) << "an answered register still counts";
    }
}

TEST(ReadParameterSet, ASensorWithoutBlankingDoesNotKeepThePreviousSensorsAnswer) {
    SimLink before(*sim::presetConfig("b"));
    ASSERT_TRUE(before.com.ReadParameterSet());
    ASSERT_EQ(before.com[R::Blanking].Answered, 1);
    SimLink after(firmware(3960609));
    after.com.Parameters() = before.com.Parameters();
    ASSERT_TRUE(after.com.ReadParameterSet());
    EXPECT_EQ(after.com[R::Blanking].Answered, 0);
}

TEST(Eeprom, CommitRuleAndClearedFlags) {
    for (const auto& [version, command] : {std::pair{3960100, "EN"}, {3960101, "CN"}}) {
        SimLink link;
        link.com[R::FirmwareVersion].Value = version;
        EXPECT_TRUE(link.com.Commit());
        EXPECT_EQ(link.commands(), Lines{command});
        EXPECT_EQ(link.sensor.commitCount(command), 1);
    }
    struct Case {
        bool (TSSICom::*operation)();
        const char* command;
        int pauseMs;
        std::vector<int> left;
    };
    const Case cases[] = {
        {&TSSICom::CommitToEeprom, "CN", 1500, {16, 30, 31, 32, 33, 34}},
        {&TSSICom::WriteFactorySettings, "EN", 1500, {15, 16, 26, 30, 31, 32, 33, 34, 35}},
        {&TSSICom::ReadFactorySettings, "QN", 1000, {15, 16, 26, 30, 31, 32, 33, 34, 35}},
    };
    for (const Case& c : cases) {
        SimLink link;
        for (auto& reg : link.com.Parameters().ParameterStruct) {
            reg.Modified = 1;
        }
        EXPECT_TRUE((link.com.*c.operation)());
        EXPECT_EQ(link.commands(), Lines{c.command});
        EXPECT_EQ(link.elapsedSince(link.lastCommandTime()), 10 + 15 + c.pauseMs);
        EXPECT_EQ(stillModified(link.com), c.left) << c.command;
    }
    SimLink gone;
    gone.sensor.faults().silent = true;
    EXPECT_TRUE(gone.com.CommitToEeprom());
}

TEST(Eeprom, CommandThatCannotBeSentFailsAndKeepsTheFlags) {
    for (auto operation : {&TSSICom::CommitToEeprom, &TSSICom::WriteFactorySettings,
                           &TSSICom::ReadFactorySettings, &TSSICom::Commit}) {
        SimLink link;
        link.com[R::BitWidth].Value = 24;
        ASSERT_TRUE(link.com.WriteRegister(R::BitWidth));
        link.com[R::BitWidth].Modified = 1;
        const sim::RegisterBank eeprom = link.sensor.bank(sim::SimulatedSensor::Bank::Eeprom);
        link.backend.unplugBetween(link.clock.now(), link.clock.now() + 2000);
        const int64_t start = link.clock.now();
        EXPECT_FALSE((link.com.*operation)());
        EXPECT_EQ(link.com[R::BitWidth].Modified, 1);
        EXPECT_EQ(link.elapsedSince(start), 0) << "no pause for a command never sent";
        EXPECT_EQ(link.sensor.bank(sim::SimulatedSensor::Bank::Eeprom), eeprom);
    }
}

TEST(Robustness, BrokenRepliesAreNeverDecodedOrWrittenBack) {
    const char* words[] = {"AA", "DA", "KA", "MA", "NA", "SA", "ZA", "PA", "UA", "RA"};
    for (int n = 2; n <= 4; ++n) {
        SimLink link(kbf());
        std::map<std::string, uint32_t> before;
        for (const char* word : words) {
            before[word] = link.sensor.word(word);
        }
        sim::Faults& faults = link.sensor.faults();
        faults.corruptEveryNthReply = n;
        faults.zeroByteEveryNthReply = 3 * n + 1;
        faults.missingCrEveryNthReply = 5 * n + 2;
        faults.dropEveryNthReply = 7 * n + 3;
        ASSERT_TRUE(link.com.ReadParameterSet()) << n;
        EXPECT_EQ(link.com[R::BitWidth].Value, 26);
        EXPECT_EQ(link.com[R::Resolution].Value, 2);
        EXPECT_EQ(link.com[R::Scale].Value, int32_t(before["SA"]));
        EXPECT_TRUE(link.com.WriteParameterSet()) << n;
        for (const char* word : words) {
            EXPECT_EQ(link.sensor.word(word), before[word]) << word << " with n = " << n;
        }
    }
}
