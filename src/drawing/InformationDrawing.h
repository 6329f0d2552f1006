#pragma once
// CInformationDrawing: the information pane's picture on a drawing surface: the sunken
// client area with its raised boxes and captions, the recording conditions, the animal
// number, the measurement lines with their result flag, and the sampling legend of the
// device type that states its interval in milliseconds. The pane fills
// InformationValues from the document; tests hand their own values to a recording surface.

#include "platform/DrawingSurface.h"

#include <array>
#include <string>

namespace mirado {

// Everything the lines show for the current file.
struct InformationValues {
    int sense = 0;
    int opticalBase = 0;
    int inflationPressure = 0;
    int deviceTypeCode = 0;
    int sampling = 1; // sample interval in 0.1 ms
    std::string animalNo;
    int heartRate = 0;
    int sbp = 0; // raw, half mmHg
    int mbp = 0;
    int dbp = 0;
    bool valid = false;
    int markerInterval = 0; // ms
    int resultCode = 0;
    bool analysisSource = false; // values of the program's own analysis
};

// The pane's captions and the names of the condition lines, in the window's language.
struct InformationLabels {
    std::string condition = "Condition";
    std::string animalNo = "Animal No.";
    std::string measurement = "Measurement";
    std::string sense = "Sense";
    std::string base = "Base";
    std::string press = "Press";
};

// The parts of the pane a tool tip explains.
enum class InformationItem { None, Sense, Base, Press, MarkerInterval, ResultFlag };

// Which marker a live value belongs to.
enum class LiveMarker { Systolic, Mean };

class CInformationDrawing {
public:
    static constexpr int kBoxCount = 9;

    explicit CInformationDrawing(Colour faceColour) : faceColour_(faceColour) {}

    void SetLabels(const InformationLabels& labels) { labels_ = labels; }

    // Fills the client area, draws the sunken edge, the raised boxes and the captions.
    void DrawBackground(IDrawingSurface& surface, const Rect& client) const;
    // The lines of a readable file.
    void DrawLines(IDrawingSurface& surface, const InformationValues& values) const;
    // The value of a marker being dragged, in red over its usual line.
    void DrawLiveValue(IDrawingSurface& surface, LiveMarker marker, int rawPressure) const;

    static const std::array<Rect, kBoxCount>& Boxes();
    // The part of the pane at client point p: a condition line's box, the M-S line or
    // the result flag's row (whatever they show).
    static InformationItem ItemAt(Point p);
    // The height the column needs to show every line, the legend included, with the
    // surface's fonts.
    static int ColumnHeight(IDrawingSurface& surface);

private:
    void DrawBoxLine(IDrawingSurface& surface, int box, int lineHeight,
                     const std::string& text) const;
    void DrawMeasurement(IDrawingSurface& surface, const InformationValues& values,
                         int lineHeight) const;
    void DrawLegend(IDrawingSurface& surface, int lineHeight) const;

    Colour faceColour_;
    InformationLabels labels_;
};

} // namespace mirado
