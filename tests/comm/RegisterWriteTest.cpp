#include <gtest/gtest.h>

#include "comm/SimLink.h"

using R = TSSICom::RegisterIndex;

namespace {
// Writes `value` and returns the write commands that went out.
std::vector<std::string> write(SimLink& link, R r, int32_t value, bool expectOk = true) {
    link.sensor.clearTraffic();
    link.com[r].Value = value;
    EXPECT_EQ(link.com.WriteRegister(r), expectOk) << TSSICom::RegisterKey(r);
    std::vector<std::string> writes;
    for (const std::string& command : link.commands()) {
        if (command.size() > 1 && command[1] == 'N') {
            writes.push_back(command);
        }
    }
    return writes;
}
using Lines = std::vector<std::string>;
}  // namespace

TEST(RegisterWrite, ReadModifyWriteKeepsNeighbours) {
    SimLink link;
    link.sensor.setWord("DA", 0xC3A518);
    EXPECT_EQ(write(link, R::Direction, 1), Lines{"DNC3A518"});
    EXPECT_EQ(write(link, R::Direction, 0), Lines{"DNC2A518"});
    EXPECT_EQ(link.sensor.word("DA"), 0xC2A518u);
    EXPECT_EQ(link.commands(), (Lines{"DA", "DNC2A518", "DA"}));
    EXPECT_EQ(write(link, R::IndicationCounter, 3), Lines{"DNC20318"});
    EXPECT_EQ(link.com[R::IndicationCounter].Answered, 1);
}

TEST(RegisterWrite, SpecialEncodingsOnTheWire) {
    SimLink link;
    EXPECT_EQ(write(link, R::Resolution, 5), Lines{"AN00000005"});
    EXPECT_EQ(write(link, R::Length, 500), Lines{"LNQH0500"});
    EXPECT_EQ(write(link, R::Length, 12300), Lines{"LNQH123F"});
    EXPECT_EQ(write(link, R::Length, 12350), Lines{"LNQH123C"});
    EXPECT_EQ(link.sensor.laWord(), "QH123C");
    EXPECT_EQ(write(link, R::Offset, -2), Lines{"NNFFFFFE"});
    EXPECT_EQ(link.com[R::Offset].Value, -2);
    EXPECT_EQ(write(link, R::UltrasonicSpeed, 277695), Lines{"UN277695"});
    EXPECT_EQ(write(link, R::ErrorValue, -1), Lines{"PNFFFFFFFF"});
    EXPECT_EQ(write(link, R::LinStartValue, -3), Lines{"XN33FFFFFD"});
    EXPECT_EQ(link.sensor.linStartValue(), -3);
    EXPECT_EQ(write(link, R::SecErrorValue, 0), Lines{"YN20000000"});
    EXPECT_EQ(link.commands().back(), "YA30000000");
    EXPECT_EQ(link.com[R::SecErrorValue].Value, 0);
    EXPECT_EQ(write(link, R::SecErrorValue, 5), Lines{"YN30000000"});
}

TEST(RegisterWrite, ModelIsSentWithoutReadBack) {
    SimLink link;
    EXPECT_EQ(write(link, R::Model, 'K' * 256 + 'P'), Lines{"LNKP0500"});
    EXPECT_EQ(link.commands().back(), "LNKP0500");
    EXPECT_EQ(link.com[R::Model].Value, 'K' * 256 + 'P');
    EXPECT_EQ(link.sensor.laWord(), "KP0500");
}

TEST(RegisterWrite, FactoryNumberIsPaddedAndCompared) {
    SimLink link;
    link.com[R::FactoryNumber].Reply = "ab12";
    EXPECT_EQ(write(link, R::FactoryNumber, 0), Lines{"FN0000AB12"});
    EXPECT_EQ(link.sensor.factoryNumber(), "0000AB12");
    EXPECT_EQ(link.com[R::FactoryNumber].Reply, "0000AB12");
    link.com[R::FactoryNumber].Reply = "12\r45";
    EXPECT_EQ(write(link, R::FactoryNumber, 0, false), Lines{});
}

