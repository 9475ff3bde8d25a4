#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "comm/SensorRules.h"
#include "testmode/AxisRange.h"
#include "testmode/SampleWindow.h"
#include "testmode/StreamDecoding.h"

namespace {

using testmode::StreamFormat;

TEST(StreamFraming, ARecordOfEightHexDigitsInEitherCaseDecodes) {
    for (const char* record : {"0001e23A", "FFFFFFFF", "00000000"}) {
        EXPECT_TRUE(testmode::IsHexRecord(record)) << record;
    }
    for (const char* record : {"0001E23", "0001E23AB", "0001 23A", "0001G23A", "\r0001E23"}) {
        EXPECT_FALSE(testmode::IsHexRecord(record)) << record;
    }
}

TEST(StreamFraming, TheFirstCarriageReturnPlacesTheRecord) {
    const struct {
        std::string block;
        std::string record;
    } cases[] = {
        {"12345678\rABCDEFGH", "12345678"},   // at 9: the eight before it
        {"1234567\rABCDEFGH\r", "ABCDEFGH"},  // at 8: the eight after it
        {"\rABCDEFGH\r1234567", "ABCDEFGH"},  // at 1
        {"xyz12345678\r12345", "12345678"},   // at 12
        {"0123456789ABCDEFG", "0123456789ABCDEFG"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testmode::FrameRecord(c.block), c.record) << c.block;
    }
}

TEST(StreamDecoding, WordsDecodeByTheTemperatureBitOrTheBitWidth) {
    const struct {
        uint32_t word;
        bool temperatureBit;
        int bitWidth;
        int32_t position;
        std::optional<int8_t> temperature;
    } cases[] = {
        {0xFFFFFF80, false, 25, -1, std::nullopt},
        {0x00000100, false, 24, 1, std::nullopt},
        {0x80000000, false, 32, INT32_MIN, std::nullopt},
        {0x12345678, false, 40, 0x12345678, std::nullopt},
        {0x19FFFFFF, true, 25, -1, 25},
        {0xF0000010, true, 25, 16, -16},
        {0x7F800000, true, 24, -8388608, 127},
    };
    for (const auto& c : cases) {
        const StreamFormat format{c.temperatureBit, c.bitWidth};
        const testmode::Sample sample = testmode::DecodeWord(c.word, format);
        EXPECT_EQ(sample.position, c.position) << std::hex << c.word;
        EXPECT_EQ(sample.temperature, c.temperature) << std::hex << c.word;
    }
}

TEST(StreamDecoding, BlocksAreScaledByTheResolutionAndShownInMillimetres) {
    const struct {
        std::string block;
        StreamFormat format;
        int32_t position;
        std::string millimetres;
    } cases[] = {
        {"00F12000\r00F1200", {false, 24, 5, false}, 0xF120 * 5, "308.64"},
        {"0f12000\r00f12000\r", {false, 24, 5, false}, 0xF120 * 5, "308.64"},
        {"FFFFFF80\rFFFFFF8", {false, 25, 2, true}, -2, "-0.001"},
        {"1A000BEB\r1A000BE", {true, 24, 1, false}, 3051, "3.051"},
        {"00G0zz01\r00G0zz0", {false, 32, 1234500, false}, 1234500, "1234.5"},
        {"x1234567801234567", {false, 32, 1, false}, 0x01234567, "19088.743"},
    };
    for (const auto& c : cases) {
        const testmode::Sample sample = testmode::DecodeBlock(c.block, c.format);
        EXPECT_EQ(sample.position, c.position) << c.block;
        EXPECT_EQ(testmode::MillimetreText(
                      testmode::Millimetres(sample.position, c.format.halfMicrometres)),
                  c.millimetres)
            << c.block;
    }
    EXPECT_EQ(testmode::MillimetreText(1234.5, ','), "1234,5");
}

TEST(StreamRules, HalfMicrometresAboveScale1F0000AndBaudByFirmware) {
    EXPECT_FALSE(rules::UsesHalfMicrometres(0x1F0000));
    EXPECT_TRUE(rules::UsesHalfMicrometres(0x1F0001));
    const struct {
        int32_t firmware;
        int baud;
    } cases[] = {{3960402, 38400},  {3960403, 115200}, {3960404, 115200},
                 {3960405, 115200}, {3960406, 38400},  {3960100, 38400}};
    for (const auto& c : cases) {
        EXPECT_EQ(rules::TestStreamBaud(c.firmware), c.baud) << c.firmware;
    }
}

struct AxisStep {
    int32_t position;
    bool set;
    int32_t minimum;
    int32_t maximum;
};

void Follow(const std::initializer_list<AxisStep>& steps) {
    testmode::AxisRange axis;
    for (const AxisStep& step : steps) {
        EXPECT_EQ(axis.Follow(step.position), step.set) << step.position;
        EXPECT_EQ(axis.Minimum(), step.minimum) << step.position;
        EXPECT_EQ(axis.Maximum(), step.maximum) << step.position;
    }
}

TEST(ChartAxis, FirstRangeIsCentredAndTheRangeOnlyWidens) {
    Follow({{500000, true, 485000, 515000},
            {515000, true, 485000, 515100},
            {500000, false, 485000, 515100},
            {485099, true, 484999, 515100}});
    Follow({{-500, true, -600, 0}, {200, true, -600, 300}, {-450, false, -600, 300}});
    Follow({{-100, true, -200, 0}});
    Follow({{-99, true, -15099, 14901}});
}

TEST(ChartWindow, KeepsTheStartingPointAndRollsPast299) {
    testmode::SampleWindow window;
    ASSERT_EQ(window.Size(), 1u);
    EXPECT_EQ(window.Last().x, 0);
    for (int32_t y = 1; y <= 300; ++y) {
        window.Add(y * 10);
    }
    EXPECT_EQ(window.Size(), 301u);
    EXPECT_EQ(window.At(0).x, 0);
    for (int32_t y = 301; y <= 1000; ++y) {
        window.Add(y * 10);
    }
    ASSERT_EQ(window.Size(), 301u);
    for (size_t i = 0; i < window.Size(); ++i) {
        EXPECT_EQ(window.At(i).x, int64_t(700 + i));
        EXPECT_EQ(window.At(i).y, int32_t(700 + i) * 10);
    }
}

}  // namespace
