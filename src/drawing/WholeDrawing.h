#pragma once
// The whole-recording overview computed against a drawing surface: the pulse wave over
// all 4000 samples at a fixed 1/32 scale in black, its zero line three quarters down,
// and a short blue tick standing on the bottom edge at every stored beat position.

#include "platform/DrawingSurface.h"

#include <cstdint>

namespace mirado {

inline constexpr int kBeatTickHeight = 12;
inline constexpr int kMaxBeatTicks = 100;

// The shade of the span a zoomed wave view shows.
inline constexpr Colour kVisibleSpanShade = Rgb(200, 220, 245);

// y of the overview's zero line for a pane height.
int OverviewBaseline(int height);

// Shades the columns of samples first to first + count - 1 over the band's height.
void DrawVisibleSpan(IDrawingSurface& surface, const Rect& client, int first, int count);

// pulse: channel 2, 4000 samples; beats: up to 100 positions ended by the first 0
// (either may be null). The trace is black, the ticks use tickPen. Returns the number of
// ticks drawn.
int DrawWholeRecording(IDrawingSurface& surface, const Rect& client, const int16_t* pulse,
                       const int16_t* beats, const Pen& tickPen);

} // namespace mirado
