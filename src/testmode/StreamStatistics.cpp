#include "testmode/StreamStatistics.h"

#include <algorithm>
#include <cmath>

namespace testmode {

namespace {

constexpr double MsPerSecond = 1000;

double rate(size_t samples, int64_t firstMs, int64_t lastMs) {
    if (samples < 2 || lastMs <= firstMs) {
        return 0;
    }
    return double(samples - 1) * MsPerSecond / double(lastMs - firstMs);
}

}  // namespace

void RunningStatistics::Add(double value) {
    ++count_;
    const double delta = value - mean_;
    mean_ += delta / double(count_);
    squares_ += delta * (value - mean_);
    minimum_ = count_ == 1 ? value : std::min(minimum_, value);
    maximum_ = count_ == 1 ? value : std::max(maximum_, value);
}

double RunningStatistics::StandardDeviation() const {
    return count_ < 2 ? 0 : std::sqrt(std::max(0.0, squares_ / double(count_ - 1)));
}

void ErrorCounts::Count(SampleKind kind, int change) {
    if (kind == SampleKind::ErrorValue) {
        errorValues += change;
    } else if (kind == SampleKind::Undecoded) {
        undecoded += change;
    }
}

void WindowStatistics::Add(const TimedSample& sample) {
    if (count_ == Capacity) {
        take(At(0), -1);
        first_ = (first_ + 1) % Capacity;
        --count_;
    }
    samples_[(first_ + count_) % Capacity] = sample;
    ++count_;
    take(sample, 1);
}

void WindowStatistics::take(const TimedSample& sample, int sign) {
    if (sample.kind != SampleKind::Position) {
        errors_.Count(sample.kind, sign);
        return;
    }
    positions_ = size_t(int64_t(positions_) + sign);
    sum_ += sign * sample.position;
    squares_ += sign * __extension__ __int128(int64_t(sample.position) * sample.position);
}

double WindowStatistics::Mean() const {
    return positions_ == 0 ? 0 : double(sum_) / double(positions_);
}

double WindowStatistics::StandardDeviation() const {
    if (positions_ < 2) {
        return 0;
    }
    // n * sum(x^2) - sum(x)^2 is n^2 times the population variance, exactly.
    const auto n = __extension__ __int128(positions_);
    const auto spread = n * squares_ - sum_ * sum_;
    return std::sqrt(double(spread) / (double(positions_) * double(positions_ - 1)));
}

int32_t WindowStatistics::Minimum() const {
    int32_t minimum = INT32_MAX;
    for (size_t i = 0; i < count_; ++i) {
        if (At(i).kind == SampleKind::Position) {
            minimum = std::min(minimum, At(i).position);
        }
    }
    return positions_ == 0 ? 0 : minimum;
}

int32_t WindowStatistics::Maximum() const {
    int32_t maximum = INT32_MIN;
    for (size_t i = 0; i < count_; ++i) {
        if (At(i).kind == SampleKind::Position) {
            maximum = std::max(maximum, At(i).position);
        }
    }
    return positions_ == 0 ? 0 : maximum;
}

double WindowStatistics::SamplesPerSecond() const {
    return count_ == 0 ? 0 : rate(count_, At(0).timeMs, At(count_ - 1).timeMs);
}

void StreamStatistics::Add(const TimedSample& sample) {
    window_.Add(sample);
    if (samples_ == 0) {
        firstMs_ = sample.timeMs;
    }
    ++samples_;
    lastMs_ = sample.timeMs;
    if (sample.kind == SampleKind::Position) {
        sinceStart_.Add(double(sample.position));
    } else {
        errors_.Count(sample.kind, 1);
    }
}

void StreamStatistics::Reset() {
    sinceStart_ = {};
    errors_ = {};
    samples_ = 0;
}

Figures StreamStatistics::Window() const {
    Figures figures;
    figures.samples = window_.Size();
    figures.positions = window_.Positions();
    figures.errors = window_.Errors();
    figures.samplesPerSecond = window_.SamplesPerSecond();
    if (figures.positions > 0) {
        const double unitUm = Micrometres(1, halfMicrometres_);
        figures.meanUm = window_.Mean() * unitUm;
        figures.deviationUm = window_.StandardDeviation() * unitUm;
        figures.minimumMm = Millimetres(window_.Minimum(), halfMicrometres_);
        figures.maximumMm = Millimetres(window_.Maximum(), halfMicrometres_);
        figures.peakToPeakUm = (double(window_.Maximum()) - double(window_.Minimum())) * unitUm;
    }
    return figures;
}

Figures StreamStatistics::SinceStart() const {
    Figures figures;
    figures.samples = samples_;
    figures.positions = sinceStart_.Count();
    figures.errors = errors_;
    figures.samplesPerSecond = rate(samples_, firstMs_, lastMs_);
    if (figures.positions > 0) {
        const double unitUm = Micrometres(1, halfMicrometres_);
        figures.meanUm = sinceStart_.Mean() * unitUm;
        figures.deviationUm = sinceStart_.StandardDeviation() * unitUm;
        figures.minimumMm = Millimetres(int32_t(sinceStart_.Minimum()), halfMicrometres_);
        figures.maximumMm = Millimetres(int32_t(sinceStart_.Maximum()), halfMicrometres_);
        figures.peakToPeakUm = (sinceStart_.Maximum() - sinceStart_.Minimum()) * unitUm;
    }
    return figures;
}

TimedSample Timed(const Reading& reading) {
    return {reading.sample.position, reading.kind, reading.timeMs};
}

}  // namespace testmode
