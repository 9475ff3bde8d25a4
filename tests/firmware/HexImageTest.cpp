#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "comm/SensorRules.h"
#include "firmware/FirmwareImage.h"
#include "firmware/Messages.h"
#include "firmware/Target.h"
#include "firmware/Targets.h"
#include "support/HexText.h"

namespace {

using namespace firmware;
using testsupport::countingBytes;
using testsupport::hexFile;
using testsupport::hexLine;

constexpr const char* kEnd = ":00000001FF\n";

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
    std::string huge = hexFile(countingBytes(1600 * 16));
    huge.resize(huge.size() - std::string(":00000001FF\r\n").size());
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

// The image's data from its first address on, without the page checksums.
std::vector<uint8_t> imageData(const FirmwareImage& image) {
    std::vector<uint8_t> data;
    for (int k = 0; k < image.pages; ++k) {
        const auto bytes = recordData(image, k);
        data.insert(data.end(), bytes.begin(), bytes.end());
    }
    return data;
}

std::vector<uint8_t> filled(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size, 0xFF);
    return bytes;
}

TEST(HexImage, RecordTypesAddressesGapsAndOrderGiveTheImageTheFileMeans) {
    const auto a = countingBytes(16);
    const std::vector<uint8_t> b(8, 0xA5);
    const std::string end = ":00000001FF\n";
    std::vector<uint8_t> gapped = filled(a, 32);
    gapped.insert(gapped.end(), b.begin(), b.end());
    std::vector<uint8_t> swapped = b;
    swapped.insert(swapped.end(), a.begin(), a.end());
    struct Case {
        const char* name;
        std::string text;
        int firstAddress;
        std::vector<uint8_t> data;  // before the fill of the last page
        int bytesTotal;
    };
    const Case cases[] = {
        {"plain", hexLine(0x40, a) + "\n" + end, 0x40, a, 16},
        {"linear base 0", hexLine(0, {0x00, 0x00}, 0x04) + "\n" + hexLine(0x40, a) + "\n" + end,
         0x40, a, 16},
        {"segment base 0x100",
         hexLine(0, {0x00, 0x10}, 0x02) + "\n" + hexLine(0x40, a) + "\n" + end, 0x140, a, 16},
        {"start records ignored",
         hexLine(0, {1, 2, 3, 4}, 0x03) + "\n" + hexLine(0x40, a) + "\n" +
             hexLine(0, {1, 2, 3, 4}, 0x05) + "\n" + end,
         0x40, a, 16},
        {"gap filled", hexLine(0x40, a) + "\n" + hexLine(0x60, b) + "\n" + end, 0x40, gapped, 24},
        {"out of order", hexLine(0x48, a) + "\n" + hexLine(0x40, b) + "\n" + end, 0x40, swapped,
         24},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageBuild build = loadImage(c.text, target("BX"));
        ASSERT_EQ(build.error, ImageError::None);
        EXPECT_EQ(build.image.bytesTotal, c.bytesTotal);
        EXPECT_EQ(build.image.firstAddress, c.firstAddress);
        EXPECT_EQ(build.image.record(0)[0], c.firstAddress >> 8);
        EXPECT_EQ(build.image.record(0)[1], c.firstAddress & 0xFF);
        EXPECT_EQ(imageData(build.image), filled(c.data, 64));
    }
}

TEST(HexImage, BrokenRecordsAreRefusedWithTheirLineWhateverEndsTheLines) {
    const std::string data = hexLine(0, countingBytes(16));
    struct Case {
        const char* name;
        std::string text;
        ImageError error;
        int line;
    };
    const Case cases[] = {
        {"no end record", data + "\n" + hexLine(16, countingBytes(16)) + "\n",
         ImageError::NoEndRecord, 2},
        {"linear base beyond the area", hexLine(0, {0x00, 0x01}, 0x04) + "\n" + data + "\n" + kEnd,
         ImageError::AddressBeyondArea, 1},
        {"segment base beyond the area",
         data + "\n" + hexLine(0, {0x01, 0xE0}, 0x02) + "\n" + data + "\n" + kEnd,
         ImageError::AddressBeyondArea, 2},
        {"overlap", data + "\n" + hexLine(0x20, {1}) + "\n" + hexLine(8, {1}) + "\n" + kEnd,
         ImageError::Overlap, 3},
        {"unknown type", data + "\n" + hexLine(0, {1}, 0x06) + "\n" + kEnd,
         ImageError::UnknownRecordType, 2},
        {"CR only", data + "\r" + data + "\r" + "x\r" + kEnd, ImageError::NoColon, 3},
        {"CR LF", data + "\r\n" + data + "\r\n" + "x\r\n" + kEnd, ImageError::NoColon, 3},
        {"mixed", data + "\r\n\r" + data + "\n\n" + "x\r" + kEnd, ImageError::NoColon, 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ImageBuild build = loadImage(c.text, target("BX"));
        EXPECT_EQ(build.error, c.error);
        EXPECT_EQ(build.errorLine, c.line);
        EXPECT_EQ(build.image.pages, 0);
    }
}

TEST(HexImage, TheRecordRefusalsHaveEnglishAndGermanTexts) {
    struct Case {
        ImageError error;
        const char* english;
        const char* german;
    };
    const Case cases[] = {
        {ImageError::NoEndRecord, "Line 4: the end-of-file record is missing - file invalid!",
         "Zeile 4: der Dateiende-Datensatz fehlt - Datei ungültig!"},
        {ImageError::UnknownRecordType, "Line 4: a line has an unknown record type - file invalid!",
         "Zeile 4: eine Zeile hat einen unbekannten Datensatztyp - Datei ungültig!"},
        {ImageError::AddressBeyondArea,
         "Line 4: an address record points beyond the application area - file invalid!",
         "Zeile 4: ein Adressdatensatz zeigt über den Anwendungsbereich hinaus - Datei ungültig!"},
        {ImageError::Overlap, "Line 4: a record overlaps another one - file invalid!",
         "Zeile 4: ein Datensatz überschneidet sich mit einem anderen - Datei ungültig!"},
    };
    for (const Case& c : cases) {
        const MessageText m = imageErrorMessage(c.error, 4);
        EXPECT_EQ(m.text, c.english);
        EXPECT_EQ(m.germanText, c.german);
        EXPECT_EQ(m.caption, "File-Error");
        EXPECT_EQ(m.germanCaption, "Dateifehler");
    }
    const MessageText old = imageErrorMessage(ImageError::NoColon, 2);
    EXPECT_EQ(old.germanText, "Line 2: a line does not begin with a colon - file invalid!");
    EXPECT_EQ(captioned(message(Message::ChecksumError)), "CheckSum-Error: Error while Download!");
}

TEST(HexImage, AnImageFitsWhenItsLastPageEndsInsideTheApplicationArea) {
    const TargetDescription bx = target("BX");  // 120 pages of 64 bytes
    struct Case {
        uint16_t address;
        size_t bytes;
        bool fits;
    };
    for (const Case& c : {Case{0, 120 * 64, true}, Case{0x1D00, 4 * 64, true},
                          Case{0x1D00, 5 * 64, false}, Case{0x1D10, 4 * 64, false}}) {
        SCOPED_TRACE(c.address);
        const ImageBuild build = loadImage(hexFile(countingBytes(c.bytes), c.address), bx);
        ASSERT_EQ(build.error, ImageError::None);
        EXPECT_EQ(build.image.fits(bx), c.fits);
    }
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
