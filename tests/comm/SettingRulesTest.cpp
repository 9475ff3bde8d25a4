#include <gtest/gtest.h>

#include <cstdint>

#include "comm/SensorRules.h"
#include "comm/SettingRules.h"

namespace {

using rules::ModelValue;

TEST(SettingRules, OffsetFollowsTheFilterAndTheResolution) {
    EXPECT_EQ(rules::RescaledOffset(100, 1, 3), 400);
    EXPECT_EQ(rules::RescaledOffset(-7, 2, 0), -1) << "truncates toward zero";
    EXPECT_EQ(rules::SensorOffset(250, 3, 5), 400);
    EXPECT_EQ(rules::SensorOffset(-100000, 0, 5), -20000);
}

TEST(SettingRules, MirrorBaseOfTheQModels) {
    EXPECT_EQ(rules::MirrorBase(ModelValue('Q', 'H'), 500), 614500);
    EXPECT_EQ(rules::MirrorBase(ModelValue('Q', 'H'), 5000), 5114500);
    EXPECT_EQ(rules::MirrorBase(ModelValue('Q', 'H'), 6000), 6117000);
    EXPECT_EQ(rules::MirrorBase(ModelValue('Q', 'P'), 500), 594000);
    EXPECT_FALSE(rules::MirrorBase(ModelValue('P', 'A'), 500));
    EXPECT_FALSE(rules::MirrorBase(ModelValue('K', 'H'), 500));
}

TEST(SettingRules, ScalesFromTheUltrasonicSpeed) {
    EXPECT_EQ(rules::ScaleFor(277695, 8), 177724);
    EXPECT_EQ(rules::ScaleFromSpeed(277695, 5), 284359);
    EXPECT_EQ(rules::HalfMicrometreScale(277695), 2843596);
    // The speed editor keeps the product to 32 bits; the resolution editor does not.
    EXPECT_EQ(rules::ScaleFor(10000000, 1), 51200000);
    EXPECT_EQ(rules::ScaleFromSpeed(10000000, 1), 8250327);
}

TEST(SettingRules, CycleTimesByLength) {
    struct Case {
        int32_t length;
        bool linearization;
        int32_t resolution;
        int32_t positions;
        int32_t cycleTime;
        int32_t syncTiming;
    };
    const Case cases[] = {
        {100, false, 5, 1, 903, 357},   {101, false, 5, 1, 454, 359},
        {600, false, 5, 1, 1909, 1106}, {601, false, 5, 1, 1107, 1107},
        {500, false, 5, 1, 1617, 956},  {400, true, 1, 1, 1435, 1366},
        {500, true, 1, 1, 1617, 1516},  {891, true, 1, 2, 2750, 2667},
        {614, true, 5, 1, 1944, 1867},  {615, true, 5, 1, 1953, 1868},
    };
    for (const Case& c : cases) {
        const auto times =
            rules::CycleTimesForLength(c.length, c.linearization, c.resolution, c.positions);
        EXPECT_EQ(times.cycleTime, c.cycleTime) << c.length;
        EXPECT_EQ(times.syncTiming, c.syncTiming) << c.length;
    }
}

TEST(SettingRules, ChargepumpStageByLength) {
    EXPECT_FALSE(rules::ChargepumpItemForLength(true, 24));
    EXPECT_EQ(rules::ChargepumpItemForLength(true, 25), 0);
    EXPECT_EQ(rules::ChargepumpItemForLength(true, 1600), 6);
    EXPECT_EQ(rules::ChargepumpValue(true, 6), 96);
    EXPECT_EQ(rules::ChargepumpItemForLength(true, 1601), 7);
    EXPECT_EQ(rules::ChargepumpItemForLength(false, 344), 0);
    EXPECT_EQ(rules::ChargepumpItemForLength(false, 345), 1);
    EXPECT_EQ(rules::ChargepumpItemForLength(false, 1670), 2);
}

TEST(SettingRules, ModelLettersByFirmware) {
    EXPECT_EQ(rules::ModelValueForItem(1, 3960102), ModelValue('P', 'A'));
    EXPECT_EQ(rules::ModelValueForItem(2, 3960102), ModelValue('Q', 'H'));
    EXPECT_EQ(rules::ModelValueForItem(1, 3960103), ModelValue('Q', 'P'));
    EXPECT_EQ(rules::ModelValueForItem(6, 3960103), ModelValue('Q', 'A'));

    EXPECT_FALSE(rules::QSeriesConversion(3960105, 0));
    const auto vp = rules::QSeriesConversion(3960605, 3);
    ASSERT_TRUE(vp);
    EXPECT_EQ(vp->modelValue, ModelValue('V', 'P'));
    EXPECT_EQ(vp->item, 1);
    EXPECT_EQ(rules::QSeriesConversion(3960609, 4)->modelValue, ModelValue('W', 'H'));
}

TEST(SettingRules, LongLengthsGoInFiftyMillimetreSteps) {
    EXPECT_EQ(rules::SendableLength(10030), 10000);
    EXPECT_EQ(rules::SendableLength(10050), 10050);
    EXPECT_EQ(rules::SendableLength(9999), 9999);
}

TEST(SettingRules, SensorOffsetIsTheFilterFactorOverTheResolutionTruncatingTowardZero) {
    const struct {
        int32_t micrometres, resolution, filter, offset;
    } cases[] = {
        {250, 5, 3, 400},
        {-35, 5, 2, -28},
        {-7, 5, 0, -1},
        {1, 2, 0, 0},
        {INT32_MIN, -1, 0, INT32_MIN},  // the one quotient beyond 32 bits wraps
        {0x40000000, 1, 2, 0},          // the product keeps 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rules::SensorOffset(c.micrometres, c.filter, c.resolution), c.offset)
            << c.micrometres << " / " << c.resolution;
    }
}

TEST(SettingRules, TheSpeedEditorsScaleKeepsThirtyTwoBits) {
    EXPECT_EQ(rules::ScaleFromSpeed(277695, 5), 284359);
    EXPECT_EQ(rules::ScaleFromSpeed(277695, 8), 177724);
    EXPECT_EQ(rules::ScaleFromSpeed(277695, 1), 1421798);
    EXPECT_EQ(rules::ScaleFromSpeed(9000000, 1), int32_t((9000000u * 512u) / 100u))
        << "the product wraps at 32 bits";
}

}  // namespace
