#include "drawing/PrintedPage.h"

#include "drawing/ColumnEnvelope.h"
#include "platform/UserPrompts.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

namespace mirado {

namespace {

// Page measures in 1/100 inch.
constexpr int kHundredths = 100;
constexpr int kSideMarginHundredths = 71;
constexpr int kGraphWidthHundredths = 787;
constexpr int kGraphHeightHundredths = 472;

// Baselines as fractions of the graph height (in 1/400).
constexpr int kBaselineDenominator = 400;
constexpr int kWaveBaselineNumerator = 350;
constexpr int kPressureBaselineNumerator = 300;

// Five level lines, one eighth of the graph height apart: 200 raw pressure units each,
// 1600 units spanning the whole height.
constexpr int kLevelLineCount = 5;
constexpr int kLevelStep = 200;
constexpr int kPressureSpan = 1600;

// The white fill stops this far above the graph.
constexpr int kFillGapAboveGraph = 5;

// Scale labels: 8 points, the cuff's scale every 100 mmHg (one eighth of the graph), set
// off from the frame by a twentieth of an inch.
constexpr int kLabelFontTenths = 80;
constexpr int kPagePressureStepMmHg = 100;
constexpr int kLabelGapDivisor = 20;

// Print font: 12 points.
constexpr int kPrintFontTenths = 120;
constexpr int kLineSpacingShift = 4; // line height grows by 1/16

// Text block columns in 1/100 inch from the margin.
constexpr int kColumn2Label = 236;
constexpr int kColumn2Colon = 335;
constexpr int kColumn3Label = 551;
constexpr int kColumn3Colon = 630;
constexpr int kUnitColumn = 709;
constexpr int kValueGapDivisor = 4; // value stands a quarter inch after the colon

constexpr Colour kTextColour = 0x000000;
constexpr Colour kPaperColour = 0xFFFFFF;
constexpr Colour kFillColour = 0xFFFFFF;

enum Label { Date, AnimalNo, Weight, Comment, Sampling, Time, ExNo, SexAge, Hr, Sbp, Dbp, Mbp };
constexpr std::array<const char*, 12> kLabelTexts = {"DATE",     "ANIMAL NO", "WEIGHT", "COMMENT",
                                                     "SAMPLING", "TIME",      "EX NO",  "SEX/AGE",
                                                     "HR",       "SBP",       "DBP",    "MBP"};

int ScaledByDpi(int hundredths, int dpi) {
    return hundredths * dpi / kHundredths;
}

std::string FormatNumber(const char* format, int value) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, format, value);
    return buffer;
}

SampleScale PaperPulseScale(int viewScale) {
    // Pulse wave on paper: (s * 32) >> g, four times the screen value. Outside 0..10 the
    // view scale never occurs; a clamp keeps the shift defined.
    const int g = std::clamp(viewScale, kSmallestViewScale, kLargestViewScale);
    return {kPulseMultiplier, g, 1};
}

SampleScale PaperPressureScale(int graphHeight) {
    return {graphHeight, 0, kPressureSpan};
}

// The x of sample k across the graph width.
int SampleX(int64_t k, int width) {
    return static_cast<int>(k * width / kSampleCount);
}

class PagePainter {
public:
    PagePainter(IDrawingSurface& surface, const Rect& drawingRect,
                const PrintedRecording& recording, const PageStyle& style)
        : surface_(surface), page_(drawingRect), recording_(recording), style_(style),
          geometry_(ComputePageGeometry(drawingRect, surface.DpiX(), surface.DpiY(), style)) {}

    void DrawGraph() {
        DrawFrame();
        DrawLevelLines();
        DrawTimeLines();
        DrawTraces();
        DrawFittedCurve();
        DrawMarkers();
        DrawScaleLabels();
    }

