#pragma once
// CWaveDrawing: the wave view's picture computed against a drawing surface: the grid of
// level and time lines, the pulse-wave and pressure traces, the fitted curve and the
// marker lines, in the full view and in the zoomed views. It holds no window; the view
// fills a WaveScene from the document and its own state and hands it over, and tests
// drive it the same way on a recording surface. When the surface is clipped to a few
// columns (the drag line moving), the traces are drawn only around those columns, with
// the same pixels there as a full drawing gives. On a surface with several device pixels
// per unit the traces are drawn in device pixels.

#include "drawing/ColumnEnvelope.h"
#include "drawing/ScaleLabels.h"
#include "platform/DrawingSurface.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

inline constexpr Colour kBlack = 0x000000;
inline constexpr Colour kWhite = 0xFFFFFF;
inline constexpr Colour kGridColour = 0xC0C0C0;
inline constexpr Colour kGrey = 0x808080;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kBlue = 0xFF0000;
inline constexpr Colour kOverviewBackground = 0xF0F0F0;

// Device type code whose pulse wave sits higher (70 % instead of 80 % down).
inline constexpr int kHighBaselineDeviceType = 1;

// Everything one draw of the wave view reads.
struct WaveScene {
    Rect client;
    int zoomIndex = 0;    // 0..3
    int scrollOffset = 0; // first visible sample when zoomed
    int viewScale = 5;    // g: pulse values are (s * 32) >> (g + 2)
    int deviceTypeCode = 0;
    int sampling = 1;                  // sample interval in 0.1 ms
    const int16_t* pulse = nullptr;    // channel 2, 4000 samples
    const int16_t* pressure = nullptr; // channel 1, 4000 samples
    const int16_t* fittedCurve = nullptr;
    bool fittedCurveShown = false;
    int markerS = 0;
    int markerM = 0;
    bool markerMValid = false;
    // Seconds at the time lines and the cuff's mmHg scale. While shown, the zoomed
    // view's time lines stand at whole seconds of the recording, following the offset.
    ScaleLabelOptions scaleLabels;
};

// The pens the view owns; the defaults are those before the settings are applied.
struct WavePens {
    Pen wave{PenStyle::Solid, 1, kBlue};
    Pen pressure{PenStyle::Solid, 1, kGrey};
    Pen levelLine{PenStyle::Solid, 1, kGridColour};
    Pen timeLine{PenStyle::Dotted, 1, kGridColour};
    Pen markerS{PenStyle::Solid, 1, kRed};
    Pen markerM{PenStyle::Solid, 1, kGrey};
    Pen tick{PenStyle::Solid, 1, kBlue}; // beat ticks of the overview
    Pen frame{PenStyle::Solid, 1, kBlack};
};

struct WaveBaselines {
    int wave = 0;
    int pressure = 0;
};

// Zero lines of the two traces for a pane height and device type code.
WaveBaselines ComputeBaselines(int height, int deviceTypeCode);

class CWaveDrawing {
public:
    CWaveDrawing(IDrawingSurface& surface, const WaveScene& scene, const WavePens& pens);

    // The whole picture: full or zoomed by the scene's zoom index, then the black pen.
    void Draw();

    void DrawFullGrid();
    void DrawFullTraces();
    void DrawFullFittedCurve();
    void DrawFullMarkers();
    void DrawZoomGrid();
    void DrawZoomTraces();
    void DrawZoomFittedCurve();
    void DrawZoomMarkers();
    // Labels over the finished picture (nothing while they are not shown): the cuff's
    // scale, the seconds and the letters of the marker lines, none over another.
    void DrawScaleLabels();

    const WaveBaselines& Baselines() const { return baselines_; }

private:
    struct Span;
    Span FullSpan() const;
    Span ZoomSpan() const;
    void DrawLevelLines(int x0, int x1, int yOrigin);
    void DrawTimeLines(int64_t columnSpan, int xOrigin, int y0, int y1);
    // A time line with the second it is labelled with, in client x.
    struct LabelledLine {
        int x;
        int second;
    };
    std::vector<LabelledLine> LabelledTimeLines() const;
    void DrawLabelledTimeLines();
    void DrawTimeLabels(std::vector<LabelBox>& placed);
    std::vector<LabelBox> DrawPressureScale();
    void DrawMarkerLabels(std::vector<LabelBox>& placed);
    void DrawMarkerLabel(const char* text, Colour colour, int x, bool leftOfLine,
                         std::vector<LabelBox>& placed);
    std::optional<int> MarkerX(int marker) const;
    double SecondWidth() const;
    static bool OverlapsAny(const LabelBox& box, const std::vector<LabelBox>& placed);
    // One trace as drawn: the samples shown, where, and at what scale.
    struct Trace;
    void DrawChannel(const Span& span, const Pen& pen, const int16_t* samples, int baseline,
                     bool pulse, bool skipUndefined);
    void DrawTrace(const Trace& trace);
    void DrawPolyline(const Trace& trace);
    void DrawMarkerLine(const Pen& pen, int x, int yBottom, int yTop);
    void DrawZoomMarker(const Pen& pen, int marker);

    IDrawingSurface& surface_;
    const WaveScene& scene_;
    const WavePens& pens_;
    int width_;
    int height_;
    WaveBaselines baselines_;
    // The trace columns a partial repaint needs: the surface's clip box and one column
    // on each side, so that the lines joining into it are drawn too.
    ColumnWindow window_;
};

// The text shown instead of the drawing for a damaged file, in the 14-point font, black
// on the background colour (white on the black background), its top-left corner 20 pixels in at
// half the pane's height.
void DrawDamagedFileText(IDrawingSurface& surface, const Rect& client, const std::string& text,
                         Colour background);

} // namespace mirado
