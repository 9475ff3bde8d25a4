#include <gtest/gtest.h>

#include <cstdint>
#include <utility>

#include "comm/SensorRules.h"

namespace {

using rules::ChargepumpItem;
using rules::ChargepumpValue;
using rules::CycleTimeFor;
using rules::CycleTimeInputs;
using rules::ModelCodeFor;
using rules::SensorFamily;

constexpr int32_t Letters(char a, char b) {
    return a * 256 + b;
}

TEST(ModelCodeTable, MapsEveryKnownCodeToTypeFamilyAndItem) {
    struct Row {
        int32_t value;
        const char* type;
        SensorFamily family;
        int item;
    };
    const Row rows[] = {
        {Letters('Q', 'H'), "QH", SensorFamily::QSeries, 0},
        {Letters('Q', 'P'), "QP", SensorFamily::QSeries, 1},
        {Letters('P', 'A'), "QP", SensorFamily::QSeries, 1},
        {Letters('K', 'H'), "KH", SensorFamily::KSeries, 2},
        {Letters('K', 'P'), "KP", SensorFamily::KSeries, 3},
        {Letters('K', 'B'), "KBF", SensorFamily::KSeries, -1},
        {Letters('B', 'P'), "BP", SensorFamily::BSeries, -1},
        {Letters('Q', 'D'), "QD", SensorFamily::QSeries, 4},
        {Letters('Q', 'F'), "QF", SensorFamily::QSeries, 5},
        {Letters('Q', 'A'), "QA", SensorFamily::QSeries, 6},
        {Letters('Q', 'X'), "", SensorFamily::None, -1},
        {0, "", SensorFamily::None, -1},
    };
    for (const auto& row : rows) {
        const auto code = ModelCodeFor(row.value);
        EXPECT_EQ(code.typeText, row.type) << row.value;
        EXPECT_EQ(code.family, row.family) << row.value;
        EXPECT_EQ(code.modelItem, row.item) << row.value;
    }
}

TEST(ModelCodeTable, FamilyLineAndLetterB) {
    EXPECT_EQ(rules::FamilyLine(ModelCodeFor(Letters('P', 'A'))), "Q-Series SSI (QP)");
    EXPECT_EQ(rules::FamilyLine(ModelCodeFor(Letters('K', 'B'))), "K-Series SSI (KBF)");
    EXPECT_EQ(rules::FamilyLine(ModelCodeFor(Letters('B', 'P'))), "B-Series SSI (BP)");
    EXPECT_EQ(rules::FamilyLine(ModelCodeFor(Letters('Z', 'Z'))), "KYR Sensors SSI");
    EXPECT_TRUE(rules::ModelBeginsWithB(Letters('B', 'X')));
    EXPECT_FALSE(rules::ModelBeginsWithB(Letters('K', 'B')));
    EXPECT_TRUE(rules::IsKModelItem(2));
    EXPECT_TRUE(rules::IsKModelItem(3));
    EXPECT_FALSE(rules::IsKModelItem(-1));
    EXPECT_FALSE(rules::IsKModelItem(4));
}

TEST(FirmwareText, InsertsDashesAfterTypeAndRevisionDigits) {
    EXPECT_EQ(rules::FirmwareText("3C6D28"), "396-01-04");
    EXPECT_EQ(rules::FirmwareText("3C6D29"), "396-01-05");
    EXPECT_EQ(rules::FirmwareText("3c6f1f"), "396-06-07");
    // A sensor that never answered: the digits that are there, no stray dashes.
    EXPECT_EQ(rules::FirmwareText(""), "0");
    EXPECT_EQ(rules::FirmwareText("3039"), "123-45");
}

TEST(FirmwareType, FirstFiveCharactersOfTheUnsignedDecimalText) {
    const std::pair<int32_t, int> rows[] = {
        {3960105, 39601}, {396011, 39601},   {39606, 39606}, {3960, 3960},
        {0, 0},           {12345678, 12345}, {-1, 42949},  // 4294967295
    };
    for (const auto& [version, type] : rows)
        EXPECT_EQ(rules::FirmwareTypeOf(version), type) << version;
}

TEST(FirmwareThresholds, EachRuleSwitchesAtItsVersion) {
    struct Row {
        int32_t version;
        bool cn, corrects, blanking, wideRa, narrowSampleTime;
    };
    const Row rows[] = {
        {3960100, false, false, false, false, false}, {3960101, true, false, false, false, false},
        {3960202, true, false, false, false, false},  {3960203, true, false, false, false, true},
        {3960606, true, false, false, true, false},   {3960607, true, true, false, true, false},
        {3960609, true, true, false, true, false},    {3960610, true, true, true, true, false},
        {396061, false, false, false, true, false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(rules::CommitsWithCN(row.version), row.cn) << row.version;
        EXPECT_EQ(rules::AppliesCorrections(row.version), row.corrects) << row.version;
        EXPECT_EQ(rules::HasBlanking(row.version), row.blanking) << row.version;
        EXPECT_EQ(rules::HasWideRaWord(row.version), row.wideRa) << row.version;
        EXPECT_EQ(rules::HasSampleTimeInNarrowRaWord(row.version), row.narrowSampleTime)
            << row.version;
        EXPECT_EQ(rules::HasSampleCycle(row.version), row.wideRa || row.narrowSampleTime)
            << row.version;
    }
}

TEST(HalfMicrometres, OnlyAboveTheLargestMicrometreScale) {
    EXPECT_FALSE(rules::UsesHalfMicrometres(0x1F0000));
    EXPECT_TRUE(rules::UsesHalfMicrometres(0x1F0001));
    EXPECT_FALSE(rules::UsesHalfMicrometres(284359));
}

TEST(OffsetMicrons, RawOnlyForOffsetRawFirmware) {
    EXPECT_EQ(rules::OffsetMicrons(3960405, 100, 5, 2), 100);
    EXPECT_EQ(rules::OffsetMicrons(3960400, 100, 5, 2), 100);
    EXPECT_EQ(rules::OffsetMicrons(3960415, 100, 5, 2), 100);
    EXPECT_EQ(rules::OffsetMicrons(3960416, 100, 5, 2), 125);
    EXPECT_EQ(rules::OffsetMicrons(3960399, 100, 5, 2), 125);
}

TEST(OffsetMicrons, SignedTruncationAndThirtyTwoBitProduct) {
    EXPECT_EQ(rules::OffsetMicrons(3960105, -7, 5, 2), -8);  // -35 / 4 toward zero
    EXPECT_EQ(rules::OffsetMicrons(3960105, 7, 5, 3), 4);
    // 8388607 * 1000 wraps in 32 bits.
    EXPECT_EQ(rules::OffsetMicrons(3960105, 8388607, 1000, 0),
              static_cast<int32_t>(8388607u * 1000u));
}

TEST(CycleTimeLine, SynchronousAddsTheOverheads) {
    CycleTimeInputs in;
    in.measurement = 2;
    in.jitterWindow = 50;
    in.outputFlags = 1;
    in.outputCode = 0;
    in.positionCount = 2;
    in.syncTiming = 956;
    auto line = CycleTimeFor(in);
    EXPECT_TRUE(line.synchronous);
    EXPECT_EQ(line.minPeriodOverhead, 95);
    EXPECT_EQ(line.microseconds, 334);

    in.temperatureCompensation = true;
    in.outputCode = 1;
    in.outputFlags = 2;
    in.positionCount = 1;
    line = CycleTimeFor(in);
    EXPECT_EQ(line.minPeriodOverhead, 50 + 33 + 63);
    EXPECT_EQ(line.microseconds, 239 + 146);
}

TEST(CycleTimeLine, AsynchronousShowsTheCycleTime) {
    CycleTimeInputs in;
    in.measurement = 0;
    in.jitterWindow = 50;
    in.outputFlags = 1;
    in.cycleTime = 1667;
    in.syncTiming = 956;
    const auto line = CycleTimeFor(in);
    EXPECT_FALSE(line.synchronous);
    EXPECT_EQ(line.microseconds, 416);
    EXPECT_EQ(line.minPeriodOverhead, 83);
}

TEST(ChargepumpItems, EightStagesForKbfThreeOtherwise) {
    const int32_t stages[] = {0, 128, 64, 192, 32, 160, 96, 224};
    for (int item = 0; item < 8; ++item) {
        EXPECT_EQ(ChargepumpItem(true, stages[item]), item);
        EXPECT_EQ(ChargepumpValue(true, item), stages[item]);
    }
    EXPECT_EQ(ChargepumpItem(true, 100), -1);
    EXPECT_EQ(ChargepumpItem(true, 1), -1);
    EXPECT_EQ(ChargepumpItem(false, 1), 1);
    EXPECT_EQ(ChargepumpItem(false, 2), 2);
    EXPECT_EQ(ChargepumpItem(false, 3), -1);
    EXPECT_EQ(ChargepumpItem(false, 128), -1);
}

TEST(PointText, MillimetresFromCountsOffsetAndLinearization) {
    using rules::PointText;
    EXPECT_EQ(PointText(20000, false, 0, false, 5), "100.000 mm");
    EXPECT_EQ(PointText(20000, false, -1500, false, 5), "98.500 mm");
    EXPECT_EQ(PointText(20000, false, 0, true, 5), "20.000 mm");
    EXPECT_EQ(PointText(100, false, 0, false, 5), ".500 mm");
    EXPECT_EQ(PointText(0, false, 0, false, 5), std::nullopt);
    EXPECT_EQ(PointText(rules::NoEndPoint, true, 0, false, 5), std::nullopt);
    // The values that mean "not taught" differ between the two points.
    EXPECT_EQ(PointText(0, true, 0, false, 5), "0.000 mm");
    EXPECT_EQ(PointText(rules::NoEndPoint, false, 0, true, 5), "33554.431 mm");
}

TEST(PointText, BelowAHundredMicrometresKeepsThePointInPlace) {
    using rules::MillimetreText;
    EXPECT_EQ(MillimetreText(50), "0.050");
    EXPECT_EQ(MillimetreText(5), "0.005");
    EXPECT_EQ(MillimetreText(99), "0.099");
    EXPECT_EQ(MillimetreText(-50), "-0.050");
    EXPECT_EQ(MillimetreText(-7), "-0.007");
    EXPECT_EQ(MillimetreText(0), "0.000");
    EXPECT_EQ(MillimetreText(-1500), "-1.500");
    EXPECT_EQ(MillimetreText(123456), "123.456");
}

TEST(FieldInteger, WholeTextOrZero) {
    EXPECT_EQ(rules::FieldInteger("-1500"), -1500);
    EXPECT_EQ(rules::FieldInteger("+12"), 12);
    EXPECT_EQ(rules::FieldInteger("12a"), 0);
    EXPECT_EQ(rules::FieldInteger(""), 0);
    EXPECT_EQ(rules::FieldInteger("99999999999"), 0);
}

}  // namespace
