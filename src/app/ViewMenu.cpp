#include "app/ViewMenu.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace mirado {

namespace {

// The menu the View menu stands before: Help, the last one.
QAction* HelpMenuAction(QMenuBar& menuBar) {
    for (QAction* action : menuBar.actions())
        if (action->menu() != nullptr && action->text() == QStringLiteral("Help(&H)"))
            return action;
    return nullptr;
}

} // namespace

QMenu* AddViewMenu(CMainFrame& frame) {
    QMenuBar& menuBar = *frame.menuBar();
    auto* menu = new QMenu(CMainFrame::tr("View(&V)"), &menuBar);
    menu->setObjectName(QStringLiteral("viewMenu"));
    menuBar.insertMenu(HelpMenuAction(menuBar), menu);
    AddScaleLabelsItem(*menu, frame);
    return menu;
}

void AddScaleLabelsItem(QMenu& menu, CMainFrame& frame) {
    CMiradoDoc& doc = *frame.GetDocument();
    QAction* action = menu.addAction(CMainFrame::tr("Scale Labels"));
    action->setObjectName(QStringLiteral("scaleLabels"));
    action->setCheckable(true);
    action->setChecked(doc.GetMiradoSettings().GetScaleLabels());
    QObject::connect(action, &QAction::toggled, &frame, [&doc](bool shown) {
        doc.GetMiradoSettings().SetScaleLabels(shown);
        doc.UpdateAllViews();
    });
}

} // namespace mirado
