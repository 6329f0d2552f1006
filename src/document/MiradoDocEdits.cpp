// CMiradoDoc: the user's edits of the current file, taking them back, and the original
// copy that a save keeps and a revert restores.

#include "document/MiradoDoc.h"

#include "document/MessageText.h"
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
    mark_->OnEdited();
    UpdateAllViews();
    return true;
}

MarkerPlacement CMiradoDoc::MoveMarker(MarkerPlacement placement) {
    int markerS = 0, markerM = 0, markerD = 0;
    GetMarkers(markerS, markerM, markerD);
    const bool isS = placement.marker == MovableMarker::S;
    const MarkerPlacement before{placement.marker, isS ? markerS : markerM};
    if (!CanSaveCurrentFile())
        return before;
    // A move never stores a sample outside the channel.
    const int sample = std::clamp(placement.sample, 0, kSampleCount - 1);
    if (isS)
        SetMarkerS(sample);
    else
        SetMarkerM(sample);
    mark_->OnEdited();
    UpdateAllViews();
    return before;
}

void CMiradoDoc::NotifyRecordReplaced(bool edited) {
    mark_->OnRecordReplaced(edited);
}

void CMiradoDoc::NotifyFilesChanged() const {
    if (filesChanged_)
        filesChanged_();
}

void CMiradoDoc::SetModifiedMark(IModifiedMark* owner) {
    const bool modified = IsModified();
    mark_ = owner != nullptr ? owner : &ownMark_;
    if (owner == nullptr)
        ownMark_.OnRecordReplaced(modified);
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
        adData_->GetStoredPressures(snapshot.storedSbp, snapshot.storedMbp, snapshot.storedDbp);
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
        } else {
            // The stored pressures moved with the marker.
            if (kind == EditKind::MoveMarkerS)
                adData_->SetStoredMarkerS(snapshot.storedMarkerS);
            else
                adData_->SetStoredMarkerM(snapshot.storedMarkerM);
            adData_->SetStoredPressures(snapshot.storedSbp, snapshot.storedMbp, snapshot.storedDbp);
        }
    }
    UpdateAllViews();
}

// --- Unsaved edits of every listed file ------------------------------------------------

bool CMiradoDoc::HasUnsavedEditsAt(int index) const {
    if (!files_.Contains(index))
        return false;
    const std::string& path = files_.At(index).path;
    return (loaded_ && IsModified() && path == recordPath_) || HoldsEditsOf(path);
}

std::vector<std::string> CMiradoDoc::UnsavedFiles() const {
    std::vector<std::string> unsaved;
    bool currentListed = false;
    for (int index = 0; index < files_.GetCount(); ++index) {
        const std::string& path = files_.At(index).path;
        if (!HasUnsavedEditsAt(index) ||
            std::find(unsaved.begin(), unsaved.end(), path) != unsaved.end())
            continue;
        unsaved.push_back(path);
        currentListed |= path == recordPath_;
    }
    if (loaded_ && IsModified() && !currentListed)
        unsaved.insert(unsaved.begin(), recordPath_);
    return unsaved;
}

// The state the file's edits left it in, put back on the record just loaded (in the
// display mode they were made in).
void CMiradoDoc::ApplySnapshot(const EditSnapshot& snapshot) {
    ShowDisplayMode(snapshot.mode);
    activeAnalysis_->RestoreMarkerResults(snapshot.analysis);
    int16_t markerS = 0, markerM = 0, markerD = 0;
    adData_->GetStoredMarkers(markerS, markerM, markerD);
    adData_->SetStoredMarkers(snapshot.storedMarkerS, snapshot.storedMarkerM, markerD);
    adData_->SetStoredPressures(snapshot.storedSbp, snapshot.storedMbp, snapshot.storedDbp);
    adData_->SetIdFieldBytes(snapshot.idFields);
}

bool CMiradoDoc::ReapplyHeldEdits() {
    const auto held = heldEdits_.find(recordPath_);
    if (held == heldEdits_.end() || !recordDecoded_ || adData_ == nullptr)
        return false;
    ApplySnapshot(held->second);
    heldEdits_.erase(held);
    return true;
}

