#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "support/FileText.h"
#include "testmode/DeviationHistogram.h"
#include "testmode/SampleRecorder.h"
#include "testmode/StreamStatistics.h"

namespace {

using testmode::SampleKind;
using testmode::TimedSample;

TimedSample At(int32_t position, int64_t timeMs = 0, SampleKind kind = SampleKind::Position) {
    return {position, kind, timeMs};
}

TEST(RunningStatistics, MatchesHandComputedFiguresAndKeepsPrecisionFarFromZero) {
    const struct {
        std::vector<double> values;
        double mean, deviation, minimum, maximum;
    } cases[] = {
        // Squared deviations 9+1+1+1+0+0+4+16 = 32 over 7.
        {{2, 4, 4, 4, 5, 5, 7, 9}, 5, std::sqrt(32.0 / 7), 2, 9},
        // Squared deviations 36+9+9+36 = 90 over 3; sums of squares near 4e18 would lose them.
        {{2e9 + 4, 2e9 + 7, 2e9 + 13, 2e9 + 16}, 2e9 + 10, std::sqrt(30.0), 2e9 + 4, 2e9 + 16},
        {{-3}, -3, 0, -3, -3},
        {{7, 7, 7}, 7, 0, 7, 7},
    };
    for (const auto& c : cases) {
        testmode::RunningStatistics statistics;
        for (const double v : c.values) {
            statistics.Add(v);
        }
        EXPECT_EQ(statistics.Count(), c.values.size());
        EXPECT_DOUBLE_EQ(statistics.Mean(), c.mean);
        EXPECT_NEAR(statistics.StandardDeviation(), c.deviation, 1e-9);
        EXPECT_EQ(statistics.Minimum(), c.minimum);
        EXPECT_EQ(statistics.Maximum(), c.maximum);
    }
}

TEST(WindowStatistics, APointThatLeavesTheWindowLeavesItsFigures) {
    testmode::WindowStatistics window;
    ASSERT_EQ(testmode::WindowStatistics::Capacity, 300u);
    // The first sample is the sensor's error value, the second is no record.
    window.Add(At(0, 0, SampleKind::ErrorValue));
    window.Add(At(0, 2, SampleKind::Undecoded));
    for (int i = 1; i <= 298; ++i) {
        window.Add(At(i, 2 * (i + 1)));
    }
    EXPECT_EQ(window.Size(), 300u);
    EXPECT_EQ(window.Positions(), 298u);
    EXPECT_EQ(window.Errors().errorValues, 1);
    EXPECT_EQ(window.Errors().undecoded, 1);
    EXPECT_DOUBLE_EQ(window.Mean(), 149.5);
    // 298 consecutive integers: n(n+1)/12.
    EXPECT_NEAR(window.StandardDeviation(), std::sqrt(298.0 * 299 / 12), 1e-9);
    EXPECT_DOUBLE_EQ(window.SamplesPerSecond(), 500);

    window.Add(At(299, 600));
    EXPECT_EQ(window.Errors().errorValues, 0);
    EXPECT_EQ(window.Errors().undecoded, 1);
    window.Add(At(300, 602));
    window.Add(At(301, 604));
    EXPECT_EQ(window.Errors().undecoded, 0);
    // Now 2 ... 301: 300 consecutive integers.
    EXPECT_EQ(window.Size(), 300u);
    EXPECT_EQ(window.Positions(), 300u);
    EXPECT_DOUBLE_EQ(window.Mean(), 151.5);
    EXPECT_NEAR(window.StandardDeviation(), std::sqrt(300.0 * 301 / 12), 1e-9);
    EXPECT_EQ(window.Minimum(), 2);
    EXPECT_EQ(window.Maximum(), 301);
}

// After many samples far from zero the running update still agrees with the
// window computed afresh, to the last bit of the deviation's few micrometres.
TEST(WindowStatistics, RunningUpdateAgreesWithTheWindowComputedAfresh) {
    testmode::WindowStatistics window;
    std::vector<int32_t> all;
    for (int i = 0; i < 5000; ++i) {
        const int32_t position = 2000000000 + (i * 7919 % 13) - 6;
        all.push_back(position);
        window.Add(At(position, i));
    }
    double sum = 0;
    for (size_t i = all.size() - 300; i < all.size(); ++i) {
        sum += all[i] - 2000000000;
    }
    const double mean = sum / 300;
    double squares = 0;
    for (size_t i = all.size() - 300; i < all.size(); ++i) {
        squares += (all[i] - 2000000000 - mean) * (all[i] - 2000000000 - mean);
    }
    EXPECT_NEAR(window.Mean() - 2000000000, mean, 1e-6);
    EXPECT_NEAR(window.StandardDeviation(), std::sqrt(squares / 299), 1e-12);
    EXPECT_EQ(window.Minimum(), 2000000000 - 6);
    EXPECT_EQ(window.Maximum(), 2000000000 + 6);
}

TEST(StreamStatistics, FiguresInMicrometresAndMillimetresAndAReset) {
    testmode::StreamStatistics statistics(true);  // half micrometres
    statistics.Add(At(1000, 10));
    statistics.Add(At(1006, 12));
    statistics.Add(At(0, 14, SampleKind::ErrorValue));
    statistics.Add(At(1002, 16));
    for (const testmode::Figures& f : {statistics.SinceStart(), statistics.Window()}) {
        EXPECT_EQ(f.samples, 4u);
        EXPECT_EQ(f.positions, 3u);
        EXPECT_DOUBLE_EQ(f.meanUm, 501.3333333333333);
        // Deviations in units -8/3, 10/3, -2/3: squares 168/9 over 2, in half micrometres.
        EXPECT_NEAR(f.deviationUm, 0.5 * std::sqrt(168.0 / 9 / 2), 1e-12);
        EXPECT_DOUBLE_EQ(f.peakToPeakUm, 3);
        EXPECT_DOUBLE_EQ(f.minimumMm, 0.5);
        EXPECT_DOUBLE_EQ(f.maximumMm, 0.503);
        EXPECT_DOUBLE_EQ(f.samplesPerSecond, 500);
        EXPECT_EQ(f.errors.errorValues, 1);
        EXPECT_EQ(f.errors.undecoded, 0);
    }
    statistics.Reset();
    statistics.Add(At(2000, 20, SampleKind::Undecoded));
    statistics.Add(At(2000, 30));
    const testmode::Figures since = statistics.SinceStart();
    EXPECT_EQ(since.samples, 2u);
    EXPECT_EQ(since.positions, 1u);
    EXPECT_DOUBLE_EQ(since.meanUm, 1000);
    EXPECT_DOUBLE_EQ(since.deviationUm, 0);
    EXPECT_DOUBLE_EQ(since.samplesPerSecond, 100);
    EXPECT_EQ(since.errors.errorValues, 0);
    EXPECT_EQ(since.errors.undecoded, 1);
    EXPECT_EQ(statistics.Window().samples, 6u);
    EXPECT_EQ(statistics.Window().errors.undecoded, 1);
}

TEST(DeviationHistogram, BinsOfWholeUnitsCentredOnTheMean) {
    const struct {
        std::vector<int32_t> positions;
        bool half;
        double widthUm;
        std::vector<std::pair<size_t, size_t>> counts;  // bin, count; the rest are 0
    } cases[] = {
        {{5, 5, 5, 15, -5}, false, 1, {{0, 1}, {10, 3}, {20, 1}}},  // mean 5, farthest 10
        {{-105, 105, 0}, false, 11, {{0, 1}, {10, 1}, {20, 1}}},    // 210/21 is 10 units
        {{-105, 105, 0}, true, 5.5, {{0, 1}, {10, 1}, {20, 1}}},
        {{7, 7}, false, 1, {{10, 2}}},
    };
    for (const auto& c : cases) {
        testmode::WindowStatistics window;
        for (const int32_t p : c.positions) {
            window.Add(At(p));
        }
        window.Add(At(99999, 0, SampleKind::ErrorValue));
        const testmode::Histogram histogram = testmode::DeviationHistogram(window, c.half);
        std::vector<size_t> expected(testmode::Histogram::Bins, 0);
        for (const auto& [bin, count] : c.counts) {
            expected[bin] = count;
        }
        EXPECT_EQ(histogram.counts, expected) << c.positions.size();
        EXPECT_DOUBLE_EQ(histogram.binWidthUm, c.widthUm);
        EXPECT_DOUBLE_EQ(histogram.firstEdgeUm, -10.5 * c.widthUm);
        EXPECT_DOUBLE_EQ(histogram.CentreUm(10), 0);
    }
}

class SampleRecording : public testing::Test {
protected:
    void SetUp() override {
        dir = std::filesystem::temp_directory_path() /
              ("varnel-recorder-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
    }
    void TearDown() override { std::filesystem::remove_all(dir); }

    static testmode::Reading reading(int32_t position, uint32_t word, int64_t timeMs,
                                     std::optional<int8_t> temperature = std::nullopt) {
        testmode::Reading r;
        r.sample = {position, temperature};
        r.word = word;
        r.timeMs = timeMs;
        return r;
    }

    std::filesystem::path dir;
};

TEST_F(SampleRecording, WritesEverySampleAndTheRestOnStop) {
    const std::string path = (dir / "run.csv").string();
    testmode::SampleRecorder recorder(false);
    ASSERT_TRUE(recorder.Start(path));
    EXPECT_EQ(testsupport::FileText(path), "time_ms,raw,position_mm,temperature\n");
    recorder.Add(reading(123450, 0x0001E23A, 1000));
    recorder.Add(reading(-5, 0xFFFFFFFB, 1002, -7));
    EXPECT_TRUE(recorder.Flush());
    recorder.Add(reading(250000, 0x19F3D0A0, 1503, 25));
    EXPECT_TRUE(recorder.Stop());
    EXPECT_FALSE(recorder.Recording());
    EXPECT_EQ(recorder.Samples(), 3);
    EXPECT_EQ(testsupport::FileText(path),
              "time_ms,raw,position_mm,temperature\n"
              "0,0001E23A,123.45,\n"
              "2,FFFFFFFB,-0.005,-7\n"
              "503,19F3D0A0,250,25\n");

    testmode::SampleRecorder half(true);
    ASSERT_TRUE(half.Start(path));
    half.Add(reading(3, 3, 4));
    half.Add(reading(4, 4, 9));
    half.Stop();
    EXPECT_EQ(testsupport::FileText(path),
              "time_ms,raw,position_mm,temperature\n0,00000003,0.0015,\n5,00000004,0.002,\n");
}

TEST_F(SampleRecording, AFailedWriteEndsTheRecordingWithTheReason) {
    testmode::SampleRecorder full(false);
    EXPECT_FALSE(full.Start("/dev/full"));
    EXPECT_FALSE(full.Recording());
    EXPECT_EQ(full.Error(), "No space left on device");
    full.Add(reading(1, 1, 1));
    EXPECT_EQ(full.Samples(), 0);

    testmode::SampleRecorder missing(false);
    EXPECT_FALSE(missing.Start((dir / "no" / "such.csv").string()));
    EXPECT_EQ(missing.Error(), "No such file or directory");
}

}  // namespace
