#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "comm/SimLink.h"
#include "testmode/SensorTestLink.h"

namespace {

constexpr uint32_t MeasurementBits = 0x000C0000;
constexpr int MeasurementShift = 18;
constexpr uint32_t TemperatureFlag = 0x00020000;

std::string Hex6(uint32_t value) {
    char text[7];
    std::snprintf(text, sizeof text, "%06X", value & 0xFFFFFF);
    return text;
}

struct TestModeLink : SimLink {
    TestModeLink(int firmwareVersion, uint32_t measurement) : SimLink(firmware(firmwareVersion)) {
        da = (sensor.word("DA") & ~MeasurementBits) | measurement << MeasurementShift;
        sensor.setWord("DA", da);
        com.ReadParameterSet();
        sensor.clearTraffic();
    }

    // Commands, RTS changes and baud changes, with the times of each.
    std::vector<std::string> wire() const {
        std::vector<std::string> lines;
        for (const sim::TrafficEntry& e : sensor.traffic()) {
            switch (e.kind) {
                case sim::TrafficEntry::Kind::Command:
                    lines.push_back(e.text);
                    break;
                case sim::TrafficEntry::Kind::Rts:
                    lines.push_back("RTS " + e.text);
                    break;
                case sim::TrafficEntry::Kind::Baud:
                    lines.push_back("BAUD " + e.text);
                    break;
                case sim::TrafficEntry::Kind::Reply:
                    break;
            }
        }
        return lines;
    }

    int64_t timeOf(const std::string& line, int occurrence = 1) const {
        for (const sim::TrafficEntry& e : sensor.traffic()) {
            const bool named =
                e.kind == sim::TrafficEntry::Kind::Command
                    ? e.text == line
                    : (e.kind == sim::TrafficEntry::Kind::Rts ? "RTS " : "BAUD ") + e.text == line;
            if (e.kind != sim::TrafficEntry::Kind::Reply && named && --occurrence == 0) {
                return e.timeMs;
            }
        }
        return -1;
    }

