#include <gtest/gtest.h>

#include "comm/SimLink.h"
#include "linearization/LinChart.h"

namespace {

using namespace linearization;

TEST(LinChart, TheToleranceIsATenthOfTheLengthAndAtLeast40) {
    struct Case {
        uint32_t lengthMm;
        int32_t tolerance;
        double axis;
    };
    for (const Case& c :
         {Case{300, 40, 50}, Case{1000, 100, 125}, Case{409, 40, 50}, Case{455, 45, 56.25}}) {
        SCOPED_TRACE(c.lengthMm);
        EXPECT_EQ(Tolerance(c.lengthMm), c.tolerance);
        EXPECT_DOUBLE_EQ(AxisLimit(Tolerance(c.lengthMm)), c.axis);
    }
}

TEST(LinChart, PointsSpreadOverTheLengthWithTheSignedEntryTimesTheUnsignedFactor) {
    SimLink link(configWith([](sim::SensorConfig& c) { c.lengthMm = 1000; }));
    ASSERT_TRUE(link.com.ReadRegister(TSSICom::Length));
    for (int address = 200; address <= 500; ++address)
        link.sensor.setLinTableByte(address, 1);
    link.sensor.setLinTableByte(350, 0xF6);
    link.sensor.setLinTableByte(501, 200);
    ChartData data;
    int progressed = 0;
    ASSERT_TRUE(ReadChartData(link.com, false, data, [&](int) { ++progressed; }));
    EXPECT_EQ(data.tolerance, 100);
    ASSERT_EQ(data.curve.size(), 301u);
    EXPECT_EQ(progressed, 301);
    EXPECT_DOUBLE_EQ(data.curve[150].x, 500.0);
    EXPECT_DOUBLE_EQ(data.curve[150].y, -2000.0);
    EXPECT_DOUBLE_EQ(data.curve[0].x, 0.0);
    EXPECT_DOUBLE_EQ(data.curve[0].y, 200.0);
    EXPECT_DOUBLE_EQ(data.curve[300].x, 1000.0);
}

}  // namespace
