// The main window's View menu with its remembered "Scale Labels", and the status-bar
// pane that reads out the values under the pointer.

#include "support/GuiTestSupport.h"

#include "app/FrameViewing.h"
#include "app/MainFrame.h"
#include "document/DisplaySettings.h"
#include "support/ScriptedPlatform.h"
#include "views/WaveView.h"
#include "views/WholeView.h"

#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class FrameViewingTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureQtApp(); }

    void MakeFrame() {
        DocumentServices services;
        services.prompts = &prompts;
        services.profile = &profile;
        doc = std::make_unique<CMiradoDoc>(services);
        frame = std::make_unique<CMainFrame>(doc.get());
        frame->resize(1000, 700);
        frame->show();
        QApplication::processEvents();
    }

    QAction* ScaleLabelsItem() const {
        return frame->menuBar()->findChild<QAction*>(QStringLiteral("scaleLabels"));
    }

    test::TempFolder dir;
    ScriptedUserPrompts prompts;
    MemoryProfile profile;
    std::unique_ptr<CMiradoDoc> doc;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(FrameViewingTest, ScaleLabelsAreOnByDefaultAndRememberedInTheProgramsOwnSection) {
    MakeFrame();
    QAction* item = ScaleLabelsItem();
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Scale Labels");
    EXPECT_TRUE(item->isCheckable());
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(doc->GetMiradoSettings().GetScaleLabels());

    item->trigger();
    EXPECT_FALSE(doc->GetMiradoSettings().GetScaleLabels());
    EXPECT_EQ(profile.GetRaw("Mirado", "scaleLabels"), "0");
    for (const char* key : {"bkColor", "pressColor", "waveColor", "interval", "alert"})
        EXPECT_FALSE(profile.GetRaw(kProfileSection, key).has_value()) << key;

    // A new start reads the choice back.
    frame.reset();
    MakeFrame();
    EXPECT_FALSE(ScaleLabelsItem()->isChecked());
    EXPECT_FALSE(doc->GetMiradoSettings().GetScaleLabels());
}

TEST_F(FrameViewingTest, AValueThatIsNoNumberGivesTheDefault) {
    profile.SetRaw("Mirado", "scaleLabels", "yes");
    MakeFrame();
    EXPECT_TRUE(ScaleLabelsItem()->isChecked());
}

TEST_F(FrameViewingTest, ReadoutPaneStandsLeftOfTheDatePaneAndFollowsThePointer) {
    MakeFrame();
    frame->OpenPaths(test::WriteRecordings(dir, 1));
    QLabel* readout = PointerReadoutPane(*frame);
    ASSERT_NE(readout, nullptr);
    QLabel* datePane = frame->findChild<QLabel*>(QStringLiteral("statusPane"));
    ASSERT_NE(datePane, nullptr);
    EXPECT_LT(readout->geometry().right(), datePane->geometry().left());
    EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());

    CWaveView* wave = frame->GetWaveView();
    const QPointF at(10, 10);
    QMouseEvent move(QEvent::MouseMove, at, wave->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(wave, &move);
    EXPECT_TRUE(readout->text().contains(QStringLiteral("mmHg"))) << readout->text().toStdString();
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(wave, &leave);
    EXPECT_TRUE(readout->text().isEmpty());

    QApplication::sendEvent(frame->GetWholeView(), &move);
    EXPECT_TRUE(readout->text().startsWith(QStringLiteral("0.")));
    EXPECT_FALSE(readout->text().contains(QStringLiteral("mmHg")));
}

TEST_F(FrameViewingTest, TheOverviewNavigatesTheFramesWaveView) {
    MakeFrame();
    frame->OpenPaths(test::WriteRecordings(dir, 1));
    CWaveView* wave = frame->GetWaveView();
    wave->OnWheel(1, true);
    ASSERT_EQ(wave->ZoomIndex(), 1);
    auto* whole = qobject_cast<CWholeView*>(frame->GetWholeView());
    ASSERT_NE(whole, nullptr);
    whole->OnNavigate(whole->width() - 1);
    EXPECT_EQ(wave->ScrollOffset(), 2000);

    // After a click in the band the keys still travel the wave view.
    frame->activateWindow();
    whole->setFocus();
    const QPointF at(whole->width() / 2, 10);
    QMouseEvent press(QEvent::MouseButtonPress, at, whole->mapToGlobal(at), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(whole, &press);
    EXPECT_EQ(wave->ScrollOffset(), 1000);
    EXPECT_EQ(QApplication::focusWidget(), wave);
}

} // namespace
} // namespace mirado
