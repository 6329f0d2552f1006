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

// A pane wider than the recording gets a line through every sample, so the trace spans it.
void DrawOverviewPolyline(IDrawingSurface& surface, int width, int baseline, const int16_t* pulse) {
    std::vector<Point> points(kSampleCount);
    for (int k = 0; k < kSampleCount; ++k)
        points[static_cast<size_t>(k)] = {
            static_cast<int>(static_cast<int64_t>(width) * k / kSampleCount),
            baseline - ScaleSample(pulse[k], OverviewScale())};
    surface.Polyline(points);
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
    surface.SetPen(kTracePen);
    if (pulse != nullptr && width > kSampleCount) {
        DrawOverviewPolyline(surface, width, OverviewBaseline(height), pulse);
    } else if (pulse != nullptr) {
        EnvelopeValues values;
        values.samples = pulse;
        values.count = kSampleCount;
        values.scale = OverviewScale();
        EnvelopeLayout layout;
        layout.baseline = OverviewBaseline(height);
        layout.columnSpan = width;
        layout.valueSpan = kSampleCount;
        DrawColumnEnvelope(surface, values, layout);
    }
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
