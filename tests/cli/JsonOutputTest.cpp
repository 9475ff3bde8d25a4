#include "cli/JsonOutput.h"

#include <gtest/gtest.h>

namespace {

using cli::jsonString;

TEST(JsonString, PlainTextIsQuoted) {
    EXPECT_EQ(jsonString("3C6D28"), "\"3C6D28\"");
    EXPECT_EQ(jsonString(""), "\"\"");
}

TEST(JsonString, QuotesAndBackslashesAreEscaped) {
    EXPECT_EQ(jsonString("a\"b\\c"), "\"a\\\"b\\\\c\"");
}

TEST(JsonString, ControlCharactersBecomeUnicodeEscapes) {
    EXPECT_EQ(jsonString(std::string("\r\n\t\x01", 4)), "\"\\u000D\\u000A\\u0009\\u0001\"");
    EXPECT_EQ(jsonString(std::string("1\0"
                                     "2",
                                     3)),
              "\"1\\u00002\"");
    EXPECT_EQ(jsonString("\x7F"), "\"\\u007F\"");
}

TEST(JsonString, HighBytesAreReadAsWindows1252) {
    EXPECT_EQ(jsonString("\x80"), "\"\\u20AC\"");
    EXPECT_EQ(jsonString("\x9F"), "\"\\u0178\"");
    EXPECT_EQ(jsonString("\x81"), "\"\\u0081\"");
    EXPECT_EQ(jsonString("Linearit\xE4t"), "\"Linearit\\u00E4t\"");
    EXPECT_EQ(jsonString("\xFF"), "\"\\u00FF\"");
}

TEST(ParameterSetJson, OneObjectWithTheRowsInOrder) {
    const std::vector<cli::RegisterRow> rows = {
        {0, "Resolution", 5, true, false, "00000005"},
        {12, "Offset", -2, false, true, "FF\"FE"},
    };
    EXPECT_EQ(cli::parameterSetJson("/dev/pts/3", 39601, rows),
              "{\"port\": \"/dev/pts/3\", \"firmwareType\": 39601, \"registers\": ["
              "{\"index\": 0, \"key\": \"Resolution\", \"value\": 5, \"answered\": true, "
              "\"modified\": false, \"reply\": \"00000005\"}, "
              "{\"index\": 12, \"key\": \"Offset\", \"value\": -2, \"answered\": false, "
              "\"modified\": true, \"reply\": \"FF\\\"FE\"}]}");
}

TEST(ParameterSetJson, EmptyTableGivesAnEmptyList) {
    EXPECT_EQ(cli::parameterSetJson("COM1", 0, {}),
              "{\"port\": \"COM1\", \"firmwareType\": 0, \"registers\": []}");
}

TEST(RegisterRows, AllRegistersInTableOrderWithTheirState) {
    ParameterSet set;
    set[ParameterSet::BitWidth].Value = 25;
    set[ParameterSet::BitWidth].Answered = 1;
    set[ParameterSet::BitWidth].Reply = "C3A519";
    set[ParameterSet::Offset].Value = -2;
    set[ParameterSet::Offset].Modified = 1;

    const auto rows = cli::registerRows(set);
    ASSERT_EQ(rows.size(), size_t(ParameterSet::RegisterCount));
    for (int r = 0; r < ParameterSet::RegisterCount; ++r) {
        EXPECT_EQ(rows[r].index, r);
        EXPECT_EQ(rows[r].key, ParameterSet::RegisterKey(ParameterSet::RegisterIndex(r)));
    }
    const cli::RegisterRow& bitWidth = rows[ParameterSet::BitWidth];
    EXPECT_EQ(bitWidth.key, "BitWidth");
    EXPECT_EQ(bitWidth.value, 25);
    EXPECT_TRUE(bitWidth.answered);
    EXPECT_FALSE(bitWidth.modified);
    EXPECT_EQ(bitWidth.reply, "C3A519");
    EXPECT_EQ(rows[ParameterSet::Offset].value, -2);
    EXPECT_TRUE(rows[ParameterSet::Offset].modified);
    EXPECT_FALSE(rows[ParameterSet::Offset].answered);
}

}  // namespace
