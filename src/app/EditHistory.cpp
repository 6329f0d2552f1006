#include "app/EditHistory.h"

#include "document/MiradoDoc.h"
#include "platform/qt/UiText.h"

#include <QUndoCommand>

namespace mirado {

namespace {

// One edit: undo restores the state before it, redo the state after it. The edit is
// already made when the step is pushed, so the push's own redo does nothing.
class CEditStep : public QUndoCommand {
public:
    CEditStep(CMiradoDoc& document, const EditRecord& edit)
        : QUndoCommand(CEditHistory::StepName(edit.kind)), document_(document), edit_(edit) {}

    void undo() override { document_.RestoreEdits(edit_.before, edit_.kind); }
    void redo() override {
        if (pushed_)
            document_.RestoreEdits(edit_.after, edit_.kind);
        pushed_ = true;
    }

private:
    CMiradoDoc& document_;
    EditRecord edit_;
    bool pushed_ = false;
};

} // namespace

CEditHistory::CEditHistory(CMiradoDoc& document, QObject* parent)
    : QObject(parent), document_(document) {
    document_.SetEditObserver(this);
    connect(&stack_, &QUndoStack::cleanChanged, this, &CEditHistory::FollowCleanState);
}

CEditHistory::~CEditHistory() {
    document_.SetEditObserver(nullptr);
}

QString CEditHistory::StepName(EditKind kind) {
    switch (kind) {
    case EditKind::MoveMarkerS:
        return UiText("Move Systolic Marker");
    case EditKind::MoveMarkerM:
        return UiText("Move Mean Marker");
    case EditKind::EditIdentification:
        return UiText("Edit Identification");
    }
    return {};
}

void CEditHistory::OnEdit(const EditRecord& edit) {
    stack_.push(new CEditStep(document_, edit));
}

void CEditHistory::OnSaved() {
    stack_.setClean();
}

void CEditHistory::OnRecordReplaced() {
    stack_.clear();
}

void CEditHistory::FollowCleanState(bool clean) {
    document_.SetModifiedFlag(!clean);
    emit ModifiedChanged(!clean);
}

} // namespace mirado
