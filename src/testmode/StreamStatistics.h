#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "testmode/SampleWindow.h"
#include "testmode/StreamDecoding.h"

namespace testmode {

// Welford's running mean and variance, with the extremes, so that a long run
// loses no precision to large sums.
class RunningStatistics {
public:
    void Add(double value);

    size_t Count() const { return count_; }
    double Mean() const { return mean_; }
    // The sample standard deviation (n - 1); 0 below two values.
    double StandardDeviation() const;
    double Minimum() const { return minimum_; }
    double Maximum() const { return maximum_; }

private:
    size_t count_ = 0;
    double mean_ = 0;
    double squares_ = 0;  // the sum of squared deviations from the mean
    double minimum_ = 0;
    double maximum_ = 0;
};

struct ErrorCounts {
    long errorValues = 0;  // blocks that carried the sensor's error value
    long undecoded = 0;    // blocks whose record was not eight hex digits

    void Count(SampleKind kind, int change);
};

struct TimedSample {
    int32_t position = 0;
    SampleKind kind = SampleKind::Position;
    int64_t timeMs = 0;
};

// The latest Capacity samples, the chart's window. Its sums are exact integers,
// so a sample that leaves is taken back out without any rounding left behind.
class WindowStatistics {
public:
    static constexpr size_t Capacity = size_t(SampleWindow::LastXBeforeRolling) + 1;

    void Add(const TimedSample& sample);

    size_t Size() const { return count_; }
    // The samples in the window that carry a position.
    size_t Positions() const { return positions_; }
    // In position units; 0 without positions.
    double Mean() const;
    double StandardDeviation() const;
    int32_t Minimum() const;
    int32_t Maximum() const;
    const ErrorCounts& Errors() const { return errors_; }
    // From the oldest sample's time to the newest's; 0 below two samples.
    double SamplesPerSecond() const;
    const TimedSample& At(size_t index) const { return samples_[(first_ + index) % Capacity]; }

private:
    void take(const TimedSample& sample, int sign);

    std::array<TimedSample, Capacity> samples_{};
    size_t first_ = 0;
    size_t count_ = 0;
    size_t positions_ = 0;
    __extension__ __int128 sum_ = 0;
    __extension__ __int128 squares_ = 0;
    ErrorCounts errors_;
};

// What the statistics panel and varnelctl show of a stretch of samples.
struct Figures {
    size_t samples = 0;    // every block, errors included
    size_t positions = 0;  // blocks with a position; the figures below are theirs
    double meanUm = 0;
    double deviationUm = 0;
    double peakToPeakUm = 0;
    double minimumMm = 0;
    double maximumMm = 0;
    double samplesPerSecond = 0;
    ErrorCounts errors;
};

// The stream's statistics over the chart's window and since the start or the
// last Reset.
class StreamStatistics {
public:
    explicit StreamStatistics(bool halfMicrometres) : halfMicrometres_(halfMicrometres) {}

    void Add(const TimedSample& sample);
    // Starts the figures since the start again; the window keeps its samples.
    void Reset();

    Figures Window() const;
    Figures SinceStart() const;
    const WindowStatistics& window() const { return window_; }
    bool HalfMicrometres() const { return halfMicrometres_; }

private:
    bool halfMicrometres_;
    WindowStatistics window_;
    RunningStatistics sinceStart_;
    ErrorCounts errors_;
    size_t samples_ = 0;
    int64_t firstMs_ = 0;
    int64_t lastMs_ = 0;
};

TimedSample Timed(const Reading& reading);

}  // namespace testmode
