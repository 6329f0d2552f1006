#pragma once
// Numeric building blocks shared by file loading and both pressure-determination
// methods: interval statistics, heart rate from beat positions, a fixed-iteration
// square root and the cubic least-squares fit of pulse amplitude against time.
// All state lives in plain structs passed by reference, so one method can keep a
// single shared set and the other can keep its own inside its analysis record.
//
// Precision: values held as float are single precision; sums described as extended
// precision are double (the reference results were computed with a 53-bit mantissa).

#include "records/RecordLayout.h"

#include <cstdint>

namespace mirado {

inline constexpr int kIntervalCapacity = 100; // values read from an interval list
inline constexpr uint16_t kFlagTooFewFitPoints = 0x08;

// Limits the methods judge beat intervals by, in mean beat intervals. An interval longer
// than kGapIntervals means is a gap; after the first kLeadingIntervals intervals such a
// gap makes the intervals irregular. Intervals shorter than 3/2 of the mean are the
// regular ones (method A's interval statistics and start search).
inline constexpr int kGapIntervals = 3;
inline constexpr int kLeadingIntervals = 3;
inline constexpr int RegularIntervalLimit(int meanInterval) {
    return 3 * meanInterval / 2;
}

struct IntervalStats {
    float mean = 0, sd = 0, cv = 0, se = 0;
};

// Mean, sample SD, CV (%) and SE over a list ended by its first 0 (at most 100 values).
// SD, CV and SE are cleared first; an empty list leaves the mean as it was.
void IntervalStatistics(const int16_t* list, IntervalStats& stats);

// Newton's method with exactly 30 steps from 1.0; 0 gives a tiny positive value.
float SquareRoot(float v);

// x to the n (n <= 0 gives 1), multiplied out in double precision.
double Power(float x, int16_t n);

// Heart rate (bpm) and mean beat interval (samples) from beat positions (100 entries,
// ended by the first 0) at a sample interval in 0.1 ms; double accumulation.
// Fewer than two beats give heart rate 0 and mean interval 1000.
void HeartRateFromBeats(const int16_t* positions, int sampleInterval, int16_t& heartRate,
                        int16_t& meanInterval);

// The heart rate stored with a loaded file: as above with single-precision accumulation.
int16_t StoredHeartRateFromBeats(const int16_t* positions, int sampleInterval);

// Least-squares cubic y = c0 + c1 x + c2 x^2 + c3 x^3 through (x[i], y[i]).
struct CubicFit {
    float x[kFitCapacity];
    float y[kFitCapacity];
    float sums[7];       // sums[k] = sum of x^k, k = 1..6
    float matrix[4][11]; // augmented normal equations; columns 0-3 matrix, 4 right side
    float c[4];
};

// Fits the first n points (n clamped to 50); n < 4 sets kFlagTooFewFitPoints in flags
// and leaves the coefficients unchanged.
void FitCubic(CubicFit& fit, int n, uint16_t& flags);
// The fitted value at a sample index: the sum truncated toward zero, then wrapped to
// signed 16 bits like every stored fitted value, so every user compares the same number.
int16_t EvaluateFit(const CubicFit& fit, int16_t index);
// Sample index of the fitted curve's local maximum (or its inflection point when it
// has none), -1 when the cubic term is not positive.
int FitMaximum(const CubicFit& fit);

// Float or double to int the way a 32-bit conversion behaves: truncation toward zero,
// NaN and out-of-range values give INT32_MIN instead of undefined behaviour.
int32_t TruncateToInt32(double v);

} // namespace mirado
