#include "support/GuiTestSupport.h"

#include "app/FrameEditing.h"
#include "app/KeyboardShortcuts.h"
#include "app/MainFrame.h"
#include "platform/qtcore/UserEvents.h"
#include "views/FilenameView.h"
#include "views/InformationView.h"
#include "views/WaveView.h"
#include "views/WholeView.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        frame = std::make_unique<CMainFrame>(Doc());
    }

    CMiradoDoc* Doc() { return scripted.doc.get(); }

    void OpenRecordings(int count) { frame->OpenPaths(test::WriteRecordings(dir, count)); }

    bool Enabled(CommandId id) { return frame->Action(id)->isEnabled(); }

    void ReleaseKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyRelease, key, modifiers);
        QApplication::sendEvent(target, &event);
        QApplication::processEvents(); // panes post their key releases to the frame
    }

    test::TempFolder dir;
    test::ScriptedDocument scripted;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(FrameTest, PanesAreCutFromTheFreeAreaByFixedColumns) {
    frame->resize(660, 500);
    frame->show();
    QApplication::processEvents();
    const QRect area = frame->FreeArea();
    ASSERT_EQ(area.width(), 660);
    const QPoint origin = area.topLeft();
    auto outer = [&](QWidget* pane) { return pane->geometry().translated(origin); };

    EXPECT_EQ(outer(frame->GetWaveView()),
              QRect(QPoint(130, area.top() + 100), QPoint(529, area.bottom())));
    EXPECT_EQ(outer(frame->GetWholeView()), QRect(130, area.top(), 400, 100));
    EXPECT_EQ(outer(frame->GetFileList()), QRect(530, area.top(), 130, area.height()));
    EXPECT_EQ(outer(frame->findChild<CInformationView*>()),
              QRect(0, area.top(), 130, area.height()));
}

TEST_F(FrameTest, ColumnEdgesStayAbsoluteWhenTheToolbarDocksLeft) {
    frame->resize(800, 500);
    frame->show();
    auto* toolBar = frame->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    frame->addToolBar(Qt::LeftToolBarArea, toolBar);
    QApplication::processEvents();
    const QRect area = frame->FreeArea();
    ASSERT_GT(area.left(), 0);
    const QPoint origin = area.topLeft();
    EXPECT_EQ(frame->findChild<CInformationView*>()->geometry().translated(origin),
              QRect(QPoint(area.left(), area.top()), QPoint(129, area.bottom())));
    EXPECT_EQ(frame->GetWaveView()->geometry().translated(origin).left(), 130);
    EXPECT_EQ(frame->GetFileList()->geometry().translated(origin).right(), area.right());
}

TEST_F(FrameTest, MinimumSizeHoldsAFourHundredByThreeHundredClientArea) {
    EXPECT_EQ(frame->minimumWidth(), 400);
    EXPECT_GE(frame->minimumHeight(), 300 + frame->menuBar()->sizeHint().height());
}

TEST_F(FrameTest, TheWholeInformationColumnShowsAtTheMinimumSize) {
    frame->resize(frame->minimumSize());
    frame->show();
    QApplication::processEvents();
    EXPECT_GE(frame->findChild<CInformationView*>()->height(), CInformationView::ColumnHeight());
    EXPECT_GT(CInformationView::ColumnHeight(), 400);
}

TEST_F(FrameTest, MenusCarryTheirTextsAndCommandsInOrder) {
    const QList<QAction*> menus = frame->menuBar()->actions();
    ASSERT_EQ(menus.size(), 5);
    EXPECT_EQ(menus[0]->text(), "File(&F)");
    EXPECT_EQ(menus[1]->text(), "Edit(&E)");
    EXPECT_EQ(menus[2]->text(), "Display(&D)");
    EXPECT_EQ(menus[3]->text(), "View(&V)");
    EXPECT_EQ(menus[4]->text(), "Help(&H)");
    QStringList file;
    for (QAction* a : menus[0]->menu()->actions())
        file << (a->isSeparator() ? QStringLiteral("|") : a->text());
    EXPECT_EQ(file.join(','),
              "Open(&O)...,Save(&S),Save All,Revert to Original...,|,Printer Setting...,"
              "Print Preview,Print this file...,|,Summary...,|,Exit(&X)");
    EXPECT_EQ(frame->Action(ID_FILE_OPEN)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    // "Print this file..." names no key in the menu, yet Ctrl+P prints while it is enabled.
    EXPECT_TRUE(frame->Action(ID_FILE_PRINT)->shortcut().isEmpty());
}

TEST_F(FrameTest, CtrlPReachesThePrintCommandOnlyWhileItIsEnabled) {
    QWidget window;
    CFrameCommands commands(&window);
    int printed = 0;
    commands.Wire(ID_FILE_PRINT, [&] { ++printed; });
    QAction* key = nullptr;
    for (QAction* a : window.actions())
        if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_P))
            key = a;
    ASSERT_NE(key, nullptr);
    commands.Apply(CommandState{});
    key->trigger();
    EXPECT_EQ(printed, 0);
    commands.Apply(CommandState{true, 1, false, true});
    key->trigger();
    EXPECT_EQ(printed, 1);
}

