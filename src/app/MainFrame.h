#pragma once
// CMainFrame: the program's one main window. It creates the toolbar, the status bar and
// the four panes, places the panes by fixed pixel rules whenever it lays out, carries out
// the commands of the menus, the toolbar and the keys on the document and the panes,
// runs the automatic stepping through the file list, and relays the user messages by
// which the panes talk to each other.

#include "app/FrameCommands.h"
#include "document/MiradoSettings.h"
#include "platform/DocumentBase.h"
#include "platform/FrameNotifier.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <set>
#include <string>
#include <vector>

class QLabel;
class QMimeData;

namespace mirado {

class CFilenameView;
class CFrameEditing;
class CInformationView;
class CMiradoDoc;
class CViewBase;
class CWaveView;

class CMainFrame : public QMainWindow, public IFrameNotifier {
    Q_OBJECT
public:
    static constexpr int kMinimumClientWidth = 400;
    static constexpr int kMinimumClientHeight = 300;

    explicit CMainFrame(CMiradoDoc* document, QWidget* parent = nullptr);
    ~CMainFrame() override;

    CMiradoDoc* GetDocument() const { return document_; }
    CFrameCommands& Commands() { return *commands_; }
    // Undo, redo, revert and the modified mark.
    CFrameEditing& Editing() { return *editing_; }
    QAction* Action(CommandId id) const { return commands_->Action(id); }

    // The panes, in the order they are created.
    CWaveView* GetWaveView() const { return waveView_; }
    CViewBase* GetWholeView() const { return wholeView_; }
    CFilenameView* GetFileList() const { return fileList_; }
    // Every pane that exists, in creation order.
    std::vector<CViewBase*> Panes() const;

    // The free area inside toolbar and status bar, in the frame's client coordinates.
    QRect FreeArea() const;
    // Places every pane by its own rule for the current free area.
    void RecalcLayout();

    // Text of the status bar's second pane.
    void SetStatusText(const QString& text);
    QString StatusText() const;

    // Command handlers.
    // After the question about unsaved edits: empties the list, nothing is loaded.
    void OnFileNew();
    void OnFileOpen();
    void OnFirstFile();
    void OnPrevFile();
    void OnNextFile();
    void OnLastFile();
    void StartStepping(int direction);
    void StopStepping();
    int GetAutoStepDirection() const { return autoStepDirection_; }
    const QTimer& StepTimer() const { return stepTimer_; }
    // One tick of the step timer.
    void OnTimer();
    void OnSelectAllFiles();
    void OnClearSelection();

    // Replaces the file list by these files and shows the first, as if they had been
    // picked in the open dialog (command line, dropped files).
    void OpenPaths(const std::vector<std::string>& paths);
    // Opens the local files among dropped data the same way; false when there are none.
    bool OpenDroppedFiles(const QMimeData* mime);

    // Shows the windows in another language now, through the function the application
    // gives; without one the language changes at the next start.
    void SetLanguageSwitcher(std::function<void(UiLanguage)> switcher) {
        languageSwitcher_ = std::move(switcher);
    }
    void SwitchLanguage(UiLanguage language);

    // Enables and disables every command for the current state.
    void UpdateCommandStates();

    // IFrameNotifier: the display colours changed.
    void ApplyColours() override;

signals:
    // A new file list was opened and its first file shown.
    void FileListOpened();
    // The window accepted a close and is about to go.
    void Closing();

protected:
    bool event(QEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Tells the frame when the document changed, so the enable rules follow it.
    class DocumentWatcher : public IView {
    public:
        explicit DocumentWatcher(CMainFrame& frame) : frame_(frame) {}
        void OnUpdate(IView*) override { frame_.UpdateCommandStates(); }

    private:
        CMainFrame& frame_;
    };

    void CreateToolBar();
    void CreateStatusBar();
    void CreatePanes();
    void WireCommands();
    void ShowFile(int index);
    void ShowListRow(int index);
    int ListPageRows() const;
    void ShowNewFileList();
    void PostToWaveView(int message);
    void ToggleFittedCurve();
    void UpdateTitle(const std::string& title);
    void HandleUserMessage(QEvent* event);
    void NoteLetterPress(const QKeyEvent& press);
    bool IsShortcutLetterRelease(const QKeyEvent& release);
    void UpdateMinimumSize();
    void SetInitialSize();

    CMiradoDoc* document_;
    CFrameCommands* commands_;
    CFrameEditing* editing_ = nullptr;
    QWidget* client_ = nullptr;
    QLabel* statusPane_ = nullptr;
    CWaveView* waveView_ = nullptr;
    CViewBase* wholeView_ = nullptr;
    CFilenameView* fileList_ = nullptr;
    CInformationView* informationPane_ = nullptr;
    int autoStepDirection_ = 0;
    std::function<void(UiLanguage)> languageSwitcher_;
    // Letter keys last pressed with Ctrl or Alt held: their release is part of a shortcut,
    // even when the modifier was let go first.
    std::set<int> shortcutLetters_;
    QTimer stepTimer_;
    DocumentWatcher watcher_;
};

} // namespace mirado
