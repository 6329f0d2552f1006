#include "app/ExportSamplesCommand.h"

#include "app/MainFrame.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "files/FileAccess.h"
#include "platform/SaveFileDialog.h"
#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace mirado {

namespace {

constexpr int kStatusMessageMs = 10000;

// The menu holding the item of command id, and the item after it.
std::pair<QMenu*, QAction*> MenuAndItemAfter(CMainFrame& frame, CommandId id) {
    QAction* item = frame.Action(id);
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) {
        const QList<QAction*> items = menu->actions();
        const qsizetype at = items.indexOf(item);
        if (at >= 0)
            return {menu, at + 1 < items.size() ? items[at + 1] : nullptr};
    }
    return {nullptr, nullptr};
}

} // namespace

CExportSamplesCommand::CExportSamplesCommand(CMainFrame& frame, IUserPrompts& prompts,
                                             ISaveFileDialog& saveDialog)
    : QObject(&frame), frame_(frame), prompts_(prompts), saveDialog_(saveDialog) {}

CExportSamplesCommand* CExportSamplesCommand::Install(CMainFrame& frame, IUserPrompts& prompts,
                                                      ISaveFileDialog& saveDialog) {
    auto* command = new CExportSamplesCommand(frame, prompts, saveDialog);
    command->action_ = new QAction(UiText("Export Samples..."), &frame);
    command->action_->setObjectName(QStringLiteral("exportSamples"));
    const auto [menu, after] = MenuAndItemAfter(frame, ID_SUMMARY);
    if (menu != nullptr) {
        menu->insertAction(after, command->action_);
        connect(menu, &QMenu::aboutToShow, command, [command] { command->UpdateEnabled(); });
    }
    connect(command->action_, &QAction::triggered, command, [command] { command->Run(); });
    command->UpdateEnabled();
    return command;
}

void CExportSamplesCommand::UpdateEnabled() {
    action_->setEnabled(frame_.GetDocument()->CanSaveCurrentFile());
}

bool CExportSamplesCommand::Run() {
    const CMiradoDoc& doc = *frame_.GetDocument();
    const std::optional<std::string> csv = doc.CurrentSamplesCsv();
    if (!csv)
        return false;
    SaveFileRequest request;
    request.title = UiText("Export Samples").toStdString();
    request.filters = {{UiText("CSV files").toStdString(), {"*.csv"}}};
    // Beside the recording, named after it.
    request.suggestedName = doc.GetCurrentPath() + ".csv";
    std::string path;
    if (!saveDialog_.RunSave(request, path))
        return false;
    // Never over a recording of the list, as the text export refuses it.
    if (IsFileOfList(doc, path)) {
        prompts_.ShowMessage(FileOfListText(path, prompts_.Translated(kFileOfListFormat)),
                             UiText("Export Samples").toStdString(), MessageIcon::Stop,
                             MessageButtons::Ok);
        return false;
    }
    if (const auto written = WriteFileAtomically(path, *csv); !written.ok()) {
        prompts_.ShowMessage(path + "\n" + written.error(), UiText("Export Samples").toStdString(),
                             MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    frame_.statusBar()->showMessage(
        UiText("Samples written to %1").arg(QString::fromStdString(path)), kStatusMessageMs);
    return true;
}

} // namespace mirado
