#include "app/MainFrameFileCommands.h"

#include "app/EditHistory.h"
#include "app/FrameEditing.h"
#include "app/MainFrame.h"
#include "dialogs/FileDialog4Text.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/PathBytes.h"
#include "platform/qtcore/UiText.h"
#include "platform/qtcore/UserEvents.h"
#include "views/FilenameView.h"
#include "views/ViewBase.h"

#include <QAction>
#include <QApplication>
#include <QProgressDialog>

namespace mirado {

namespace {
constexpr const char* kProgressFormat = "%1 of %2 files done";
constexpr const char* kCancelText = "Cancel";
} // namespace

bool QtSaveTextDialog::Run(std::string& path, ExportChoice& choice) {
    QStringList filters;
    for (const char* filter : kTextExportFilters)
        filters << UiText(filter);
    CFileDialog4Text dialog(kTextExportExtension, kTextExportFileName, filters);
    dialog.setWindowTitle(UiText(kExportCaption));
    dialog.SetEncoding(choice.encoding);
    dialog.SetStartMode(choice.mode);
    if (!path.empty())
        dialog.selectFile(QString::fromStdString(path));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    path = PathBytes(dialog.selectedFiles().constFirst());
    choice = dialog.Choice();
    return true;
}

QtExportFeedback::~QtExportFeedback() {
    if (running_)
        End();
}

void QtExportFeedback::Begin(int fileCount) {
    total_ = fileCount;
    running_ = true;
    clock_.start();
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void QtExportFeedback::ShowDialog() {
    dialog_ = new QProgressDialog(QString(), UiText(kCancelText), 0, total_, parent_);
    dialog_->setWindowTitle(UiText(caption_));
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->show();
    // The Cancel button must be usable: arrow with the busy sign instead of the hourglass.
    QApplication::changeOverrideCursor(Qt::BusyCursor);
}

void QtExportFeedback::FilesDone(int count) {
    if (!running_)
        return;
    if (dialog_ == nullptr && clock_.elapsed() >= delayMs_)
        ShowDialog();
    if (dialog_ != nullptr) {
        dialog_->setLabelText(UiText(kProgressFormat).arg(count).arg(total_));
        dialog_->setValue(count);
        QApplication::processEvents();
    } else {
        // Let the panes repaint for the opened file, but take no user input yet.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}

bool QtExportFeedback::IsCancelled() const {
    return dialog_ != nullptr && dialog_->wasCanceled();
}

void QtExportFeedback::End() {
    if (!running_)
        return;
    running_ = false;
    delete dialog_;
    QApplication::restoreOverrideCursor();
}

void CMainFrameFileWindow::StopStepping() {
    frame_.StopStepping();
}

void CMainFrameFileWindow::ShowCurrentRow(int index) {
    if (CFilenameView* list = frame_.GetFileList())
        list->SetCurrentRow(index);
}

void CMainFrameFileWindow::UpdateFileCount() {
    if (CFilenameView* list = frame_.GetFileList())
        list->UpdateFileCount();
}

void CMainFrameFileWindow::ErasePanes() {
    for (CViewBase* pane : frame_.Panes())
        pane->update();
}

CMainFrameFileCommands::CMainFrameFileCommands(CMainFrame& frame, CMiradoDoc& document,
                                               IUserPrompts& prompts)
    : window_(frame), feedback_(&frame),
      commands_(document, prompts, window_, saveDialog_, feedback_) {}

CFileCommandsHook::CFileCommandsHook(CMainFrame& frame, CMiradoDoc& document, IUserPrompts& prompts)
    : QObject(&frame), frame_(frame), document_(document), commands_(frame, document, prompts) {}

CFileCommandsHook* CFileCommandsHook::Install(CMainFrame& frame, CMiradoDoc& document,
                                              IUserPrompts& prompts) {
    auto* hook = new CFileCommandsHook(frame, document, prompts);
    frame.installEventFilter(hook);
    hook->WireFrameCommands();
    hook->WireFileListMenu();
    frame.UpdateCommandStates();
    return hook;
}

void CFileCommandsHook::WireFrameCommands() {
    frame_.Commands().Wire(ID_EDIT_ID,
                           [this] { document_.EditIdFields(&frame_.Editing().History()); });
    frame_.Commands().Wire(ID_COLOR, [this] { document_.EditParameters(); });
}

void CFileCommandsHook::WireFileListMenu() {
    CFilenameView* list = frame_.GetFileList();
    if (list == nullptr)
        return;
    QAction* saveToText = list->SaveToTextAction();
    QAction* sendToRecycleBin = list->SendToRecycleBinAction();
    saveToText->setEnabled(true);
    sendToRecycleBin->setEnabled(true);
    connect(saveToText, &QAction::triggered, this,
            [this] { SendUserMessage(&frame_, WM_EXPORT_TEXT); });
    connect(sendToRecycleBin, &QAction::triggered, this, [this] {
        commands_.OnSendToRecycleBin();
        frame_.UpdateCommandStates();
    });
}

bool CFileCommandsHook::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &frame_ || static_cast<int>(event->type()) != WM_EXPORT_TEXT)
        return QObject::eventFilter(watched, event);
    commands_.OnSaveToTextFile();
    frame_.UpdateCommandStates();
    return true;
}

} // namespace mirado
