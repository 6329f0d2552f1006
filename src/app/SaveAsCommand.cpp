#include "app/SaveAsCommand.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace mirado {

CSaveAsCommand::CSaveAsCommand(CMainFrame& frame) : QObject(&frame), frame_(frame) {}

CSaveAsCommand* CSaveAsCommand::Install(CMainFrame& frame) {
    auto* command = new CSaveAsCommand(frame);
    command->action_ = new QAction(UiText("Save As..."), &frame);
    command->action_->setObjectName(QStringLiteral("saveAs"));
    QAction* save = frame.Action(ID_FILE_SAVE);
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) {
        const QList<QAction*> items = menu->actions();
        const qsizetype at = items.indexOf(save);
        if (at < 0)
            continue;
        menu->insertAction(at + 1 < items.size() ? items[at + 1] : nullptr, command->action_);
        connect(menu, &QMenu::aboutToShow, command, [command] {
            command->action_->setEnabled(command->frame_.GetDocument()->CanSaveCurrentFile());
        });
        break;
    }
    connect(command->action_, &QAction::triggered, command,
            [command] { command->frame_.GetDocument()->SaveCurrentFileAs(); });
    return command;
}

} // namespace mirado
