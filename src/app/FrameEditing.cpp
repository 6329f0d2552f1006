#include "app/FrameEditing.h"

#include "app/EditHistory.h"
#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"
#include "views/FilenameView.h"
#include "views/WaveView.h"

#include <QAction>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

namespace mirado {

namespace {

// The File menu is the first of the menu bar, Display the second.
constexpr int kFileMenuPosition = 0;
constexpr int kDisplayMenuPosition = 1;

QMenu* MenuAt(CMainFrame& frame, int position) {
    const QList<QAction*> menus = frame.menuBar()->actions();
    return position < menus.size() ? menus[position]->menu() : nullptr;
}

// The action's text without its mnemonic, with its first key after it; kept so whenever the
// text changes (the undo stack names the step to be undone).
void ShowKeyInToolTip(QAction* action) {
    const auto update = [action] {
        const QList<QKeySequence> keys = action->shortcuts();
        QString tip = action->text().remove(QLatin1Char('&'));
        if (!keys.isEmpty())
            tip = UiText("%1 (%2)").arg(tip, keys.first().toString(QKeySequence::NativeText));
        // Setting the tool tip signals a change again; the same tip ends the round.
        if (action->toolTip() != tip)
            action->setToolTip(tip);
    };
    QObject::connect(action, &QAction::changed, action, update);
    update();
}

} // namespace

CFrameEditing* CFrameEditing::Install(CMainFrame& frame) {
    return new CFrameEditing(frame);
}

CFrameEditing::CFrameEditing(CMainFrame& frame)
    : QObject(&frame), frame_(frame), history_(new CEditHistory(*frame.GetDocument(), this)) {
    CreateActions();
    AddEditMenu();
    AddFileItems();
    AddToolBarButtons();
    AddModifiedPane();
    connect(history_, &CEditHistory::ModifiedChanged, this, &CFrameEditing::ShowModified);
    // A marker dropped in the wave view is a step of the history.
    if (frame.GetWaveView() != nullptr)
        frame.GetWaveView()->SetEdits(history_);
    ShowModified(false);
}

void CFrameEditing::CreateActions() {
    QUndoGroup& histories = history_->Group();
    undo_ = histories.createUndoAction(this, UiText("&Undo"));
    undo_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    undo_->setIcon(QIcon(QStringLiteral(":/icons/undo.svg")));
    redo_ = histories.createRedoAction(this, UiText("&Redo"));
    redo_->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    redo_->setIcon(QIcon(QStringLiteral(":/icons/redo.svg")));
    ShowKeyInToolTip(undo_);
    ShowKeyInToolTip(redo_);
    // The keys work from every pane, not only while the menu bar has them.
    frame_.addAction(undo_);
    frame_.addAction(redo_);
    revert_ = new QAction(UiText("Revert to Original..."), this);
    connect(revert_, &QAction::triggered, this, &CFrameEditing::OnRevert);
    saveAll_ = new QAction(UiText("Save All"), this);
    saveAll_->setObjectName(QStringLiteral("saveAll"));
    saveAll_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    saveAll_->setStatusTip(UiText("Save every file with unsaved changes"));
    frame_.addAction(saveAll_);
    connect(saveAll_, &QAction::triggered, this, &CFrameEditing::OnSaveAll);
}

void CFrameEditing::AddEditMenu() {
    auto* menu = new QMenu(UiText("Edit(&E)"), &frame_);
    menu->addAction(undo_);
    menu->addAction(redo_);
    QMenu* display = MenuAt(frame_, kDisplayMenuPosition);
    frame_.menuBar()->insertMenu(display != nullptr ? display->menuAction() : nullptr, menu);
}

void CFrameEditing::AddFileItems() {
    QMenu* file = MenuAt(frame_, kFileMenuPosition);
    if (file == nullptr)
        return;
    // After Save, before the printing commands.
    const QList<QAction*> items = file->actions();
    QAction* save = frame_.Action(ID_FILE_SAVE);
    const qsizetype at = items.indexOf(save);
    QAction* next = at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
    file->insertAction(next, saveAll_);
    file->insertAction(next, revert_);
    connect(file, &QMenu::aboutToShow, this, &CFrameEditing::UpdateRevertState);
}

void CFrameEditing::AddToolBarButtons() {
    auto* toolBar = frame_.findChild<QToolBar*>(QStringLiteral("toolbar"));
    if (toolBar == nullptr)
        return;
    toolBar->addSeparator();
    toolBar->addAction(undo_);
    toolBar->addAction(redo_);
}

void CFrameEditing::AddModifiedPane() {
    modifiedPane_ = new QLabel(&frame_);
    modifiedPane_->setObjectName(QStringLiteral("modifiedPane"));
    modifiedPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    modifiedPane_->setMinimumWidth(
        modifiedPane_->fontMetrics().horizontalAdvance(UiText("Modified")) +
        modifiedPane_->fontMetrics().averageCharWidth() * 2);
    frame_.statusBar()->addPermanentWidget(modifiedPane_);
}

void CFrameEditing::ShowModified(bool modified) {
    frame_.setWindowModified(modified);
    modifiedPane_->setText(modified ? UiText("Modified") : QString());
    UpdateRevertState();
    // The list marks the files with unsaved edits.
    if (frame_.GetFileList() != nullptr)
        frame_.GetFileList()->update();
}

void CFrameEditing::UpdateRevertState() {
    revert_->setEnabled(frame_.GetDocument()->CanRevertToOriginal());
    saveAll_->setEnabled(frame_.GetDocument()->HasUnsavedEdits());
}

void CFrameEditing::OnSaveAll() {
    CMiradoDoc& document = *frame_.GetDocument();
    document.SaveAllFiles();
    if (frame_.GetFileList() != nullptr && document.IsLoaded())
        frame_.GetFileList()->SetCurrentRow(document.GetCurrentIndex());
    frame_.UpdateCommandStates();
}

void CFrameEditing::OnRevert() {
    CMiradoDoc& document = *frame_.GetDocument();
    const int index = document.GetCurrentIndex();
    if (document.RevertToOriginal() && frame_.GetFileList() != nullptr)
        frame_.GetFileList()->SetCurrentRow(index);
    frame_.UpdateCommandStates();
}

bool SaveBeforeVisitingOtherFiles(CMainFrame& frame) {
    return frame.GetDocument()->SaveBeforeVisitingOtherFiles();
}

} // namespace mirado
