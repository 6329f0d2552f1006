#pragma once
// The column envelope: reduces a run of scaled sample values to one vertical segment
// per pixel column, each joined to its neighbour, so that a trace of thousands of
// samples costs at most one line per column. The screen traces, the overview and the
// printed pages all draw through it.

#include "platform/DrawingSurface.h"
#include "records/RecordLayout.h"
#include "records/RecordUnits.h"

#include <cstdint>
#include <limits>

namespace mirado {

// The view scale g of the pulse wave runs from 0 (largest) to 10 (smallest); the pulse
// is drawn as (s * kPulseMultiplier) >> (g + 2) on screen and >> g on paper.
inline constexpr int kSmallestViewScale = 0;
inline constexpr int kLargestViewScale = 10;
inline constexpr int kPulseMultiplier = 32;

// How a raw sample becomes a value in pixels above the baseline:
// ((s * multiplier) >> shift) / divisor, the shift arithmetic, the division truncating.
struct SampleScale {
    int multiplier = 1;
    int shift = 0;
    int divisor = 1;
};

// Pulse wave on screen at view scale g: (s * 32) >> (g + 2).
SampleScale PulseScale(int viewScale);
// Pressure on screen: s >> 2.
SampleScale PressureScale();
// Pulse wave in the whole-recording overview: s >> 5, whatever the view scale.
SampleScale OverviewScale();

// The scaled value of one raw sample, held in signed 16 bits: a value beyond that
// range saturates instead of wrapping round to the other side of the baseline.
int16_t ScaleSample(int16_t sample, const SampleScale& scale);

// Where the envelope is laid out. Value k falls into column
// c(k) = columnSpan * k / valueSpan (on screen: W * zoom factor * k / 4000).
struct EnvelopeLayout {
    int baseline = 0; // y of the zero value
    int xOrigin = 0;  // x of the first column
    int64_t columnSpan = 0;
    int64_t valueSpan = kSampleCount;
    int ColumnOf(int k) const;
};

struct EnvelopeValues {
    const int16_t* samples = nullptr;
    int count = 0;
    SampleScale scale;
    // Entries equal to kUndefinedCurveValue are skipped: they leave a gap and move the
    // column count to their own column, so the trace resumes where it is defined again.
    bool skipUndefined = false;
};

// The columns a partial repaint draws, x from `first` to `last` inclusive; by default
// every column.
struct ColumnWindow {
    int first = std::numeric_limits<int>::min();
    int last = std::numeric_limits<int>::max();
    bool Contains(int x) const { return x >= first && x <= last; }
};

// The same columns counted in device pixels, `ratio` of them per unit; the whole range
// stays whole.
ColumnWindow ScaledWindow(const ColumnWindow& window, int ratio);

// Draws the envelope with the surface's current pen: one segment per change of column,
// at the running column count; a column still being gathered after the last value is
// not drawn. Each segment stays within its own column, so a window only leaves out the
// segments outside it; every value is still gathered, so those inside are the same as
// in a full drawing. Returns the number of segments drawn.
int DrawColumnEnvelope(IDrawingSurface& surface, const EnvelopeValues& values,
                       const EnvelopeLayout& layout, const ColumnWindow& window = {});

} // namespace mirado
