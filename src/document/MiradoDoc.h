#pragma once
// CMiradoDoc: the one measurement document. It owns the list of picked files, the
// current file's record (replaced at every open), the two analysis records (variant A
// and variant E) and which of them serves the current file, the display switches the
// frame flips, the display settings and the error texts. Every pane, the printing and
// the text export read the current file through its accessors; it talks to the user
// and the system only through the platform interfaces it is given.

#include "document/DisplaySettings.h"
#include "document/DocumentEdits.h"
#include "document/EditSnapshot.h"
#include "document/ErrorTexts.h"
#include "document/FileList.h"
#include "document/MarkerPlacement.h"
#include "document/MiradoSettings.h"
#include "document/ModifiedMark.h"
#include "document/TextExport.h"
#include "platform/DocumentBase.h"
#include "platform/DocumentDialogs.h"
#include "platform/OpenFileDialog.h"
#include "platform/UserPrompts.h"
#include "records/RecordLayout.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

class CAdData;
class IChangeJournal;
class CFileLock;
class CPressureAnalysis;
class ISaveFileDialog;
struct AnalysisRecords;
class IFrameNotifier;
class IRecordSource;
class IIdDialog;
class IOpenFileDialog;
class IParametersDialog;
class IProfile;
class ITrash;
class IUserPrompts;

// The platform services the document uses; any of them may be null (batch use): a
// missing dialog counts as cancelled, missing prompts show nothing, a missing trash
// refuses every file, a missing profile gives the defaults and stores nothing.
struct DocumentServices {
    IUserPrompts* prompts = nullptr;
    IOpenFileDialog* openDialog = nullptr;
    IIdDialog* idDialog = nullptr;
    IParametersDialog* parametersDialog = nullptr;
    ITrash* trash = nullptr;
    IProfile* profile = nullptr;
    IFrameNotifier* frame = nullptr;
    ISaveFileDialog* saveDialog = nullptr; // "Save As..."
    IChangeJournal* journal = nullptr;     // records every save and revert
};

// Model codes: 0 to 3 for the model letters A to D, 4 for anything else.
inline constexpr int kInitialModelCode = kModelCodeB;
inline constexpr int kInitialViewScale = 5;

// Caption and texts of the document's own boxes.
inline constexpr const char* kSavePromptFormat = "Save changes to %1?";
inline constexpr const char* kSaveCaption = "Save";
inline constexpr const char* kDamagedSaveText =
    "This file could not be read, so it is not saved: saving would overwrite it with an "
    "incomplete record.";
inline constexpr const char* kTrashErrorPrefix = "Error moveToTrash : ";
inline constexpr const char* kOriginalNotKeptText =
    "The original of this file could not be kept, so it is not saved: ";
inline constexpr const char* kRevertCaption = "Revert to Original";
inline constexpr const char* kRevertQuestion =
    "Replace this file by its original? Every change saved since is lost.";
inline constexpr const char* kRevertFailedText = "The original could not be restored: ";
inline constexpr const char* kChangedOnDiskText =
    "This file was changed or replaced since it was read.\nReload it (your corrections are "
    "lost), overwrite it, or save your corrections under another name?";
inline constexpr const char* kSaveRefusedText = "The file is not saved: ";
inline constexpr const char* kSaveAsCaption = "Save As";
inline constexpr const char* kRevertDropsEditsText = "Its unsaved changes are lost too.";
// The question before the unsaved edits of several files would be dropped; the paths
// follow it, one a line.
inline constexpr const char* kSaveFilesQuestion = "Save changes to these files?";
// "%1" stands for the number of files not named.
inline constexpr const char* kMoreFilesFormat = "and %1 more";
inline constexpr const char* kTrashDropsEditsQuestion =
    "These files have unsaved changes, which are lost in the trash. Send them to the trash?";
// The most paths such a question names.
inline constexpr size_t kListedUnsavedFiles = 12;

// "Save changes to <path>?", in format (the English one by default).
std::string FormatSavePrompt(const std::string& path,
                             const std::string& format = kSavePromptFormat);

