// Every toolbar command in the View menu with the key written beside it, the tool tips
// of the toolbar, and the checked state of the fitted curve and the value sources.

#include "support/GuiTestSupport.h"

#include "app/MainFrame.h"
#include "views/WaveView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class CommandFindingTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        frame = std::make_unique<CMainFrame>(scripted.doc.get());
    }

    CMiradoDoc& Doc() { return *scripted.doc; }

    QMenu* ViewMenu() { return frame->menuBar()->findChild<QMenu*>(QStringLiteral("viewMenu")); }

    QToolButton* Button(CommandId id) {
        auto* toolBar = frame->findChild<QToolBar*>();
        return qobject_cast<QToolButton*>(toolBar->widgetForAction(frame->Action(id)));
    }

    void ReleaseKey(int key) {
        QKeyEvent event(QEvent::KeyRelease, key, Qt::NoModifier);
        QApplication::sendEvent(frame.get(), &event);
        QApplication::processEvents();
    }

    // Which of the three value sources is checked, by the menu items and the buttons.
    void ExpectSourceChecked(CommandId checked) {
        for (CommandId id : {ID_STORED_VALUES, ID_ANALYSIS_S, ID_ANALYSIS_SM}) {
            EXPECT_EQ(frame->Action(id)->isChecked(), id == checked) << id;
            EXPECT_EQ(Button(id)->isChecked(), id == checked) << id;
        }
    }

    test::TempFolder dir;
    test::ScriptedDocument scripted;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(CommandFindingTest, ViewMenuHoldsTheToolbarCommandsWithTheirKeysWritten) {
    QMenu* menu = ViewMenu();
    ASSERT_NE(menu, nullptr);
    QStringList items;
    for (QAction* a : menu->actions())
        items << (a->isSeparator() ? QStringLiteral("|") : a->text());
    EXPECT_EQ(items.join(','), "Scale Labels,|,Zoom In\tE,Zoom Out\tF,|,Amplitude Up\t2,"
                               "Amplitude Down\t1,|,Fitted Curve\tX,|,Stored Values\tV,Analysis S,"
                               "Analysis S-M\tZ,|,Step Forward Automatically,"
                               "Step Backward Automatically,Stop Stepping,|,Language");
    // The items are the toolbar's actions; no key is registered, since the frame acts
    // on the key's release and a shortcut would act a second time.
    for (QAction* a : menu->actions()) {
        EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
        if (!a->isSeparator() && a->data().isValid()) {
            EXPECT_EQ(a, frame->Action(static_cast<CommandId>(a->data().toInt())));
        }
    }
    // The specified menus keep their texts.
    EXPECT_EQ(frame->Action(ID_PREV_FILE)->text(), "Prev. File");
    EXPECT_EQ(frame->Action(ID_FILE_OPEN)->text(), "Open(&O)...");
}

TEST_F(CommandFindingTest, AKeyActsOnceThoughItsMenuItemNamesIt) {
    frame->OpenPaths(test::WriteRecordings(dir, 1));
    const int zoom = frame->GetWaveView()->ZoomIndex();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
    QApplication::sendEvent(frame.get(), &press);
    ReleaseKey(Qt::Key_E);
    QApplication::processEvents();
    EXPECT_EQ(frame->GetWaveView()->ZoomIndex(), zoom + 1);
    frame->Action(ID_ZOOM_IN)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(frame->GetWaveView()->ZoomIndex(), zoom + 2);
}

TEST_F(CommandFindingTest, EveryToolbarButtonHasATipWithItsNameAndKey) {
    auto* toolBar = frame->findChild<QToolBar*>();
    ASSERT_NE(toolBar, nullptr);
    for (QAction* a : toolBar->actions()) {
        if (a->isSeparator())
            continue;
        const QWidget* button = toolBar->widgetForAction(a);
        ASSERT_NE(button, nullptr);
        EXPECT_FALSE(button->toolTip().isEmpty()) << a->data().toInt();
        EXPECT_FALSE(button->toolTip().contains(QLatin1Char('\t'))) << a->data().toInt();
    }
    EXPECT_EQ(Button(ID_ZOOM_IN)->toolTip(), "Zoom In (E)");
    EXPECT_EQ(Button(ID_AMPLITUDE_DOWN)->toolTip(), "Amplitude Down (1)");
    EXPECT_EQ(Button(ID_ANALYSIS_SM)->toolTip(), "Analysis S-M (Z)");
    EXPECT_EQ(Button(ID_ANALYSIS_S)->toolTip(), "Analysis S");
    EXPECT_EQ(Button(ID_FILE_OPEN)->toolTip(), "Open (Ctrl+O)");
    EXPECT_EQ(Button(ID_NEXT_FILE)->toolTip(), "Next File (Down)");
}

TEST_F(CommandFindingTest, CheckedStateFollowsTheDocumentWhateverChangedIt) {
    frame->OpenPaths(test::WriteRecordings(dir, 1));
    QApplication::processEvents();
    for (CommandId id : {ID_FITTED_CURVE, ID_STORED_VALUES, ID_ANALYSIS_S, ID_ANALYSIS_SM})
        EXPECT_TRUE(Button(id)->isCheckable()) << id;
    EXPECT_FALSE(Button(ID_ZOOM_IN)->isCheckable());
    ExpectSourceChecked(ID_STORED_VALUES);
    EXPECT_FALSE(Button(ID_FITTED_CURVE)->isChecked());

    Button(ID_FITTED_CURVE)->click();
    QApplication::processEvents();
    EXPECT_TRUE(Doc().IsFittedCurveShown());
    EXPECT_TRUE(Button(ID_FITTED_CURVE)->isChecked());
    ReleaseKey(Qt::Key_X);
    EXPECT_FALSE(Doc().IsFittedCurveShown());
    EXPECT_FALSE(Button(ID_FITTED_CURVE)->isChecked());
    EXPECT_FALSE(frame->Action(ID_FITTED_CURVE)->isChecked());

    ReleaseKey(Qt::Key_Z);
    ExpectSourceChecked(ID_ANALYSIS_SM);
    Button(ID_ANALYSIS_S)->click();
    QApplication::processEvents();
    EXPECT_FALSE(Doc().IsAnalysisValid());
    ExpectSourceChecked(ID_ANALYSIS_S);
    // A second click on the checked source keeps it checked.
    Button(ID_ANALYSIS_S)->click();
    QApplication::processEvents();
    ExpectSourceChecked(ID_ANALYSIS_S);
    frame->Action(ID_STORED_VALUES)->trigger();
    QApplication::processEvents();
    EXPECT_FALSE(Doc().IsAnalysisSource());
    ExpectSourceChecked(ID_STORED_VALUES);
}

} // namespace
} // namespace mirado
