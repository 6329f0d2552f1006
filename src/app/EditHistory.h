#pragma once
// CEditHistory: the undo history of each file on Qt's undo framework, one stack per file
// in a group whose active stack is the current file's. It hears the document's edits and
// makes each one step, named after it; undoing or redoing a step puts the document back
// exactly as it stood (in the display mode the edit was made in). A save marks the clean
// state, and the document's modified mark follows the current file's history. A file's
// history lives while the document keeps its unsaved edits; it is cleared when they are
// saved away or dropped.

#include "document/EditSnapshot.h"

#include <QObject>
#include <QUndoGroup>
#include <QUndoStack>

#include <map>
#include <string>

namespace mirado {

class CMiradoDoc;

class CEditHistory : public QObject, public IEditObserver {
    Q_OBJECT
public:
    CEditHistory(CMiradoDoc& document, QObject* parent = nullptr);
    ~CEditHistory() override;

    // The histories of every file; its undo and redo act on the current file's.
    QUndoGroup& Group() { return group_; }
    // The current file's history.
    QUndoStack& Stack() { return *group_.activeStack(); }
    // The step's name as the Edit menu shows it.
    static QString StepName(EditKind kind);

    void OnEdit(const EditRecord& edit) override;
    void OnSaved() override;
    void OnRecordReplaced() override;

signals:
    // The current file has unsaved edits (true) or matches the file as saved (false).
    void ModifiedChanged(bool modified);

private:
    void FollowCleanState(bool clean);
    void FollowCurrentFile();
    QUndoStack* StackOf(const std::string& path);

    CMiradoDoc& document_;
    QUndoGroup group_;
    // By the path of the file; the empty path stands for no file, or one whose kept edits
    // could not be put back because it failed to load.
    std::map<std::string, QUndoStack*> stacks_;
};

} // namespace mirado
