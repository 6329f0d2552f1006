#pragma once
// The units a recording's numbers are counted in, and the values with a fixed meaning:
// the sample interval's 0.1 ms unit, the undefined entry of a fitted curve and the result
// codes of an analysis. Depends on nothing, so every layer may include it.

#include <cstdint>

namespace mirado {

// ---- Time --------------------------------------------------------------------------

// The sample interval is stored in units of 0.1 ms.
inline constexpr int kIntervalUnitsPerMs = 10;
inline constexpr int kIntervalUnitsPerSecond = 1000 * kIntervalUnitsPerMs;
// The sample intervals that occur; each also names the animal within its model family.
inline constexpr int kInterval2ms = 20;   // mouse, or rabbit/monkey
inline constexpr int kInterval4ms = 40;   // rat, or dog
inline constexpr int kInterval10ms = 100; // other animals

// Samples in one second of recording; 0 when the sample interval gives no usable step.
inline constexpr int SecondInSamples(int sampleInterval) {
    return sampleInterval > 0 ? kIntervalUnitsPerSecond / sampleInterval : 0;
}

// Milliseconds from marker S to marker M: 0 when either marker is 0, else the sample
// interval times (M - S), divided by 10 with truncation.
inline constexpr int MarkerIntervalMs(int sampleInterval, int markerS, int markerM) {
    if (markerS == 0 || markerM == 0)
        return 0;
    return sampleInterval * (markerM - markerS) / kIntervalUnitsPerMs;
}

// ---- Fitted curve ------------------------------------------------------------------

// Entry of a fitted curve where the curve is not defined (0x8000): drawn as a gap.
inline constexpr int16_t kUndefinedCurveValue = INT16_MIN;

// ---- Result codes ------------------------------------------------------------------

// 0 no error, 1 to 4 error numbers (shown as "Err1" to "Err4"), then the codes shown
// by name ("Air", "Lo", "Hi").
inline constexpr int16_t kResultOk = 0;
inline constexpr int16_t kResultIrregular = 1; // irregular beats or a collapsing pulse
inline constexpr int16_t kResultFewBeats = 2;  // too few beats around the maximum
inline constexpr int16_t kResultNoFit = 3;     // no usable fit or maximum
inline constexpr int16_t kResultDeflation = 4; // the cuff fell too slowly or too fast
inline constexpr int16_t kResultAir = 5;
inline constexpr int16_t kResultLo = 16;
inline constexpr int16_t kResultHi = 17;

} // namespace mirado
