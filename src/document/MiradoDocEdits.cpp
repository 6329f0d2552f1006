// CMiradoDoc: the user's edits of the current file, taking them back, and the original
// copy that a save keeps and a revert restores.

#include "document/MiradoDoc.h"

#include "document/OriginalCopy.h"
#include "platform/UserPrompts.h"
#include "records/AdData.h"
#include "records/PressureAnalysis.h"

#include <algorithm>

namespace mirado {

bool CMiradoDoc::SetIdTexts(const IdTexts& texts) {
    if (!loaded_ || adData_ == nullptr)
        return false;
    const EditSnapshot before = CaptureEdits();
    // A text the user left alone keeps its bytes: bytes without an exact text form
    // would not survive the way back from the shown text.
    const IdTexts shown = GetIdTexts();
    if (texts.animalNo != shown.animalNo)
        SetAnimalNo(texts.animalNo);
    if (texts.exNo != shown.exNo)
        SetExNo(texts.exNo);
    if (texts.weight != shown.weight)
        SetWeight(texts.weight);
    if (texts.sexAge != shown.sexAge)
        SetSexAge(texts.sexAge);
    if (texts.comment != shown.comment)
        SetComment(texts.comment);
    // A text that differs only in what storing drops (blanks around it, characters
    // beyond the field's width) leaves the record as it was: no edit then.
    if (adData_->GetIdFieldBytes() == before.idFields)
        return false;
    SetModifiedFlag(true);
    UpdateAllViews();
    NotifyEdit(EditKind::EditIdentification, before);
    return true;
}

MarkerPlacement CMiradoDoc::MoveMarker(MarkerPlacement placement) {
    int markerS = 0, markerM = 0, markerD = 0;
    GetMarkers(markerS, markerM, markerD);
    const bool isS = placement.marker == MovableMarker::S;
    const MarkerPlacement before{placement.marker, isS ? markerS : markerM};
    if (!CanSaveCurrentFile())
        return before;
    const EditSnapshot snapshot = CaptureEdits();
    // A move never stores a sample outside the channel.
    const int sample = std::clamp(placement.sample, 0, kSampleCount - 1);
    if (isS)
        SetMarkerS(sample);
    else
        SetMarkerM(sample);
    SetModifiedFlag(true);
    UpdateAllViews();
    NotifyEdit(isS ? EditKind::MoveMarkerS : EditKind::MoveMarkerM, snapshot);
    return before;
}

void CMiradoDoc::NotifyEdit(EditKind kind, const EditSnapshot& before) {
    if (editObserver_ != nullptr)
        editObserver_->OnEdit(EditRecord{kind, before, CaptureEdits()});
}

void CMiradoDoc::NotifyRecordReplaced() {
    if (editObserver_ != nullptr)
        editObserver_->OnRecordReplaced();
}

void CMiradoDoc::ShowDisplayMode(const DisplayMode& mode) {
    if (mode.analysisSource) {
        if (!analysisSource_ || analysisValid_ != mode.analysisValid)
            ShowAnalysis(mode.analysisValid);
    } else if (analysisSource_) {
        ShowStoredValues();
    }
}

EditSnapshot CMiradoDoc::CaptureEdits() const {
    EditSnapshot snapshot;
    snapshot.mode = GetDisplayMode();
    snapshot.analysis = activeAnalysis_->GetMarkerResults();
    if (adData_ != nullptr) {
        int16_t markerD = 0;
        adData_->GetStoredMarkers(snapshot.storedMarkerS, snapshot.storedMarkerM, markerD);
        snapshot.idFields = adData_->GetIdFieldBytes();
    }
    return snapshot;
}

void CMiradoDoc::RestoreEdits(const EditSnapshot& snapshot, EditKind kind) {
    if (adData_ == nullptr)
        return;
    if (kind == EditKind::EditIdentification) {
        adData_->SetIdFieldBytes(snapshot.idFields);
    } else {
        // A marker goes back into the store it was moved in: the analysis record's
        // markers and pressures in an analysis mode, the record's marker otherwise.
        ShowDisplayMode(snapshot.mode);
        if (snapshot.mode.analysisSource) {
            activeAnalysis_->RestoreMarkerResults(snapshot.analysis);
        } else if (kind == EditKind::MoveMarkerS) {
            adData_->SetStoredMarkerS(snapshot.storedMarkerS);
        } else {
            adData_->SetStoredMarkerM(snapshot.storedMarkerM);
        }
    }
    UpdateAllViews();
}

bool CMiradoDoc::SaveBeforeVisitingOtherFiles() {
    if (!loaded_ || !IsModified() || services_.prompts == nullptr)
        return true;
    const MessageAnswer answer = AskSaveChanges(MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel)
        return false;
    if (answer == MessageAnswer::Yes)
        return SaveCurrentFile();
    // Dropped by the user's choice: the opens that follow must not ask again.
    SetModifiedFlag(false);
    return true;
}

// --- Original copies -------------------------------------------------------------------

bool CMiradoDoc::CanRevertToOriginal() const {
    // Anything at the copy's name enables the command, so that a revert can say why it
    // refuses a copy that is no regular file.
    return loaded_ && !recordPath_.empty() && GetCurrentPath() == recordPath_ &&
           IsOriginalCopyNameTaken(recordPath_);
}

bool CMiradoDoc::RevertToOriginal() {
    if (!CanRevertToOriginal() || services_.prompts == nullptr)
        return false;
    const MessageAnswer answer =
        services_.prompts->ShowMessage(recordPath_ + "\n" + kRevertQuestion, kRevertCaption,
                                       MessageIcon::Question, MessageButtons::YesNoDefaultNo);
    if (answer != MessageAnswer::Yes)
        return false;
    std::string error;
    if (!RestoreOriginal(recordPath_, error)) {
        services_.prompts->ShowMessage(recordPath_ + "\n" +
                                           services_.prompts->Translated(kRevertFailedText) + error,
                                       kRevertCaption, MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    // The edits belong to the bytes just replaced: they are dropped, never offered.
    ReloadDroppingEdits();
    return true;
}

} // namespace mirado
