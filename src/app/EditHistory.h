#pragma once
// CEditHistory: the undo history of each file on Qt's undo framework, one stack per file
// in a group whose active stack is the current file's. The window's edits come to it (the
// wave view's marker drop, the ID command): each becomes a step, named after it, whose
// redo makes the edit through the document's operation and whose undo puts the document
// back exactly as it stood (in the display mode the edit was made in). It owns the
// document's modified mark: the current file's stack away from its clean state, which a
// save sets. A file's history lives while the document keeps its unsaved edits; it is
// cleared when they are saved away or dropped.

#include "document/DocumentEdits.h"
#include "document/EditSnapshot.h"
#include "document/ModifiedMark.h"

#include <QObject>
#include <QUndoGroup>
#include <QUndoStack>

#include <map>
#include <string>

namespace mirado {

class CMiradoDoc;
class CUserEdit;

class CEditHistory : public QObject, public IDocumentEdits, public IModifiedMark {
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

    // Each pushes a step whose first redo makes the edit; an edit that changes nothing
    // adds none.
    MarkerPlacement MoveMarker(MarkerPlacement placement) override;
    bool SetIdTexts(const IdTexts& texts) override;

    bool IsModified() const override { return !group_.isClean(); }
    // The step being pushed made it; its push moves the stack away from the clean state.
    void OnEdited() override {}
    void OnSaved() override;
    void OnRecordReplaced(bool edited) override;

signals:
    // The current file has unsaved edits (true) or matches the file as saved (false).
    void ModifiedChanged(bool modified);

private:
    bool Push(CUserEdit edit);
    void FollowCurrentFile(bool edited);
    QUndoStack* StackOf(const std::string& path);

    CMiradoDoc& document_;
    QUndoGroup group_;
    // By the path of the file; the empty path stands for no file, or one whose kept edits
    // could not be put back because it failed to load.
    std::map<std::string, QUndoStack*> stacks_;
};

} // namespace mirado