// The file types of the open and save dialogs: the measurement files, then all files.
const std::vector<FileFilter>& MeasurementFileFilters();

class CMiradoDoc : public CDocumentBase, public IDocumentEdits {
public:
    explicit CMiradoDoc(const DocumentServices& services);
    ~CMiradoDoc() override;
    CMiradoDoc(const CMiradoDoc&) = delete;
    CMiradoDoc& operator=(const CMiradoDoc&) = delete;

    // --- File list ---------------------------------------------------------------
    // Runs the open dialog; on OK replaces the list by the picked files and remembers
    // their folder. Returns the new count, 0 on cancel (nothing changes then).
    int ChooseFiles();
    // Replaces the list by these paths, each made absolute, as a successful ChooseFiles
    // does (batch tool, command line, dropped files).
    int SetFileList(const std::vector<std::string>& paths);
    int GetFileCount() const { return files_.GetCount(); }
    int GetCurrentIndex() const { return currentIndex_; }
    int NextIndex();
    int PrevIndex();
    int LastIndex() const { return files_.GetCount() - 1; }
    std::string GetNameAt(int index) const;
    std::string GetPathAt(int index) const;
    bool IsDamagedAt(int index) const;
    // Sets the load-error flag of entry index: a run that read its file on its own found
    // it damaged.
    void MarkDamagedAt(int index);
    bool IsSelected(int index) const;
    bool ToggleSelected(int index);
    void ToggleCurrentSelection();
    void SelectAll();
    void ClearSelection();
    int CountSelected() const;
    int IndexOfNthSelected(int n) const;
    const CFileList& Files() const { return files_; }

    // Called after the files a summary of the list reads may have changed: a file was
    // written through the document (any save, a revert to the original), the marks
    // changed, or the list was replaced, emptied or thinned by the recycle bin. One
    // listener; a new one replaces the old.
    using FilesChangedListener = std::function<void()>;
    void SetFilesChangedListener(FilesChangedListener listener) {
        filesChanged_ = std::move(listener);
    }

    // --- Opening, saving, editing ------------------------------------------------
    // Opens list entry index: true when the file was read and decoded. A file that
    // fails still becomes current, with its load-error flag set. With the alert on, the
    // question about the current file's edits comes first; when the user asked for the
    // save and it failed, nothing is opened: the current file stays, with its edits and
    // its index (false).
    bool OpenFileAt(int index);
    bool IsLoaded() const { return loaded_; }
    std::string GetCurrentPath() const;
    std::string GetCurrentName() const;
    // Whether an entry is current and its file loaded.
    bool IsCurrentRecordUsable() const;
    std::string GetErrorText(int code) const { return errorTexts_.GetText(code); }
    // The error table's language column (kDefaultMessageLanguage unless the window is in
    // Japanese).
    void SetErrorTextLanguage(int language) { errorTexts_.SetLanguage(language); }
    int GetDeviceTypeCode() const { return modelCode_; }
    // Where OpenFileAt takes its records from; null (the default) loads each file when
    // it is opened. The source must outlive its use.
    void SetRecordSource(IRecordSource* source) { recordSource_ = source; }
    bool IsVariantA() const { return variantA_; }

