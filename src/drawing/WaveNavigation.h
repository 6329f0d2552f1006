#pragma once
// The wave view's time axis without a window: zoom factors, the visible sample range,
// the scroll requests, the sample under a pointer position and the picking of a marker.

#include "records/RecordLayout.h"

#include <optional>

namespace mirado {

inline constexpr int kZoomIndexCount = 4;
inline constexpr int kLargestZoomIndex = kZoomIndexCount - 1;

// Which marker is meant: none, marker S (systolic) or marker M (mean).
enum CarriedMarker { kNoMarker = 0, kMarkerS = 1, kMarkerM = 2 };

// 1, 2, 4 or 8 by zoom index (an index out of range is taken as the nearest one).
int ZoomFactor(int zoomIndex);
// n: samples across the pane (4000, 2000, 1000 or 500).
int SamplesAcross(int zoomIndex);
// The largest scroll offset, 4000 - n (0 in the full view).
int ScrollLimit(int zoomIndex);
int ClampScrollOffset(int offset, int zoomIndex);

// What one step of travel (a wheel notch, Left or Right) moves a zoomed view: a tenth of
// the visible span; 0 in the full view, which does not scroll.
int TravelStep(int zoomIndex);
// The scroll offset that centres the visible span on a sample, limited to 0..4000 - n.
int CentredOffset(int sample, int zoomIndex);

// The zoom index after one step in or out, kept within 0..3.
int StepZoomIndex(int zoomIndex, int delta);
// The view scale after one amplitude step, or nothing when it is already at its limit.
std::optional<int> StepViewScale(int viewScale, int delta);

// Sample under client x: x * 4000 / W in the full view, x * n / W + offset zoomed.
// A pane without width maps every x to the first visible sample.
int SampleAtX(int x, int width, int zoomIndex, int scrollOffset);
// Client x of a sample, the other way round (outside 0..width when it is not shown).
int XOfSample(int sample, int width, int zoomIndex, int scrollOffset);
// Ten pixels' worth of samples: 40000 / W in the full view, 10 * n / W zoomed.
int PickTolerance(int width, int zoomIndex);
// The marker a click on sample p picks up: the nearer one within the tolerance, marker S
// on a tie; an invalid marker M is never picked.
CarriedMarker PickMarker(int p, int tolerance, int markerS, int markerM, bool markerMValid);

// The horizontal scroll bar's requests.
enum class ScrollRequest {
    LineLeft,
    LineRight,
    PageLeft,
    PageRight,
    ThumbPosition,
    ThumbTrack,
    LeftEnd,
    RightEnd,
    EndScroll,
    Other,
};
// The new scroll position, limited to 0..4000 - n; nothing for the end of a scroll.
std::optional<int> ScrollTarget(ScrollRequest request, int current, int given, int zoomIndex);

} // namespace mirado
