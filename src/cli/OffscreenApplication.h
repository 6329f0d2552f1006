#pragma once
// The Qt application the drawing commands need, on the offscreen platform so that no
// display is needed: the printed pages of `render` and the charts of `summary --plot`
// (a QCustomPlot is a widget, so the application is a widget one).

namespace mirado {

// Creates the application once per process, with the program's font substitutions and a
// fixed hash seed (Qt's hashes otherwise take a random seed per process, and the order in
// which the PDF writer lists the fonts follows one: equal pages would give other bytes).
void EnsureOffscreenApplication();

} // namespace mirado
