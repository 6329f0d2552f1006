#include "app/EditHistory.h"

#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"

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
    group_.setActiveStack(StackOf(std::string()));
    document_.SetEditObserver(this);
    connect(&group_, &QUndoGroup::cleanChanged, this, &CEditHistory::FollowCleanState);
    FollowCurrentFile();
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
    Stack().push(new CEditStep(document_, edit));
}

void CEditHistory::OnSaved() {
    Stack().setClean();
}

void CEditHistory::OnRecordReplaced() {
    FollowCurrentFile();
}

QUndoStack* CEditHistory::StackOf(const std::string& path) {
    QUndoStack*& stack = stacks_[path];
    if (stack == nullptr) {
        stack = new QUndoStack(this);
        group_.addStack(stack);
    }
    return stack;
}

void CEditHistory::FollowCurrentFile() {
    // A file whose kept edits are still kept is not shown with them: its history waits.
    const std::string& path = document_.GetRecordPath();
    const std::string current = document_.HoldsEditsOf(path) ? std::string() : path;
    QUndoStack* stack = StackOf(current);
    if (!document_.IsModified())
        stack->clear();
    // The current file's stack first: the group reports its clean state, which the
    // document's modified mark then follows.
    group_.setActiveStack(stack);
    FollowCleanState(stack->isClean());
    for (auto entry = stacks_.begin(); entry != stacks_.end();) {
        if (entry->first == current || document_.HoldsEditsOf(entry->first)) {
            ++entry;
            continue;
        }
        delete entry->second;
        entry = stacks_.erase(entry);
    }
}

void CEditHistory::FollowCleanState(bool clean) {
    document_.SetModifiedFlag(!clean);
    emit ModifiedChanged(!clean);
}

} // namespace mirado
