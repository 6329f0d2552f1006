#include "records/BeatStatistics.h"

#include "records/RecordUnits.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace mirado {

namespace {

constexpr int kSquareRootSteps = 30;
constexpr double kMsPerTenth = 1.0 / kIntervalUnitsPerMs; // exactly the double 0.1
constexpr double kMsPerMinute = 60000.0;
constexpr int16_t kNoMeanInterval = 1000;
constexpr int kCubicTerms = 4;
constexpr int kRightSide = 4; // column of the augmented matrix holding the right side

int16_t Wrap16(int32_t v) {
    return static_cast<int16_t>(v);
}

} // namespace

int32_t TruncateToInt32(double v) {
    constexpr double kLimit = 2147483648.0; // 2^31
    if (!(v > -kLimit - 1.0 && v < kLimit))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

float SquareRoot(float v) {
    double r = 1.0;
    for (int step = 0; step < kSquareRootSteps; ++step)
        r = (r + v / r) * 0.5;
    return static_cast<float>(r);
}

double Power(float x, int16_t n) {
    if (n <= 0)
        return 1.0;
    double r = x;
    for (int k = 1; k < n; ++k)
        r *= x;
    return r;
}

void IntervalStatistics(const int16_t* list, IntervalStats& stats) {
    stats.sd = 0;
    stats.cv = 0;
    stats.se = 0;
    double sum = 0;
    int n = 0;
    while (n < kIntervalCapacity && list[n] != 0)
        sum += list[n++];
    if (n == 0)
        return;
    stats.mean = static_cast<float>(sum / n);
    double squares = 0;
    for (int i = 0; i < n; ++i) {
        const double difference = list[i] - static_cast<double>(stats.mean);
        squares += difference * difference;
    }
    if (n == 1)
        return;
    stats.sd = SquareRoot(static_cast<float>(squares / (n - 1)));
    stats.cv = stats.sd * 100.0f / stats.mean;
    stats.se = stats.sd / SquareRoot(static_cast<float>(n));
}

namespace {

// Walks the beat intervals (at most 99) and hands each one to `add`; returns how many.
template <typename AddInterval> int ForEachInterval(const int16_t* positions, AddInterval add) {
    int i = 1;
    for (; i < kBeatCapacity && positions[i] != 0; ++i)
        add(Wrap16(positions[i] - positions[i - 1]));
    return i - 1;
}

} // namespace

void HeartRateFromBeats(const int16_t* positions, int sampleInterval, int16_t& heartRate,
                        int16_t& meanInterval) {
    if (positions[1] == 0) {
        heartRate = 0;
        meanInterval = kNoMeanInterval;
        return;
    }
    int32_t samples = 0;
    double ms = 0;
    const int count = ForEachInterval(positions, [&](int16_t d) {
        samples += d;
        ms += d * sampleInterval * kMsPerTenth;
    });
    meanInterval = Wrap16(samples / count);
    heartRate = Wrap16(TruncateToInt32(kMsPerMinute / (ms / count)));
}

int16_t StoredHeartRateFromBeats(const int16_t* positions, int sampleInterval) {
    if (positions[1] == 0)
        return 0;
    float ms = 0;
    const int count = ForEachInterval(positions, [&](int16_t d) {
        ms = static_cast<float>(ms + d * sampleInterval * kMsPerTenth);
    });
    const float meanMs = ms / static_cast<float>(count);
    return Wrap16(TruncateToInt32(static_cast<float>(kMsPerMinute) / meanMs));
}

void FitCubic(CubicFit& fit, int n, uint16_t& flags) {
    if (n < kCubicTerms) {
        flags |= kFlagTooFewFitPoints;
        return;
    }
    if (n > kFitCapacity)
        n = kFitCapacity;
    for (int k = 1; k <= 6; ++k) {
        fit.sums[k] = 0;
        for (int i = 0; i < n; ++i)
            fit.sums[k] =
                static_cast<float>(fit.sums[k] + Power(fit.x[i], static_cast<int16_t>(k)));
    }
    for (int r = 0; r < kCubicTerms; ++r) {
        for (int c = 0; c < kCubicTerms; ++c)
            fit.matrix[r][c] = (r == 0 && c == 0) ? static_cast<float>(n) : fit.sums[r + c];
        fit.matrix[r][kRightSide] = 0;
        for (int i = 0; i < n; ++i)
            fit.matrix[r][kRightSide] = static_cast<float>(
                fit.matrix[r][kRightSide] + Power(fit.x[i], static_cast<int16_t>(r)) * fit.y[i]);
    }
    // Gauss-Jordan elimination without pivoting.
    for (int p = 0; p < kCubicTerms; ++p) {
        const float pivot = fit.matrix[p][p];
        for (int c = p; c <= kRightSide; ++c)
            fit.matrix[p][c] = fit.matrix[p][c] / pivot;
        for (int r = 0; r < kCubicTerms; ++r) {
            if (r == p)
                continue;
            const float factor = fit.matrix[r][p];
            for (int c = p; c <= kRightSide; ++c)
                fit.matrix[r][c] = fit.matrix[r][c] - factor * fit.matrix[p][c];
        }
    }
    for (int j = 0; j < kCubicTerms; ++j)
        fit.c[j] = fit.matrix[j][kRightSide];
}

int16_t EvaluateFit(const CubicFit& fit, int16_t index) {
    const float x = index;
    float s = 0;
    for (int k = 3; k >= 1; --k)
        s = static_cast<float>(Power(x, static_cast<int16_t>(k)) * fit.c[k] + s);
    return static_cast<int16_t>(TruncateToInt32(s + fit.c[0]));
}

int FitMaximum(const CubicFit& fit) {
    const float c1 = fit.c[1], c2 = fit.c[2], c3 = fit.c[3];
    if (!(c3 > 0))
        return -1;
    const float d = c2 * c2 - c1 * c3 * 3;
    if (d < 0)
        return TruncateToInt32(-(c2 / (3 * c3)));
    return TruncateToInt32((-c2 - SquareRoot(d)) / (3 * c3));
}

} // namespace mirado
