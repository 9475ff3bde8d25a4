#pragma once

#include <cstdint>
#include <functional>
#include <vector>

class TSSICom;

// The geometry of the linearity chart: the non-linearity in micrometres over
// the measuring length in millimetres, inside a tolerance band of +-b.
namespace linearization {

struct ChartPoint {
    double x = 0;  // mm
    double y = 0;  // um
};

// b: a tenth of the length in micrometres, at least 40.
int32_t Tolerance(uint32_t lengthMm);
// The left axis runs from -limit to +limit.
double AxisLimit(int32_t tolerance);
double PositionMm(uint32_t lengthMm, int address);
// The signed entry times the unsigned factor.
int32_t ChartValue(int8_t entry, uint8_t factor);

struct ChartData {
    int32_t tolerance = 0;
    std::vector<ChartPoint> curve;
};

// Reads the factor (its failure is not checked) and runs the table; `progress`
// sees each address. False when an address cannot be read.
bool ReadChartData(TSSICom& sensor, bool cached, ChartData& data,
                   const std::function<void(int address)>& progress);

}  // namespace linearization
