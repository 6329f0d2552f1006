#include "document/MiradoDoc.h"

#include "document/DominantValues.h"
#include "document/MessageText.h"
#include "document/NaturalOrder.h"
#include "document/OriginalCopy.h"
#include "document/RecordSource.h"
#include "platform/DocumentDialogs.h"
#include "platform/FrameNotifier.h"
#include "platform/OpenFileDialog.h"
#include "platform/SystemServices.h"
#include "platform/UserPrompts.h"
#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "records/SamplesCsv.h"
#include "records/TextEncoding.h"
#include "records/WaveCodec.h"

#include <algorithm>

namespace mirado {

namespace {

constexpr int kLastPressureIndex = kSampleCount - 4;
constexpr char kUnconvertibleCharacter = '?';

} // namespace

const std::vector<FileFilter>& MeasurementFileFilters() {
    static const std::vector<FileFilter> filters = {
        {"Tenvar files",
         {"*.0*", "*.1*", "*.2*", "*.3*", "*.4*", "*.5*", "*.6*", "*.7*", "*.8*", "*.9*"}},
        {"AllFiles", {"*.*"}},
    };
    return filters;
}

std::string FormatSavePrompt(const std::string& path, const std::string& format) {
    return ReplacePlaceholder(format, "%1", path);
}

namespace {

// Length of the UTF-8 sequence that starts with lead (1 for a stray byte).
size_t Utf8SequenceLength(unsigned char lead) {
    if (lead >= 0xF0)
        return 4;
    if (lead >= 0xE0)
        return 3;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// UTF-8 to CP932, one character at a time, so that a character CP932 lacks becomes
// "?" instead of costing the whole text.
std::string ToCp932(const std::string& utf8) {
    if (std::optional<std::string> whole = Utf8ToCp932(utf8))
        return *whole;
    std::string cp932;
    size_t position = 0;
    while (position < utf8.size()) {
        const size_t length = std::min(
            Utf8SequenceLength(static_cast<unsigned char>(utf8[position])), utf8.size() - position);
        const std::optional<std::string> character =
            Utf8ToCp932(std::string_view(utf8).substr(position, length));
        if (character)
            cp932 += *character;
        else
            cp932 += kUnconvertibleCharacter;
        position += length;
    }
    return cp932;
}

} // namespace

CMiradoDoc::CMiradoDoc(const DocumentServices& services)
    : services_(services), records_(std::make_unique<AnalysisRecords>()),
      activeAnalysis_(&records_->recordA), settings_(services.profile),
      miradoSettings_(services.profile) {
    settings_.Load();
    miradoSettings_.Load();
    SetTitle("");
}

CMiradoDoc::~CMiradoDoc() = default;

// --- File list -----------------------------------------------------------------------

int CMiradoDoc::ChooseFiles() {
    if (services_.openDialog == nullptr)
        return 0;
    OpenFileRequest request;
    request.filters = MeasurementFileFilters();
    if (services_.profile != nullptr)
        request.initialFolder =
            services_.profile->GetProfileString(kProfileSection, kKeyDataFolder, "");
    std::vector<std::string> paths;
    // An OK without a file changes nothing either: an empty list with a loaded file
    // would leave the current index pointing nowhere.
    if (!services_.openDialog->RunOpenMultiple(request, paths) || paths.empty())
        return 0;
    // Files picked together are listed by name, whatever order the dialog gave.
    SortByNaturalName(paths);
    return SetFileList(paths);
}

int CMiradoDoc::SetFileList(const std::vector<std::string>& paths) {
    // The new list drops every unsaved edit of the old one: the user decides first.
    if (!SaveModified())
        return 0;
    heldEdits_.clear();
    // Held from the root, so that the title, messages and the remembered folder never
    // depend on the folder the program was started in.
    std::vector<std::string> absolute;
    absolute.reserve(paths.size());
    for (const std::string& path : paths)
        absolute.push_back(AbsolutePath(path));
    files_.Assign(absolute);
    NotifyRecordReplaced(false);
    NotifyFilesChanged();
    if (files_.GetCount() != 0)
        RememberDataFolder();
    return files_.GetCount();
}

void CMiradoDoc::RememberDataFolder() {
    if (services_.profile != nullptr)
        services_.profile->WriteProfileString(kProfileSection, kKeyDataFolder,
                                              FolderOfPath(files_.At(0).path));
}

int CMiradoDoc::NextIndex() {
    if (currentIndex_ >= files_.GetCount() - 1)
        return -1;
    return ++currentIndex_;
}

int CMiradoDoc::PrevIndex() {
    if (currentIndex_ <= 0)
        return -1;
    return --currentIndex_;
}

std::string CMiradoDoc::GetNameAt(int index) const {
    return loaded_ && files_.Contains(index) ? files_.At(index).name : std::string();
}

std::string CMiradoDoc::GetPathAt(int index) const {
    return files_.Contains(index) ? files_.At(index).path : std::string();
}

bool CMiradoDoc::IsDamagedAt(int index) const {
    return files_.Contains(index) && files_.At(index).loadFailed;
}

void CMiradoDoc::MarkDamagedAt(int index) {
    if (files_.Contains(index))
        files_.At(index).loadFailed = true;
}

bool CMiradoDoc::IsSelected(int index) const {
    return loaded_ && files_.Contains(index) && files_.At(index).selected;
}

bool CMiradoDoc::ToggleSelected(int index) {
    if (!loaded_ || !files_.Contains(index))
        return false;
    CFileEntry& entry = files_.At(index);
    entry.selected = !entry.selected;
    NotifyFilesChanged();
    return entry.selected;
}

void CMiradoDoc::ToggleCurrentSelection() {
    if (!files_.Contains(currentIndex_))
        return;
    files_.At(currentIndex_).selected = !files_.At(currentIndex_).selected;
    NotifyFilesChanged();
}

void CMiradoDoc::SelectAll() {
    files_.SelectAll(true);
    NotifyFilesChanged();
}
void CMiradoDoc::ClearSelection() {
    files_.SelectAll(false);
    NotifyFilesChanged();
}
int CMiradoDoc::CountSelected() const {
    return loaded_ ? files_.CountSelected() : 0;
}
int CMiradoDoc::IndexOfNthSelected(int n) const {
    return files_.IndexOfNthSelected(n);
}

// --- Opening ---------------------------------------------------------------------------

bool CMiradoDoc::OpenFileAt(int index) {
    if (!files_.Contains(index))
        return false;
    if (loaded_ && !LeaveCurrentFile()) {
        // The save the user asked for failed: the file stays current with its edits.
        if (files_.Contains(recordIndex_) && files_.At(recordIndex_).path == recordPath_)
            currentIndex_ = recordIndex_;
        return false;
    }
    return LoadEntry(index);
}

// With the alert on, the question on leaving the file (Yes saves; No drops the edits,
// and so does closing the box); otherwise the edits are kept for when the file is opened
// again. False when the save the user asked for failed.
bool CMiradoDoc::LeaveCurrentFile() {
    if (!IsModified() || !recordDecoded_)
        return true;
    if (settings_.GetAlert() != 0 && services_.prompts != nullptr) {
        if (AskSaveChanges(MessageButtons::YesNo) == MessageAnswer::Yes)
            return SaveCurrentFile();
        return true;
    }
    HoldCurrentEdits();
    return true;
}

void CMiradoDoc::HoldCurrentEdits() {
    if (IsModified() && recordDecoded_)
        heldEdits_[recordPath_] = CaptureEdits();
}

bool CMiradoDoc::LoadEntry(int index) {
    adData_.reset();
    const std::string path = files_.At(index).path;
    LoadedRecord record = recordSource_ != nullptr ? recordSource_->Take(path) : LoadRecord(path);
    adData_ = std::move(record.data);
    modelCode_ = record.modelCode;
    const bool decoded = record.Loaded();
    if (!decoded)
        ShowFileMessage(path, record.message, services_.prompts);
    recordPath_ = path;
    recordDecoded_ = decoded;
    recordIndex_ = index;
    ChooseVariant(path);
    // Every open goes back to the stored values: a file that failed has no analysis of
    // its own, and the previous file's must not be shown, printed or exported as its.
    analysisSource_ = false;
    bool edited = false;
    if (decoded) {
        UpdateAllViews();
        currentIndex_ = index;
        loaded_ = true;
        DriveActiveAnalysis();
        edited = ReapplyHeldEdits();
    } else {
        files_.At(index).loadFailed = true;
        currentIndex_ = index;
        loaded_ = true;
    }
    // Edits of the previous file were saved, dropped or kept before; they never carry
    // over. The file's own kept edits are back on it.
    NotifyRecordReplaced(edited);
    SetTitle(path);
    UpdateAllViews();
    return decoded;
}

void CMiradoDoc::ChooseVariant(const std::string& path) {
    modelCode_ = ModelCodeWithFileName(modelCode_, path);
    variantA_ = !UsesVariantE(modelCode_);
    activeAnalysis_ = &records_->RecordFor(modelCode_);
}

void CMiradoDoc::DriveActiveAnalysis() {
    AnalyzeRecording(*adData_, *activeAnalysis_, records_->methodA);
}

std::string CMiradoDoc::GetCurrentPath() const {
    return loaded_ && files_.Contains(currentIndex_) ? files_.At(currentIndex_).path
                                                     : std::string();
}

std::string CMiradoDoc::GetCurrentName() const {
    return loaded_ && files_.Contains(currentIndex_) ? files_.At(currentIndex_).name
                                                     : std::string();
}

bool CMiradoDoc::IsCurrentRecordUsable() const {
    return loaded_ && files_.Contains(currentIndex_) && !files_.At(currentIndex_).loadFailed;
}

// --- Saving and editing ---------------------------------------------------------------

MessageAnswer CMiradoDoc::AskSaveChanges(MessageButtons buttons) const {
    return services_.prompts->ShowMessage(
        FormatSavePrompt(recordPath_, services_.prompts->Translated(kSavePromptFormat)),
        kApplicationTitle, MessageIcon::Warning, buttons);
}

bool CMiradoDoc::CanSaveCurrentFile() const {
    return loaded_ && adData_ != nullptr && recordDecoded_;
}

std::optional<std::string> CMiradoDoc::CurrentSamplesCsv() const {
    if (!CanSaveCurrentFile())
        return std::nullopt;
    return SamplesCsv(*adData_);
}

bool CMiradoDoc::EditIdFields(IDocumentEdits* edits) {
    if (!loaded_ || adData_ == nullptr || services_.idDialog == nullptr)
        return false;
    IdDialogFields fields{GetIdTexts(), kDateTimeLinePrefix + GetDate() + " " + GetTime()};
    if (!services_.idDialog->Run(fields))
        return false;
    IDocumentEdits& target = edits != nullptr ? *edits : *this;
    target.SetIdTexts(fields);
    return true;
}

bool CMiradoDoc::EditParameters() {
    if (services_.parametersDialog == nullptr || !services_.parametersDialog->Run(settings_))
        return false;
    if (services_.frame != nullptr)
        services_.frame->ApplyColours();
    UpdateAllViews();
    return true;
}

void CMiradoDoc::NewDocument() {
    files_.Assign({});
    heldEdits_.clear();
    currentIndex_ = 0;
    loaded_ = false;
    adData_.reset();
    recordPath_.clear();
    recordDecoded_ = false;
    // Fresh analysis records, as at start-up: no pane shows the dropped file's waves.
    records_ = std::make_unique<AnalysisRecords>();
    activeAnalysis_ = &records_->recordA;
    analysisSource_ = false;
    NotifyRecordReplaced(false);
    NotifyFilesChanged();
    SetTitle("");
    UpdateAllViews();
}

// --- The current file -----------------------------------------------------------------

std::string CMiradoDoc::StoredText(std::string (CAdData::*getter)() const) const {
    return adData_ != nullptr ? Cp932ToUtf8((adData_.get()->*getter)()) : std::string();
}

void CMiradoDoc::StoreText(void (CAdData::*setter)(const std::string&), const std::string& text) {
    if (adData_ != nullptr)
        (adData_.get()->*setter)(ToCp932(text));
}

std::string CMiradoDoc::GetDate() const {
    return adData_ != nullptr ? Cp932ToUtf8(adData_->GetDate()) : kNeutralDate;
}
std::string CMiradoDoc::GetTime() const {
    return adData_ != nullptr ? Cp932ToUtf8(adData_->GetTime()) : kNeutralTime;
}
std::string CMiradoDoc::GetAnimalNo() const {
    return StoredText(&CAdData::GetAnimalNo);
}
std::string CMiradoDoc::GetExNo() const {
    return StoredText(&CAdData::GetStudyNo);
}
std::string CMiradoDoc::GetWeight() const {
    return StoredText(&CAdData::GetWeight);
}
std::string CMiradoDoc::GetSexAge() const {
    return StoredText(&CAdData::GetSexAge);
}
std::string CMiradoDoc::GetComment() const {
    return StoredText(&CAdData::GetComment);
}
IdTexts CMiradoDoc::GetIdTexts() const {
    return {GetAnimalNo(), GetExNo(), GetWeight(), GetSexAge(), GetComment()};
}
void CMiradoDoc::SetAnimalNo(const std::string& text) {
    StoreText(&CAdData::SetAnimalNo, text);
}
void CMiradoDoc::SetExNo(const std::string& text) {
    StoreText(&CAdData::SetStudyNo, text);
}
void CMiradoDoc::SetWeight(const std::string& text) {
    StoreText(&CAdData::SetWeight, text);
}
void CMiradoDoc::SetSexAge(const std::string& text) {
    StoreText(&CAdData::SetSexAge, text);
}
void CMiradoDoc::SetComment(const std::string& text) {
    StoreText(&CAdData::SetComment, text);
}

void CMiradoDoc::GetDominantPressures(int& sbp, int& mbp, int& dbp) const {
    const DominantPressures pressures =
        DominantPressuresOf(adData_.get(), analysisSource_ ? activeAnalysis_ : nullptr, IsValid());
    sbp = pressures.sbp;
    mbp = pressures.mbp;
    dbp = pressures.dbp;
}

void CMiradoDoc::GetMarkers(int& markerS, int& markerM, int& markerD) const {
    int16_t s = 0, m = 0, d = 0;
    if (analysisSource_)
        activeAnalysis_->GetMarkers(s, m, d);
    else if (adData_ != nullptr)
        adData_->GetStoredMarkers(s, m, d);
    markerS = s;
    markerM = m;
    markerD = d;
}

void CMiradoDoc::SetMarkerS(int index) {
    if (analysisSource_)
        activeAnalysis_->SetMarkerS(static_cast<int16_t>(index));
    else
        MoveStoredMarker(MovableMarker::S, static_cast<int16_t>(index));
}

void CMiradoDoc::SetMarkerM(int index) {
    if (analysisSource_)
        activeAnalysis_->SetMarkerM(static_cast<int16_t>(index));
    else
        MoveStoredMarker(MovableMarker::M, static_cast<int16_t>(index));
}

// A stored marker carries its pressure: SBP follows marker S, MBP and DBP follow
// marker M, by the rule the file's analysis record applies when one of its markers moves.
// A marker dropped where it was keeps the stored pressures as the file holds them.
void CMiradoDoc::MoveStoredMarker(MovableMarker marker, int16_t index) {
    if (adData_ == nullptr)
        return;
    int16_t markerS = 0, markerM = 0, markerD = 0, sbp = 0, mbp = 0, dbp = 0;
    adData_->GetStoredMarkers(markerS, markerM, markerD);
    adData_->GetStoredPressures(sbp, mbp, dbp);
    if (marker == MovableMarker::S) {
        if (index == markerS)
            return;
        sbp = PressuresAtMarkers(index, markerM).sbp;
        adData_->SetStoredMarkerS(index);
    } else {
        if (index == markerM)
            return;
        const MarkerResults moved = PressuresAtMarkers(markerS, index);
        mbp = moved.mbp;
        dbp = moved.dbp;
        adData_->SetStoredMarkerM(index);
    }
    adData_->SetStoredPressures(sbp, mbp, dbp);
}

// What the active analysis record derives from these markers; the record itself is
// left as it was.
MarkerResults CMiradoDoc::PressuresAtMarkers(int16_t markerS, int16_t markerM) {
    const MarkerResults kept = activeAnalysis_->GetMarkerResults();
    activeAnalysis_->SetMarkerS(markerS);
    activeAnalysis_->SetMarkerM(markerM);
    const MarkerResults derived = activeAnalysis_->GetMarkerResults();
    activeAnalysis_->RestoreMarkerResults(kept);
    return derived;
}

int CMiradoDoc::GetMarkerInterval() const {
    if (analysisSource_)
        return activeAnalysis_->GetMarkerInterval();
    return adData_ != nullptr ? adData_->GetMarkerInterval() : 0;
}

bool CMiradoDoc::IsValid() const {
    if (analysisSource_)
        return analysisValid_;
    return adData_ != nullptr && adData_->IsValid();
}

int CMiradoDoc::GetSampling() const {
    return adData_ != nullptr ? adData_->GetSampleInterval() : kNeutralSampling;
}
int CMiradoDoc::GetSense() const {
    return adData_ != nullptr ? adData_->GetSense() : 0;
}
int CMiradoDoc::GetHeartRate() const {
    return adData_ != nullptr ? adData_->GetStoredHeartRate() : 0;
}
const int16_t* CMiradoDoc::GetPressureSamples() const {
    return activeAnalysis_->GetChannel1();
}
const int16_t* CMiradoDoc::GetPulseSamples() const {
    return activeAnalysis_->GetChannel2();
}
const int16_t* CMiradoDoc::GetFittedCurve() const {
    return activeAnalysis_->GetFittedCurve();
}
const int16_t* CMiradoDoc::GetBeatPositions() const {
    return adData_ != nullptr ? adData_->GetBeatPositions() : nullptr;
}
int CMiradoDoc::GetPressureAt(int index) const {
    if (index < 0 || index > kLastPressureIndex)
        return 0;
    return activeAnalysis_->GetPressureAt(index);
}
std::optional<int> CMiradoDoc::GetCuffReadoutMmHg(int sample) const {
    return CuffReadoutMmHg(*activeAnalysis_, sample);
}
int CMiradoDoc::GetInflationPressure() const {
    return activeAnalysis_->GetInflationPressure();
}
int CMiradoDoc::GetOpticalBase() const {
    return activeAnalysis_->GetOpticalBase();
}
int CMiradoDoc::GetResultCode() const {
    return activeAnalysis_->GetResultCode();
}

// --- Display switches -------------------------------------------------------------------

void CMiradoDoc::ShowAnalysis(bool valid) {
    analysisValid_ = valid;
    UpdateAllViews();
    analysisSource_ = true;
    UpdateAllViews();
}

void CMiradoDoc::ShowStoredValues() {
    analysisSource_ = false;
    UpdateAllViews();
}

// --- Recycle bin --------------------------------------------------------------------------

void CMiradoDoc::RemoveSelectedFiles() {
    if (!ConfirmTrashingEdits())
        return;
    const std::vector<CFileEntry> removed = files_.RemoveSelected();
    currentIndex_ = 0;
    if (files_.GetCount() == 0) {
        loaded_ = false;
        SetTitle(""); // no file is shown any more
    }
    bool edited = IsModified();
    for (const CFileEntry& entry : removed) {
        // Edits of a file the user throws away are dropped with it: saving them would
        // bring the file back.
        if (entry.path == recordPath_)
            edited = false;
        heldEdits_.erase(entry.path);
    }
    NotifyRecordReplaced(edited);
    for (const CFileEntry& entry : removed)
        MoveToRecycleBin(entry.path);
    NotifyFilesChanged();
}

int CMiradoDoc::MoveToRecycleBin(const std::string& path) {
    // The kept original goes with its file: left behind, it would be taken for the
    // original of the next recording under the name.
    if (MoveFileToTrash(path) && HasOriginalCopy(path) && MoveFileToTrash(OriginalCopyPath(path)))
        ForgetSavedDigests(path);
    return 0;
}

bool CMiradoDoc::MoveFileToTrash(const std::string& path) {
    const bool moved = services_.trash != nullptr && services_.trash->MoveToTrash(path);
    if (!moved && services_.prompts != nullptr)
        services_.prompts->ShowMessage(services_.prompts->Translated(kTrashErrorPrefix) + path,
                                       kApplicationTitle, MessageIcon::None, MessageButtons::Ok);
    return moved;
}

// --- Text export ------------------------------------------------------------------------------

CExportFields CMiradoDoc::CurrentExportFields() const {
    int sbp = 0, mbp = 0, dbp = 0;
    GetDominantPressures(sbp, mbp, dbp);
    return ExportFieldsOf(adData_.get(), DominantPressures{sbp, mbp, dbp});
}

std::string CMiradoDoc::FormatDominantRow() const {
    return FormatDominantLine(CurrentExportFields());
}

} // namespace mirado
