#pragma once
// The main window's file commands on Qt: the save-as-text dialog, the busy cursor with
// the export's progress dialog, and the window side of the commands carried out on the
// frame's panes. The frame keeps one CMainFrameFileCommands and calls its two handlers.

#include "app/FileCommands.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QProgressDialog>

class QWidget;

namespace mirado {

class CMainFrame;

inline constexpr const char* kTextExportExtension = "txt";
inline constexpr const char* kTextExportFilters[] = {"txt file (*.txt)", "All Files (*.*)"};

// An export that has run this long shows its progress dialog.
inline constexpr int kProgressDelayMs = 500;

// CFileDialog4Text run as the export's save dialog; it has no owner window.
class QtSaveTextDialog : public ISaveTextDialog {
public:
    // A path given in is shown again (the retry after an unwritable choice).
    bool Run(std::string& path, ExportChoice& choice) override;
};

// Busy cursor from Begin to End; after delayMs a progress dialog with a Cancel button,
// titled caption (translated).
class QtExportFeedback : public IExportFeedback {
public:
    explicit QtExportFeedback(QWidget* parent, int delayMs = kProgressDelayMs,
                              const char* caption = kExportCaption)
        : parent_(parent), delayMs_(delayMs), caption_(caption) {}
    ~QtExportFeedback() override;

    void Begin(int fileCount) override;
    void FilesDone(int count) override;
    bool IsCancelled() const override;
    void End() override;

    // The progress dialog while it is shown, else null.
    QProgressDialog* ProgressDialog() const { return dialog_; }

private:
    void ShowDialog();

    QWidget* parent_;
    int delayMs_;
    const char* caption_;
    int total_ = 0;
    bool running_ = false;
    QElapsedTimer clock_;
    QPointer<QProgressDialog> dialog_;
};

// The window side of the commands on the main frame and its panes.
class CMainFrameFileWindow : public IFileCommandWindow {
public:
    explicit CMainFrameFileWindow(CMainFrame& frame) : frame_(frame) {}
    void StopStepping() override;
    void ShowCurrentRow(int index) override;
    void UpdateFileCount() override;
    void ErasePanes() override;

private:
    CMainFrame& frame_;
};

class CMainFrameFileCommands {
public:
    CMainFrameFileCommands(CMainFrame& frame, CMiradoDoc& document, IUserPrompts& prompts);

    void OnSaveToTextFile() { commands_.OnSaveToTextFile(); }
    void OnSendToRecycleBin() { commands_.OnSendToRecycleBin(); }

private:
    CMainFrameFileWindow window_;
    QtSaveTextDialog saveDialog_;
    QtExportFeedback feedback_;
    CFileCommands commands_;
};

// Connects the dialogs and the file commands to a main frame: the ID and Color commands,
// the file list pop-up's "Save to Textfile" (sent to the frame as WM_EXPORT_TEXT) and
// "Send to Recycle Bin", and the frame's handling of WM_EXPORT_TEXT. It lives as long as
// the frame, which owns it.
class CFileCommandsHook : public QObject {
    Q_OBJECT
public:
    static CFileCommandsHook* Install(CMainFrame& frame, CMiradoDoc& document,
                                      IUserPrompts& prompts);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CFileCommandsHook(CMainFrame& frame, CMiradoDoc& document, IUserPrompts& prompts);
    void WireFrameCommands();
    void WireFileListMenu();

    CMainFrame& frame_;
    CMiradoDoc& document_;
    CMainFrameFileCommands commands_;
};

} // namespace mirado
