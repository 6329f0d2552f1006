#include "document/UserEdit.h"

#include "document/MiradoDoc.h"

#include <utility>

namespace mirado {

CUserEdit::CUserEdit(MarkerPlacement placement)
    : kind_(placement.marker == MovableMarker::S ? EditKind::MoveMarkerS : EditKind::MoveMarkerM),
      placement_(placement) {}

CUserEdit::CUserEdit(IdTexts texts)
    : kind_(EditKind::EditIdentification), texts_(std::move(texts)) {}

bool CUserEdit::Apply(CMiradoDoc& document) {
    if (!before_.has_value())
        before_ = document.CaptureEdits();
    else if (kind_ != EditKind::EditIdentification)
        // A marker goes into the store it was first moved in.
        document.ShowDisplayMode(before_->mode);
    if (kind_ == EditKind::EditIdentification)
        return document.SetIdTexts(texts_);
    if (!document.CanSaveCurrentFile())
        return false;
    document.MoveMarker(placement_);
    return true;
}

void CUserEdit::TakeBack(CMiradoDoc& document) const {
    if (before_.has_value())
        document.RestoreEdits(*before_, kind_);
}

} // namespace mirado
