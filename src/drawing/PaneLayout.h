#pragma once
// The main window's fixed pane layout: a side column on each side (the information pane
// on the left, the file list on the right) and the overview band at the top of the
// middle, above the wave view.

namespace mirado {

inline constexpr int kSideColumnWidth = 130;
inline constexpr int kOverviewBandHeight = 100;

} // namespace mirado
