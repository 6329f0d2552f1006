#pragma once
// A user's marker edit: which of the two movable markers, and the sample it stands at.

namespace mirado {

// The markers the user carries in the wave view.
enum class MovableMarker { S, M };

// CMiradoDoc::MoveMarker takes one and returns the one that puts the marker back.
struct MarkerPlacement {
    MovableMarker marker = MovableMarker::S;
    int sample = 0;
};

} // namespace mirado
