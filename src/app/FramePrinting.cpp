#include "app/FramePrinting.h"

#include "app/FrameEditing.h"

#include "app/MainFrame.h"
#include "app/Printing.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/UserEvents.h"
#include "platform/widgets/QtUserPrompts.h"
#include "views/FilenameView.h"
#include "views/ViewingTexts.h"
#include "views/WaveView.h"

#include <QMenu>
#include <QMenuBar>

namespace mirado {

namespace {

IUserPrompts& PromptsOf(CMainFrame& frame) {
    if (IUserPrompts* prompts = frame.GetDocument()->Prompts())
        return *prompts;
    static CQtUserPrompts fallback;
    fallback.SetOwner(&frame);
    return fallback;
}

PageJob SelectedFilesJobOf(CMainFrame& frame) {
    // Each page first makes its file current through the frame, which loads it and moves
    // the list's current row, so every pane follows the printing.
    return SelectedFilesJob(*frame.GetDocument(), PromptsOf(frame), [&frame](int index) {
        SendUserMessage(&frame, WM_SELECT_FILE, index, 0);
    });
}

// Printing the selected files opens them in turn: unsaved edits are offered first.
void PrintSelectedFiles(CMainFrame& frame, bool preview) {
    if (!SaveBeforeVisitingOtherFiles(frame))
        return;
    if (preview)
        CPrinting::Preview(&frame, SelectedFilesJobOf(frame));
    else
        CPrinting::Print(&frame, SelectedFilesJobOf(frame));
}

bool ListIsActive(CMainFrame& frame) {
    const CFilenameView* list = frame.GetFileList();
    return list != nullptr && list->hasFocus();
}

PageJob CurrentFileJobOf(CMainFrame& frame) {
    const CMiradoDoc& doc = *frame.GetDocument();
    return CurrentFileJob(doc, PromptsOf(frame), ScaleLabelOptionsOf(doc));
}

void ActivateWaveViewWhenFileMenuOpens(CMainFrame& frame, QAction* printAction) {
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>()) {
        if (!menu->actions().contains(printAction))
            continue;
        QObject::connect(menu, &QMenu::aboutToShow, &frame, [&frame] {
            if (frame.GetWaveView() != nullptr)
                frame.GetWaveView()->setFocus();
        });
    }
}

} // namespace

void WirePrinting(CMainFrame& frame, CFrameCommands& commands) {
    commands.Wire(ID_FILE_PRINT_SETUP, [&frame] { CPrinting::PrintSetup(&frame); });
    commands.Wire(ID_FILE_PRINT, [&frame] {
        if (ListIsActive(frame))
            PrintSelectedFiles(frame, false);
        else
            CPrinting::Print(&frame, CurrentFileJobOf(frame));
    });
    commands.Wire(ID_FILE_PRINT_PREVIEW, [&frame] {
        if (ListIsActive(frame))
            PrintSelectedFiles(frame, true);
        else
            CPrinting::Preview(&frame, CurrentFileJobOf(frame));
    });
    ActivateWaveViewWhenFileMenuOpens(frame, commands.Action(ID_FILE_PRINT));

    CFilenameView* list = frame.GetFileList();
    if (list == nullptr)
        return;
    QAction* printSelected = list->PrintSelectedAction();
    printSelected->setEnabled(true);
    QObject::connect(printSelected, &QAction::triggered, &frame,
                     [&frame] { PrintSelectedFiles(frame, false); });
    QAction* preview = list->PrintPreviewAction();
    preview->setEnabled(true);
    QObject::connect(preview, &QAction::triggered, &frame,
                     [&frame] { PrintSelectedFiles(frame, true); });
}

} // namespace mirado