TEST_F(FrameTest, ToolbarHoldsTheButtonsInOrderWithSeparators) {
    auto* toolBar = frame->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    QList<int> ids;
    QList<QAction*> actions = toolBar->actions();
    // After the last specified button: a separator, Undo and Redo.
    ASSERT_GE(actions.size(), 3);
    EXPECT_EQ(actions.takeLast(), frame->Editing().RedoAction());
    EXPECT_EQ(actions.takeLast(), frame->Editing().UndoAction());
    EXPECT_TRUE(actions.takeLast()->isSeparator());
    for (QAction* a : actions)
        ids << (a->isSeparator() ? 0 : a->data().toInt());
    const QList<int> expected = {ID_FILE_OPEN,
                                 ID_FILE_SAVE,
                                 0,
                                 ID_AMPLITUDE_UP,
                                 ID_AMPLITUDE_DOWN,
                                 ID_ZOOM_OUT,
                                 ID_ZOOM_IN,
                                 0,
                                 ID_FIRST_FILE,
                                 ID_PREV_FILE,
                                 ID_AUTO_BACKWARD,
                                 ID_AUTO_STOP,
                                 ID_AUTO_FORWARD,
                                 ID_NEXT_FILE,
                                 ID_LAST_FILE,
                                 0,
                                 ID_ANALYSIS_SM,
                                 0,
                                 ID_ANALYSIS_S,
                                 ID_FITTED_CURVE,
                                 0,
                                 ID_STORED_VALUES,
                                 0,
                                 ID_EDIT_ID};
    EXPECT_EQ(ids, expected);
    for (QAction* a : toolBar->actions()) {
        if (!a->isSeparator()) {
            EXPECT_FALSE(a->icon().isNull()) << a->data().toInt();
        }
    }
    EXPECT_EQ(toolBar->allowedAreas(), Qt::AllToolBarAreas);
}

TEST_F(FrameTest, NothingLoadedEnablesOnlyTheAlwaysCommands) {
    EXPECT_TRUE(Enabled(ID_FILE_OPEN));
    EXPECT_TRUE(Enabled(ID_APP_EXIT));
    for (CommandId id : {ID_FILE_SAVE, ID_NEXT_FILE, ID_AUTO_FORWARD, ID_AUTO_STOP, ID_ZOOM_IN,
                         ID_ANALYSIS_SM, ID_STORED_VALUES, ID_FITTED_CURVE})
        EXPECT_FALSE(Enabled(id)) << id;
}

TEST_F(FrameTest, OneFileEnablesTheFileCommandsButNoNavigation) {
    OpenRecordings(1);
    for (CommandId id : {ID_FILE_SAVE, ID_AMPLITUDE_UP, ID_AMPLITUDE_DOWN, ID_ZOOM_IN, ID_ZOOM_OUT,
                         ID_ANALYSIS_SM, ID_ANALYSIS_S, ID_STORED_VALUES, ID_FITTED_CURVE})
        EXPECT_TRUE(Enabled(id)) << id;
    for (CommandId id : {ID_FIRST_FILE, ID_PREV_FILE, ID_NEXT_FILE, ID_LAST_FILE, ID_AUTO_FORWARD,
                         ID_AUTO_BACKWARD, ID_AUTO_STOP})
        EXPECT_FALSE(Enabled(id)) << id;
    // The arrows do nothing with one file.
    ReleaseKey(frame.get(), Qt::Key_Down);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
}

TEST_F(FrameTest, DialogAndPrintCommandsAreEnabledWithAFileLoaded) {
    OpenRecordings(2);
    for (CommandId id :
         {ID_EDIT_ID, ID_COLOR, ID_FILE_PRINT, ID_FILE_PRINT_PREVIEW, ID_FILE_PRINT_SETUP})
        EXPECT_TRUE(Enabled(id)) << id;
}

