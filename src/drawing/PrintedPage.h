#pragma once
// The printed page of one recording, shared by the current-file page and the
// selected-files page: page geometry in printer pixels, the framed graph with level and
// time lines, the two traces, the fitted curve, the marker lines, and the text block of
// heading, identification fields and results above the graph. The two pages differ only
// in the points a PageStyle holds. Drawing goes through IDrawingSurface, so the same
// code paints on a printer, into a print preview, into a PDF and into a test recorder.

#include "drawing/ScaleLabels.h"
#include "platform/DrawingSurface.h"
#include "records/RecordLayout.h"

#include <cstdint>
#include <string>

namespace mirado {

class IUserPrompts;

// Texts of the page.
inline constexpr const char* kFontCreateError = "Error in Font Create";
inline constexpr const char* kFontSetError = "Error in OnPrint() Font set";
inline constexpr const char* kPressureUnit = "mmHg";

// The values one page shows, read from the document before drawing. Pressures are
// already whole mmHg; the sample arrays hold kSampleCount entries or are null.
struct PrintedRecording {
    bool drawable = false; // a file is loaded and it loaded without error
    int sampling = 1;      // sample interval in 0.1 ms
    const int16_t* pressureSamples = nullptr;
    const int16_t* pulseSamples = nullptr;
    const int16_t* fittedCurve = nullptr; // null when the fitted curve is not shown
    int viewScale = 0;
    int markerS = 0;
    int markerM = 0;
    bool valid = false;
    int sense = 0;
    int sbp = 0;
    int dbp = 0;
    int mbp = 0;
    int heartRate = 0;
    std::string date;
    std::string time;
    std::string animalNo;
    std::string exNo;
    std::string weight;
    std::string sexAge;
    std::string comment;
};

// The seven pens of a page, by role.
struct PagePens {
    Pen frame;
    Pen levelLine;
    Pen timeLine;
    Pen pulseWave;
    Pen pressure;
    Pen markerS;
    Pen markerM;
};

// What tells the two kinds of page apart.
struct PageStyle {
    int verticalMarginHundredths = 0;         // top and bottom margin of the graph, in 1/100 inch
    bool heightFromVerticalResolution = true; // graph height converted with dpiY, else dpiX
    bool ownPressureBaseline = true; // pressure zero line three quarters down, else the wave's
    bool whiteFillAboveGraph = true; // wipe what the pulse polyline drew above the graph
    PagePens pens;
    std::string fontFace;
    // Seconds under the time lines and the cuff's mmHg scale left of the graph.
    ScaleLabelOptions scaleLabels;
};

// Page geometry in device pixels.
struct PageGeometry {
    int margin = 0; // m: the left and right margin, also the x of the text block
    Rect shrunk;    // the drawing rectangle less the margins
    Rect graph;     // left, top, right = left + 7.87 in, bottom = top + 4.72 in
    int waveBaseline = 0;
    int pressureBaseline = 0;
    int Width() const { return graph.Width(); }
    int Height() const { return graph.Height(); }
};

PageGeometry ComputePageGeometry(const Rect& drawingRect, int dpiX, int dpiY,
                                 const PageStyle& style);

// Samples between two time lines: one second of recording; 0 when no line is drawn.
int TimeLineStep(int sampling);

// Draws the whole page. Nothing is drawn when the recording is not drawable. Font
// failures are reported through prompts and the page is drawn with the font the
// surface then has.
void DrawRecordingPage(IDrawingSurface& surface, const Rect& drawingRect,
                       const PrintedRecording& recording, const PageStyle& style,
                       const std::string& heading, IUserPrompts& prompts);

} // namespace mirado
