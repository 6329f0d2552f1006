#pragma once
// What a user edit of the current file changes, captured as it stands before the edit,
// so that the edit can be taken back exactly.

#include "records/AdData.h"
#include "records/PressureAnalysis.h"

#include <cstdint>

namespace mirado {

// Which values are shown, and so which store a marker move goes to: the record's stored
// values, or the active analysis (with or without a valid marker M).
struct DisplayMode {
    bool analysisSource = false;
    bool analysisValid = true;
    bool operator==(const DisplayMode&) const = default;
};

// The user's edits, each one step of the history.
enum class EditKind { MoveMarkerS, MoveMarkerM, EditIdentification };

// The parts of the current file that an edit can change.
struct EditSnapshot {
    DisplayMode mode;
    int16_t storedMarkerS = 0;
    int16_t storedMarkerM = 0;
    // The stored pressures, which follow a stored marker when it moves.
    int16_t storedSbp = 0;
    int16_t storedMbp = 0;
    int16_t storedDbp = 0;
    MarkerResults analysis;
    CAdData::IdFieldBytes idFields{};
};

} // namespace mirado
