#pragma once
// Scale labels in units over the traces: the whole seconds of the recording at the time
// lines and an mmHg scale for the cuff trace, derived from the scale that draws the
// trace. The wave view and the printed page of the current file place them each in
// their own way; what is shown where is computed here.

#include "drawing/ColumnEnvelope.h"
#include "platform/DrawingSurface.h"

#include <string>
#include <vector>

namespace mirado {

// Whether labels are drawn, and the unit texts (the window layer may translate them).
struct ScaleLabelOptions {
    bool shown = false;
    std::string secondsUnit = "s";
    std::string pressureUnit = "mmHg";
};

// A time line: its sample and the second of the recording it stands at (one line every
// `step` samples from the start; step is one second of samples).
struct TimeMark {
    int sample = 0;
    int second = 0;
    bool operator==(const TimeMark&) const = default;
};
// The lines from sample `first` to `last` inclusive; the start of the recording itself
// carries none. A step that is not positive gives none.
std::vector<TimeMark> TimeMarksBetween(int step, int first, int last);

// A mark of the cuff's mmHg scale at height y.
struct PressureMark {
    int y = 0;
    int mmHg = 0;
    bool operator==(const PressureMark&) const = default;
};
// Marks every stepMmHg from 0 at the baseline upward while they stay at or below `top`.
// y is where the trace draws that pressure: baseline - scale(2 x mmHg), the channel
// holding half millimetres of mercury.
std::vector<PressureMark> PressureMarks(int baseline, int top, int stepMmHg,
                                        const SampleScale& scale);

std::string SecondLabel(int second, const ScaleLabelOptions& options);

// How many seconds apart the labelled seconds stand: the smallest of 1, 2, 5, 10, 20,
// 50, ... at which labels up to `widest` pixels wide, `secondWidth` pixels per second
// apart, keep at least `gap` pixels between them. Only seconds that are a multiple of it
// carry a label, so the labels stay on the same lines while the view scrolls.
int SecondLabelStride(double secondWidth, int widest, int gap);

// A label's box, for keeping labels from overlapping one another.
struct LabelBox {
    int left = 0;
    int top = 0;
    int right = 0;  // exclusive
    int bottom = 0; // exclusive
    bool Overlaps(const LabelBox& other) const {
        return left < other.right && other.left < right && top < other.bottom && other.top < bottom;
    }
};
// The number alone, or with the unit after it (the top mark of a scale carries it).
std::string PressureLabel(int mmHg, bool withUnit, const ScaleLabelOptions& options);

// The letters written at the bottom of the marker lines on screen, beside the scale labels.
inline constexpr const char* kMarkerSLabel = "S";
inline constexpr const char* kMarkerMLabel = "M";

// The labels' font and colour on screen: a small gothic in grey, readable on the white
// and on the black background.
FontSpec ScreenLabelFont();
inline constexpr Colour kScreenLabelColour = 0x808080;

} // namespace mirado
