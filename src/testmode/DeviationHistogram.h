#pragma once

#include <cstddef>
#include <vector>

#include "testmode/StreamStatistics.h"

namespace testmode {

// How far the window's positions lie from their mean, counted in bins of equal
// width centred on 0. The width is a whole number of position units, the
// smallest that takes in the farthest position.
struct Histogram {
    static constexpr size_t Bins = 21;

    double binWidthUm = 0;
    double firstEdgeUm = 0;  // the lower edge of the first bin
    std::vector<size_t> counts = std::vector<size_t>(Bins, 0);

    double CentreUm(size_t bin) const { return firstEdgeUm + (double(bin) + 0.5) * binWidthUm; }
};

Histogram DeviationHistogram(const WindowStatistics& window, bool halfMicrometres);

}  // namespace testmode
