#include <gtest/gtest.h>

#include "SimHarness.h"

using simtest::Link;

namespace {

sim::SensorConfig preset(const char* name) {
    return *sim::presetConfig(name);
}

TEST(ProtocolTest, ReadsAnswerTheirFixedFormats) {
    Link link;
    EXPECT_EQ(link.ask("FA", 9), "10203040\r");
    EXPECT_EQ(link.ask("AA", 9), "00000005\r");
    EXPECT_EQ(link.ask("DA", 7), "020119\r");  // Gray code, one error, 25 bits
    EXPECT_EQ(link.ask("LA", 7), "QH0500\r");
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\r");  // 3960105
    EXPECT_EQ(link.ask("RA", 7), "000001\r");
    EXPECT_EQ(link.ask("UA", 7), "277695\r");
    EXPECT_EQ(link.ask("SA", 7), "0456C7\r");  // 277695 * 5.12 / 5
    EXPECT_EQ(link.ask("MA", 7), "03BC32\r");
    EXPECT_EQ(link.ask("ZA", 7), "068332\r");
    EXPECT_EQ(link.ask("PA", 9), "00000000\r");
    EXPECT_EQ(link.ask("WA", 9), "000000C8\r");
    EXPECT_EQ(link.ask("YA30000000", 3), "01\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "00000000\r");
    EXPECT_EQ(link.ask("YA80000000", 9), "01FFFFFF\r");
}

TEST(ProtocolTest, ReplyLengthsFollowTheFirmwareType) {
    Link kbf(preset("kbf"));
    EXPECT_EQ(kbf.ask("RA", 9), "00FA0101\r");  // sample time 250, linearization on, 1 ms
    EXPECT_EQ(kbf.ask("VA", 7), "3C6F1F\r");
    Link b(preset("b"));
    EXPECT_EQ(b.ask("LA", 7), "BP123C\r");
    Link old(preset("old"));
    EXPECT_EQ(old.ask("RA", 7), "000001\r");
    Link raw(preset("offset-raw"));
    EXPECT_EQ(raw.ask("NA", 7), "000064\r");
    EXPECT_EQ(raw.ask("LA", 7), "QP1000\r");
}

TEST(ProtocolTest, WritesAnswerNothingAndChangeWorkingMemory) {
    Link link;
    link.send("DNC3A518");
    EXPECT_EQ(link.read(1), "");
    link.send("ANX0000007");  // malformed: ignored
    link.send("AN00000007");
    link.send("NNFFFFFE");
    link.send("LNQH123C");
    link.send("FN12345678");
    link.send("UN280000");
    EXPECT_EQ(link.read(1), "");
    EXPECT_EQ(link.ask("DA", 7), "C3A518\r");
    EXPECT_EQ(link.ask("AA", 9), "00000007\r");
    EXPECT_EQ(link.ask("NA", 7), "FFFFFE\r");
    EXPECT_EQ(link.ask("LA", 7), "QH123C\r");
    EXPECT_EQ(link.ask("FA", 9), "12345678\r");
    EXPECT_EQ(link.ask("UA", 7), "280000\r");
    EXPECT_EQ(link.sensor.bank(sim::SimulatedSensor::Bank::Eeprom).words.at("DA"), 0x020119u);
}

TEST(ProtocolTest, MalformedWritesLeaveTheWord) {
    Link link;
    for (const char* bad : {"DN12345", "DN1234567", "DNc3a518", "DN12G456", "LNQH12X4", "LNq10500",
                            "FN1234567", "RN00000001", "AN0000005"})
        link.send(bad);
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
    EXPECT_EQ(link.ask("LA", 7), "QH0500\r");
    EXPECT_EQ(link.ask("FA", 9), "10203040\r");
    EXPECT_EQ(link.ask("RA", 7), "000001\r");
    EXPECT_EQ(link.ask("AA", 9), "00000005\r");
}

TEST(ProtocolTest, UnknownCommandsAreSilent) {
    Link link;
    for (const char* unknown : {"GA", "ZZ", "", "DA1", "VN3C6D2A", "YA12345678", "CN1", "F"}) {
        link.send(unknown);
        EXPECT_EQ(link.read(1), "") << unknown;
    }
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\r");
}

TEST(ProtocolTest, RangePointsAreTaughtAtTheMagnetAndDeleted) {
    Link link;
    link.sensor.setMagnet(123450);  // 24690 steps of 5 µm
    EXPECT_EQ(link.ask("YN00000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "00006072\r");
    link.sensor.setMagnet(400000);
    EXPECT_EQ(link.ask("YN80000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA80000000", 9), "00013880\r");

    link.sensor.setMagnet(300000, 2);
    EXPECT_EQ(link.ask("YN00000000", 3), "15\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "00006072\r");

    EXPECT_EQ(link.ask("YN40000000", 3), "06\r");
    EXPECT_EQ(link.ask("YNC0000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "00000000\r");
    EXPECT_EQ(link.ask("YA80000000", 9), "01FFFFFF\r");
}

TEST(ProtocolTest, RangePointsAreMicrometresUnderInternalLinearization) {
    Link link(preset("kbf"));  // RA 00FA0101: internal linearization on
    link.sensor.setMagnet(123450);
    EXPECT_EQ(link.ask("YN00000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "0001E23A\r");
    link.send("RN00FA0001");
    EXPECT_EQ(link.ask("YN00000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "0000F11D\r");  // 61725 steps of 2 µm
}

TEST(ProtocolTest, SecondErrorValueSwitchAnswersThreeBytes) {
    Link link;
    EXPECT_EQ(link.ask("YN20000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA30000000", 3), "00\r");
    EXPECT_EQ(link.ask("YN30000000", 3), "06\r");
    EXPECT_EQ(link.ask("YA30000000", 3), "01\r");
}

TEST(ProtocolTest, LinearizationTableEntriesAndStartValue) {
    Link link;
    const uint8_t first = link.sensor.linTableByte(200);
    char expected[8];
    std::snprintf(expected, sizeof expected, "00C8%02X\r", first);
    EXPECT_EQ(link.ask("XA00C800", 7), expected);
    EXPECT_EQ(link.ask("XA01F500", 7), "01F502\r");  // factor 2
    EXPECT_EQ(link.ask("XA01F600", 7), "00C738\r");  // QH start value 51 mm

    link.send("XN012C00F6");
    EXPECT_EQ(link.read(1), "");
    EXPECT_EQ(link.ask("XA012C00", 7), "012CF6\r");
    link.send("XN33FFFC18");
    EXPECT_EQ(link.ask("XA01F600", 7), "FFFC18\r");
    EXPECT_EQ(link.sensor.linStartValue(), -1000);

    link.send("XN012C0100");  // data beyond one byte
    link.send("XN01FC0001");  // address beyond the table
    EXPECT_EQ(link.ask("XA012C00", 7), "012CF6\r");
    EXPECT_EQ(link.ask("XA012C01", 7), "");
}

TEST(ProtocolTest, SensorWithoutTableIgnoresTableCommands) {
    Link link(preset("old"));
    EXPECT_EQ(link.ask("XA00C800", 7), "");
    EXPECT_EQ(link.ask("XA01F600", 7), "");
    const uint8_t before = link.sensor.linTableByte(200);
    link.send("XN00C8" + std::string(before == 5 ? "0006" : "0005"));
    EXPECT_EQ(link.sensor.linTableByte(200), before);
}

TEST(ProtocolTest, AsleepSensorAnswersOnlyAfterWakeUpLine) {
    sim::SensorConfig config;
    config.startsAwake = false;
    Link link(config);
    EXPECT_EQ(link.ask("FA", 9), "");
    EXPECT_FALSE(link.sensor.awake());
    link.send("PROG");
    EXPECT_EQ(link.read(1), "");  // the wake-up line has no reply
    EXPECT_TRUE(link.sensor.awake());
    EXPECT_EQ(link.ask("FA", 9), "10203040\r");
}

TEST(ProtocolTest, BootloaderModeIgnoresCommandsUntilWakeUp) {
    Link link;
    link.send("BN\r");  // the program's own CR plus the one the command adds
    EXPECT_EQ(link.sensor.mode(), sim::SensorMode::Bootloader);
    EXPECT_EQ(link.ask("FA", 9), "");
    link.send("PROG");
    EXPECT_EQ(link.sensor.mode(), sim::SensorMode::Command);
    EXPECT_EQ(link.ask("FA", 9), "10203040\r");
}

TEST(ProtocolTest, BytesAtAnotherBaudRateAreLost) {
    Link link({}, 9600);
    EXPECT_EQ(link.ask("FA", 9), "");
    for (const auto& entry : link.sensor.traffic())
        EXPECT_NE(entry.kind, sim::TrafficEntry::Kind::Command) << entry.text;
}

TEST(ProtocolTest, PresetsAreKnownByName) {
    EXPECT_EQ(sim::presetNames(),
              (std::vector<std::string>{"qh", "kbf", "b", "old", "offset-raw"}));
    EXPECT_FALSE(sim::presetConfig("xyz"));
    for (const auto& name : sim::presetNames()) {
        const auto config = sim::presetConfig(name);
        ASSERT_TRUE(config);
        sim::SimulatedSensor sensor(*config);
        EXPECT_EQ(sensor.word("VA"), uint32_t(config->firmwareVersion)) << name;
        EXPECT_EQ(sensor.laWord().substr(0, 2), config->model) << name;
        EXPECT_EQ(sensor.word("SA") & 0xFF000000u, 0u) << name;  // the scale fits 24 bits
    }
}

}  // namespace