TEST_F(FrameTest, SteppingDisablesEverythingThatChangesTheFileOrTheView) {
    OpenRecordings(3);
    EXPECT_TRUE(Enabled(ID_AUTO_FORWARD));
    EXPECT_FALSE(Enabled(ID_AUTO_STOP));
    frame->Action(ID_AUTO_FORWARD)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame->GetAutoStepDirection(), 1);
    EXPECT_TRUE(Enabled(ID_AUTO_STOP));
    for (CommandId id : {ID_AUTO_FORWARD, ID_AUTO_BACKWARD, ID_NEXT_FILE, ID_FIRST_FILE, ID_ZOOM_IN,
                         ID_ANALYSIS_SM})
        EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_TRUE(Enabled(ID_STORED_VALUES));
    EXPECT_TRUE(Enabled(ID_FILE_OPEN));
    frame->Action(ID_AUTO_STOP)->trigger();
    EXPECT_EQ(frame->GetAutoStepDirection(), 0);
    EXPECT_FALSE(frame->StepTimer().isActive());
    EXPECT_TRUE(Enabled(ID_AUTO_FORWARD));
}

TEST_F(FrameTest, StepTimerTakesThePeriodFromTheSettings) {
    OpenRecordings(2);
    frame->StartStepping(1);
    EXPECT_EQ(frame->StepTimer().interval(), 500);
    frame->StopStepping();
    Doc()->GetSettings().SetInterval(1);
    frame->StartStepping(-1);
    EXPECT_EQ(frame->StepTimer().interval(), 100);
    EXPECT_TRUE(frame->StepTimer().isActive());
    frame->StopStepping();
    Doc()->GetSettings().SetInterval(30);
    frame->StartStepping(1);
    EXPECT_EQ(frame->StepTimer().interval(), 3000);
}

TEST_F(FrameTest, SteppingForwardStopsByItselfOnTheLastFile) {
    OpenRecordings(3);
    frame->StartStepping(1);
    frame->OnTimer();
    EXPECT_EQ(Doc()->GetCurrentIndex(), 1);
    EXPECT_EQ(frame->GetFileList()->GetCurrentRow(), 1);
    frame->OnTimer();
    EXPECT_EQ(Doc()->GetCurrentIndex(), 2);
    EXPECT_TRUE(frame->StepTimer().isActive());
    frame->OnTimer(); // finds no next file
    EXPECT_EQ(Doc()->GetCurrentIndex(), 2);
    EXPECT_EQ(frame->GetAutoStepDirection(), 0);
    EXPECT_FALSE(frame->StepTimer().isActive());
    EXPECT_FALSE(Enabled(ID_AUTO_STOP));
}

TEST_F(FrameTest, SteppingBackwardStopsOnTheFirstFile) {
    OpenRecordings(2);
    frame->OnLastFile();
    frame->StartStepping(-1);
    frame->OnTimer();
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    frame->OnTimer();
    EXPECT_EQ(frame->GetAutoStepDirection(), 0);
}

TEST_F(FrameTest, ArrowKeysFromAnyPaneStepAndBypassTheEnableRules) {
    OpenRecordings(3);
    frame->StartStepping(1);
    ReleaseKey(frame->GetFileList(), Qt::Key_Down);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 1);
    ReleaseKey(frame->findChild<CInformationView*>(), Qt::Key_Up);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    EXPECT_EQ(frame->GetAutoStepDirection(), 1); // stepping goes on from there
    ReleaseKey(frame->GetWaveView(), Qt::Key_Down);
    ReleaseKey(frame->GetWholeView(), Qt::Key_Down);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 2);
    EXPECT_EQ(frame->GetFileList()->GetCurrentRow(), 2);
    ReleaseKey(frame.get(), Qt::Key_Down); // the down arrow on the last file stops stepping
    EXPECT_EQ(frame->GetAutoStepDirection(), 0);
}

TEST_F(FrameTest, AHeldKeyStepsOnceWhenLetGo) {
    OpenRecordings(3);
    for (QWidget* target :
         {static_cast<QWidget*>(frame.get()), static_cast<QWidget*>(frame->GetFileList())}) {
        QKeyEvent repeat(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(target, &repeat);
        QApplication::processEvents();
    }
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    ReleaseKey(frame.get(), Qt::Key_Down);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 1);
}

TEST_F(FrameTest, SpaceTogglesTheCurrentFilesMark) {
    OpenRecordings(2);
    ReleaseKey(frame->GetFileList(), Qt::Key_Space);
    EXPECT_TRUE(Doc()->IsSelected(0));
    ReleaseKey(frame.get(), Qt::Key_Space);
    EXPECT_FALSE(Doc()->IsSelected(0));
}