    void DrawText(const std::string& heading, IUserPrompts& prompts) {
        if (!surface_.SetFont({style_.fontFace, kPrintFontTenths, 0, 400})) {
            // A font that could not be made cannot be selected either: both are reported,
            // and the text is drawn with the font the surface still has.
            ShowError(prompts, kFontCreateError);
            ShowError(prompts, kFontSetError);
        }
        // Black text on the paper; drawn transparently, so that a text cell reaching into
        // the graph (the last row can, with a tall font) leaves the frame line whole.
        surface_.SetTextColour(kTextColour);
        surface_.SetTextBackground(kPaperColour);
        surface_.SetBackgroundMode(BackgroundMode::Transparent);
        const FontMetrics metrics = surface_.GetFontMetrics();
        lineHeight_ = metrics.height + metrics.externalLeading;
        lineHeight_ += lineHeight_ >> kLineSpacingShift;

        const int m = geometry_.margin;
        surface_.TextOut(m, page_.top + lineHeight_, heading);
        DrawFieldRows();
        surface_.SelectSystemFont();
    }

private:
    static void ShowError(IUserPrompts& prompts, const char* text) {
        prompts.ShowMessage(text, kApplicationTitle, MessageIcon::Warning, MessageButtons::Ok);
    }

    const Rect& Graph() const { return geometry_.graph; }

    void Line(int x0, int y0, int x1, int y1) {
        surface_.MoveTo(x0, y0);
        surface_.LineTo(x1, y1);
    }

    void DrawFrame() {
        const Rect& g = Graph();
        surface_.SetPen(style_.pens.frame);
        surface_.MoveTo(g.left, g.top);
        surface_.LineTo(g.right, g.top);
        surface_.LineTo(g.right, g.bottom);
        surface_.LineTo(g.left, g.bottom);
        surface_.LineTo(g.left, g.top);
    }

    void DrawLevelLines() {
        const Rect& g = Graph();
        const int d = geometry_.Height();
        surface_.SetPen(style_.pens.levelLine);
        for (int k = 0; k < kLevelLineCount; ++k) {
            const int y = geometry_.waveBaseline - kLevelStep * d * k / kPressureSpan;
            Line(g.left, y, g.right, y);
        }
    }

    void DrawTimeLines() {
        const int step = TimeLineStep(recording_.sampling);
        if (step == 0)
            return;
        const Rect& g = Graph();
        const int width = geometry_.Width();
        surface_.SetPen(style_.pens.timeLine);
        for (int t = step; t < kSampleCount; t += step) {
            const int x = SampleX(t, width);
            if (x > width)
                break;
            Line(g.left + x, g.top, g.left + x, g.bottom);
        }
    }

    bool UsesEnvelope() const { return geometry_.Width() < kSampleCount; }

    void DrawTraces() {
        const SampleScale pulse = PaperPulseScale(recording_.viewScale);
        const SampleScale pressure = PaperPressureScale(geometry_.Height());
        surface_.SetPen(style_.pens.pulseWave);
        DrawTrace(recording_.pulseSamples, pulse, geometry_.waveBaseline);
        if (style_.whiteFillAboveGraph && !UsesEnvelope()) {
            const Rect above{0, 0, geometry_.shrunk.right, Graph().top - kFillGapAboveGraph};
            surface_.FillRect(above, kFillColour);
        }
        surface_.SetPen(style_.pens.pressure);
        DrawTrace(recording_.pressureSamples, pressure, geometry_.pressureBaseline);
    }

    void DrawTrace(const int16_t* samples, const SampleScale& scale, int baseline) {
        if (samples == nullptr)
            return;
        if (UsesEnvelope()) {
            DrawColumnEnvelope(surface_, {samples, kSampleCount, scale, false}, Layout(baseline));
            return;
        }
        std::vector<Point> points;
        points.reserve(kSampleCount);
        for (int k = 0; k < kSampleCount; ++k)
            points.push_back(TracePoint(k, samples[k], scale, baseline));
        surface_.Polyline(points);
    }

