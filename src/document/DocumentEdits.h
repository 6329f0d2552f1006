#pragma once
// The user's edits of the current file as the wave view and the ID command make them.
// CMiradoDoc makes each at once (the batch tool, a pane on its own); the window's undo
// history makes each one a step whose redo makes it through the document.

#include "document/MarkerPlacement.h"
#include "platform/DocumentDialogs.h"

namespace mirado {

class IDocumentEdits {
public:
    virtual ~IDocumentEdits() = default;
    // Moves marker S or M of the shown values to the sample; returns the placement before.
    virtual MarkerPlacement MoveMarker(MarkerPlacement placement) = 0;
    // Stores the identification texts; true when a stored byte changed.
    virtual bool SetIdTexts(const IdTexts& texts) = 0;
};

} // namespace mirado
