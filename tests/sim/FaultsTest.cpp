#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimHarness.h"

using simtest::Link;

namespace {

TEST(FaultsTest, SilentSensorIgnoresEverything) {
    Link link;
    link.sensor.faults().silent = true;
    link.send("DNC3A518");
    EXPECT_EQ(link.ask("DA", 7), "");
    EXPECT_EQ(link.ask("YN20000000", 3), "");
    link.sensor.faults().silent = false;
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
}

TEST(FaultsTest, EveryNthReplyIsDropped) {
    Link link;
    link.sensor.faults().dropEveryNthReply = 2;
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\r");
    EXPECT_EQ(link.ask("VA", 7), "");
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\r");
    EXPECT_EQ(link.ask("VA", 7), "");
}

TEST(FaultsTest, RepliesAreCorruptedZeroedOrLoseTheirCarriageReturn) {
    Link link;
    auto& faults = link.sensor.faults();
    faults.corruptEveryNthReply = 3;    // third reply
    faults.zeroByteEveryNthReply = 4;   // fourth reply
    faults.missingCrEveryNthReply = 5;  // fifth reply
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\r");
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\r");
    EXPECT_EQ(link.ask("VA", 7), "XC6D29\r");
    EXPECT_EQ(link.ask("VA", 7), std::string("3C6D2\0\r", 7));
    EXPECT_EQ(link.ask("VA", 7), "3C6D29\n");
    EXPECT_EQ(link.sensor.traffic().back().text, "3C6D29\n");  // the log shows the wire
}

TEST(FaultsTest, ListedReadCommandsGoUnanswered) {
    Link link;
    link.sensor.faults().silentCommands = {"SA", "YA30000000"};
    EXPECT_EQ(link.ask("SA", 7), "");
    EXPECT_EQ(link.ask("YA30000000", 3), "");
    EXPECT_EQ(link.ask("YA80000000", 9), "01FFFFFF\r");
    EXPECT_EQ(link.ask("YN20000000", 3), "06\r");
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
}

TEST(FaultsTest, RefusedWritesKeepTheOldValue) {
    Link link;
    link.sensor.faults().refusedCommands = {"DN", "XN"};
    link.send("DNC3A518");
    link.send("XN012C00F6");
    link.send("NN000010");
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
    EXPECT_NE(link.sensor.linTableByte(300), 0xF6);
    EXPECT_EQ(link.ask("NA", 7), "000010\r");
}

TEST(FaultsTest, WrongLinAddressIsEchoed) {
    Link link;
    link.sensor.faults().wrongLinAddress = true;
    link.send("XN00C8005A");
    EXPECT_EQ(link.ask("XA00C800", 7), "00C95A\r");
    EXPECT_EQ(link.ask("XA01F600", 7), "00C738\r");  // the start value has no address
}

TEST(FaultsTest, UnconfirmedTeachKeepsThePoint) {
    Link link;
    link.sensor.faults().teachUnconfirmed = true;
    EXPECT_EQ(link.ask("YN00000000", 3), "15\r");
    EXPECT_EQ(link.ask("YN80000000", 3), "15\r");
    EXPECT_EQ(link.ask("YA00000000", 9), "00000000\r");
    EXPECT_EQ(link.ask("YA80000000", 9), "01FFFFFF\r");
    EXPECT_EQ(link.ask("YN40000000", 3), "06\r");  // deleting needs no magnet
}

TEST(FaultsTest, TamperedRepliesGoOutAsChangedAndEmptyOnesAreLost) {
    Link link;
    std::vector<std::string> seen;
    link.sensor.faults().tamperReply = [&](const std::string& command, std::string& wire) {
        seen.push_back(command + ":" + wire);
        if (command == "VA")
            wire = "3C6";  // cut short
        else if (command == "AA")
            wire.clear();
        else
            wire[0] = '7';
    };
    EXPECT_EQ(link.ask("VA", 7), "3C6");
    EXPECT_EQ(link.ask("AA", 9), "");
    EXPECT_EQ(link.ask("DA", 7), "720119\r");
    link.send("DN020118");  // writes have no reply to tamper with
    EXPECT_EQ(link.ask("DA", 7), "720118\r");
    EXPECT_EQ(seen, (std::vector<std::string>{"VA:3C6D29\r", "AA:00000005\r", "DA:020119\r",
                                              "DA:020118\r"}));
    EXPECT_EQ(link.sensor.traffic().back().text, "720118") << "the log shows the wire";
}

TEST(FaultsTest, CommandsTheHookRefusesAreIgnored) {
    Link link;
    std::vector<std::string> asked;
    link.sensor.faults().refuses = [&](const std::string& line) {
        asked.push_back(line);
        return line.starts_with("DN") || line == "FA";
    };
    link.send("DNC3A518");
    link.send("PROG");
    EXPECT_EQ(link.ask("FA", 9), "");
    EXPECT_EQ(link.ask("DA", 7), "020119\r");
    EXPECT_EQ(asked, (std::vector<std::string>{"DNC3A518", "FA", "DA"}));
}

}  // namespace
