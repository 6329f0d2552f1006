#include "drawing/WaveDrawing.h"

#include "drawing/ColumnEnvelope.h"
#include "drawing/WaveNavigation.h"

#include <algorithm>
#include <array>
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

struct CWaveDrawing::Trace {
    Span span;
    int width = 0; // columns across the pane
    const int16_t* samples = nullptr;
    int baseline = 0;
    SampleScale scale;
    ColumnWindow window;
    bool skipUndefined = false;
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
    std::vector<LabelBox> placed = DrawPressureScale();
    DrawTimeLabels(placed);
    DrawMarkerLabels(placed);
}

// Each labelled second's label stands just right of its line at the top, where it stays
// within the pane and clear of the labels already placed. Labels far apart enough not to
// run together: every second, or every 2, 5, 10, ... when a second is narrower.
void CWaveDrawing::DrawTimeLabels(std::vector<LabelBox>& placed) {
    const Rect& r = scene_.client;
    const std::vector<LabelledLine> lines = LabelledTimeLines();
    if (lines.empty())
        return;
    const int height = surface_.GetFontMetrics().height;
    const int widest = surface_.TextWidth(SecondLabel(lines.back().second, scene_.scaleLabels));
    const int stride = SecondLabelStride(SecondWidth(), widest, 2 * kLabelGap);
    for (const LabelledLine& line : lines) {
        if (line.second % stride != 0)
            continue;
        const std::string text = SecondLabel(line.second, scene_.scaleLabels);
        const LabelBox box{line.x + kLabelGap, r.top + kLabelGap,
                           line.x + kLabelGap + surface_.TextWidth(text),
                           r.top + kLabelGap + height};
        if (box.right > r.right || OverlapsAny(box, placed))
            continue;
        surface_.TextOut(box.left, box.top, text);
        placed.push_back(box);
    }
}

// Pixels per second across the pane in the current zoom.
double CWaveDrawing::SecondWidth() const {
    const int step = SecondInSamples(scene_.sampling);
    const Span span = scene_.zoomIndex == 0 ? FullSpan() : ZoomSpan();
    if (span.count <= 0)
        return 0;
    return static_cast<double>(width_) * step / span.count;
}

bool CWaveDrawing::OverlapsAny(const LabelBox& box, const std::vector<LabelBox>& placed) {
    return std::any_of(placed.begin(), placed.end(),
                       [&](const LabelBox& other) { return box.Overlaps(other); });
}

// The cuff's scale: a tick at the left edge every 50 mmHg up from the cuff's zero line,
// at the height where the trace draws that pressure, its number standing on the tick
// (a tick beside the number would read as a minus sign); the top number carries the
// unit. The numbers stay below the seconds' row at the top. Returns their boxes.
std::vector<LabelBox> CWaveDrawing::DrawPressureScale() {
    const Rect& r = scene_.client;
    const int height = surface_.GetFontMetrics().height;
    const int highest = r.top + kLabelGap + 2 * height; // a number's tick, below the seconds
    std::vector<PressureMark> marks = PressureMarks(r.top + baselines_.pressure, highest,
                                                    kScreenPressureStepMmHg, PressureScale());
    surface_.SetPen(Pen{PenStyle::Solid, 1, kScreenLabelColour});
    std::vector<LabelBox> boxes;
    for (size_t i = 0; i < marks.size(); ++i) {
        const PressureMark& mark = marks[i];
        if (mark.y >= r.bottom)
            continue;
        surface_.MoveTo(r.left, mark.y);
        surface_.LineTo(r.left + kScaleTickLength, mark.y);
        const bool top = i + 1 == marks.size();
        const std::string text = PressureLabel(mark.mmHg, top, scene_.scaleLabels);
        const LabelBox box{r.left + kLabelGap, mark.y - height,
                           r.left + kLabelGap + surface_.TextWidth(text), mark.y};
        surface_.TextOut(box.left, box.top, text);
        boxes.push_back(box);
    }
    return boxes;
}

// "S" and "M" at the foot of their marker lines, in the lines' colours: the label of the
// marker further left stands left of its line, the other's right of its line; a label
// that would leave the pane or cover one already placed takes its line's other side, and
// is left out when that does not fit either.
void CWaveDrawing::DrawMarkerLabels(std::vector<LabelBox>& placed) {
    const std::optional<int> xS = MarkerX(scene_.markerS);
    const std::optional<int> xM = scene_.markerMValid ? MarkerX(scene_.markerM) : std::nullopt;
    const bool sLeftOfM = !xM || !xS || *xS <= *xM;
    if (xS)
        DrawMarkerLabel(kMarkerSLabel, pens_.markerS.colour, *xS, sLeftOfM, placed);
    if (xM)
        DrawMarkerLabel(kMarkerMLabel, pens_.markerM.colour, *xM, !sLeftOfM, placed);
}

