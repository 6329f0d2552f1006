#include "drawing/ColumnEnvelope.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace mirado {

namespace {

constexpr int kPulseShiftBase = 2;
constexpr int kPressureShift = 2;
constexpr int kOverviewShift = 5;
constexpr int kLargestShift = 62;

constexpr int16_t kLowStart = std::numeric_limits<int16_t>::max();
constexpr int16_t kHighStart = std::numeric_limits<int16_t>::min();

} // namespace

SampleScale PulseScale(int viewScale) {
    return {kPulseMultiplier, viewScale + kPulseShiftBase, 1};
}
SampleScale PressureScale() {
    return {1, kPressureShift, 1};
}
SampleScale OverviewScale() {
    return {1, kOverviewShift, 1};
}

int16_t ScaleSample(int16_t sample, const SampleScale& scale) {
    const int shift = std::clamp(scale.shift, 0, kLargestShift);
    int64_t value = (static_cast<int64_t>(sample) * scale.multiplier) >> shift;
    if (scale.divisor != 0 && scale.divisor != 1)
        value /= scale.divisor;
    return static_cast<int16_t>(std::clamp<int64_t>(value, kHighStart, kLowStart));
}

int EnvelopeLayout::ColumnOf(int k) const {
    if (valueSpan == 0)
        return 0;
    return static_cast<int>(columnSpan * k / valueSpan);
}

ColumnWindow ScaledWindow(const ColumnWindow& window, int ratio) {
    ColumnWindow scaled;
    if (window.first != ColumnWindow{}.first)
        scaled.first = window.first * ratio;
    if (window.last != ColumnWindow{}.last)
        scaled.last = window.last * ratio + ratio - 1;
    return scaled;
}

int DrawColumnEnvelope(IDrawingSurface& surface, const EnvelopeValues& values,
                       const EnvelopeLayout& layout, const ColumnWindow& window) {
    if (values.samples == nullptr)
        return 0;
    int16_t lo = kLowStart;
    int16_t hi = kHighStart;
    int previousColumn = 0;
    int column = 0;
    int drawn = 0;
    for (int k = 0; k < values.count; ++k) {
        const int16_t raw = values.samples[k];
        const int c = layout.ColumnOf(k);
        if (values.skipUndefined && raw == kUndefinedCurveValue) {
            column = c;
            continue;
        }
        const int16_t v = ScaleSample(raw, values.scale);
        lo = std::min(lo, v);
        hi = std::max(hi, v);
        if (c == previousColumn)
            continue;
        const int x = layout.xOrigin + column;
        // Left to right the running column count never decreases: nothing after it is
        // in the window any more.
        if (x > window.last && layout.columnSpan >= 0)
            break;
        if (window.Contains(x)) {
            surface.MoveTo(x, layout.baseline - lo);
            surface.LineTo(x, layout.baseline - hi - 1);
            ++drawn;
        }
        ++column;
        std::swap(lo, hi);
        previousColumn = c;
    }
    return drawn;
}

} // namespace mirado
