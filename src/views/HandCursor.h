#pragma once
// The pointer shown while a marker is carried: a hand with a raised index finger whose
// tip is the hot spot, drawn from the program's own outline.

#include <QCursor>

namespace mirado {

inline constexpr int kHandCursorSize = 32;
inline constexpr int kHandHotSpotX = 12;
inline constexpr int kHandHotSpotY = 5;

QCursor MakeHandCursor();

} // namespace mirado
