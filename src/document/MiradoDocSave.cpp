// CMiradoDoc: writing the current record to its file or under another name. Every write
// holds the file's lock from the read that checks the file to the replacement, so no two
// writers work from the same bytes, and a file changed since the record was read is never
// overwritten without the user's word.

#include "document/MiradoDoc.h"

#include "document/ChangeJournal.h"
#include "document/ExportLoop.h"
#include "document/OriginalCopy.h"
#include "files/FileAccess.h"
#include "platform/SaveFileDialog.h"
#include "platform/UserPrompts.h"
#include "records/AdData.h"

namespace mirado {

bool CMiradoDoc::CheckSavable() {
    if (!loaded_ || adData_ == nullptr)
        return false;
    if (CanSaveCurrentFile())
        return true;
    ShowSaveRefusal(recordPath_, kDamagedSaveText);
    return false;
}

bool CMiradoDoc::SaveCurrentFile() {
    if (!CheckSavable())
        return false;
    std::optional<DiskState> approved;
    for (;;) {
        DiskState seen;
        {
            const CFileLock lock(recordPath_);
            const SaveAttempt attempt = TrySave(lock, approved ? &*approved : nullptr, seen);
            if (attempt != SaveAttempt::ChangedOnDisk)
                return attempt == SaveAttempt::Saved;
        }
        // Asked without the lock, so that no other writer waits for the user.
        const MessageAnswer answer = AskChangedOnDisk();
        if (answer != MessageAnswer::Overwrite)
            return AnswerChangedOnDisk(answer);
        // Overwrites what the user was told of; a file changed again is asked about again.
        approved = std::move(seen);
    }
}

bool CMiradoDoc::SaveCurrentFile(const CFileLock& held) {
    if (!CheckSavable())
        return false;
    DiskState seen;
    const SaveAttempt attempt = TrySave(held, nullptr, seen);
    if (attempt != SaveAttempt::ChangedOnDisk)
        return attempt == SaveAttempt::Saved;
    const MessageAnswer answer = AskChangedOnDisk();
    if (answer == MessageAnswer::Overwrite)
        return TrySave(held, &seen, seen) == SaveAttempt::Saved;
    return AnswerChangedOnDisk(answer);
}

bool CMiradoDoc::IsCurrentFileUnchanged() const {
    if (adData_ == nullptr)
        return false;
    const Result<std::vector<uint8_t>> read = ReadWholeFile(recordPath_, kMaxRecordFileSize);
    return read.ok() && read.value() == adData_->DiskBytes();
}

CMiradoDoc::SaveAttempt CMiradoDoc::TrySave(const CFileLock& lock, const DiskState* approved,
                                            DiskState& seen) {
    DiskState disk;
    if (!ReadDisk(recordPath_, lock, disk))
        return SaveAttempt::Failed;
    const bool unchanged = disk.exists && disk.bytes == adData_->DiskBytes();
    if (!unchanged && (approved == nullptr || !(*approved == disk))) {
        seen = std::move(disk);
        return SaveAttempt::ChangedOnDisk;
    }
    return WriteRecordTo(recordPath_, lock, disk) ? SaveAttempt::Saved : SaveAttempt::Failed;
}

// Under the lock of path (held by the caller), whose bytes are disk: keeps the original
// when that applies, then writes the record.
bool CMiradoDoc::WriteRecordTo(const std::string& path, const CFileLock&, const DiskState& disk) {
    StoreShownValues();
    // The original is kept only when the save can go ahead.
    if (const Result<void> replaceable = CanReplaceFile(path); !replaceable.ok()) {
        ShowSaveRefusal(path, Translated(kSaveRefusedText) + replaceable.error());
        return false;
    }
    if (IsKeepingOriginals()) {
        const Result<void> kept =
            KeepOriginal(path, disk.exists ? &disk.bytes : nullptr, adData_->SerializedBytes());
        if (!kept.ok()) {
            ShowSaveRefusal(path, Translated(kOriginalNotKeptText) + kept.error());
            return false;
        }
    }
    if (!adData_->Save(path, services_.prompts).ok())
        return false;
    const std::vector<uint8_t>& written = adData_->DiskBytes();
    JournalChange(services_.journal, services_.prompts, RecordChangeKind::Save, path,
                  disk.exists ? &disk.bytes : nullptr,
                  std::string_view(reinterpret_cast<const char*>(written.data()), written.size()));
    // The file now holds every edit: leaving it keeps nothing.
    mark_->OnSaved();
    NotifyFilesChanged();
    return true;
}

bool CMiradoDoc::ReadDisk(const std::string& path, const CFileLock& lock, DiskState& disk) {
    if (lock.GetState() == CFileLock::State::Missing) {
        disk.exists = false;
        return true;
    }
    std::string error = lock.Error();
    if (lock.GetState() == CFileLock::State::Locked) {
        Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
        if (read.ok()) {
            disk.bytes = std::move(read).value();
            disk.exists = true;
            return true;
        }
        error = read.error();
    }
    ShowSaveRefusal(path, Translated(kSaveRefusedText) + error);
    return false;
}

// The shown markers and pressures go into the record; the file's valid mark follows
// what is shown, so that reopening the file shows the same values as were saved.
void CMiradoDoc::StoreShownValues() {
    int markerS = 0, markerM = 0, markerD = 0;
    int sbp = 0, mbp = 0, dbp = 0;
    GetMarkers(markerS, markerM, markerD);
    GetDominantPressures(sbp, mbp, dbp);
    const bool valid = IsValid();
    adData_->SetStoredMarkers(static_cast<int16_t>(markerS), static_cast<int16_t>(markerM),
                              static_cast<int16_t>(markerD));
    adData_->SetStoredPressures(static_cast<int16_t>(sbp), static_cast<int16_t>(mbp),
                                static_cast<int16_t>(dbp));
    adData_->SetValid(valid);
}

MessageAnswer CMiradoDoc::AskChangedOnDisk() const {
    if (services_.prompts == nullptr)
        return MessageAnswer::Cancel;
    return services_.prompts->ShowMessage(recordPath_ + "\n" + kChangedOnDiskText, kSaveCaption,
                                          MessageIcon::Warning,
                                          MessageButtons::ReloadOverwriteSaveAsCancel);
}

// Every answer but Overwrite: reload, save under another name, or leave all as it is.
bool CMiradoDoc::AnswerChangedOnDisk(MessageAnswer answer) {
    if (answer == MessageAnswer::Reload)
        ReloadDroppingEdits();
    else if (answer == MessageAnswer::SaveAs)
        return SaveCurrentFileAs();
    return false;
}

void CMiradoDoc::ReloadDroppingEdits() {
    NotifyRecordReplaced(false);
    if (GetCurrentPath() == recordPath_)
        OpenFileAt(currentIndex_);
}

std::string CMiradoDoc::Translated(const char* english) const {
    return services_.prompts != nullptr ? services_.prompts->Translated(english) : english;
}

void CMiradoDoc::ShowSaveRefusal(const std::string& path, const std::string& text,
                                 const char* caption) const {
    if (services_.prompts != nullptr)
        services_.prompts->ShowMessage(path + "\n" + text, caption, MessageIcon::Stop,
                                       MessageButtons::Ok);
}

bool CMiradoDoc::SaveCurrentFileAs() {
    if (!CheckSavable() || services_.saveDialog == nullptr)
        return false;
    SaveFileRequest request;
    request.title = kSaveAsCaption;
    request.filters = MeasurementFileFilters();
    request.suggestedName = recordPath_;
    std::string target;
    if (!services_.saveDialog->RunSave(request, target))
        return false;
    return SaveCurrentFileAs(target);
}

bool CMiradoDoc::SaveCurrentFileAs(const std::string& name) {
    if (!CheckSavable())
        return false;
    const std::string target = AbsolutePath(name);
    if (target == recordPath_ || IsSameFile(target, recordPath_))
        return SaveCurrentFile();
    if (IsFileOfList(*this, target)) {
        ShowSaveRefusal(target, FileOfListText(target, Translated(kFileOfListFormat)),
                        kSaveAsCaption);
        return false;
    }
    const CFileLock lock(target);
    DiskState disk;
    if (!ReadDisk(target, lock, disk) || !WriteRecordTo(target, lock, disk))
        return false;
    BecomeFile(target);
    return true;
}

// After "Save As..." the document goes on with the new file in the old one's place.
void CMiradoDoc::BecomeFile(const std::string& path) {
    if (GetCurrentPath() == recordPath_) {
        CFileEntry& entry = files_.At(currentIndex_);
        entry.path = path;
        entry.name = FileNameOfPath(path);
    }
    recordPath_ = path;
    SetTitle(path);
    UpdateAllViews();
}

} // namespace mirado
