#include "testmode/DeviationHistogram.h"

#include <algorithm>
#include <cmath>

namespace testmode {

Histogram DeviationHistogram(const WindowStatistics& window, bool halfMicrometres) {
    Histogram histogram;
    const double mean = window.Mean();
    double farthest = 0;
    for (size_t i = 0; i < window.Size(); ++i) {
        if (window.At(i).kind == SampleKind::Position) {
            farthest = std::max(farthest, std::abs(window.At(i).position - mean));
        }
    }
    // The farthest deviation must lie inside the outer bins' half-open range.
    const double units = std::max(1.0, std::floor(2 * farthest / double(Histogram::Bins)) + 1);
    const double unitUm = Micrometres(1, halfMicrometres);
    histogram.binWidthUm = units * unitUm;
    histogram.firstEdgeUm = -histogram.binWidthUm * double(Histogram::Bins) / 2;
    for (size_t i = 0; i < window.Size(); ++i) {
        if (window.At(i).kind != SampleKind::Position) {
            continue;
        }
        const double offset = (window.At(i).position - mean) / units + double(Histogram::Bins) / 2;
        const auto bin = size_t(std::clamp(std::floor(offset), 0.0, double(Histogram::Bins - 1)));
        ++histogram.counts[bin];
    }
    return histogram;
}

}  // namespace testmode