    uint32_t da = 0;
};

std::vector<std::string> EnteringWire(uint32_t da, const char* commit, const char* baud) {
    return {"DA",    "DN" + Hex6(da | 1u << MeasurementShift),
            "DA",    "VA",
            commit,  "RTS 1",
            "RTS 0", std::string("BAUD ") + baud};
}

TEST(SensorTestLink, EntersStreamsAndLeavesByFirmware) {
    const struct {
        int firmware;
        uint32_t measurement;
        const char* commit;
        const char* baud;
        bool warns;
    } cases[] = {
        {3960105, 2, "CN", "38400", false},  {3960101, 0, "CN", "38400", false},
        {3960403, 2, "CN", "115200", false}, {3960405, 0, "CN", "115200", false},
        {3960406, 2, "CN", "38400", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firmware);
        TestModeLink link(c.firmware, c.measurement);
        testmode::SensorTestLink test(link.com);
        EXPECT_EQ(test.NeedsWarning(), c.warns);
        test.Enter();
        EXPECT_EQ(link.com[TSSICom::Measurement].Value, int32_t(c.measurement | 1));
        EXPECT_EQ(link.wire(), EnteringWire(link.da, c.commit, c.baud));
        EXPECT_EQ(link.timeOf("RTS 0") - link.timeOf("RTS 1"), 100);
        EXPECT_EQ(link.sensor.commitCount(c.commit), 1);

        link.sensor.clearTraffic();
        EXPECT_TRUE(test.Leave());
        EXPECT_EQ(link.wire(), (std::vector<std::string>{"RTS 1", "RTS 0", "BAUD 4800"}));
        EXPECT_EQ(link.timeOf("RTS 0") - link.timeOf("RTS 1"), 300);
        EXPECT_EQ(link.com[TSSICom::Measurement].Value, int32_t(c.measurement & 2));
        EXPECT_TRUE(link.com.ReadRegister(TSSICom::FactoryNumber));
    }
}

TEST(SensorTestLink, OldFirmwareCommitsWithENAndWritesTheModeBackWhenLeaving) {
    const struct {
        uint32_t before;
        uint32_t after;
    } cases[] = {{2, 2}, {1, 0}, {3, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.before);
        TestModeLink link(3960100, c.before);
        testmode::SensorTestLink test(link.com);
        EXPECT_TRUE(test.NeedsWarning());
        test.Enter();
        EXPECT_EQ(link.wire(), EnteringWire(link.da, "EN", "38400"));

        link.sensor.clearTraffic();
        EXPECT_TRUE(test.Leave());
        std::vector<std::string> leaving{"RTS 1", "RTS 0", "BAUD 4800", "RTS 1", "RTS 0"};
        leaving.insert(leaving.end(), 35, "PROG");
        const uint32_t restored = (link.da & ~MeasurementBits) | c.after << MeasurementShift;
        leaving.insert(leaving.end(), {"DA", "DN" + Hex6(restored), "DA", "EN"});
        EXPECT_EQ(link.wire(), leaving);
        EXPECT_EQ(link.timeOf("RTS 0") - link.timeOf("RTS 1"), 300);
        EXPECT_EQ(link.timeOf("RTS 0", 2) - link.timeOf("RTS 1", 2), 100);
        EXPECT_GE(link.timeOf("DA") - link.timeOf("PROG", 35), 20 + 500);
        EXPECT_LT(link.timeOf("DA") - link.timeOf("PROG", 35), 20 + 500 + 10);
        EXPECT_GE(link.timeOf("EN") - link.timeOf("DA", 2), 200);
        EXPECT_EQ(link.com[TSSICom::Measurement].Value, int32_t(c.after));
        EXPECT_EQ((link.sensor.word("DA") & MeasurementBits) >> MeasurementShift, c.after);
    }
}

bool IsSubsequence(const std::vector<std::string>& part, const std::deque<std::string>& whole) {
    auto it = whole.begin();
    for (const std::string& record : part) {
        it = std::find(it, whole.end(), record);
        if (it == whole.end()) {
            return false;
        }
        ++it;
    }
    return true;
}

TEST(SensorTestLink, DecodesEveryBlockOfTheStreamFromTheSensorsRecords) {
    const struct {
        int firmware;
        bool temperatureBit;
        int blocksPerSecond;
    } cases[] = {{3960105, false, 38400 / 10 / 17}, {3960404, true, 115200 / 10 / 17}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.firmware);
        TestModeLink link(c.firmware, 0);
        if (c.temperatureBit) {
            link.sensor.setWord("KA", link.sensor.word("KA") | TemperatureFlag);
            link.com.ReadRegister(TSSICom::OutputFlags);
        }
        link.sensor.setMagnet(123450);
        testmode::SensorTestLink test(link.com);
        test.Enter();
        const int64_t start = link.clock.now();
        std::vector<std::string> records;
        for (int i = 0; i < 2 * c.blocksPerSecond; ++i) {
            if (i == c.blocksPerSecond) {
                link.sensor.setMagnet(234560);
            }
            const auto reading = test.ReadBlock();
            ASSERT_TRUE(reading) << i;
            records.push_back(reading->record);
            // A block read just after the move may hold a record made before it.
            const bool moving = i >= c.blocksPerSecond && i <= c.blocksPerSecond + 1;
            if (!moving) {
                EXPECT_EQ(reading->sample.position, i < c.blocksPerSecond ? 123450 : 234560) << i;
            }
            EXPECT_EQ(reading->sample.temperature,
                      c.temperatureBit ? std::optional<int8_t>(25) : std::nullopt);
        }
        EXPECT_NEAR(double(link.clock.now() - start), 2000.0, 20.0);
        EXPECT_TRUE(IsSubsequence(records, link.sensor.streamed()));
        test.Leave();
    }
}

