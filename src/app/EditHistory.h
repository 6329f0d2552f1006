#pragma once
// CEditHistory: the undo history of the current file on Qt's undo framework. It hears
// the document's edits and makes each one step, named after it; undoing or redoing a
// step puts the document back exactly as it stood (in the display mode the edit was
// made in). A save marks the clean state, and the document's modified mark follows the
// history; the history is cleared whenever the record is replaced.

#include "document/EditSnapshot.h"

#include <QObject>
#include <QUndoStack>

namespace mirado {

class CMiradoDoc;

class CEditHistory : public QObject, public IEditObserver {
    Q_OBJECT
public:
    CEditHistory(CMiradoDoc& document, QObject* parent = nullptr);
    ~CEditHistory() override;

    QUndoStack& Stack() { return stack_; }
    const QUndoStack& Stack() const { return stack_; }
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

    CMiradoDoc& document_;
    QUndoStack stack_;
};

} // namespace mirado