TEST_F(FrameTest, LetterKeysActWhateverTheShiftState) {
    OpenRecordings(1);
    ReleaseKey(frame.get(), Qt::Key_X, Qt::ShiftModifier);
    EXPECT_TRUE(Doc()->IsFittedCurveShown());
    ReleaseKey(frame.get(), Qt::Key_X);
    EXPECT_FALSE(Doc()->IsFittedCurveShown());
    ReleaseKey(frame.get(), Qt::Key_Z);
    EXPECT_TRUE(Doc()->IsAnalysisSource());
    EXPECT_TRUE(Doc()->IsAnalysisValid());
    const int scale = Doc()->GetViewScale();
    ReleaseKey(frame.get(), Qt::Key_2); // amplitude up, posted to the wave view
    QApplication::processEvents();
    EXPECT_EQ(Doc()->GetViewScale(), scale - 1);
    ReleaseKey(frame.get(), Qt::Key_1, Qt::KeypadModifier); // not the main keyboard's 1
    QApplication::processEvents();
    EXPECT_EQ(Doc()->GetViewScale(), scale - 1);
}

TEST_F(FrameTest, HomeEndAndPageKeysMoveInTheListFromAnyPane) {
    ReleaseKey(frame.get(), Qt::Key_End); // an empty list: nothing to move to
    OpenRecordings(40);
    frame->resize(800, 600);
    frame->show();
    QApplication::processEvents();
    const int page = frame->GetFileList()->GetVisibleRowCount();
    ASSERT_GT(page, 1);
    ASSERT_LT(page, 39);

    ReleaseKey(frame->GetFileList(), Qt::Key_End);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 39);
    EXPECT_EQ(frame->GetFileList()->GetCurrentRow(), 39);
    ReleaseKey(frame->GetWaveView(), Qt::Key_Home);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    ReleaseKey(frame->findChild<CInformationView*>(), Qt::Key_PageDown);
    EXPECT_EQ(Doc()->GetCurrentIndex(), page);
    ReleaseKey(frame.get(), Qt::Key_PageUp);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    ReleaseKey(frame.get(), Qt::Key_PageUp); // stays on the first file
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    for (int i = 0; i < 40 / page + 1; ++i)
        ReleaseKey(frame.get(), Qt::Key_PageDown);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 39);
}

TEST_F(FrameTest, VReturnsToTheStoredValuesAndCtrlIIsTheIdKey) {
    OpenRecordings(1);
    ReleaseKey(frame.get(), Qt::Key_Z);
    ASSERT_TRUE(Doc()->IsAnalysisSource());
    ReleaseKey(frame->GetWaveView(), Qt::Key_V);
    EXPECT_FALSE(Doc()->IsAnalysisSource());
    EXPECT_TRUE(frame->Action(ID_STORED_VALUES)->toolTip().endsWith("(V)"));
    EXPECT_EQ(frame->Action(ID_EDIT_ID)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_I));
    EXPECT_TRUE(frame->Action(ID_EDIT_ID)->toolTip().endsWith("(Ctrl+I)"));
    // Held as a window key, it works whichever pane has the focus.
    EXPECT_TRUE(frame->actions().contains(frame->Action(ID_EDIT_ID)));
}

TEST_F(FrameTest, UndoAndRedoToolTipsNameTheirKeys) {
    const QAction* undo = frame->Editing().UndoAction();
    const QAction* redo = frame->Editing().RedoAction();
    EXPECT_TRUE(
        undo->toolTip().endsWith("(" + undo->shortcut().toString(QKeySequence::NativeText) + ")"))
        << undo->toolTip().toStdString();
    EXPECT_TRUE(redo->toolTip().endsWith(
        "(" + redo->shortcuts().constFirst().toString(QKeySequence::NativeText) + ")"));
}

TEST_F(FrameTest, TheKeyboardShortcutsWindowListsEveryKeyOfTheFrame) {
    auto* item = frame->findChild<QAction*>(QStringLiteral("keyboardShortcuts"));
    ASSERT_NE(item, nullptr);
    QStringList keys;
    for (const ShortcutRow& row : KeyboardShortcutRows())
        keys << QString::fromLatin1(row.key);
    for (const char* key :
         {"Space",  "Up",     "Down",   "1",      "2",       "E",         "F",          "X",
          "Z",      "V",      "Home",   "End",    "Page Up", "Page Down", "Ctrl+N",     "Ctrl+O",
          "Ctrl+S", "Ctrl+P", "Ctrl+Z", "Ctrl+I", "Enter",   "Escape",    "Shift+Click"})
        EXPECT_TRUE(keys.contains(QString::fromLatin1(key))) << key;
    item->trigger();
    auto* window = frame->findChild<CKeyboardShortcutsWindow*>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    item->trigger(); // one window, brought forward
    EXPECT_EQ(frame->findChildren<CKeyboardShortcutsWindow*>().size(), 1);
    window->close();
}

