#include "reviewui/ReviewCommands.h"

#include "platform/ReasonPicker.h"
#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"
#include "review/ReviewLog.h"
#include "reviewui/HistoryDialog.h"
#include "reviewui/ReviewState.h"

#include <QAction>
#include <QUndoCommand>
#include <QWidget>

#include <optional>

namespace mirado {

namespace {

QString StepName(ReviewAction action, const std::string& path) {
    const QString name = QString::fromStdString(FileNameInFolder(path));
    switch (action) {
    case ReviewAction::Accept:
        return UiText("Accept %1").arg(name);
    case ReviewAction::Reject:
        return UiText("Reject %1").arg(name);
    default:
        return UiText("Clear Decision on %1").arg(name);
    }
}

} // namespace

// One decision: made before the step is pushed (a decision the log refused makes no
// step), so its first redo does nothing. Undo appends the decision that stood before. The
// step names its recording by path, so it still finds it after the list changed.
class CDecisionStep : public QUndoCommand {
public:
    CDecisionStep(CReviewCommands& commands, size_t index, std::optional<ManualDecision> before,
                  ReviewAction action, std::string reason, std::string note)
        : QUndoCommand(StepName(action, commands.state_.Paths()[index])), commands_(commands),
          path_(commands.state_.Paths()[index]), before_(std::move(before)), action_(action),
          reason_(std::move(reason)), note_(std::move(note)) {}

    void redo() override {
        if (done_)
            commands_.Apply(path_, action_, reason_, note_);
        done_ = true;
    }
    void undo() override {
        if (!before_)
            commands_.Apply(path_, ReviewAction::Clear, {}, {});
        else
            commands_.Apply(path_, before_->accepted ? ReviewAction::Accept : ReviewAction::Reject,
                            before_->reason, before_->note);
    }

private:
    CReviewCommands& commands_;
    std::string path_;
    std::optional<ManualDecision> before_;
    ReviewAction action_;
    std::string reason_, note_;
    bool done_ = false;
};

CReviewCommands::CReviewCommands(CReviewState& state, IReasonPicker& picker, IUserPrompts& prompts,
                                 Hooks hooks, QWidget* owner)
    : QObject(owner), state_(state), picker_(picker), prompts_(prompts), hooks_(std::move(hooks)),
      owner_(owner), decisions_(this) {
    accept_ = NewAction(QT_TRANSLATE_NOOP("Mirado", "&Accept Reading"), "acceptReading",
                        QKeySequence(Qt::Key_A));
    reject_ = NewAction(QT_TRANSLATE_NOOP("Mirado", "&Reject Reading..."), "rejectReading",
                        QKeySequence(Qt::Key_R));
    clear_ = NewAction(QT_TRANSLATE_NOOP("Mirado", "&Clear Decision"), "clearDecision",
                       QKeySequence(Qt::Key_U));
    stepAfter_ = NewAction(QT_TRANSLATE_NOOP("Mirado", "&Next Reading After a Decision"),
                           "stepAfterDecision", {});
    stepAfter_->setCheckable(true);
    history_ = NewAction(QT_TRANSLATE_NOOP("Mirado", "&History..."), "showHistory", {});
    undo_ = decisions_.createUndoAction(this, UiText("Undo Decision"));
    undo_->setObjectName(QStringLiteral("undoDecision"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Z));
    redo_ = decisions_.createRedoAction(this, UiText("Redo Decision"));
    redo_->setObjectName(QStringLiteral("redoDecision"));
    redo_->setShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Y));
    for (QAction* action : {undo_, redo_})
        owner_->addAction(action);
    connect(accept_, &QAction::triggered, this, [this] { Decide(ReviewAction::Accept); });
    connect(reject_, &QAction::triggered, this, [this] { Decide(ReviewAction::Reject); });
    connect(clear_, &QAction::triggered, this, [this] { Decide(ReviewAction::Clear); });
    connect(history_, &QAction::triggered, this, &CReviewCommands::ShowHistory);
    SetActive(false);
}

QAction* CReviewCommands::NewAction(const char* text, const char* objectName,
                                    const QKeySequence& key) {
    auto* action = new QAction(UiText(text), this);
    action->setObjectName(QString::fromLatin1(objectName));
    if (!key.isEmpty()) {
        // The letters act with Shift too, as the window's other letter keys do.
        action->setShortcuts({key, QKeySequence(Qt::SHIFT | key[0].key())});
        // The letter works from every pane of the window, not only from the menu.
        owner_->addAction(action);
    }
    return action;
}

void CReviewCommands::SetActive(bool active) {
    for (QAction* action : {accept_, reject_, clear_, history_})
        action->setEnabled(active);
}

void CReviewCommands::Decide(ReviewAction action) {
    const int current = hooks_.currentIndex ? hooks_.currentIndex() : -1;
    if (current < 0 || static_cast<size_t>(current) >= state_.Paths().size())
        return;
    const auto index = static_cast<size_t>(current);
    std::string reason, note;
    if (action == ReviewAction::Reject) {
        const std::optional<ReasonChoice> choice = picker_.PickReason(lastReason_);
        if (!choice)
            return;
        reason = choice->reason;
        note = choice->note;
        lastReason_ = reason;
    }
    const std::optional<ManualDecision> before = state_.DecisionAt(index);
    if (!Apply(state_.Paths()[index], action, reason, note))
        return;
    decisions_.push(new CDecisionStep(*this, index, before, action, reason, note));
    if (stepAfter_->isChecked() && hooks_.stepNext)
        hooks_.stepNext();
}

bool CReviewCommands::Apply(const std::string& path, ReviewAction action, const std::string& reason,
                            const std::string& note) {
    const std::optional<size_t> index = state_.IndexOf(path);
    // A recording no longer listed still gets its event.
    const Result<void> added = index ? state_.Decide(*index, action, reason, note)
                                     : AppendDecision(path, action, reason, note);
    if (added.ok())
        return true;
    prompts_.ShowMessage(prompts_.Translated("The decision could not be written to the review "
                                             "log: ") +
                             added.error(),
                         kApplicationTitle, MessageIcon::Warning, MessageButtons::Ok);
    return false;
}

void CReviewCommands::ShowHistory() {
    const int current = hooks_.currentIndex ? hooks_.currentIndex() : -1;
    if (current < 0 || static_cast<size_t>(current) >= state_.Paths().size())
        return;
    const auto index = static_cast<size_t>(current);
    std::optional<ReadingReview> review;
    if (index < state_.Review().readings.size())
        review = state_.Review().readings[index];
    auto* dialog = new CHistoryDialog(state_.Paths()[index], review, owner_);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

} // namespace mirado
