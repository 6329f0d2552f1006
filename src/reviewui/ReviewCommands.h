#pragma once
// CReviewCommands: the decisions on the current reading and their undo. Accept (A),
// Reject (R, asking for the reason with the last one chosen first) and Clear (U) append
// an event to the reading's review log and take it into the review; each is one step of
// the decisions' own undo history, apart from the recordings' edits, so a decision never
// marks a recording modified and undoing an edit never takes a decision back. Undoing a
// decision appends the event that restores the decision before it (the log only grows);
// redoing it appends the decision again. With "Next Reading After a Decision" on, a
// decision moves on to the next listed file.

#include "files/Result.h"
#include "review/ReviewEvent.h"

#include <QObject>
#include <QUndoStack>

#include <functional>
#include <string>

class QAction;
class QWidget;

namespace mirado {

class CReviewState;
class IReasonPicker;
class IUserPrompts;

class CReviewCommands : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<int()> currentIndex; // the listed file shown, -1 for none
        std::function<void()> stepNext;    // shows the next listed file
    };

    CReviewCommands(CReviewState& state, IReasonPicker& picker, IUserPrompts& prompts, Hooks hooks,
                    QWidget* owner);

    QAction* Accept() const { return accept_; }
    QAction* Reject() const { return reject_; }
    QAction* Clear() const { return clear_; }
    QAction* StepAfterDecision() const { return stepAfter_; }
    QAction* UndoDecision() const { return undo_; }
    QAction* RedoDecision() const { return redo_; }
    QAction* History() const { return history_; }
    QUndoStack& Decisions() { return decisions_; }

    // The actions act only while the review is shown and a file is current.
    void SetActive(bool active);
    // The last reason picked, chosen first the next time.
    const std::string& LastReason() const { return lastReason_; }

private:
    QAction* NewAction(const char* text, const char* objectName, const QKeySequence& key);
    void Decide(ReviewAction action);
    bool Apply(const std::string& path, ReviewAction action, const std::string& reason,
               const std::string& note);
    void ShowHistory();

    CReviewState& state_;
    IReasonPicker& picker_;
    IUserPrompts& prompts_;
    Hooks hooks_;
    QWidget* owner_;
    QUndoStack decisions_;
    std::string lastReason_;
    QAction* accept_;
    QAction* reject_;
    QAction* clear_;
    QAction* stepAfter_;
    QAction* undo_;
    QAction* redo_;
    QAction* history_;

    friend class CDecisionStep;
};

} // namespace mirado
