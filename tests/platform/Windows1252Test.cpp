#include "platform/Windows1252.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

using platform::DecodeWindows1252;
using platform::EncodeWindows1252;

TEST(Windows1252, HighBytesDecodeToTheirCharacters) {
    const std::pair<unsigned char, const char*> rows[] = {
        {0x80, "€"},      {0x82, "‚"},      {0x8A, "Š"},      {0x91, "‘"},
        {0x96, "–"},      {0x99, "™"},      {0x9F, "Ÿ"},      {0x81, "\u0081"},
        {0x8D, "\u008D"}, {0x8F, "\u008F"}, {0x90, "\u0090"}, {0x9D, "\u009D"},
        {0xA0, "\u00A0"}, {0xB5, "µ"},      {0xFF, "ÿ"},      {0x41, "A"},
    };
    for (const auto& [byte, text] : rows) {
        EXPECT_EQ(DecodeWindows1252(std::string(1, static_cast<char>(byte))), text) << int(byte);
    }
}

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int byte = 0; byte < 256; ++byte)
        all += static_cast<char>(byte);
    const auto encoded = EncodeWindows1252(DecodeWindows1252(all));
    ASSERT_TRUE(encoded.bytes.has_value()) << encoded.errorOffset;
    EXPECT_EQ(*encoded.bytes, all);
}

TEST(Windows1252, EncodesGermanTextAndTheEuro) {
    const auto encoded = EncodeWindows1252("µäöüß€");
    ASSERT_TRUE(encoded.bytes.has_value());
    EXPECT_EQ(*encoded.bytes, "\xB5\xE4\xF6\xFC\xDF\x80");
}

TEST(Windows1252, RefusesWhatItCannotHoldAndNamesTheOffset) {
    const std::pair<std::string, size_t> rows[] = {
        {"Ohm: Ω", 5},       {"a→b", 1},      {"\u0080", 0},    // a C1 code without a byte
        {"ok \xC3", 3},      {"\xC3\x28", 0}, {"\xC0\xAF", 0},  // truncated, bad, overlong
        {"\xED\xA0\x80", 0}, {"😀", 0},
    };
    for (const auto& [text, offset] : rows) {
        const auto encoded = EncodeWindows1252(text);
        EXPECT_FALSE(encoded.bytes.has_value()) << text;
        EXPECT_EQ(encoded.errorOffset, offset) << text;
    }
}

}  // namespace