bool CMiradoDoc::SaveAllFiles() {
    bool allSaved = true;
    if (loaded_ && IsModified())
        allSaved = SaveCurrentFile();
    if (heldEdits_.empty())
        return allSaved;
    const int back = currentIndex_;
    const bool wasLoaded = loaded_;
    for (int index = 0; index < files_.GetCount(); ++index) {
        if (!HoldsEditsOf(files_.At(index).path))
            continue;
        // Visiting keeps whatever could not be saved, the current file's edits included.
        HoldCurrentEdits();
        LoadEntry(index);
        allSaved = (IsModified() && SaveCurrentFile()) && allSaved;
    }
    if (wasLoaded && files_.Contains(back)) {
        HoldCurrentEdits();
        LoadEntry(back);
    }
    return allSaved;
}

std::string CMiradoDoc::QuestionWithFiles(const char* question,
                                          const std::vector<std::string>& files) const {
    std::string text = services_.prompts->Translated(question);
    for (size_t i = 0; i < files.size() && i < kListedUnsavedFiles; ++i)
        text.append("\n").append(files[i]);
    if (files.size() > kListedUnsavedFiles)
        text.append("\n").append(
            ReplacePlaceholder(services_.prompts->Translated(kMoreFilesFormat), "%1",
                               std::to_string(files.size() - kListedUnsavedFiles)));
    return text;
}

MessageAnswer CMiradoDoc::AskSaveFiles(const std::vector<std::string>& files) const {
    if (files.size() == 1 && files.front() == recordPath_)
        return AskSaveChanges(MessageButtons::YesNoCancel);
    return services_.prompts->ShowMessage(QuestionWithFiles(kSaveFilesQuestion, files),
                                          kApplicationTitle, MessageIcon::Warning,
                                          MessageButtons::YesNoCancel);
}

// Dropped by the user's choice: the opens that follow must not ask again nor put them back.
void CMiradoDoc::DropAllEdits() {
    heldEdits_.clear();
    NotifyRecordReplaced(false);
}

bool CMiradoDoc::ConfirmTrashingEdits() {
    std::vector<std::string> unsaved;
    for (int index = 0; index < files_.GetCount(); ++index)
        if (files_.At(index).selected && HasUnsavedEditsAt(index))
            unsaved.push_back(files_.At(index).path);
    if (unsaved.empty() || services_.prompts == nullptr)
        return true;
    return services_.prompts->ShowMessage(QuestionWithFiles(kTrashDropsEditsQuestion, unsaved),
                                          kApplicationTitle, MessageIcon::Warning,
                                          MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool CMiradoDoc::SaveModified() {
    const std::vector<std::string> unsaved = UnsavedFiles();
    if (unsaved.empty() || services_.prompts == nullptr)
        return true;
    const MessageAnswer answer = AskSaveFiles(unsaved);
    if (answer == MessageAnswer::Cancel)
        return false;
    return answer != MessageAnswer::Yes || SaveAllFiles();
}

bool CMiradoDoc::SaveBeforeVisitingOtherFiles() {
    if (!SaveModified())
        return false;
    // What the user chose not to save is dropped: the command opens the files as they are
    // on disk and must not ask again.
    DropAllEdits();
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
    std::string question = recordPath_ + "\n" + kRevertQuestion;
    if (IsModified())
        question += std::string("\n") + kRevertDropsEditsText;
    const MessageAnswer answer = services_.prompts->ShowMessage(
        question, kRevertCaption, MessageIcon::Question, MessageButtons::YesNoDefaultNo);
    if (answer != MessageAnswer::Yes)
        return false;
    if (const Result<void> restored =
            RestoreOriginal(recordPath_, services_.journal, services_.prompts);
        !restored.ok()) {
        services_.prompts->ShowMessage(recordPath_ + "\n" +
                                           services_.prompts->Translated(kRevertFailedText) +
                                           restored.error(),
                                       kRevertCaption, MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    // The edits belong to the bytes just replaced: they are dropped, never offered.
    ReloadDroppingEdits();
    NotifyFilesChanged();
    return true;
}

} // namespace mirado
