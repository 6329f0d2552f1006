#pragma once
// What a user edit of the current file changes, captured as it stands before and after
// the edit, so that the edit can be taken back and made again exactly, and the
// interface through which the document reports its edits to an edit history.

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

// One edit as the document made it.
struct EditRecord {
    EditKind kind = EditKind::MoveMarkerS;
    EditSnapshot before;
    EditSnapshot after;
};

// Told by the document about its edits, so that a history can follow them.
class IEditObserver {
public:
    virtual ~IEditObserver() = default;
    // A user edit was stored.
    virtual void OnEdit(const EditRecord& edit) = 0;
    // The current file was saved with every edit made so far.
    virtual void OnSaved() = 0;
    // The current record was replaced (another file opened, the list replaced, the file
    // sent to the trash or reverted), or unsaved edits were kept or dropped: the history
    // follows the current file, whose re-applied edits show as the modified mark, and
    // keeps only the files the document holds edits of (HoldsEditsOf).
    virtual void OnRecordReplaced() = 0;
};

} // namespace mirado