// A block that carries the word the sensor sends when it cannot measure is told
// apart from a position, and each is timed on the link's clock.
TEST(SensorTestLink, TellsTheErrorValueFromAPosition) {
    TestModeLink link(3960105, 0);
    link.sensor.setMagnet(123450);
    uint32_t word = 0;
    {
        testmode::SensorTestLink first(link.com);
        first.Enter();
        const auto reading = first.ReadBlock();
        ASSERT_TRUE(reading);
        EXPECT_EQ(reading->kind, testmode::SampleKind::Position);
        word = reading->word;
        EXPECT_EQ(word, TSSICom::HexToInt(reading->record));
        first.Leave();
    }
    link.sensor.setWord("PA", word);
    ASSERT_TRUE(link.com.ReadRegister(TSSICom::ErrorValue));
    testmode::SensorTestLink test(link.com);
    test.Enter();
    EXPECT_DOUBLE_EQ(test.WireBlocksPerSecond(), 38400 / 10.0 / 17);
    const auto error = test.ReadBlock();
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind, testmode::SampleKind::ErrorValue);
    EXPECT_EQ(error->timeMs, link.clock.now());
    link.sensor.setMagnet(234560);
    for (int i = 0; i < 3; ++i) {
        test.ReadBlock();
    }
    const auto moved = test.ReadBlock();
    ASSERT_TRUE(moved);
    EXPECT_EQ(moved->kind, testmode::SampleKind::Position);
    EXPECT_EQ(moved->sample.position, 234560);
    test.Leave();
}

TEST(SensorTestLink, ASilentSensorTimesOutAfterASecondPerBlock) {
    TestModeLink link(3960105, 0);
    link.sensor.faults().refusedCommands = {"DN"};
    testmode::SensorTestLink test(link.com);
    test.Enter();
    const int64_t start = link.clock.now();
    EXPECT_FALSE(test.ReadBlock());
    EXPECT_EQ(link.clock.now() - start, 1000);
    EXPECT_TRUE(test.Leave()) << "the sensor never took the test bit";
    EXPECT_EQ(link.sensor.word("DA"), link.da);
    EXPECT_TRUE(link.com.ReadRegister(TSSICom::FactoryNumber));
}

// The sensor may hold the committed test-mode bit without ever streaming, so
// it cannot be trusted to drop it by itself: it is told like older firmware.
TEST(SensorTestLink, NewerFirmwareIsToldTheModeWhenTheSwitchWasNotConfirmed) {
    enum class Fault { ModeWriteRefused, StreamPortMissing };
    for (const Fault fault : {Fault::ModeWriteRefused, Fault::StreamPortMissing}) {
        SCOPED_TRACE(int(fault));
        TestModeLink link(3960105, 2);
        bool entering = true;
        link.sensor.faults().refuses = [&](const std::string& line) {
            if (fault == Fault::StreamPortMissing && line == "CN" && entering) {
                const int64_t commitPauses = 10 + 15 + 1500;
                link.backend.unplugBetween(link.clock.now() + commitPauses,
                                           link.clock.now() + commitPauses + 500);
            }
            return fault == Fault::ModeWriteRefused && entering && line.starts_with("DN");
        };
        testmode::SensorTestLink test(link.com);
        test.Enter();
        EXPECT_FALSE(test.ReadBlock());
        entering = false;
        link.clock.sleep(1000);
        link.sensor.clearTraffic();
        EXPECT_TRUE(test.Leave());

        // Without the stream's port there was no change of speed, and no RTS
        // pulse on the closed port.
        std::vector<std::string> leaving;
        if (fault == Fault::ModeWriteRefused)
            leaving = {"RTS 1", "RTS 0", "BAUD 4800"};
        leaving.insert(leaving.end(), {"RTS 1", "RTS 0"});
        leaving.insert(leaving.end(), 35, "PROG");
        const uint32_t restored = (link.da & ~MeasurementBits) | 2u << MeasurementShift;
        leaving.insert(leaving.end(), {"DA", "DN" + Hex6(restored), "DA", "CN"});
        EXPECT_EQ(link.wire(), leaving);
        EXPECT_EQ(link.sensor.word("DA"), restored);
        EXPECT_EQ(link.sensor.bank(sim::SimulatedSensor::Bank::Eeprom).words.at("DA"), restored);
        EXPECT_EQ(link.com[TSSICom::Measurement].Value, 2);
    }
}

TEST(SensorTestLink, LeavingReportsAPortThatDoesNotOpenAgain) {
    TestModeLink link(3960105, 0);
    testmode::SensorTestLink test(link.com);
    test.Enter();
    ASSERT_TRUE(test.ReadBlock());
    link.backend.unplug();
    EXPECT_FALSE(test.Leave());
}

}  // namespace