    // Before anything that drops every file's unsaved edits (closing, New, another list):
    // when any file has some, asks once, Yes/No/Cancel: "Save changes to <path>?" when
    // only the current file has them, otherwise the question with the files listed. Yes
    // saves them all; true for No, after which the caller drops them; false (Cancel, or
    // a save that failed) means the program stays open and nothing is dropped.
    bool SaveModified();
    // Before a command that opens other files (the printing of the selected files),
    // whatever the alert setting: the same question as SaveModified, so
    // that the command sees the files as they are on disk.
    bool SaveBeforeVisitingOtherFiles();
    // Whether the save command applies: a file is loaded and it was read correctly.
    bool CanSaveCurrentFile() const;
    // The channels of the current record as the samples CSV (SamplesCsv); nothing unless
    // a file is loaded and was read correctly.
    std::optional<std::string> CurrentSamplesCsv() const;
    // Rewrites the file the current record was read from with the shown markers and
    // pressures and clears the modified mark. Refuses (with a box) a file that failed to load. True
    // when written. Holds the file's lock while it reads, checks and writes; when the file is no
    // longer the bytes the record was read from, asks whether to reload (dropping the edits),
    // overwrite, save under another name or cancel, without the lock held.
    bool SaveCurrentFile();
    // The same for a caller that holds the file's lock already (a batch edit holds it
    // from the read to the write); the question about a changed file is asked under it.
    bool SaveCurrentFile(const CFileLock& held);
    // "Save As...": runs the save dialog and saves the current file's record under the
    // name chosen; the file it was read from stays as it is, and the document goes on
    // with the new file. A name of another listed file is refused. True when written.
    bool SaveCurrentFileAs();
    bool SaveCurrentFileAs(const std::string& target);
    // Whether the file the current record was read from still holds the bytes it was
    // read from (or last written with).
    bool IsCurrentFileUnchanged() const;
    // Runs the ID dialog on the current file; on OK hands the texts to edits (the
    // window's undo history), or stores them as SetIdTexts does when edits is null.
    // True on OK.
    bool EditIdFields(IDocumentEdits* edits = nullptr);
    // Runs the Parameters dialog; on OK tells the frame to apply the colours and
    // redraws all views. True on OK.
    bool EditParameters();
    // The new-document step: empties the list and drops the current file, so nothing is
    // loaded and nothing can be saved; clears the modified mark and the title.
    void NewDocument();

    // --- Unsaved edits of every listed file -------------------------------------------
    // With the alert off, opening another file keeps the current file's unsaved edits in
    // memory (as the state they left it in) and puts them back when the file is opened
    // again; nothing drops them without asking.
    //
    // Whether the entry's file has unsaved edits (the current file's or kept ones).
    bool HasUnsavedEditsAt(int index) const;
    // The files with unsaved edits, in list order.
    std::vector<std::string> UnsavedFiles() const;
    bool HasUnsavedEdits() const { return !UnsavedFiles().empty(); }
    // Whether edits of the file at path are kept while another file is current.
    bool HoldsEditsOf(const std::string& path) const { return heldEdits_.count(path) != 0; }
    // The file the current record was read from; empty while nothing was opened.
    const std::string& GetRecordPath() const { return recordPath_; }
    // Saves every file with unsaved edits through the save of the current file (each
    // other file is opened, saved, and the current one opened again). True when all
    // were written; a file whose save failed keeps its edits.
    bool SaveAllFiles();

    // --- The user's edits of the current file ---------------------------------------
    // Each stores the edit, marks the document modified and redraws all views. The
    // value each takes can be read back first (GetIdTexts, the returned placement), so
    // an edit can be taken back by applying what was there before.
    //
    // Stores the identification texts that differ from the shown ones (a text left
    // alone keeps its bytes). True when a stored byte changed; otherwise nothing is
    // marked or redrawn. Nothing happens while no record exists.
    bool SetIdTexts(const IdTexts& texts) override;
    // Moves marker S or M of the shown values to the sample (limited to the channel);
    // in the analysis the pressures follow it. Returns the marker's placement before
    // the move. Nothing changes unless a file is loaded and was read correctly.
    MarkerPlacement MoveMarker(MarkerPlacement placement) override;

    // --- The modified mark ------------------------------------------------------------
    // Whether the current file holds edits its file does not.
    bool IsModified() const { return mark_->IsModified(); }
    // Hands the mark to owner (the window's undo history), which takes it as it stands;
    // null gives it back to the document's own flag.
    void SetModifiedMark(IModifiedMark* owner);

