#include "drawing/WholeDrawing.h"

#include "drawing/ColumnEnvelope.h"
#include "drawing/WaveDrawing.h"
#include "drawing/WaveNavigation.h"

#include <vector>

namespace mirado {

namespace {

constexpr int kBaselineNumerator = 3;
constexpr int kBaselineDenominator = 4;

const Pen kTracePen{PenStyle::Solid, 1, kBlack};

// A pane wider than the recording gets a line through every sample, so the trace spans it;
// a narrower one the column envelope. Width and baseline count the surface's units.
void DrawOverviewTrace(IDrawingSurface& surface, int width, int baseline, const int16_t* pulse,
                       const SampleScale& scale) {
    if (width > kSampleCount) {
        std::vector<Point> points(kSampleCount);
        for (int k = 0; k < kSampleCount; ++k)
            points[static_cast<size_t>(k)] = {
                static_cast<int>(static_cast<int64_t>(width) * k / kSampleCount),
                baseline - ScaleSample(pulse[k], scale)};
        surface.Polyline(points);
        return;
    }
    EnvelopeValues values;
    values.samples = pulse;
    values.count = kSampleCount;
    values.scale = scale;
    EnvelopeLayout layout;
    layout.baseline = baseline;
    layout.columnSpan = width;
    layout.valueSpan = kSampleCount;
    DrawColumnEnvelope(surface, values, layout);
}

// With several device pixels per unit the trace is drawn in device pixels.
void DrawOverviewPulse(IDrawingSurface& surface, int width, int height, const int16_t* pulse) {
    const int ratio = surface.DevicePixelRatio();
    if (ratio <= 1) {
        surface.SetPen(kTracePen);
        DrawOverviewTrace(surface, width, OverviewBaseline(height), pulse, OverviewScale());
        return;
    }
    SampleScale scale = OverviewScale();
    scale.multiplier *= ratio;
    surface.UseDeviceCoordinates(true);
    surface.SetPen(Pen{kTracePen.style, kTracePen.width * ratio, kTracePen.colour});
    DrawOverviewTrace(surface, width * ratio, OverviewBaseline(height) * ratio, pulse, scale);
    surface.UseDeviceCoordinates(false);
}

} // namespace

void DrawVisibleSpan(IDrawingSurface& surface, const Rect& client, int first, int count) {
    const int64_t width = client.Width();
    const int left = static_cast<int>(width * first / kSampleCount);
    const int right = static_cast<int>(width * (first + count) / kSampleCount);
    surface.FillRect({client.left + left, client.top, client.left + right, client.bottom},
                     kVisibleSpanShade);
}

int OverviewBaseline(int height) {
    return height * kBaselineNumerator / kBaselineDenominator;
}

int DrawWholeRecording(IDrawingSurface& surface, const Rect& client, const int16_t* pulse,
                       const int16_t* beats, const Pen& tickPen) {
    const int width = client.Width();
    const int height = client.Height();
    if (pulse != nullptr)
        DrawOverviewPulse(surface, width, height, pulse);
    int ticks = 0;
    if (beats == nullptr)
        return ticks;
    surface.SetPen(tickPen);
    for (; ticks < kMaxBeatTicks && beats[ticks] != 0; ++ticks) {
        const int x = static_cast<int>(static_cast<int64_t>(width) * beats[ticks] / kSampleCount);
        surface.MoveTo(x, height);
        surface.LineTo(x, height - kBeatTickHeight);
    }
    return ticks;
}

} // namespace mirado
