#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "SimHarness.h"

namespace {

constexpr uint32_t kMeasurementMask = 0x000C0000;
constexpr int kMeasurementShift = 18;
constexpr uint32_t kBitWidthMask = 0xFF;
constexpr size_t kRecordLength = 9;

std::string hex6(uint32_t value) {
    char text[7];
    std::snprintf(text, sizeof text, "%06X", value & 0xFFFFFF);
    return text;
}

bool isRecord(const std::string& text) {
    return text.size() == kRecordLength && text.back() == '\r' &&
           text.find_first_not_of("0123456789ABCDEF") == kRecordLength - 1;
}

// When the last of `bytes` bytes, sent back to back from `startMs` at 10 bits
// each, has arrived, rounded up to the millisecond.
int64_t arrivalMs(int64_t startMs, int64_t bytes, int baud) {
    const int64_t perMs = 1000 * int64_t(baud);
    return (startMs * perMs + bytes * 10 * 1000000 + perMs - 1) / perMs;
}

struct StreamLink : simtest::Link {
    using Link::Link;

    // Writes the Measurement field, the bit width and the offset, and commits them.
    void configure(uint32_t measurement, int bitWidth, int32_t offsetCounts) {
        const uint32_t others = sensor.word("DA") & ~(kMeasurementMask | kBitWidthMask);
        send("DN" + hex6(others | measurement << kMeasurementShift | uint32_t(bitWidth)));
        send("NN" + hex6(uint32_t(offsetCounts)));
        send("CN");
    }

    void switchTo(int baud) {
        backend.close();
        backend.open("/dev/ttyUSB0", baud, 50);
    }

    // The position a record shows, read as the program reads it.
    int64_t decodedUm(const std::string& record) {
        const int bitWidth = int(sensor.word("DA") & kBitWidthMask);
        const auto word = int32_t(uint32_t(std::stoul(record.substr(0, 8), nullptr, 16)));
        return int64_t(word >> (32 - bitWidth)) * sensor.word("AA");
    }
};

struct StreamCase {
    const char* preset;
    int bitWidth;
    int baud;
    int positionUm;
    int32_t offsetCounts;
    bool paced = true;
};

TEST(StreamTest, RecordsShowPositionPlusOffsetBackToBackAtTheWireRate) {
    const StreamCase cases[] = {
        {"qh", 25, 38400, 123450, 100},            // 5 µm
        {"kbf", 26, 115200, 400000, 7},            // 2 µm
        {"qh", 25, 38400, 1000, -500},             // the offset outweighs the position
        {"b", 32, 115200, 20000, -70000},          // 10 µm, no shift
        {"offset-raw", 24, 38400, 5000, 3, false}  // replies unpaced, the stream is not
    };
    constexpr int kRecords = 200;
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.preset) + " at " + std::to_string(c.baud));
        auto config = *sim::presetConfig(c.preset);
        config.paced = c.paced;
        StreamLink link(config);
        link.sensor.setMagnet(c.positionUm);
        link.configure(1, c.bitWidth, c.offsetCounts);
        link.switchTo(c.baud);
        const int64_t startMs = link.clock.now();
        const int64_t expectedUm = c.positionUm + int64_t(c.offsetCounts) * link.sensor.word("AA");
        for (int r = 1; r <= kRecords; ++r) {
            const std::string record = link.read(kRecordLength);
            ASSERT_TRUE(isRecord(record)) << "record " << r << ": " << record;
            ASSERT_EQ(link.decodedUm(record), expectedUm) << "record " << r;
            ASSERT_EQ(link.clock.now(), arrivalMs(startMs, r * int64_t(kRecordLength), c.baud))
                << "record " << r;
        }
    }
}