    // --- Taking edits back ------------------------------------------------------------
    DisplayMode GetDisplayMode() const { return {analysisSource_, analysisValid_}; }
    // Switches to the display mode (as the analysis and stored-values commands do)
    // unless it is shown already.
    void ShowDisplayMode(const DisplayMode& mode);
    EditSnapshot CaptureEdits() const;
    // Puts back what an edit of this kind changed, exactly as the snapshot holds it,
    // after switching back to the display mode the snapshot was taken in; redraws.
    void RestoreEdits(const EditSnapshot& snapshot, EditKind kind);

    // --- Original copies ----------------------------------------------------------------
    // Whether a save keeps the file's original copy first (setting "keepOriginals").
    bool IsKeepingOriginals() const { return miradoSettings_.GetKeepOriginals(); }
    // Whether the current file has an original copy to go back to.
    bool CanRevertToOriginal() const;
    // Asks for confirmation, restores the original bytes of the current file and opens
    // it again, dropping its edits. True when the file was restored.
    bool RevertToOriginal();

    // --- The current file (neutral values when no record exists) -----------------
    // Texts are UTF-8 for display.
    std::string GetDate() const;
    std::string GetTime() const;
    std::string GetAnimalNo() const;
    std::string GetExNo() const;
    std::string GetWeight() const;
    std::string GetSexAge() const;
    std::string GetComment() const;
    IdTexts GetIdTexts() const;

    // Raw pressures (half mmHg) after the validity rule: MBP and DBP are 0 when the
    // shown values are not valid.
    void GetDominantPressures(int& sbp, int& mbp, int& dbp) const;
    void GetMarkers(int& markerS, int& markerM, int& markerD) const;
    int GetMarkerInterval() const;
    bool IsValid() const;
    int GetSampling() const;
    int GetSense() const;
    int GetHeartRate() const;
    // 4000 samples each, from the active analysis (never null).
    const int16_t* GetPressureSamples() const;
    const int16_t* GetPulseSamples() const;
    const int16_t* GetFittedCurve() const;
    // 100 stored beat positions; null while no record exists.
    const int16_t* GetBeatPositions() const;
    int GetPressureAt(int index) const;
    // The cuff pressure in mmHg the pointer's readout shows at a sample (CuffReadoutMmHg).
    std::optional<int> GetCuffReadoutMmHg(int sample) const;
    int GetInflationPressure() const;
    int GetOpticalBase() const;
    int GetResultCode() const;

    // --- Display switches -----------------------------------------------------------
    // The analysis commands: validity first, then the source, each followed by a
    // redraw of all views.
    void ShowAnalysis(bool valid);
    void ShowStoredValues();
    bool IsAnalysisSource() const { return analysisSource_; }
    bool IsAnalysisValid() const { return analysisValid_; }
    bool IsFittedCurveShown() const { return fittedCurveShown_; }
    void SetFittedCurveShown(bool shown) { fittedCurveShown_ = shown; }
    int GetViewScale() const { return viewScale_; }
    void SetViewScale(int scale) { viewScale_ = scale; }

    // --- Settings ----------------------------------------------------------------
    CDisplaySettings& GetSettings() { return settings_; }
    const CDisplaySettings& GetSettings() const { return settings_; }
    int GetStepPeriod() const { return settings_.GetStepPeriod(); }
    Colour GetBackgroundColour() const { return settings_.GetBackgroundColour(); }
    Colour GetWaveColour() const { return settings_.GetWaveColour(); }
    Colour GetPressColour() const { return settings_.GetPressColour(); }
    // The settings of the program's own features (section "Mirado").
    CMiradoSettings& GetMiradoSettings() { return miradoSettings_; }
    const CMiradoSettings& GetMiradoSettings() const { return miradoSettings_; }

    // --- Recycle bin --------------------------------------------------------------
    // Removes the marked entries (order of the rest kept, entry 0 current, nothing
    // loaded when the list became empty) and sends their files to the trash. When marked
    // files have unsaved edits it asks first, naming them; No leaves everything as it was.
    void RemoveSelectedFiles();
    // Sends one file to the trash; a refusal is reported in a box. Always 0.
    int MoveToRecycleBin(const std::string& path);

    // --- Text export (the row of the current file) --------------------------------
    std::string FormatDominantRow() const;

