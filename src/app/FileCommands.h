#pragma once
// CFileCommands: the main window's two commands on the marked files of the list - "Save
// to Textfile" (the comma-separated export, with the save dialog, the retry on an
// unwritable target and a cancellable progress display) and "Send to Recycle Bin" (the
// marked files leave the list for the trash and entry 0 is shown, or the panes are
// cleared). The window, the save dialog and the progress display are interfaces, so the
// flows run headless in tests.

#include "document/ExportLoop.h"

#include <string>

namespace mirado {

class CMiradoDoc;
class IUserPrompts;

inline constexpr const char* kDeleteFileCaption = "Delete File";

// What the commands ask of the main window.
class IFileCommandWindow {
public:
    virtual ~IFileCommandWindow() = default;
    virtual void StopStepping() = 0;
    // The file list pane shows entry index as the current row.
    virtual void ShowCurrentRow(int index) = 0;
    // The file list pane takes the document's new file count.
    virtual void UpdateFileCount() = 0;
    // Every pane erases what it showed and redraws.
    virtual void ErasePanes() = 0;
};

// The save dialog of the export with its "Dominant" / "Mean" / "Table" choice.
class ISaveTextDialog {
public:
    virtual ~ISaveTextDialog() = default;
    // False on Cancel; on OK the chosen full path and choice. The path given in is the
    // one to propose; the choice given in holds the mode and the encoding to offer first.
    virtual bool Run(std::string& path, ExportChoice& choice) = 0;
};

// Feedback while the export opens the files: a busy cursor, and a display of the files
// done that lets the user cancel once the run takes noticeably long.
class IExportFeedback {
public:
    virtual ~IExportFeedback() = default;
    virtual void Begin(int fileCount) = 0;
    virtual void FilesDone(int count) = 0;
    virtual bool IsCancelled() const = 0;
    virtual void End() = 0;
};

class CFileCommands {
public:
    CFileCommands(CMiradoDoc& document, IUserPrompts& prompts, IFileCommandWindow& window,
                  ISaveTextDialog& saveDialog, IExportFeedback& feedback);

    // WM_EXPORT_TEXT: exports the marked files to a text file the user picks.
    void OnSaveToTextFile();
    // "Send to Recycle Bin": moves the marked files to the trash.
    void OnSendToRecycleBin();

private:
    std::string ExportStartPath() const;
    bool AskForWritableTarget(std::string& path, ExportChoice& choice);
    ExportResult RunTextExport(const std::string& path, const ExportChoice& choice);
    ExportResult RunTableExport(const std::string& path, const ExportChoice& choice);
    void ShowStop(const std::string& text, const char* caption);

    CMiradoDoc& document_;
    IUserPrompts& prompts_;
    IFileCommandWindow& window_;
    ISaveTextDialog& saveDialog_;
    IExportFeedback& feedback_;
    // The mode the dialog opens in: the one chosen last.
    ExportMode lastMode_ = ExportMode::Dominant;
};

} // namespace mirado
