#include <gtest/gtest.h>

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

TEST(LinChart, PositionsSpreadOverTheLengthAndValuesTakeTheFactorUnsigned) {
    EXPECT_DOUBLE_EQ(PositionMm(1000, 350), 500.0);
    EXPECT_DOUBLE_EQ(PositionMm(1000, 500), 1000.0);
    EXPECT_EQ(ChartValue(-10, 200), -2000);
    EXPECT_EQ(ChartValue(127, 255), 32385);
}

}  // namespace