    IUserPrompts* Prompts() const { return services_.prompts; }

private:
    // What a file held when a save looked at it.
    struct DiskState {
        bool exists = false;
        std::vector<uint8_t> bytes;
        bool operator==(const DiskState&) const = default;
    };
    enum class SaveAttempt { Saved, Failed, ChangedOnDisk };

    bool AlertApplies() const;
    bool CheckSavable();
    SaveAttempt TrySave(const CFileLock& lock, const DiskState* approved, DiskState& seen);
    bool WriteRecordTo(const std::string& path, const CFileLock& lock, const DiskState& disk);
    bool ReadDisk(const std::string& path, const CFileLock& lock, DiskState& disk);
    MessageAnswer AskChangedOnDisk() const;
    bool AnswerChangedOnDisk(MessageAnswer answer);
    void ReloadDroppingEdits();
    void StoreShownValues();
    // One of the document's texts in the language of the boxes.
    std::string Translated(const char* english) const;
    void ShowSaveRefusal(const std::string& path, const std::string& text,
                         const char* caption = kSaveCaption) const;
    void BecomeFile(const std::string& path);
    bool MoveFileToTrash(const std::string& path);
    bool LeaveCurrentFile();
    void HoldCurrentEdits();
    bool LoadEntry(int index);
    bool ReapplyHeldEdits();
    void ApplySnapshot(const EditSnapshot& snapshot);
    // The question followed by the paths, one a line (the first kListedUnsavedFiles).
    std::string QuestionWithFiles(const char* question,
                                  const std::vector<std::string>& files) const;
    MessageAnswer AskSaveFiles(const std::vector<std::string>& files) const;
    void DropAllEdits();
    bool ConfirmTrashingEdits();
    MarkerResults PressuresAtMarkers(int16_t markerS, int16_t markerM);
    void NotifyRecordReplaced(bool edited);
    void NotifyFilesChanged() const;
    // "Save changes to <path>?" with the given buttons.
    MessageAnswer AskSaveChanges(MessageButtons buttons) const;
    void ChooseVariant(const std::string& path);
    void DriveActiveAnalysis();
    void RememberDataFolder();
    CExportFields CurrentExportFields() const;
    std::string StoredText(std::string (CAdData::*getter)() const) const;
    void StoreText(void (CAdData::*setter)(const std::string&), const std::string& text);
    void SetAnimalNo(const std::string& text);
    void SetExNo(const std::string& text);
    void SetWeight(const std::string& text);
    void SetSexAge(const std::string& text);
    void SetComment(const std::string& text);
    void SetMarkerS(int index);
    void SetMarkerM(int index);
    void MoveStoredMarker(MovableMarker marker, int16_t index);

    DocumentServices services_;
    IRecordSource* recordSource_ = nullptr;
    CFileList files_;
    int currentIndex_ = 0;
    bool loaded_ = false;
    std::unique_ptr<CAdData> adData_;
    // Where the current record was read from and whether it decoded. The list may
    // change under it (recycle bin, a new pick), so saving goes by these, never by the
    // list entry that is current now.
    std::string recordPath_;
    bool recordDecoded_ = false;
    // The list entry the record was opened from, to go back to when an open is refused.
    int recordIndex_ = 0;
    // Unsaved edits of files other than the current one, by path.
    std::map<std::string, EditSnapshot> heldEdits_;
    int modelCode_ = kInitialModelCode;
    std::unique_ptr<AnalysisRecords> records_; // both variants and method A's working data
    CPressureAnalysis* activeAnalysis_ = nullptr;
    bool variantA_ = true;
    bool analysisSource_ = false;
    bool analysisValid_ = true;
    bool fittedCurveShown_ = false;
    int viewScale_ = kInitialViewScale;
    CDisplaySettings settings_;
    CMiradoSettings miradoSettings_;
    CErrorTextTable errorTexts_;
    CModifiedFlag ownMark_;
    IModifiedMark* mark_ = &ownMark_;
    FilesChangedListener filesChanged_;
};

} // namespace mirado
