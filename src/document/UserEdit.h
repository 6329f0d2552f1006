#pragma once
// CUserEdit: one user edit of the current file, made again as often as it is taken back.
// Apply makes it through the document's operation (a marker move in the display mode it
// was first made in); TakeBack puts back exactly what the first Apply found. Each step of
// the window's undo history holds one.

#include "document/EditSnapshot.h"
#include "document/MarkerPlacement.h"
#include "platform/DocumentDialogs.h"

#include <optional>

namespace mirado {

class CMiradoDoc;

class CUserEdit {
public:
    explicit CUserEdit(MarkerPlacement placement);
    explicit CUserEdit(IdTexts texts);

    EditKind Kind() const { return kind_; }
    // Makes the edit; false when it changed nothing (nothing loaded to move a marker on,
    // or texts that store the bytes there already).
    bool Apply(CMiradoDoc& document);
    // Puts back the state before the edit; nothing before the first Apply.
    void TakeBack(CMiradoDoc& document) const;

private:
    EditKind kind_;
    MarkerPlacement placement_;
    IdTexts texts_;
    std::optional<EditSnapshot> before_;
};

} // namespace mirado
