#pragma once
// The main window's safe editing: the Edit menu (between File and Display) with Undo and
// Redo named after the step, their keys and toolbar buttons after the last button,
// "Save All" and "Revert to Original..." in the File menu, the modified mark in the title
// and the "Modified" pane at the end of the status bar, and the save prompt before the
// commands that open other files.

#include <QObject>

class QAction;
class QLabel;

namespace mirado {

class CEditHistory;
class CMainFrame;

class CFrameEditing : public QObject {
    Q_OBJECT
public:
    // Builds the menus, buttons and pane on the frame, which owns the result.
    static CFrameEditing* Install(CMainFrame& frame);

    CEditHistory& History() { return *history_; }
    QAction* UndoAction() const { return undo_; }
    QAction* RedoAction() const { return redo_; }
    QAction* SaveAllAction() const { return saveAll_; }
    QLabel* ModifiedPane() const { return modifiedPane_; }

    // Enables Revert for the current file and Save All while any file has unsaved edits.
    void UpdateRevertState();

private:
    explicit CFrameEditing(CMainFrame& frame);
    void CreateActions();
    void AddEditMenu();
    void AddFileItems();
    void AddToolBarButtons();
    void AddModifiedPane();
    void ShowModified(bool modified);
    void OnRevert();
    void OnSaveAll();

    CMainFrame& frame_;
    CEditHistory* history_;
    QAction* undo_ = nullptr;
    QAction* redo_ = nullptr;
    QAction* revert_ = nullptr;
    QAction* saveAll_ = nullptr;
    QLabel* modifiedPane_ = nullptr;
};

// Before the printing of the selected files: false when the user
// cancelled (or the save failed) and the command must not run.
bool SaveBeforeVisitingOtherFiles(CMainFrame& frame);

} // namespace mirado