TEST(StreamTest, StreamFollowsTheMagnetIgnoresCommandsAndEndsBackAt4800) {
    StreamLink link;
    link.sensor.setMagnet(50000);
    link.configure(1, 25, 0);
    const uint32_t streamingDa = link.sensor.word("DA");
    link.switchTo(38400);
    EXPECT_EQ(link.decodedUm(link.read(kRecordLength)), 50000);

    link.sensor.setMagnet(60000);
    link.read(kRecordLength);  // may have left before the magnet moved
    EXPECT_EQ(link.decodedUm(link.read(kRecordLength)), 60000);

    link.send("DN" + hex6(streamingDa & ~kMeasurementMask));
    link.send("FA");
    const std::string afterCommands = link.read(kRecordLength);
    EXPECT_TRUE(isRecord(afterCommands)) << afterCommands;
    EXPECT_EQ(link.sensor.word("DA"), streamingDa);

    link.switchTo(4800);
    EXPECT_FALSE(link.sensor.nextOutputTime());
    EXPECT_EQ(link.ask("FA", kRecordLength), "10203040\r");

    std::vector<std::string> bauds;
    for (const auto& entry : link.sensor.traffic())
        if (entry.kind == sim::TrafficEntry::Kind::Baud)
            bauds.push_back(entry.text);
    EXPECT_EQ(bauds, (std::vector<std::string>{"38400", "4800"}));
}

TEST(StreamTest, NoStreamWithoutMeasurementBitZeroOrAtOtherSpeeds) {
    const struct {
        uint32_t measurement;
        int baud;
    } cases[] = {{0, 38400}, {0, 115200}, {2, 38400}, {1, 9600}, {1, 57600}};
    for (const auto& c : cases) {
        SCOPED_TRACE("Measurement " + std::to_string(c.measurement) + " at " +
                     std::to_string(c.baud));
        StreamLink link;
        link.configure(c.measurement, 25, 0);
        link.switchTo(c.baud);
        EXPECT_FALSE(link.sensor.nextOutputTime());
        EXPECT_EQ(link.read(kRecordLength), "");
    }
}

}  // namespace

namespace {

TEST(StreamTest, TheMagnetRunsATriangleAlongTheStreamWithTheTemperatureOnTop) {
    sim::SensorConfig config;
    config.lengthMm = 500;
    config.magnetPositionUm = 498000;
    config.streamStepUm = 1000;
    config.temperatureC = -3;
    StreamLink link(config);
    link.configure(1, 24, 0);
    link.sensor.setWord("KA", link.sensor.word("KA") | 0x00020000);
    link.switchTo(115200);
    const int64_t expectedUm[] = {498000, 499000, 500000, 499000, 498000, 497000};
    for (size_t i = 0; i < std::size(expectedUm); ++i) {
        const std::string record = link.read(kRecordLength);
        ASSERT_TRUE(isRecord(record)) << record;
        const uint32_t word = uint32_t(std::stoul(record.substr(0, 8), nullptr, 16));
        EXPECT_EQ(int8_t(word >> 24), -3) << record;
        EXPECT_EQ(int64_t(word & 0xFFFFFF) * link.sensor.word("AA"), expectedUm[i]) << record;
        EXPECT_EQ(link.sensor.streamed().at(i), record.substr(0, 8));
    }
}

}  // namespace

namespace {

TEST(StreamTest, TheTestBitStaysOrIsDroppedWhenTheStreamEnds) {
    for (const bool drops : {false, true}) {
        SCOPED_TRACE(drops ? "drops the bit" : "keeps the bit");
        sim::SensorConfig config;
        config.dropsTestBitAfterStream = drops;
        StreamLink link(config);
        link.configure(3, 25, 0);  // synchronous start and the test bit, committed
        const uint32_t withTestBit = link.sensor.word("DA");
        link.switchTo(4800);
        EXPECT_EQ(link.sensor.word("DA"), withTestBit) << "no stream ran, nothing to drop";
        link.switchTo(38400);
        ASSERT_TRUE(isRecord(link.read(kRecordLength)));
        link.switchTo(4800);
        const uint32_t expected = drops ? withTestBit & ~(1u << kMeasurementShift) : withTestBit;
        EXPECT_EQ(link.sensor.word("DA"), expected);
        EXPECT_EQ(link.sensor.bank(sim::SimulatedSensor::Bank::Eeprom).words.at("DA"), expected);
    }
}

}  // namespace
