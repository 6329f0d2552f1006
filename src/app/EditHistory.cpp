#include "app/EditHistory.h"

#include "document/MiradoDoc.h"
#include "document/UserEdit.h"
#include "platform/qtcore/UiText.h"

#include <QUndoCommand>

#include <utility>

namespace mirado {

namespace {

// One edit: redo makes it through the document, undo restores the state before it. An edit
// that changes nothing makes the step obsolete, and the stack drops it.
class CEditStep : public QUndoCommand {
public:
    CEditStep(CMiradoDoc& document, CUserEdit edit)
        : QUndoCommand(CEditHistory::StepName(edit.Kind())), document_(document),
          edit_(std::move(edit)) {}

    void redo() override { setObsolete(!edit_.Apply(document_)); }
    void undo() override { edit_.TakeBack(document_); }

private:
    CMiradoDoc& document_;
    CUserEdit edit_;
};

} // namespace

CEditHistory::CEditHistory(CMiradoDoc& document, QObject* parent)
    : QObject(parent), document_(document) {
    const bool edited = document_.IsModified();
    group_.setActiveStack(StackOf(std::string()));
    connect(&group_, &QUndoGroup::cleanChanged, this,
            [this](bool clean) { emit ModifiedChanged(!clean); });
    document_.SetModifiedMark(this);
    FollowCurrentFile(edited);
}

CEditHistory::~CEditHistory() {
    document_.SetModifiedMark(nullptr);
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

MarkerPlacement CEditHistory::MoveMarker(MarkerPlacement placement) {
    int markerS = 0, markerM = 0, markerD = 0;
    document_.GetMarkers(markerS, markerM, markerD);
    const MarkerPlacement before{placement.marker,
                                 placement.marker == MovableMarker::S ? markerS : markerM};
    Push(CUserEdit(placement));
    return before;
}

bool CEditHistory::SetIdTexts(const IdTexts& texts) {
    // An OK that leaves every text as shown is no edit: no step, and the steps to redo stay.
    if (texts == document_.GetIdTexts())
        return false;
    return Push(CUserEdit(texts));
}

bool CEditHistory::Push(CUserEdit edit) {
    QUndoStack& stack = Stack();
    const int index = stack.index();
    stack.push(new CEditStep(document_, std::move(edit)));
    return stack.index() != index;
}

void CEditHistory::OnSaved() {
    Stack().setClean();
}

void CEditHistory::OnRecordReplaced(bool edited) {
    FollowCurrentFile(edited);
}

QUndoStack* CEditHistory::StackOf(const std::string& path) {
    QUndoStack*& stack = stacks_[path];
    if (stack == nullptr) {
        stack = new QUndoStack(this);
        group_.addStack(stack);
    }
    return stack;
}

void CEditHistory::FollowCurrentFile(bool edited) {
    // A file whose kept edits are still kept is not shown with them: its history waits.
    const std::string& path = document_.GetRecordPath();
    const std::string current = document_.HoldsEditsOf(path) ? std::string() : path;
    QUndoStack* stack = StackOf(current);
    if (!edited)
        stack->clear();
    else if (stack->isClean())
        // Edits with no steps to them (the file was renamed by Save As meanwhile): no undo
        // leads back to the saved state.
        stack->resetClean();
    group_.setActiveStack(stack);
    emit ModifiedChanged(!stack->isClean());
    for (auto entry = stacks_.begin(); entry != stacks_.end();) {
        if (entry->first == current || document_.HoldsEditsOf(entry->first)) {
            ++entry;
            continue;
        }
        delete entry->second;
        entry = stacks_.erase(entry);
    }
}

} // namespace mirado
