#include "drawing/InformationDrawing.h"

#include "records/AnalysisSequence.h"
#include "records/PaneTexts.h"
#include "records/RecordLayout.h"
#include "records/RecordUnits.h"
#include "records/WaveCodec.h"

#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <iterator>

namespace mirado {

namespace {

const FontSpec kHeadingFont{"Courier New", 140, 16, 800};
const FontSpec kValueFont{"Courier New", 120, 10, 500};
const FontSpec kCaptionFont{"Courier New", 120, 10, 700};
const FontSpec kSmallFont{"Courier New", 90, 8, 500};

const Pen kLightPen{PenStyle::Solid, 1, Rgb(255, 255, 255)};
const Pen kDarkPen{PenStyle::Solid, 1, Rgb(16, 16, 16)};

constexpr Colour kTextColour = Rgb(0, 0, 0);
constexpr Colour kOwnAnalysisColour = Rgb(0, 0, 246);
constexpr Colour kFlagColour = Rgb(255, 96, 96);
constexpr Colour kLiveColour = Rgb(255, 0, 0);
constexpr Colour kLegendTitleColour = Rgb(255, 0, 0);

constexpr int kBoxLeft = 10;
constexpr int kBoxRight = 120;
constexpr int kTextIndent = 8;
constexpr int kAnchorX = 4;
// The raised edge inside a box's right side, which a line's text stays left of.
constexpr int kBoxEdge = 2;
// A line too wide for its box is narrowed, to at most half its width.
constexpr int kFullWidthPercent = 100;
constexpr int kMinimumWidthPercent = 50;

// Box numbers (0-based) of the lines.
constexpr int kSenseBox = 0;
constexpr int kBaseBox = 1;
constexpr int kPressBox = 2;
constexpr int kSpeciesBox = 3;
constexpr int kAnimalBox = 4;
constexpr int kHeartRateBox = 5;
constexpr int kSbpBox = 6;
constexpr int kMbpBox = 7;
constexpr int kDbpBox = 8;

constexpr Point kConditionCaption{kAnchorX, 12};
constexpr Point kAnimalCaption{kAnchorX, 169};
constexpr Point kMeasurementCaption{kAnchorX, 225};
constexpr Point kIntervalAnchor{kAnchorX, 370};
constexpr Point kFlagAnchor{kAnchorX, 400};
constexpr int kFlagRowHeight = 30; // the heading font's line

constexpr int kLegendDeviceType = kModelCodeUnknown;

const char* const kLegendLines[] = {"LumicA(MS):",     "Mouse=2 Rat=4", "Other=10", "LumicE(MS):",
                                    "Rabbit/Monkey=2", "Dog=4",         "Other=10"};
constexpr int kLegendTitleLines[] = {0, 3};

std::string Format(const char* format, ...) {
    char buffer[64];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

int ToMmHg(int raw) {
    return HalfRound(static_cast<int16_t>(raw));
}

int LineHeight(const IDrawingSurface& surface) {
    const FontMetrics metrics = surface.GetFontMetrics();
    return metrics.height + metrics.externalLeading;
}

} // namespace

int CInformationDrawing::ColumnHeight(IDrawingSurface& surface) {
    surface.SetFont(kValueFont);
    const int lineHeight = LineHeight(surface);
    surface.SelectSystemFont();
    // The legend's lines start two lines below the flag; one more line ends the last.
    constexpr int kLegendLineCount = static_cast<int>(std::size(kLegendLines));
    return kFlagAnchor.y + (2 + kLegendLineCount) * lineHeight + kAnchorX;
}

const std::array<Rect, CInformationDrawing::kBoxCount>& CInformationDrawing::Boxes() {
    static const std::array<Rect, kBoxCount> boxes = {
        Rect{kBoxLeft, 32, kBoxRight, 60},   Rect{kBoxLeft, 61, kBoxRight, 89},
        Rect{kBoxLeft, 90, kBoxRight, 118},  Rect{kBoxLeft, 119, kBoxRight, 147},
        Rect{kBoxLeft, 189, kBoxRight, 217}, Rect{kBoxLeft, 245, kBoxRight, 273},
        Rect{kBoxLeft, 274, kBoxRight, 302}, Rect{kBoxLeft, 303, kBoxRight, 331},
        Rect{kBoxLeft, 332, kBoxRight, 360}};
    return boxes;
}

InformationItem CInformationDrawing::ItemAt(Point p) {
    const auto inside = [&p](const Rect& r) {
        return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom;
    };
    const std::array<Rect, kBoxCount>& boxes = Boxes();
    if (inside(boxes[kSenseBox]))
        return InformationItem::Sense;
    if (inside(boxes[kBaseBox]))
        return InformationItem::Base;
    if (inside(boxes[kPressBox]))
        return InformationItem::Press;
    if (inside({kBoxLeft, kIntervalAnchor.y, kBoxRight, kFlagAnchor.y}))
        return InformationItem::MarkerInterval;
    if (inside({kBoxLeft, kFlagAnchor.y, kBoxRight, kFlagAnchor.y + kFlagRowHeight}))
        return InformationItem::ResultFlag;
    return InformationItem::None;
}

void CInformationDrawing::DrawBackground(IDrawingSurface& surface, const Rect& client) const {
    surface.FillRect(client, faceColour_);

    surface.SetPen(kLightPen);
    surface.MoveTo(client.left - 1, client.bottom - 1);
    surface.LineTo(client.right - 1, client.bottom - 1);
    surface.LineTo(client.right - 1, client.top);
    for (const Rect& box : Boxes()) {
        surface.MoveTo(box.left, box.bottom);
        surface.LineTo(box.left, box.top);
        surface.LineTo(box.right, box.top);
    }

    surface.SetPen(kDarkPen);
    surface.MoveTo(client.left, client.bottom);
    surface.LineTo(client.left, client.top);
    surface.LineTo(client.right, client.top);
    for (const Rect& box : Boxes()) {
        surface.MoveTo(box.left, box.bottom);
        surface.LineTo(box.right, box.bottom);
        surface.LineTo(box.right, box.top);
    }

    surface.SetFont(kCaptionFont);
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    surface.SetTextBackground(faceColour_);
    surface.SetTextColour(kTextColour);
    surface.TextOut(kConditionCaption.x, kConditionCaption.y, labels_.condition);
    surface.TextOut(kAnimalCaption.x, kAnimalCaption.y, labels_.animalNo);
    surface.TextOut(kMeasurementCaption.x, kMeasurementCaption.y, labels_.measurement);
    surface.SelectSystemFont();
}

void CInformationDrawing::DrawBoxLine(IDrawingSurface& surface, int box, int lineHeight,
                                      const std::string& text) const {
    const Rect& r = Boxes()[static_cast<size_t>(box)];
    const int x = r.left + kTextIndent;
    const int y = r.top + lineHeight / 3;
    const int available = r.right - kBoxEdge - x;
    if (surface.TextWidth(text) <= available) {
        surface.TextOut(x, y, text);
        return;
    }
    // Too wide for its box: the same font with narrower characters, just narrow enough.
    FontSpec narrowed = kValueFont;
    narrowed.widthPercent =
        std::max(kMinimumWidthPercent, available * kFullWidthPercent / surface.TextWidth(text));
    surface.SetFont(narrowed);
    while (surface.TextWidth(text) > available && narrowed.widthPercent > kMinimumWidthPercent) {
        --narrowed.widthPercent;
        surface.SetFont(narrowed);
    }
    surface.TextOut(x, y, text);
    surface.SetFont(kValueFont);
}

void CInformationDrawing::DrawLines(IDrawingSurface& surface,
                                    const InformationValues& values) const {
    surface.SetFont(kValueFont);
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    surface.SetTextBackground(faceColour_);
    surface.SetTextColour(kTextColour);
    const int lineHeight = LineHeight(surface);

    DrawBoxLine(surface, kSenseBox, lineHeight,
                Format("%s   %1d", labels_.sense.c_str(), values.sense));
    DrawBoxLine(surface, kPressBox, lineHeight,
                Format("%s %3d", labels_.press.c_str(), values.inflationPressure));
    DrawBoxLine(surface, kBaseBox, lineHeight,
                Format("%s  %3d", labels_.base.c_str(), values.opticalBase));
    DrawBoxLine(surface, kSpeciesBox, lineHeight,
                SpeciesText(values.deviceTypeCode, values.sampling));
    DrawBoxLine(surface, kAnimalBox, lineHeight, values.animalNo);

    DrawMeasurement(surface, values, LineHeight(surface));
    surface.SelectSystemFont();
}

void CInformationDrawing::DrawMeasurement(IDrawingSurface& surface, const InformationValues& values,
                                          int lineHeight) const {
    const Colour colour = values.analysisSource ? kOwnAnalysisColour : kTextColour;
    surface.SetTextColour(colour);
    DrawBoxLine(surface, kHeartRateBox, lineHeight, Format("HR   %3d", values.heartRate));
    DrawBoxLine(surface, kSbpBox, lineHeight, Format("SBP  %3d", ToMmHg(values.sbp)));
    if (values.valid) {
        DrawBoxLine(surface, kMbpBox, lineHeight, Format("MBP  %3d", ToMmHg(values.mbp)));
        DrawBoxLine(surface, kDbpBox, lineHeight, Format("DBP  %3d", ToMmHg(values.dbp)));
    }

    surface.SetFont(kSmallFont);
    surface.TextOut(kIntervalAnchor.x + kTextIndent, kIntervalAnchor.y + lineHeight / 3,
                    values.valid ? Format("M-S:%d", values.markerInterval) : "   ");

    const int flag = ShownResultCode(values.resultCode, values.valid);
    if (flag != kResultOk) {
        surface.SetFont(kHeadingFont);
        surface.SetTextColour(kFlagColour);
        surface.TextOut(kFlagAnchor.x + kTextIndent, kFlagAnchor.y + lineHeight / 3,
                        ResultFlagText(flag));
    }
    if (values.deviceTypeCode == kLegendDeviceType)
        DrawLegend(surface, lineHeight);
}

void CInformationDrawing::DrawLegend(IDrawingSurface& surface, int lineHeight) const {
    surface.SetFont(kSmallFont);
    int y = kFlagAnchor.y + 2 * lineHeight;
    int line = 0;
    for (const char* text : kLegendLines) {
        bool title = false;
        for (int t : kLegendTitleLines)
            title = title || t == line;
        surface.SetTextColour(title ? kLegendTitleColour : kTextColour);
        surface.TextOut(kFlagAnchor.x + kTextIndent, y, text);
        y += lineHeight;
        ++line;
    }
}

void CInformationDrawing::DrawLiveValue(IDrawingSurface& surface, LiveMarker marker,
                                        int rawPressure) const {
    surface.SetFont(kValueFont);
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    surface.SetTextBackground(faceColour_);
    surface.SetTextColour(kLiveColour);
    const int lineHeight = LineHeight(surface);
    if (marker == LiveMarker::Systolic)
        DrawBoxLine(surface, kSbpBox, lineHeight, Format("SBP  %3d", ToMmHg(rawPressure)));
    else
        DrawBoxLine(surface, kMbpBox, lineHeight, Format("MBP  %3d", ToMmHg(rawPressure)));
    surface.SelectSystemFont();
}

} // namespace mirado
