#include "app/FileCommands.h"

#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "platform/OrderedPrefetch.h"
#include "platform/UserPrompts.h"
#include "records/AdData.h"

#include <algorithm>

namespace mirado {

CFileCommands::CFileCommands(CMiradoDoc& document, IUserPrompts& prompts,
                             IFileCommandWindow& window, ISaveTextDialog& saveDialog,
                             IExportFeedback& feedback)
    : document_(document), prompts_(prompts), window_(window), saveDialog_(saveDialog),
      feedback_(feedback) {}

void CFileCommands::ShowStop(const std::string& text, const char* caption) {
    prompts_.ShowMessage(text, caption, MessageIcon::Stop, MessageButtons::Ok);
}

bool CFileCommands::AskForWritableTarget(std::string& path, ExportChoice& choice) {
    // The dialog comes back until the user picks a file that can be written, and is no
    // recording of the list, or cancels.
    while (saveDialog_.Run(path, choice)) {
        if (!CanWriteExportFile(path))
            ShowStop(NotWritableText(path, prompts_.Translated(kNotWritableFormat)),
                     kExportCaption);
        else if (IsFileOfList(document_, path))
            ShowStop(FileOfListText(path, prompts_.Translated(kFileOfListFormat)), kExportCaption);
        else
            return true;
    }
    return false;
}

// The dialog starts in the folder of the first marked recording, with the default name
// of the mode it opens in.
std::string CFileCommands::ExportStartPath() const {
    const std::string name =
        lastMode_ == ExportMode::Table ? kTableExportFileName : kTextExportFileName;
    const std::string folder = FolderOfPath(document_.GetPathAt(document_.IndexOfNthSelected(1)));
    return folder + name;
}

void CFileCommands::OnSaveToTextFile() {
    if (document_.CountSelected() == 0) {
        ShowStop(kNoFilesSelectedText, kExportCaption);
        return;
    }
    window_.StopStepping();
    std::string path = ExportStartPath();
    ExportChoice choice;
    choice.encoding = document_.GetMiradoSettings().GetExportEncoding();
    choice.mode = lastMode_;
    if (!AskForWritableTarget(path, choice))
        return;
    lastMode_ = choice.mode;
    if (choice.mode != ExportMode::Table)
        document_.GetMiradoSettings().SetExportEncoding(choice.encoding);

    const ExportResult result = choice.mode == ExportMode::Table ? RunTableExport(path, choice)
                                                                 : RunTextExport(path, choice);
    if (!result.written && !result.cancelled)
        ShowStop(ExportWriteFailedText(path, result.reason,
                                       prompts_.Translated(kExportWriteFailedFormat)),
                 kExportCaption);
    else if (result.written && result.leftOut > 0)
        prompts_.ShowMessage(
            LeftOutOfMeansText(result.leftOut, prompts_.Translated(kLeftOutOfMeansFormat)),
            kExportCaption, MessageIcon::Warning, MessageButtons::Ok);
}

ExportResult CFileCommands::RunTextExport(const std::string& path, const ExportChoice& choice) {
    // The run reads the marked files on their own, as they are on disk: the current file,
    // its unsaved edits and its edit history stay as they are. A file that fails to load
    // is reported and marked damaged in the list.
    const std::vector<int> marked = MarkedIndices(document_);
    std::vector<std::string> files;
    for (int index : marked)
        files.push_back(document_.GetPathAt(index));
    bool damaged = false;
    feedback_.Begin(static_cast<int>(files.size()));
    const auto read = [&](size_t done, const Reading& reading) {
        if (!reading.loaded) {
            ShowFileMessage(reading.path, reading.error, &prompts_);
            document_.MarkDamagedAt(marked[done]);
            damaged = true;
        }
        feedback_.FilesDone(static_cast<int>(done + 1));
    };
    const ExportResult result = ExportFiles(
        files, choice.mode, path, DefaultJobCount(), read, [&] { return feedback_.IsCancelled(); },
        choice.encoding);
    feedback_.End();
    if (damaged)
        document_.UpdateAllViews();
    return result;
}

ExportResult CFileCommands::RunTableExport(const std::string& path, const ExportChoice& choice) {
    // The table reads the marked files on its own: the document and its current file
    // stay as they are.
    const std::vector<std::string> files = MarkedPaths(document_);
    feedback_.Begin(static_cast<int>(files.size()));
    const ExportResult result = ExportTable(
        files, choice.source, path, DefaultJobCount(), [&](int done) { feedback_.FilesDone(done); },
        [&] { return feedback_.IsCancelled(); });
    feedback_.End();
    return result;
}

void CFileCommands::OnSendToRecycleBin() {
    if (document_.CountSelected() == 0) {
        ShowStop(kNoFilesSelectedText, kDeleteFileCaption);
        return;
    }
    document_.RemoveSelectedFiles();
    if (document_.GetFileCount() != 0) {
        document_.OpenFileAt(0);
        window_.UpdateFileCount();
        window_.ShowCurrentRow(document_.GetCurrentIndex());
        return;
    }
    window_.UpdateFileCount();
    document_.UpdateAllViews();
    window_.ErasePanes();
}

} // namespace mirado