    void DrawFittedCurve() {
        const int16_t* curve = recording_.fittedCurve;
        if (curve == nullptr)
            return;
        const SampleScale pulse = PaperPulseScale(recording_.viewScale);
        const int baseline = geometry_.waveBaseline;
        surface_.SetPen(style_.pens.pulseWave);
        if (UsesEnvelope()) {
            DrawColumnEnvelope(surface_, {curve, kSampleCount, pulse, true}, Layout(baseline));
            return;
        }
        // Undefined entries are passed over; the line joins the defined entries around a gap.
        std::vector<Point> points;
        points.reserve(kSampleCount);
        for (int k = 0; k < kSampleCount; ++k) {
            if (curve[k] != kUndefinedCurveValue)
                points.push_back(TracePoint(k, curve[k], pulse, baseline));
        }
        if (!points.empty())
            surface_.Polyline(points);
    }

    EnvelopeLayout Layout(int baseline) const {
        return {baseline, Graph().left, geometry_.Width(), kSampleCount};
    }

    Point TracePoint(int k, int16_t sample, const SampleScale& scale, int baseline) const {
        return {Graph().left + SampleX(k, geometry_.Width()),
                baseline - ScaleSample(sample, scale)};
    }

    void DrawMarkers() {
        surface_.SetPen(style_.pens.markerS);
        DrawMarker(recording_.markerS);
        if (recording_.valid) {
            surface_.SetPen(style_.pens.markerM);
            DrawMarker(recording_.markerM);
        }
    }

    void DrawMarker(int sample) {
        const int x = Graph().left + SampleX(sample, geometry_.Width());
        Line(x, Graph().bottom, x, geometry_.waveBaseline);
    }

    void DrawScaleLabels() {
        if (!style_.scaleLabels.shown)
            return;
        surface_.SetFont({style_.fontFace, kLabelFontTenths, 0, 400});
        surface_.SetTextColour(kTextColour);
        surface_.SetBackgroundMode(BackgroundMode::Transparent);
        DrawTimeLabels();
        DrawPressureScale();
    }

    // Each labelled second's label centred under its time line, below the frame; every
    // second, or every 2, 5, 10, ... when the labels would run together.
    void DrawTimeLabels() {
        const int step = TimeLineStep(recording_.sampling);
        const int gap = surface_.DpiY() / kLabelGapDivisor;
        const std::vector<TimeMark> marks = TimeMarksBetween(step, 0, kSampleCount - 1);
        if (marks.empty())
            return;
        const int widest = surface_.TextWidth(SecondLabel(marks.back().second, style_.scaleLabels));
        const double secondWidth = static_cast<double>(geometry_.Width()) * step / kSampleCount;
        const int stride = SecondLabelStride(secondWidth, widest, 2 * LabelGap());
        for (const TimeMark& mark : marks) {
            if (mark.second % stride != 0)
                continue;
            const std::string text = SecondLabel(mark.second, style_.scaleLabels);
            const int x = Graph().left + SampleX(mark.sample, geometry_.Width());
            surface_.TextOut(x - surface_.TextWidth(text) / 2, Graph().bottom + gap, text);
        }
    }

    // The cuff's scale left of the frame: a tick and the number every 100 mmHg up from
    // the cuff's zero line, where the trace draws that pressure; the unit stands above
    // the top number, so the column stays within the page's margin.
    void DrawPressureScale() {
        const int height = surface_.GetFontMetrics().height;
        const std::vector<PressureMark> marks =
            PressureMarks(geometry_.pressureBaseline, Graph().top, kPagePressureStepMmHg,
                          PaperPressureScale(geometry_.Height()));
        surface_.SetPen(style_.pens.frame);
        for (const PressureMark& mark : marks) {
            Line(Graph().left - LabelGap(), mark.y, Graph().left, mark.y);
            ScaleText(PressureLabel(mark.mmHg, false, style_.scaleLabels), mark.y - height / 2);
        }
        if (!marks.empty())
            ScaleText(style_.scaleLabels.pressureUnit, marks.back().y - height / 2 - height);
    }

    int LabelGap() const { return surface_.DpiX() / kLabelGapDivisor; }

    // Right-aligned two gaps left of the frame.
    void ScaleText(const std::string& text, int y) {
        surface_.TextOut(Graph().left - 2 * LabelGap() - surface_.TextWidth(text), y, text);
    }

    struct Column {
        int label;
        int colon;
        int value;
    };

