#include "drawing/WaveDrawing.h"

#include "drawing/ColumnEnvelope.h"
#include "drawing/WaveNavigation.h"

#include <optional>
#include <vector>

namespace mirado {

namespace {

constexpr int kBaselineDenominator = 400;
constexpr int kHighWaveBaseline = 280; // 70 % down
constexpr int kLowWaveBaseline = 320;  // 80 % down
constexpr int kPressureBaseline = 200; // half-way down

constexpr int kLevelLineCount = 5;
constexpr int kLevelLineSpacing = 50;

constexpr int kJoinMargin = 1; // columns drawn beyond each side of the clip box

// Scale labels: 50 mmHg apart on screen (25 pixels), a short tick at the left edge
// with the number beside it, a second's label just right of its line at the top.
constexpr int kScreenPressureStepMmHg = 50;
constexpr int kScaleTickLength = 4;
constexpr int kLabelGap = 2;

constexpr int kDamagedTextX = 20;
constexpr int kDamagedTextPointTenths = 140;
const char* const kDamagedTextFace = "ＭＳ ゴシック";

ColumnWindow WindowFor(const std::optional<Rect>& clipBox) {
    if (!clipBox)
        return {};
    return {clipBox->left - kJoinMargin, clipBox->right - 1 + kJoinMargin};
}

} // namespace

struct CWaveDrawing::Span {
    int xOrigin = 0;        // x of sample `first`
    int yOrigin = 0;        // added to every y
    int first = 0;          // first sample shown
    int count = 0;          // samples shown
    int64_t columnSpan = 0; // W * zoom factor
};

WaveBaselines ComputeBaselines(int height, int deviceTypeCode) {
    const int wave =
        deviceTypeCode == kHighBaselineDeviceType ? kHighWaveBaseline : kLowWaveBaseline;
    return {height * wave / kBaselineDenominator,
            height * kPressureBaseline / kBaselineDenominator};
}

CWaveDrawing::CWaveDrawing(IDrawingSurface& surface, const WaveScene& scene, const WavePens& pens)
    : surface_(surface), scene_(scene), pens_(pens), width_(scene.client.Width()),
      height_(scene.client.Height()),
      baselines_(ComputeBaselines(scene.client.Height(), scene.deviceTypeCode)),
      window_(WindowFor(surface.GetClipBox())) {}

void CWaveDrawing::Draw() {
    if (scene_.zoomIndex == 0) {
        DrawFullGrid();
        DrawFullTraces();
        DrawFullFittedCurve();
        DrawFullMarkers();
    } else {
        DrawZoomGrid();
        DrawZoomTraces();
        DrawZoomFittedCurve();
        DrawZoomMarkers();
    }
    DrawScaleLabels();
    surface_.SelectSystemFont();
    surface_.SetPen(Pen{PenStyle::Solid, 1, kBlack});
}

CWaveDrawing::Span CWaveDrawing::FullSpan() const {
    return {0, 0, 0, kSampleCount, width_};
}

CWaveDrawing::Span CWaveDrawing::ZoomSpan() const {
    const int factor = ZoomFactor(scene_.zoomIndex);
    const int offset = ClampScrollOffset(scene_.scrollOffset, scene_.zoomIndex);
    return {scene_.client.left, scene_.client.top, offset, SamplesAcross(scene_.zoomIndex),
            static_cast<int64_t>(width_) * factor};
}

void CWaveDrawing::DrawLevelLines(int x0, int x1, int yOrigin) {
    surface_.SetPen(pens_.levelLine);
    for (int k = 0; k < kLevelLineCount; ++k) {
        const int y = yOrigin + baselines_.wave - kLevelLineSpacing * k;
        surface_.MoveTo(x0, y);
        surface_.LineTo(x1, y);
    }
}

// One line per second of recording, counted from the pane's left edge; a step that is
// zero or negative draws none.
void CWaveDrawing::DrawTimeLines(int64_t columnSpan, int xOrigin, int y0, int y1) {
    const int step = SecondInSamples(scene_.sampling);
    if (step <= 0)
        return;
    surface_.SetPen(pens_.timeLine);
    for (int t = step; t <= kSampleCount; t += step) {
        const int64_t x = columnSpan * t / kSampleCount;
        if (x > width_)
            break;
        surface_.MoveTo(xOrigin + static_cast<int>(x), y0);
        surface_.LineTo(xOrigin + static_cast<int>(x), y1);
    }
}

void CWaveDrawing::DrawFullGrid() {
    DrawLevelLines(0, width_, 0);
    DrawTimeLines(width_, 0, 0, height_);
}

void CWaveDrawing::DrawZoomGrid() {
    const Rect& r = scene_.client;
    DrawLevelLines(r.left, r.right, r.top);
    if (scene_.scaleLabels.shown) {
        DrawLabelledTimeLines();
        return;
    }
    DrawTimeLines(static_cast<int64_t>(width_) * ZoomFactor(scene_.zoomIndex), r.left, r.top,
                  r.bottom);
}

// Full view: the lines of DrawTimeLines. Zoomed: one line at every whole second of the
// recording within the visible samples, so that the labels stay true when scrolled.
std::vector<CWaveDrawing::LabelledLine> CWaveDrawing::LabelledTimeLines() const {
    std::vector<LabelledLine> lines;
    if (width_ <= 0)
        return lines;
    const int step = SecondInSamples(scene_.sampling);
    if (scene_.zoomIndex == 0) {
        for (const TimeMark& mark : TimeMarksBetween(step, 0, kSampleCount))
            lines.push_back(
                {static_cast<int>(static_cast<int64_t>(width_) * mark.sample / kSampleCount),
                 mark.second});
        return lines;
    }
    const Span span = ZoomSpan();
    for (const TimeMark& mark : TimeMarksBetween(step, span.first, span.first + span.count))
        lines.push_back({span.xOrigin + static_cast<int>(static_cast<int64_t>(width_) *
                                                         (mark.sample - span.first) / span.count),
                         mark.second});
    return lines;
}

void CWaveDrawing::DrawLabelledTimeLines() {
    const Rect& r = scene_.client;
    surface_.SetPen(pens_.timeLine);
    for (const LabelledLine& line : LabelledTimeLines()) {
        surface_.MoveTo(line.x, r.top);
        surface_.LineTo(line.x, r.bottom);
    }
}

void CWaveDrawing::DrawScaleLabels() {
    if (!scene_.scaleLabels.shown)
        return;
    surface_.SetFont(ScreenLabelFont());
    surface_.SetTextColour(kScreenLabelColour);
    surface_.SetBackgroundMode(BackgroundMode::Transparent);
    DrawTimeLabels(DrawPressureScale());
}

// Each second's label stands just right of its line at the top, where it fits between
// `leftLimit` and the pane's right edge.
void CWaveDrawing::DrawTimeLabels(int leftLimit) {
    const Rect& r = scene_.client;
    for (const LabelledLine& line : LabelledTimeLines()) {
        const std::string text = SecondLabel(line.second, scene_.scaleLabels);
        const int x = line.x + kLabelGap;
        if (x >= leftLimit && x + surface_.TextWidth(text) <= r.right)
            surface_.TextOut(x, r.top + kLabelGap, text);
    }
}

// The cuff's scale: a tick at the left edge every 50 mmHg up from the cuff's zero line,
// at the height where the trace draws that pressure, its number beside it; the top
// number carries the unit. Returns the x where the seconds' labels may begin: right of
// the top number when it reaches into their row at the top, else the pane's left edge.
int CWaveDrawing::DrawPressureScale() {
    const Rect& r = scene_.client;
    const int half = surface_.GetFontMetrics().height / 2;
    std::vector<PressureMark> marks = PressureMarks(r.top + baselines_.pressure, r.top + half,
                                                    kScreenPressureStepMmHg, PressureScale());
    surface_.SetPen(Pen{PenStyle::Solid, 1, kScreenLabelColour});
    int timeLabelsLeft = r.left;
    for (size_t i = 0; i < marks.size(); ++i) {
        const PressureMark& mark = marks[i];
        if (mark.y + half > r.bottom)
            continue;
        surface_.MoveTo(r.left, mark.y);
        surface_.LineTo(r.left + kScaleTickLength, mark.y);
        const bool top = i + 1 == marks.size();
        const std::string text = PressureLabel(mark.mmHg, top, scene_.scaleLabels);
        const int x = r.left + kScaleTickLength + kLabelGap;
        surface_.TextOut(x, mark.y - half, text);
        if (mark.y - half < r.top + kLabelGap + 2 * half)
            timeLabelsLeft = x + surface_.TextWidth(text) + kLabelGap;
    }
    return timeLabelsLeft;
}

// A pane with fewer columns than samples gets the column envelope; a wider one a line
// through every sample, so that the trace always spans the whole pane.
void CWaveDrawing::DrawChannel(const Span& span, const int16_t* samples, int baseline, bool pulse,
                               bool skipUndefined) {
    if (samples == nullptr)
        return;
    if (width_ > span.count) {
        DrawPolyline(span, samples, baseline, pulse, skipUndefined);
        return;
    }
    EnvelopeValues values;
    values.samples = samples + span.first;
    values.count = span.count;
    values.scale = pulse ? PulseScale(scene_.viewScale) : PressureScale();
    values.skipUndefined = skipUndefined;
    EnvelopeLayout layout;
    layout.baseline = span.yOrigin + baseline;
    layout.xOrigin = span.xOrigin;
    layout.columnSpan = span.columnSpan;
    layout.valueSpan = kSampleCount;
    DrawColumnEnvelope(surface_, values, layout, window_);
}

// Undefined entries of the fitted curve break the line into separate runs. The points
// run left to right; of those left of the window only the last is kept, and the first
// one right of it ends the line, so every segment crossing the window is drawn whole.
void CWaveDrawing::DrawPolyline(const Span& span, const int16_t* samples, int baseline, bool pulse,
                                bool skipUndefined) {
    const SampleScale scale = pulse ? PulseScale(scene_.viewScale) : PressureScale();
    const int yBase = span.yOrigin + baseline;
    std::vector<Point> run;
    run.reserve(static_cast<size_t>(span.count));
    auto flush = [&] {
        if (run.size() > 1)
            surface_.Polyline(run);
        run.clear();
    };
    for (int k = 0; k < span.count; ++k) {
        const int16_t raw = samples[span.first + k];
        if (skipUndefined && raw == kUndefinedCurveValue) {
            flush();
            continue;
        }
        const int x = span.xOrigin + static_cast<int>(span.columnSpan * k / kSampleCount);
        if (x < window_.first)
            run.clear();
        run.push_back({x, yBase - ScaleSample(raw, scale)});
        if (x > window_.last)
            break;
    }
    flush();
}

void CWaveDrawing::DrawFullTraces() {
    const Span span = FullSpan();
    surface_.SetPen(pens_.wave);
    DrawChannel(span, scene_.pulse, baselines_.wave, true, false);
    surface_.SetPen(pens_.pressure);
    DrawChannel(span, scene_.pressure, baselines_.pressure, false, false);
}

void CWaveDrawing::DrawZoomTraces() {
    const Span span = ZoomSpan();
    surface_.SetPen(pens_.wave);
    DrawChannel(span, scene_.pulse, baselines_.wave, true, false);
    surface_.SetPen(pens_.pressure);
    DrawChannel(span, scene_.pressure, baselines_.pressure, false, false);
}

void CWaveDrawing::DrawFullFittedCurve() {
    if (!scene_.fittedCurveShown)
        return;
    surface_.SetPen(pens_.wave);
    DrawChannel(FullSpan(), scene_.fittedCurve, baselines_.wave, true, true);
}

void CWaveDrawing::DrawZoomFittedCurve() {
    if (!scene_.fittedCurveShown)
        return;
    surface_.SetPen(pens_.wave);
    DrawChannel(ZoomSpan(), scene_.fittedCurve, baselines_.wave, true, true);
}

void CWaveDrawing::DrawMarkerLine(const Pen& pen, int x, int yBottom, int yTop) {
    surface_.SetPen(pen);
    surface_.MoveTo(x, yBottom);
    surface_.LineTo(x, yTop);
}

void CWaveDrawing::DrawFullMarkers() {
    if (width_ <= 0)
        return;
    auto xOf = [&](int marker) {
        return static_cast<int>(static_cast<int64_t>(width_) * marker / kSampleCount);
    };
    DrawMarkerLine(pens_.markerS, xOf(scene_.markerS), height_, baselines_.wave);
    if (scene_.markerMValid)
        DrawMarkerLine(pens_.markerM, xOf(scene_.markerM), height_, baselines_.wave);
}

// A marker outside the visible samples is not drawn, on either side.
void CWaveDrawing::DrawZoomMarker(const Pen& pen, int marker) {
    const Span span = ZoomSpan();
    const int relative = marker - span.first;
    if (relative < 0 || relative >= span.count || width_ <= 0)
        return;
    const int x = static_cast<int>(static_cast<int64_t>(width_) * relative / span.count);
    const Rect& r = scene_.client;
    DrawMarkerLine(pen, r.left + x, r.bottom, r.top + baselines_.wave);
}

void CWaveDrawing::DrawZoomMarkers() {
    DrawZoomMarker(pens_.markerS, scene_.markerS);
    if (scene_.markerMValid)
        DrawZoomMarker(pens_.markerM, scene_.markerM);
}

void DrawDamagedFileText(IDrawingSurface& surface, const Rect& client, const std::string& text,
                         Colour background) {
    surface.SetFont(FontSpec{kDamagedTextFace, kDamagedTextPointTenths, 0, 400});
    // Black on white as the drawing has it; on the black background black ink would be
    // invisible, so the text is white there.
    surface.SetTextColour(background == kBlack ? kWhite : kBlack);
    surface.SetTextBackground(background);
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    surface.TextOut(kDamagedTextX, (client.top + client.bottom) / 2, text);
    surface.SelectSystemFont();
}

} // namespace mirado
