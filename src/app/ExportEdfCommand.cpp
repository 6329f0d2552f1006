#include "app/ExportEdfCommand.h"

#include "app/MainFrame.h"
#include "app/MainFrameFileCommands.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "exchange/EdfExport.h"
#include "platform/OrderedPrefetch.h"
#include "platform/SaveFileDialog.h"
#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <algorithm>

namespace mirado {

namespace {

constexpr int kStatusMessageMs = 10000;
constexpr size_t kFailuresShown = 10;

QMenu* MenuHolding(CMainFrame& frame, QAction* item) {
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        if (menu->actions().contains(item))
            return menu;
    return nullptr;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : path.substr(0, std::max<size_t>(slash, 1));
}

// The first failures, one a line, and how many more there were.
std::string FailureList(const std::vector<std::string>& failures) {
    std::string text;
    for (size_t i = 0; i < failures.size() && i < kFailuresShown; ++i)
        text += failures[i] + "\n";
    if (failures.size() > kFailuresShown)
        text += UiText("and %1 more").arg(failures.size() - kFailuresShown).toStdString();
    return text;
}

} // namespace

CExportEdfCommand::CExportEdfCommand(CMainFrame& frame, IUserPrompts& prompts,
                                     ISaveFileDialog& saveDialog)
    : QObject(&frame), frame_(frame), prompts_(prompts), saveDialog_(saveDialog) {}

CExportEdfCommand* CExportEdfCommand::Install(CMainFrame& frame, IUserPrompts& prompts,
                                              ISaveFileDialog& saveDialog, QAction* after) {
    auto* command = new CExportEdfCommand(frame, prompts, saveDialog);
    command->action_ = new QAction(UiText("Export EDF+..."), &frame);
    command->action_->setObjectName(QStringLiteral("exportEdf"));
    if (QMenu* menu = MenuHolding(frame, after)) {
        const QList<QAction*> items = menu->actions();
        const qsizetype at = items.indexOf(after) + 1;
        menu->insertAction(at < items.size() ? items[at] : nullptr, command->action_);
        connect(menu, &QMenu::aboutToShow, command,
                [command] { command->action_->setEnabled(!command->FilesToExport().empty()); });
    }
    connect(command->action_, &QAction::triggered, command, [command] { command->Run(); });
    return command;
}

std::vector<std::string> CExportEdfCommand::FilesToExport() const {
    const CMiradoDoc& doc = *frame_.GetDocument();
    std::vector<std::string> paths = MarkedPaths(doc);
    if (paths.empty() && !doc.GetCurrentPath().empty())
        paths.push_back(doc.GetCurrentPath());
    return paths;
}

void CExportEdfCommand::ShowStop(const std::string& text) {
    prompts_.ShowMessage(text, UiText("Export EDF+").toStdString(), MessageIcon::Stop,
                         MessageButtons::Ok);
}

bool CExportEdfCommand::Run() {
    EdfExportRun run;
    run.paths = FilesToExport();
    if (run.paths.empty())
        return false;
    SaveFileRequest request;
    request.title = UiText("Export EDF+ into the folder").toStdString();
    request.filters = {{UiText("EDF+ files").toStdString(), {"*.edf"}}};
    request.suggestedName = run.paths.front() + ".edf";
    std::string chosen;
    if (!saveDialog_.RunSave(request, chosen))
        return false;
    run.folder = FolderOf(chosen);
    run.jobs = DefaultJobCount();
    QtExportFeedback feedback(&frame_, kProgressDelayMs, "Export EDF+");
    feedback.Begin(static_cast<int>(run.paths.size()));
    const Result<EdfExportResult> exported = ExportEdfFiles(run, [&](size_t done) {
        feedback.FilesDone(static_cast<int>(done));
        return !feedback.IsCancelled();
    });
    feedback.End();
    if (!exported.ok()) {
        ShowStop(exported.error());
        return false;
    }
    const EdfExportResult& result = exported.value();
    frame_.statusBar()->showMessage(UiText("%1 EDF+ files written to %2")
                                        .arg(result.written)
                                        .arg(QString::fromStdString(run.folder)),
                                    kStatusMessageMs);
    if (!result.failures.empty())
        ShowStop(FailureList(result.failures));
    return result.failures.empty() && !result.stopped;
}

} // namespace mirado
