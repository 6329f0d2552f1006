#include "records/BeatStatistics.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>

namespace mirado {
namespace {

std::array<int16_t, 101> List(std::initializer_list<int16_t> values) {
    std::array<int16_t, 101> list{};
    std::copy(values.begin(), values.end(), list.begin());
    return list;
}

TEST(IntervalStatistics, WorkedExamples) {
    IntervalStats stats;
    IntervalStatistics(List({100, 110, 90}).data(), stats);
    EXPECT_FLOAT_EQ(stats.mean, 100.0f);
    EXPECT_FLOAT_EQ(stats.sd, 10.0f);
    EXPECT_FLOAT_EQ(stats.cv, 10.0f);
    EXPECT_NEAR(stats.se, 5.7735f, 1e-4);

    IntervalStatistics(List({42}).data(), stats);
    EXPECT_FLOAT_EQ(stats.mean, 42.0f);
    EXPECT_EQ(stats.sd, 0.0f);
    EXPECT_EQ(stats.cv, 0.0f);
    EXPECT_EQ(stats.se, 0.0f);

    stats.sd = stats.cv = stats.se = 5;
    IntervalStatistics(List({}).data(), stats);
    EXPECT_FLOAT_EQ(stats.mean, 42.0f); // an empty list keeps the previous mean
    EXPECT_EQ(stats.sd, 0.0f);
    EXPECT_EQ(stats.se, 0.0f);
}

TEST(IntervalStatistics, ReadsAtMostOneHundredValues) {
    std::array<int16_t, 101> list;
    list.fill(7);
    list[100] = 1000; // never read: the list holds at most 100 values
    IntervalStats stats;
    IntervalStatistics(list.data(), stats);
    EXPECT_FLOAT_EQ(stats.mean, 7.0f);
}

TEST(SquareRoot, ConvergesAndNeverReachesZero) {
    EXPECT_FLOAT_EQ(SquareRoot(90.0f), std::sqrt(90.0f));
    EXPECT_FLOAT_EQ(SquareRoot(3.0f), std::sqrt(3.0f));
    EXPECT_GT(SquareRoot(0.0f), 0.0f);
    EXPECT_LT(SquareRoot(0.0f), 1e-8f);
}

TEST(Power, MultipliesOut) {
    EXPECT_EQ(Power(3.0f, 0), 1.0);
    EXPECT_EQ(Power(3.0f, 1), 3.0);
    EXPECT_EQ(Power(3.0f, 4), 81.0);
    EXPECT_EQ(Power(1000.0f, 6), 1e18); // beyond float range, exact in double
}

TEST(HeartRate, WorkedExampleGivesSixty) {
    const auto beats = List({100, 600, 1100});
    int16_t heartRate = -1, meanInterval = -1;
    HeartRateFromBeats(beats.data(), 20, heartRate, meanInterval);
    EXPECT_EQ(heartRate, 60);
    EXPECT_EQ(meanInterval, 500);
    EXPECT_EQ(StoredHeartRateFromBeats(beats.data(), 20), 60);
}

TEST(HeartRate, FewerThanTwoBeats) {
    const auto beats = List({250});
    int16_t heartRate = -1, meanInterval = -1;
    HeartRateFromBeats(beats.data(), 40, heartRate, meanInterval);
    EXPECT_EQ(heartRate, 0);
    EXPECT_EQ(meanInterval, 1000);
    EXPECT_EQ(StoredHeartRateFromBeats(beats.data(), 40), 0);
}

TEST(HeartRate, UsesAtMostNinetyNineIntervalsAndTruncates) {
    std::array<int16_t, 101> beats{};
    for (int i = 0; i < 100; ++i)
        beats[i] = static_cast<int16_t>(10 + 33 * i);
    beats[100] = 1; // outside the 100 entries
    int16_t heartRate = 0, meanInterval = 0;
    HeartRateFromBeats(beats.data(), 20, heartRate, meanInterval);
    EXPECT_EQ(meanInterval, 33);
    EXPECT_EQ(heartRate, 909); // 60000 / 66 ms
}

TEST(HeartRate, DegenerateBeatsGiveADefinedValue) {
    const auto same = List({5, 5, 5});
    int16_t heartRate = -1, meanInterval = -1;
    HeartRateFromBeats(same.data(), 20, heartRate, meanInterval);
    EXPECT_EQ(heartRate, 0); // 60000 / 0 is out of range
    EXPECT_EQ(meanInterval, 0);
    EXPECT_EQ(StoredHeartRateFromBeats(same.data(), 20), 0);
}

TEST(TruncateToInt32, OutOfRangeAndNaN) {
    EXPECT_EQ(TruncateToInt32(-6.84), -6);
    EXPECT_EQ(TruncateToInt32(6.99), 6);
    EXPECT_EQ(TruncateToInt32(3e9), std::numeric_limits<int32_t>::min());
    EXPECT_EQ(TruncateToInt32(std::nan("")), std::numeric_limits<int32_t>::min());
}

CubicFit FitWithCoefficients(float c0, float c1, float c2, float c3) {
    CubicFit fit{};
    fit.c[0] = c0;
    fit.c[1] = c1;
    fit.c[2] = c2;
    fit.c[3] = c3;
    return fit;
}

TEST(FitMaximum, LocalMaximumInflectionOrNone) {
    EXPECT_EQ(FitMaximum(FitWithCoefficients(0, 270, -30, 1)), 6);
    // Derivative without real roots: the inflection point -c2 / (3 c3) = 20.
    EXPECT_EQ(FitMaximum(FitWithCoefficients(0, 1300, -60, 1)), 20);
    EXPECT_EQ(FitMaximum(FitWithCoefficients(0, 1, 1, 0)), -1);
    EXPECT_EQ(FitMaximum(FitWithCoefficients(0, 1, 1, -1)), -1);
    EXPECT_EQ(FitMaximum(FitWithCoefficients(0, 1, 1, std::nanf(""))), -1);
}

TEST(FitCubic, RecoversAnExactCubic) {
    CubicFit fit{};
    const auto curve = [](float x) { return 5.0f + 2.0f * x - 0.5f * x * x + 0.01f * x * x * x; };
    for (int i = 0; i < 20; ++i) {
        fit.x[i] = static_cast<float>(i * 3);
        fit.y[i] = curve(fit.x[i]);
    }
    uint16_t flags = 0;
    FitCubic(fit, 20, flags);
    EXPECT_EQ(flags, 0);
    EXPECT_NEAR(fit.c[0], 5.0f, 0.05f);
    EXPECT_NEAR(fit.c[1], 2.0f, 0.01f);
    EXPECT_NEAR(fit.c[2], -0.5f, 0.001f);
    EXPECT_NEAR(fit.c[3], 0.01f, 0.0001f);
    EXPECT_NEAR(fit.sums[1], 570.0f, 1e-3f);
    EXPECT_NEAR(EvaluateFit(fit, 30), curve(30), 1.5);
    EXPECT_EQ(FitMaximum(fit), 2); // 2 - x + 0.03 x^2 = 0 at 2.19
}

TEST(FitCubic, TooFewPointsSetsFlagEightAndKeepsCoefficients) {
    CubicFit fit = FitWithCoefficients(1, 2, 3, 4);
    uint16_t flags = 0x01;
    FitCubic(fit, 3, flags);
    EXPECT_EQ(flags, 0x09);
    EXPECT_EQ(fit.c[0], 1.0f);
    EXPECT_EQ(fit.c[3], 4.0f);
}

TEST(FitCubic, IdenticalPointsDoNotCrash) {
    CubicFit fit{};
    for (int i = 0; i < 10; ++i) {
        fit.x[i] = 100;
        fit.y[i] = 50;
    }
    uint16_t flags = 0;
    FitCubic(fit, 10, flags);
    // Ten points on one x make the normal equations singular: the elimination without
    // pivoting divides by zero, every coefficient is NaN, and NaN converts like an
    // out-of-range value (INT32_MIN, whose low 16 bits are 0). The fit has no maximum.
    EXPECT_EQ(flags, 0);
    EXPECT_TRUE(std::isnan(fit.c[3]));
    EXPECT_EQ(EvaluateFit(fit, 100), 0);
    EXPECT_EQ(FitMaximum(fit), -1);
}

TEST(EvaluateFit, TruncatesTowardZero) {
    const CubicFit fit = FitWithCoefficients(-0.5f, 0, 0, 0);
    EXPECT_EQ(EvaluateFit(fit, 0), 0);
    EXPECT_EQ(EvaluateFit(FitWithCoefficients(1, 1, 1, 1), 2), 15);
}

TEST(EvaluateFit, WrapsTheTruncatedValueToSixteenBits) {
    const CubicFit slope16 = FitWithCoefficients(0, 16, 0, 0);
    EXPECT_EQ(EvaluateFit(slope16, 2047), 32752);
    EXPECT_EQ(EvaluateFit(slope16, 2048), -32768);
    EXPECT_EQ(EvaluateFit(FitWithCoefficients(-40000.5f, 0, 0, 0), 0), 25536);
    EXPECT_EQ(EvaluateFit(FitWithCoefficients(0, 0, 0, 1), 100), 16960); // 10^6 - 15 x 65536
}

} // namespace
} // namespace mirado