TEST(RegisterWrite, ValuesOutsideTheirFieldAreNotSent) {
    SimLink link;
    for (const auto& [r, value] : {std::pair{R::BitWidth, 300},
                                   {R::Direction, 2},
                                   {R::Offset, 0x800000},
                                   {R::Length, 12345},
                                   {R::Length, 70000},
                                   {R::Resolution, -5},
                                   {R::Model, 0},
                                   {R::Model, '5' * 256 + 'H'},
                                   {R::Model, 'Q' * 256 + 'h'}}) {
        EXPECT_EQ(write(link, r, value, false), Lines{}) << TSSICom::RegisterKey(r);
        EXPECT_TRUE(link.sensor.traffic().empty());
        EXPECT_EQ(link.com[r].Value, value);
    }
    EXPECT_EQ(write(link, R::FirmwareVersion, 1, false), Lines{});
}

TEST(RegisterWrite, RefusedValueCostsFiveAttemptsWithPauses) {
    SimLink link;
    link.sensor.faults().refusedCommands = {"DN"};
    EXPECT_EQ(write(link, R::Direction, 1, false), Lines(5, "DN030119"));
    const std::vector<int64_t> times = link.commandTimes();
    ASSERT_EQ(times.size(), 15u);
    EXPECT_EQ(times[1] - times[0], 50 + 19) << "DA read, then nine bytes of DN";
    EXPECT_EQ(times[3] - times[2], 50 + 50 + 7) << "read-back, pause, next DA";
    EXPECT_EQ(link.elapsedSince(times.back()), 50 + 50) << "the last attempt pauses too";
    EXPECT_EQ(link.com[R::Direction].Value, 0) << "as the last read-back showed";
    EXPECT_EQ(link.com[R::Direction].Answered, 1);
}

TEST(RegisterWrite, BitWidthFailsAtOnceWhenItsFirstReadFails) {
    SimLink link;
    link.sensor.faults().silentCommands = {"DA"};
    EXPECT_EQ(write(link, R::BitWidth, 24, false), Lines{});
    EXPECT_EQ(link.commands(), Lines(5, "DA"));
    EXPECT_EQ(link.com[R::BitWidth].Value, 24);
    EXPECT_EQ(link.com[R::BitWidth].Answered, 0);

    SimLink ok;
    EXPECT_EQ(write(ok, R::BitWidth, 24), Lines{"DN020118"});
    EXPECT_EQ(ok.commands(), (Lines{"DA", "DN020118", "DA"}));
}

TEST(RangePoints, TeachWaitsForTheConfirmation) {
    SimLink link;
    ASSERT_TRUE(link.com.TeachStartPoint(TSSICom::SetStartPointArg));
    EXPECT_EQ(link.commands(), Lines{"YN00000000"});
    EXPECT_EQ(link.elapsedSince(link.lastCommandTime()), 10 + 15 + 250);
    EXPECT_EQ(link.com[R::StartPoint].Answered, 1);

    link.sensor.setMagnet(100000, 2);
    link.sensor.clearTraffic();
    EXPECT_FALSE(link.com.TeachEndPoint(TSSICom::SetEndPointArg));
    EXPECT_EQ(link.commands(), Lines(5, "YN80000000"));
    EXPECT_EQ(link.com[R::EndPoint].Answered, 0);
    EXPECT_FALSE(link.com.TeachEndPoint("8000000\r"));
}

TEST(RegisterWrite, UnansweredReadBackIsAFailure) {
    SimLink link;
    link.sensor.faults().silentCommands = {"XA"};
    EXPECT_EQ(write(link, R::LinStartValue, 5, false), Lines(5, "XN33000005"));
    link.com[R::LinTableByte].Value = 7;
    EXPECT_FALSE(link.com.WriteLinTableByte(200));
    EXPECT_EQ(link.sensor.linTableByte(200), 7) << "sent, but never confirmed";
}

TEST(RegisterWrite, AValueThatNeverLeftThePortIsNotShownAsAnswered) {
    // When the write command goes out, from a write that goes through.
    SimLink reference;
    ASSERT_EQ(write(reference, R::BitWidth, 24), Lines{"DN020118"});
    const int64_t commandArrives = reference.commandTimes().at(1);

    SimLink link;
    link.backend.unplugBetween(commandArrives - 1, commandArrives + 1000);
    EXPECT_EQ(write(link, R::BitWidth, 24, false), Lines{});
    EXPECT_EQ(link.commands(), Lines{"DA"}) << "the read before the write answered";
    EXPECT_EQ(link.com[R::BitWidth].Answered, 0);
    EXPECT_EQ(link.sensor.word("DA"), 0x020119u);
}