void CWaveDrawing::DrawMarkerLabel(const char* text, Colour colour, int x, bool leftOfLine,
                                   std::vector<LabelBox>& placed) {
    const Rect& r = scene_.client;
    const int width = surface_.TextWidth(text);
    const int bottom = r.bottom - kLabelGap;
    const int top = bottom - surface_.GetFontMetrics().height;
    const LabelBox left{x - kLabelGap - width, top, x - kLabelGap, bottom};
    const LabelBox right{x + kLabelGap, top, x + kLabelGap + width, bottom};
    for (const LabelBox& box : leftOfLine ? std::array{left, right} : std::array{right, left}) {
        if (box.left < r.left || box.right > r.right || OverlapsAny(box, placed))
            continue;
        surface_.SetTextColour(colour);
        surface_.TextOut(box.left, box.top, text);
        placed.push_back(box);
        return;
    }
}

// The client x of a marker's line; none for a marker outside the visible samples.
std::optional<int> CWaveDrawing::MarkerX(int marker) const {
    if (width_ <= 0)
        return std::nullopt;
    if (scene_.zoomIndex == 0)
        return static_cast<int>(static_cast<int64_t>(width_) * marker / kSampleCount);
    const Span span = ZoomSpan();
    const int relative = marker - span.first;
    if (relative < 0 || relative >= span.count)
        return std::nullopt;
    return scene_.client.left +
           static_cast<int>(static_cast<int64_t>(width_) * relative / span.count);
}

// On a screen with more than one device pixel per unit the trace is drawn in device
// pixels: the same picture scaled up, with the steps between the units filled in. At one
// device pixel per unit the drawing is the trace's own.
void CWaveDrawing::DrawChannel(const Span& span, const Pen& pen, const int16_t* samples,
                               int baseline, bool pulse, bool skipUndefined) {
    if (samples == nullptr)
        return;
    Trace trace{span,
                width_,
                samples,
                baseline,
                pulse ? PulseScale(scene_.viewScale) : PressureScale(),
                window_,
                skipUndefined};
    const int ratio = surface_.DevicePixelRatio();
    if (ratio <= 1) {
        surface_.SetPen(pen);
        DrawTrace(trace);
        return;
    }
    trace.span.xOrigin *= ratio;
    trace.span.yOrigin *= ratio;
    trace.span.columnSpan *= ratio;
    trace.width *= ratio;
    trace.baseline *= ratio;
    trace.scale.multiplier *= ratio;
    trace.window = ScaledWindow(window_, ratio);
    surface_.UseDeviceCoordinates(true);
    surface_.SetPen(Pen{pen.style, pen.width * ratio, pen.colour});
    DrawTrace(trace);
    surface_.UseDeviceCoordinates(false);
    surface_.SetPen(pen);
}

// A pane with fewer columns than samples gets the column envelope; a wider one a line
// through every sample, so that the trace always spans the whole pane.
void CWaveDrawing::DrawTrace(const Trace& trace) {
    if (trace.width > trace.span.count) {
        DrawPolyline(trace);
        return;
    }
    EnvelopeValues values;
    values.samples = trace.samples + trace.span.first;
    values.count = trace.span.count;
    values.scale = trace.scale;
    values.skipUndefined = trace.skipUndefined;
    EnvelopeLayout layout;
    layout.baseline = trace.span.yOrigin + trace.baseline;
    layout.xOrigin = trace.span.xOrigin;
    layout.columnSpan = trace.span.columnSpan;
    layout.valueSpan = kSampleCount;
    DrawColumnEnvelope(surface_, values, layout, trace.window);
}

// Undefined entries of the fitted curve break the line into separate runs. The points
// run left to right; of those left of the window only the last is kept, and the first
// one right of it ends the line, so every segment crossing the window is drawn whole.
void CWaveDrawing::DrawPolyline(const Trace& trace) {
    const Span& span = trace.span;
    const int yBase = span.yOrigin + trace.baseline;
    std::vector<Point> run;
    run.reserve(static_cast<size_t>(span.count));
    auto flush = [&] {
        if (run.size() > 1)
            surface_.Polyline(run);
        run.clear();
    };
    for (int k = 0; k < span.count; ++k) {
        const int16_t raw = trace.samples[span.first + k];
        if (trace.skipUndefined && raw == kUndefinedCurveValue) {
            flush();
            continue;
        }
        const int x = span.xOrigin + static_cast<int>(span.columnSpan * k / kSampleCount);
        if (x < trace.window.first)
            run.clear();
        run.push_back({x, yBase - ScaleSample(raw, trace.scale)});
        if (x > trace.window.last)
            break;
    }
    flush();
}

void CWaveDrawing::DrawFullTraces() {
    const Span span = FullSpan();
    DrawChannel(span, pens_.wave, scene_.pulse, baselines_.wave, true, false);
    DrawChannel(span, pens_.pressure, scene_.pressure, baselines_.pressure, false, false);
}

void CWaveDrawing::DrawZoomTraces() {
    const Span span = ZoomSpan();
    DrawChannel(span, pens_.wave, scene_.pulse, baselines_.wave, true, false);
    DrawChannel(span, pens_.pressure, scene_.pressure, baselines_.pressure, false, false);
}

void CWaveDrawing::DrawFullFittedCurve() {
    if (!scene_.fittedCurveShown)
        return;
    DrawChannel(FullSpan(), pens_.wave, scene_.fittedCurve, baselines_.wave, true, true);
}

void CWaveDrawing::DrawZoomFittedCurve() {
    if (!scene_.fittedCurveShown)
        return;
    DrawChannel(ZoomSpan(), pens_.wave, scene_.fittedCurve, baselines_.wave, true, true);
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
