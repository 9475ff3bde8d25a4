#include "linearization/LinChart.h"

#include <algorithm>

#include "comm/Ssicom.h"
#include "linearization/LinTable.h"

namespace linearization {

namespace {

constexpr int32_t MinimumToleranceUm = 40;
constexpr double AxisMargin = 1.25;
constexpr int AddressSpan = ParameterSet::LinTableLastEntry - ParameterSet::LinTableFirstAddress;

}  // namespace

int32_t Tolerance(uint32_t lengthMm) {
    const auto tenth = static_cast<int32_t>(lengthMm * 0.1);
    return std::max(tenth, MinimumToleranceUm);
}

double AxisLimit(int32_t tolerance) {
    return AxisMargin * tolerance;
}

double PositionMm(uint32_t lengthMm, int address) {
    return lengthMm * (1.0 / AddressSpan) * (address - ParameterSet::LinTableFirstAddress);
}

int32_t ChartValue(int8_t entry, uint8_t factor) {
    return int32_t{entry} * int32_t{factor};
}

bool ReadChartData(TSSICom& sensor, bool cached, ChartData& data,
                   const std::function<void(int address)>& progress) {
    const auto length = static_cast<uint32_t>(sensor[TSSICom::Length].Value);
    data.tolerance = Tolerance(length);
    sensor.ReadLinTableByte(ParameterSet::LinFactorAddress);
    const auto factor = static_cast<uint8_t>(sensor[TSSICom::LinTableByte].Value & 0xFF);
    data.curve.clear();
    return RunTable(sensor, cached, [&](int address, int8_t value) {
        progress(address);
        data.curve.push_back({PositionMm(length, address), double(ChartValue(value, factor))});
    });
}

}  // namespace linearization
