#include <gtest/gtest.h>

#include "comm/SensorRules.h"
#include "comm/SimLink.h"

using R = TSSICom::RegisterIndex;

TEST(HexDecoding, WalksEveryCharacterWithA32BitWeight) {
    EXPECT_EQ(TSSICom::HexToInt("00C8"), 200u);
    EXPECT_EQ(TSSICom::HexToInt("FF"), 255u);
    EXPECT_EQ(TSSICom::HexToInt("1g"), 16u);
    EXPECT_EQ(TSSICom::HexToInt(""), 0u);
    EXPECT_EQ(TSSICom::HexToInt("FFFFFFFF"), 4294967295u);
    EXPECT_EQ(TSSICom::HexToInt("1ffffffff"), 0xFFFFFFFFu) << "only the last eight places count";
    EXPECT_EQ(TSSICom::PrefixedHexToInt("06"), 6);
    EXPECT_EQ(TSSICom::PrefixedHexToInt("80000000"), INT32_MIN);
    EXPECT_EQ(TSSICom::PrefixedHexToInt("0g"), -1);
    EXPECT_EQ(TSSICom::PrefixedHexToInt(""), -1);
    EXPECT_EQ(TSSICom::PrefixedHexToInt("100000000"), -1);
}

TEST(RegisterTable, ResetAndDemoSet) {
    SimLink link;
    link.com[R::Direction] = {7, 1, 1, 1, 1, "x", "y", "z"};
    link.com.ResetTable();
    EXPECT_EQ(link.com[R::Direction], (TSSICom::DataElement{0, 0x10000, 16, 0, 0, "", "DA", "DN"}));
    link.com[R::Scale].Answered = 1;
    link.com.LoadDemoSet();
    EXPECT_EQ(link.com[R::Model].Value, 'Q' * 256 + 'H');
    EXPECT_EQ(link.com[R::FirmwareVersion].Reply, "3C6D28");
    EXPECT_EQ(link.com[R::Scale].Answered, 1) << "flags stay as they are";
}

TEST(RegisterRead, CutsSharedWords) {
    SimLink link;
    link.sensor.setWord("DA", 0xC3A519);
    const R fields[] = {R::Filter,     R::SlowAvarageFilter, R::SSIStartSync,      R::Measurement,
                        R::OutputCode, R::Direction,         R::IndicationCounter, R::BitWidth};
    const int32_t values[] = {3, 0, 0, 0, 1, 1, 165, 25};
    for (size_t i = 0; i < std::size(fields); ++i) {
        ASSERT_TRUE(link.com.ReadRegister(fields[i]));
        EXPECT_EQ(link.com[fields[i]].Value, values[i]) << TSSICom::RegisterKey(fields[i]);
    }
    for (const auto& [word, value] : {std::pair{0xFFFFFEu, -2}, {0x7FFFFFu, 8388607}}) {
        link.sensor.setWord("NA", word);
        ASSERT_TRUE(link.com.ReadRegister(R::Offset));
        EXPECT_EQ(link.com[R::Offset].Value, value);
    }
}

TEST(RegisterRead, LengthCodeAndModelLetters) {
    for (const int length : {12350, 12300, 500}) {
        SimLink link(configWith([&](auto& c) { c.lengthMm = length; }));
        ASSERT_TRUE(link.com.ReadRegister(R::Length));
        EXPECT_EQ(link.com[R::Length].Value, length) << link.com[R::Length].Reply;
        ASSERT_TRUE(link.com.ReadRegister(R::Model));
        EXPECT_EQ(link.com[R::Model].Value, 'Q' * 256 + 'H');
    }
}

TEST(RegisterRead, SampleTimeComesWithTheRaWord) {
    SimLink link(firmware(3960607));
    link.sensor.setWord("RA", 0x8000FF01);
    ASSERT_TRUE(link.com.ReadRegister(R::FirmwareVersion));
    ASSERT_TRUE(link.com.ReadRegister(R::PowerfailTime));
    ASSERT_TRUE(link.com.ReadRegister(R::LinearizationFlags));
    EXPECT_EQ(link.com[R::PowerfailTime].Value, 1);
    EXPECT_EQ(link.com[R::LinearizationFlags].Value, 255);
    EXPECT_EQ(link.com[R::SSISampleTime].Value, 32768);

    SimLink older(firmware(3960203));
    older.sensor.setWord("RA", 0x12AB05);
    ASSERT_TRUE(older.com.ReadRegister(R::FirmwareVersion));
    ASSERT_TRUE(older.com.ReadRegister(R::PowerfailTime));
    EXPECT_EQ(older.com[R::PowerfailTime].Value, 5);
    EXPECT_EQ(older.com[R::SSISampleTime].Value, 0x12AB);
    EXPECT_FALSE(older.com.ReadRegister(R::LinearizationFlags)) << "eight digits expected";
}