TEST_F(FrameTest, AnalysisCommandsSwitchTheDocumentsSource) {
    OpenRecordings(1);
    frame->Action(ID_ANALYSIS_S)->trigger();
    EXPECT_TRUE(Doc()->IsAnalysisSource());
    EXPECT_FALSE(Doc()->IsAnalysisValid());
    frame->Action(ID_ANALYSIS_SM)->trigger();
    EXPECT_TRUE(Doc()->IsAnalysisValid());
    frame->Action(ID_STORED_VALUES)->trigger();
    EXPECT_FALSE(Doc()->IsAnalysisSource());
}

TEST_F(FrameTest, FileListMessagesOpenAndToggleListedFilesOnly) {
    OpenRecordings(3);
    PostUserMessage(frame.get(), WM_SELECT_FILE, 2);
    PostUserMessage(frame.get(), WM_TOGGLE_FILE, 1);
    PostUserMessage(frame.get(), WM_SELECT_FILE, 7); // stale index: ignored
    PostUserMessage(frame.get(), WM_TOGGLE_FILE, -1);
    QApplication::processEvents();
    EXPECT_EQ(Doc()->GetCurrentIndex(), 2);
    EXPECT_EQ(frame->GetFileList()->GetCurrentRow(), 2);
    EXPECT_TRUE(Doc()->IsSelected(1));
    EXPECT_EQ(Doc()->CountSelected(), 1);
}

TEST_F(FrameTest, DroppedFilesAreOpenedAsIfPicked) {
    QMimeData text;
    text.setText("R000.001");
    EXPECT_FALSE(frame->OpenDroppedFiles(&text));
    const std::vector<std::string> paths = test::WriteRecordings(dir, 2);
    QMimeData mime;
    QList<QUrl> urls;
    for (const std::string& path : paths)
        urls << QUrl::fromLocalFile(QString::fromStdString(path));
    urls << QUrl::fromLocalFile(
        QString::fromStdString(dir.Path())); // a folder is not a file: left out
    mime.setUrls(urls);
    EXPECT_TRUE(frame->OpenDroppedFiles(&mime));
    EXPECT_EQ(Doc()->GetFileCount(), 2);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    EXPECT_TRUE(Doc()->IsLoaded());
    EXPECT_EQ(frame->GetFileList()->GetCurrentRow(), 0);
}

TEST_F(FrameTest, WindowTitleFollowsTheDocument) {
    EXPECT_EQ(frame->windowTitle(), "Untitled[*] - Mirado");
    OpenRecordings(1);
    EXPECT_EQ(frame->windowTitle(),
              QString::fromStdString(Doc()->GetCurrentPath()) + "[*] - Mirado");
}

TEST_F(FrameTest, StatusPaneIsClearedAfterAFailedOpenAndWhenTheListEmpties) {
    std::vector<std::string> paths = test::WriteRecordings(dir, 1);
    paths.push_back(dir.File("damaged.001"));
    QFile damaged(QString::fromStdString(paths[1]));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a recording");
    damaged.close();
    frame->resize(900, 600);
    frame->OpenPaths(paths);
    frame->grab(); // the wave view hands its status text over while it paints
    EXPECT_FALSE(frame->StatusText().isEmpty());
    frame->OnNextFile();
    ASSERT_FALSE(Doc()->IsCurrentRecordUsable());
    frame->grab();
    EXPECT_EQ(frame->StatusText(), "");

    frame->OnFirstFile();
    frame->grab();
    EXPECT_FALSE(frame->StatusText().isEmpty());
    Doc()->SelectAll();
    Doc()->RemoveSelectedFiles(); // no trash here: the files stay, the list empties
    Doc()->UpdateAllViews();
    frame->grab();
    EXPECT_EQ(frame->StatusText(), "");
    EXPECT_EQ(frame->windowTitle(), "Untitled[*] - Mirado");
}

TEST_F(FrameTest, StatusTextGoesToTheSecondPane) {
    frame->SetStatusText("24/01/02 10:00:00 note");
    EXPECT_EQ(frame->StatusText(), "24/01/02 10:00:00 note");
}

} // namespace
} // namespace mirado