    Column ColumnAt(int labelHundredths, int colonHundredths) const {
        const int a = surface_.DpiX();
        const int m = geometry_.margin;
        const int colon = m + ScaledByDpi(colonHundredths, a);
        return {m + ScaledByDpi(labelHundredths, a), colon, colon + a / kValueGapDivisor};
    }

    void Field(const Column& column, int row, Label label, const std::string& value) {
        const int y = RowY(row);
        surface_.TextOut(column.label, y, kLabelTexts[label]);
        surface_.TextOut(column.colon, y, ":");
        surface_.TextOut(column.value, y, value);
    }

    void Pressure(const Column& column, int row, Label label, int mmHg) {
        Field(column, row, label, FormatNumber("%3d", mmHg));
        const int unitX = geometry_.margin + ScaledByDpi(kUnitColumn, surface_.DpiX());
        surface_.TextOut(unitX, RowY(row), kPressureUnit);
    }

    int RowY(int row) const { return page_.top + 2 * lineHeight_ + row * lineHeight_; }

    void DrawFieldRows() {
        const int a = surface_.DpiX();
        const int m = geometry_.margin;
        const Column first{m, m + a, m + a + a / kValueGapDivisor};
        const Column second = ColumnAt(kColumn2Label, kColumn2Colon);
        const Column third = ColumnAt(kColumn3Label, kColumn3Colon);
        const PrintedRecording& r = recording_;

        Field(first, 0, Date, r.date);
        Field(second, 0, Time, r.time);
        Field(third, 0, Hr, FormatNumber("%3d", r.heartRate));

        Field(first, 1, AnimalNo, r.animalNo);
        Field(second, 1, ExNo, r.exNo);
        Pressure(third, 1, Sbp, r.sbp);

        Field(first, 2, Weight, r.weight);
        Field(second, 2, SexAge, r.sexAge);
        Pressure(third, 2, Dbp, r.dbp);

        Field(first, 3, Comment, r.comment);
        Pressure(third, 3, Mbp, r.mbp);

        Field(first, 4, Sampling, FormatNumber("%dms", r.sampling / kIntervalUnitsPerMs));
    }

    IDrawingSurface& surface_;
    Rect page_;
    const PrintedRecording& recording_;
    const PageStyle& style_;
    PageGeometry geometry_;
    int lineHeight_ = 0;
};

} // namespace

PageGeometry ComputePageGeometry(const Rect& drawingRect, int dpiX, int dpiY,
                                 const PageStyle& style) {
    PageGeometry g;
    g.margin = ScaledByDpi(kSideMarginHundredths, dpiX);
    const int vertical = ScaledByDpi(style.verticalMarginHundredths, dpiY);
    g.shrunk = {drawingRect.left + g.margin, drawingRect.top + vertical,
                drawingRect.right - g.margin, drawingRect.bottom - vertical};
    const int heightDpi = style.heightFromVerticalResolution ? dpiY : dpiX;
    const int width = ScaledByDpi(kGraphWidthHundredths, dpiX);
    const int height = ScaledByDpi(kGraphHeightHundredths, heightDpi);
    g.graph = {g.shrunk.left, g.shrunk.top, g.shrunk.left + width, g.shrunk.top + height};
    g.waveBaseline = g.graph.top + kWaveBaselineNumerator * height / kBaselineDenominator;
    g.pressureBaseline = style.ownPressureBaseline ? g.graph.top + kPressureBaselineNumerator *
                                                                       height / kBaselineDenominator
                                                   : g.waveBaseline;
    return g;
}

int TimeLineStep(int sampling) {
    // The interval is a signed byte in the file; zero or a negative value gives no lines
    // rather than a loop that never ends.
    const int step = SecondInSamples(sampling);
    return step > 0 && step < kSampleCount ? step : 0;
}

void DrawRecordingPage(IDrawingSurface& surface, const Rect& drawingRect,
                       const PrintedRecording& recording, const PageStyle& style,
                       const std::string& heading, IUserPrompts& prompts) {
    if (!recording.drawable)
        return;
    PagePainter painter(surface, drawingRect, recording, style);
    painter.DrawGraph();
    painter.DrawText(heading, prompts);
}

} // namespace mirado