TEST(RegisterRead, TextAndDecimalReplies) {
    SimLink link(configWith([](auto& c) { c.factoryNumber = "AB123456"; }));
    ASSERT_TRUE(link.com.ReadRegister(R::FactoryNumber));
    EXPECT_EQ(link.com[R::FactoryNumber].Reply, "AB123456");
    EXPECT_EQ(link.com[R::FactoryNumber].Value, -1);
    ASSERT_TRUE(link.com.ReadRegister(R::Resolution));
    EXPECT_EQ(link.com[R::Resolution].Value, 5);
    ASSERT_TRUE(link.com.ReadRegister(R::SecErrorValue));
    EXPECT_EQ(link.com[R::SecErrorValue].Value, 1);
    ASSERT_TRUE(link.com.ReadRegister(R::EndPoint));
    EXPECT_EQ(link.com[R::EndPoint].Value, rules::NoEndPoint);
}

TEST(RegisterRead, GarbledReplyIsNeverDecoded) {
    SimLink link;
    link.com[R::Resolution].Value = 7;
    link.com[R::BitWidth].Value = 9;
    link.sensor.faults().corruptEveryNthReply = 1;
    EXPECT_FALSE(link.com.ReadRegister(R::Resolution));
    EXPECT_FALSE(link.com.ReadRegister(R::BitWidth));
    EXPECT_EQ(link.com[R::Resolution].Value, 7);
    EXPECT_EQ(link.com[R::BitWidth].Value, 9);
    EXPECT_EQ(link.com[R::BitWidth].Answered, 0);
    EXPECT_EQ(link.com[R::BitWidth].Reply, "");
    link.sensor.faults().corruptEveryNthReply = 2;
    EXPECT_TRUE(link.com.ReadRegister(R::BitWidth)) << "every other reply is clean";
}

TEST(ReadTiming, FiftyMillisecondsBeforeTheRead) {
    SimLink link;
    ASSERT_TRUE(link.com.ReadRegister(R::BitWidth));
    EXPECT_EQ(link.elapsedSince(link.lastCommandTime()), 50);
    ASSERT_TRUE(link.com.ReadRegister(R::OperatingTime));
    const int64_t operatingTime = link.elapsedSince(link.lastCommandTime());
    EXPECT_GT(operatingTime, 25);
    EXPECT_LT(operatingTime, 50) << "the TA read waits only for the reply";
}

TEST(ReadTiming, SilentSensorCostsFiveOrSixAttempts) {
    for (const auto& [r, attempts] : {std::pair{R::Filter, 5}, {R::Blanking, 6}}) {
        SimLink link;
        link.sensor.faults().silent = true;
        link.com[r].Answered = 1;
        EXPECT_FALSE(link.com.ReadRegister(r));
        EXPECT_EQ(link.com[r].Answered, 0);
        EXPECT_EQ(link.commands().size(), size_t(attempts));
        EXPECT_EQ(link.clock.now(), attempts * (7 + 50 + 50));
    }
}

TEST(LinearizationTable, AddressEchoDecides) {
    SimLink link;
    link.com[R::LinTableByte].Value = 0x15A;
    ASSERT_TRUE(link.com.WriteLinTableByte(200));
    EXPECT_EQ(link.commands().front(), "XN00C8005A");
    EXPECT_EQ(link.sensor.linTableByte(200), 0x5A);
    link.sensor.clearTraffic();
    ASSERT_TRUE(link.com.ReadLinTableByte(200));
    EXPECT_EQ(link.commands(), std::vector<std::string>{"XA00C800"});
    EXPECT_EQ(link.com[R::LinTableByte].Reply, "00C85A");
    EXPECT_EQ(link.com.Parameters().LinTableImage[0], 0x5A);
    EXPECT_EQ(link.com[R::LinTableAddress].Value, 200);

    link.sensor.faults().wrongLinAddress = true;
    link.sensor.clearTraffic();
    EXPECT_FALSE(link.com.ReadLinTableByte(200));
    EXPECT_EQ(link.commands().size(), 1u) << "no retry after a wrong address";
    EXPECT_EQ(link.com[R::LinTableAddress].Value, 201);
    EXPECT_FALSE(link.com.WriteLinTableByte(200));
    EXPECT_FALSE(link.com.ReadLinTableByte(199));
}
