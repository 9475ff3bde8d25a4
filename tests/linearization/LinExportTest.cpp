#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "comm/SimLink.h"
#include "linearization/LinExport.h"

namespace {

using linearization::TableExport;

// A sensor whose table holds only zeros, with factor 2 and start value 51000.
struct ZeroTable : SimLink {
    ZeroTable() {
        for (int address = 200; address <= 500; ++address)
            sensor.setLinTableByte(address, 0);
        sensor.setLinTableByte(501, 2);
        sensor.setWord("XA01F600", 51000);
    }
    int entryReads() const {
        const auto sent = commands();
        return int(std::count_if(sent.begin(), sent.end(), [](const std::string& c) {
            return c.starts_with("XA") && c != "XA01F500" && c != "XA01F600";
        }));
    }
};

std::string zeroLines() {
    std::string lines;
    for (int address = 200; address <= 500; ++address)
        lines += std::to_string(address) + ";0;\n";
    return lines;
}

TEST(LinExport, AZeroTableGivesTheHeaderAndOneLinePerAddressInEachLanguage) {
    struct Case {
        uint8_t language;
        const char* header;
    };
    for (const Case& c :
         {Case{0, "Linearization factor = 2\nStart value = 51000\nEEPROM-Adr.; LinValue;\n"},
          Case{1, "Linearisierungsfaktor = 2\nStartwert = 51000\nEEPROM-Adr.; LinWert;\n"}}) {
        SCOPED_TRACE(int(c.language));
        ZeroTable link;
        TableExport exporter(link.com, c.language);
        int visits = 0;
        EXPECT_EQ(exporter.run(false, [&](int, int8_t) { ++visits; }),
                  TableExport::Outcome::Complete);
        const auto bytes = exporter.fileBytes();
        ASSERT_TRUE(bytes);
        EXPECT_EQ(*bytes, c.header + zeroLines());
        EXPECT_EQ(std::count(bytes->begin(), bytes->end(), '\n'), 304);
        EXPECT_EQ(visits, 301);
        EXPECT_EQ(link.entryReads(), 301);
    }
}

TEST(LinExport, EntriesAndTheFactorAreWrittenSigned) {
    ZeroTable link;
    link.sensor.setLinTableByte(300, 0xF6);
    link.sensor.setLinTableByte(501, 200);
    TableExport exporter(link.com, 0);
    ASSERT_EQ(exporter.run(false, [](int, int8_t) {}), TableExport::Outcome::Complete);
    EXPECT_EQ(exporter.factor(), std::optional<int>(-56));
    EXPECT_EQ(exporter.text().rfind("Linearization factor = -56\n", 0), 0u);
    EXPECT_NE(exporter.text().find("\n300;-10;\n301;0;\n"), std::string::npos);
}

TEST(LinExport, ACachedRunReadsOnlyTheStartValueAndTheFactor) {
    ZeroTable link;
    TableExport first(link.com, 0);
    ASSERT_EQ(first.run(false, [](int, int8_t) {}), TableExport::Outcome::Complete);
    link.sensor.clearTraffic();
    TableExport second(link.com, 0);
    ASSERT_EQ(second.run(true, [](int, int8_t) {}), TableExport::Outcome::Complete);
    EXPECT_EQ(link.commands(), (std::vector<std::string>{"XA01F600", "XA01F500"}));
    EXPECT_EQ(second.text(), first.text());
}

TEST(LinExport, AnAddressThatFailsSixTimesEndsTheRunAfterTheLinesBeforeIt) {
    ZeroTable link;
    link.sensor.faults().silentCommands = {"XA012C00"};
    TableExport exporter(link.com, 0);
    int last = 0;
    const auto outcome = exporter.run(false, [&](int address, int8_t) { last = address; });
    EXPECT_EQ(outcome, TableExport::Outcome::Unreadable);
    const auto sent = link.commands();
    EXPECT_EQ(std::count(sent.begin(), sent.end(), "XA012C00"), 6 * 5)
        << "six entry reads of five attempts each";
    EXPECT_EQ(last, 299);
    EXPECT_TRUE(exporter.text().ends_with("\n299;0;\n"));
}

TEST(LinExport, NamesWithoutOverwritingTakeTheFirstFreeNumber) {
    struct Case {
        std::set<std::string> existing;
        const char* chosen;
        const char* expected;
    };
    for (const Case& c : {
             Case{{}, "/d/1234 (KYR-SSI).txt", "/d/1234 (KYR-SSI)0.txt"},
             Case{{"/d/1234 (KYR-SSI)0.txt"}, "/d/1234 (KYR-SSI).txt", "/d/1234 (KYR-SSI)1.txt"},
             Case{{}, "/d.x/table", "/d.x/table0.txt"},
             Case{{}, "/d/a.verylongextension", "/d/a.verylongextension0.txt"},
         }) {
        SCOPED_TRACE(c.chosen);
        const auto exists = [&](const std::string& name) { return c.existing.contains(name); };
        EXPECT_EQ(linearization::NumberedExportName(c.chosen, exists), c.expected);
    }
    EXPECT_EQ(linearization::DefaultExportName("1234"), "1234 (KYR-SSI).txt");
}

}  // namespace
