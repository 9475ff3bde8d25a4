#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comm/SensorRules.h"
#include "firmware/FirmwareImage.h"
#include "firmware/Messages.h"
#include "firmware/Target.h"
#include "support/HexText.h"

namespace {

using namespace firmware;
using testsupport::countingBytes;
using testsupport::hexFile;
using testsupport::hexLine;

constexpr const char* kEnd = ":00000001FF\n";

TargetDescription target(const char* codes) {
    TargetDescription described;
    EXPECT_TRUE(identifyTarget(uint8_t(codes[0]), uint8_t(codes[1]), described));
    return described;
}

std::vector<uint8_t> recordData(const FirmwareImage& image, int k) {
    const auto record = image.record(k);
    return {record.begin() + 2, record.end() - 1};
}

uint8_t sum(const std::vector<uint8_t>& bytes) {
    unsigned total = 0;
    for (const uint8_t b : bytes)
        total += b;
    return uint8_t(total);
}

TEST(HexImage, ALineIsTakenByItsChecksumAndABadOneIsReportedOnceWithItsDataKept) {
    for (const char* checksum : {"6A", "6B"}) {
        SCOPED_TRACE(checksum);
        const std::string text =
            std::string(":100000000C9434000C9446000C9446000C944600") + checksum + "\n" + kEnd;
        const ImageBuild build = loadImage(text, target("BX"));
        ASSERT_EQ(build.error, ImageError::None);
        EXPECT_EQ(build.image.bytesTotal, 16);
        EXPECT_EQ(build.badChecksumLines,
                  std::string(checksum) == "6B" ? std::vector<int>{1} : std::vector<int>{});
        EXPECT_EQ(recordData(build.image, 0)[1], 0x94);
        EXPECT_EQ(recordData(build.image, 0)[15], 0x00);
    }
}

TEST(HexImage, PagesFollowTheFirstAddressAndTheLastOneIsFilledWithFF) {
    struct Case {
        const char* chip;
        size_t bytes;
        int pages;
        int filled;  // FF bytes at the end of the last page
    };
    for (const Case& c : {Case{"BX", 100, 2, 28}, Case{"CX", 128, 1, 0}, Case{"BX", 74, 2, 54}}) {
        SCOPED_TRACE(std::string(c.chip) + " " + std::to_string(c.bytes));
        const auto data = countingBytes(c.bytes);
        const ImageBuild build = loadImage(hexFile(data, 0x0140), target(c.chip));
        ASSERT_EQ(build.error, ImageError::None);
        const FirmwareImage& image = build.image;
        EXPECT_EQ(image.pages, c.pages);
        EXPECT_EQ(image.bytesTotal, int(c.bytes)) << "a short last line adds just its bytes";
        EXPECT_EQ(image.length(), c.pages * image.recordSize());
        std::vector<uint8_t> taken;
        for (int k = 0; k < image.pages; ++k) {
            const auto record = image.record(k);
            EXPECT_EQ(record[0] << 8 | record[1], 0x0140 + k * image.pageSize);
            const auto page = recordData(image, k);
            EXPECT_EQ(record.back(), sum(page));
            taken.insert(taken.end(), page.begin(), page.end());
        }
        std::vector<uint8_t> expected = data;
        expected.resize(data.size() + size_t(c.filled), 0xFF);
        EXPECT_EQ(taken, expected);
    }
}

TEST(HexImage, StrictRefusalsNameTheLine) {
    const std::string good = hexLine(0, countingBytes(16)) + "\n";
    const std::string overlong = ":" + std::string(44, '0') + "\n";
    std::string huge;
    for (int i = 0; i < 1600; ++i)
        huge += good;
    struct Case {
        const char* name;
        std::string text;
        ImageError error;
        int line;
    };
    const Case cases[] = {
        {"no colon", good + "100000000C94\n" + kEnd, ImageError::NoColon, 2},
        {"overlong", good + good + overlong + kEnd, ImageError::TooManyDigits, 3},
        {"only the end record", kEnd, ImageError::NoDataLine, 1},
        {"empty", "", ImageError::NoDataLine, 1},
        {"beyond the buffer", huge + kEnd, ImageError::BufferFull, 1513},
        {"binary", std::string("\x01\xFF:\x00\x10", 5) + "\n" + kEnd, ImageError::NoColon, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageBuild build = loadImage(c.text, target("BX"));
        EXPECT_EQ(build.error, c.error);
        EXPECT_EQ(build.errorLine, c.line);
        EXPECT_EQ(build.image.pages, 0);
    }
    EXPECT_EQ(imageErrorMessage(ImageError::NoColon, 2).text,
              "Line 2: a line does not begin with a colon - file invalid!");
}

TEST(HexImage, TheLastLineIsNeverReadAndTheTypeIsNotLookedAt) {
    const std::string text =
        hexLine(0x10, countingBytes(4), 0x04) + "\n" + hexLine(0x20, countingBytes(8)) + "\n";
    const ImageBuild build = loadImage(text, target("BX"));
    ASSERT_EQ(build.error, ImageError::None);
    EXPECT_EQ(build.image.bytesTotal, 4);
    EXPECT_EQ(build.image.record(0)[1], 0x10);
}

TEST(Target, IdentificationBytesGiveTheTablesValues) {
    struct Case {
        const char* codes;
        int pageSize;
        int applicationPages;
        int words;
    };
    const Case cases[] = {
        {"AX", 64, 120, 3834},  {"BY", 64, 112, 3572},  {"BZ", 64, 96, 3048},
        {"CX", 128, 124, 7936}, {"CY", 128, 120, 7680}, {"CZ", 128, 112, 7168},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.codes);
        const TargetDescription t = target(c.codes);
        EXPECT_EQ(t.pageSize, c.pageSize);
        EXPECT_EQ(t.recordSize, c.pageSize + 3);
        EXPECT_EQ(t.applicationPages, c.applicationPages);
        EXPECT_EQ(applicationWords(t.pageSize, t.applicationPages,
                                   *bootloaderByCode(uint8_t(c.codes[1]))),
                  c.words);
    }
    TargetDescription kept = target("CX");
    EXPECT_FALSE(identifyTarget('D', 'X', kept));
    EXPECT_TRUE(identifyTarget('B', 'Q', kept));
    EXPECT_EQ(kept.applicationPages, 124) << "an unknown size leaves the pages";
}

TEST(Target, TheATMega8KeepsTheLayoutOfAnEarlierIdentification) {
    EXPECT_EQ(loadImage(hexFile(countingBytes(64)), target("AX")).error, ImageError::LayoutUnset);
    EXPECT_EQ(imageErrorMessage(ImageError::LayoutUnset, 1).text,
              "This type is not supported yet!");
    TargetDescription t = target("BX");
    ASSERT_TRUE(identifyTarget('A', 'X', t));
    EXPECT_EQ(t.layout, RecordLayout::Records64);
    EXPECT_EQ(loadImage(hexFile(countingBytes(64)), t).image.pages, 1);
}

TEST(Target, OnlyType39606AndVersionZeroTakeAnImage) {
    for (const auto& [version, accepted] : std::vector<std::pair<int32_t, bool>>{
             {3960105, false}, {0, true}, {3960600, true}, {3960699, true}, {3960700, false}}) {
        EXPECT_EQ(rules::AcceptsFirmwareImage(version), accepted) << version;
    }
}

}  // namespace
