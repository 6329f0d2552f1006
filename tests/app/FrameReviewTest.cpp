// The review of readings in the main window: the keys on the current reading with the
// scripted reason picker, the decisions' undo and their log events, the modified mark,
// the step option, the status pane and the remembered settings.

#include "support/GuiTestSupport.h"

#include "app/EditHistory.h"
#include "app/FrameEditing.h"
#include "app/FrameReview.h"
#include "app/MainFrame.h"
#include "document/MiradoSettings.h"
#include "review/AcceptanceProfile.h"
#include "review/ReviewLog.h"
#include "reviewui/ReadingsTableModel.h"
#include "reviewui/ReviewCommands.h"
#include "reviewui/ReviewState.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDockWidget>
#include <QLabel>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>

namespace mirado {
namespace {

class FrameReviewTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureQtApp(); }

    void MakeFrame(bool shown = true) {
        profile.SetRaw(kMiradoSection, kKeyReviewReadingsShown, shown ? "1" : "0");
        DocumentServices services;
        services.prompts = &prompts;
        services.profile = &profile;
        doc = std::make_unique<CMiradoDoc>(services);
        frame = std::make_unique<CMainFrame>(doc.get());
        review = CFrameReview::Install(*frame, &profile, dir.Folder(), prompts, &picker);
        frame->resize(1200, 800);
        frame->show();
        frame->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
        paths = test::WriteRecordings(dir, 3);
        frame->OpenPaths(paths);
        if (shown)
            WaitFilled();
    }

    void WaitFilled() {
        CReviewState& state = review->State();
        if (!state.IsFilled()) {
            QSignalSpy filled(&state, &CReviewState::Filled);
            ASSERT_TRUE(filled.wait(10000));
        }
    }

    QAction* Named(const char* name) const { return test::NamedChild<QAction>(*frame, name); }

    // The events the log holds for the file, by action name.
    std::vector<std::string> LoggedActions(int index) const {
        const ReviewLogContents log = ReadReviewLog(ReviewLogPathFor(paths[index]));
        std::vector<std::string> actions;
        for (const ReviewEvent& event : EventsOfFile(log.events, FileNameInFolder(paths[index])))
            actions.push_back(EventText(event, "action") + ":" + EventText(event, "reason"));
        return actions;
    }

    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(frame.get(), key, modifiers);
        QApplication::processEvents();
    }

    test::TempFolder dir;
    ScriptedUserPrompts prompts;
    ScriptedReasonPicker picker;
    MemoryProfile profile;
    std::unique_ptr<CMiradoDoc> doc;
    std::unique_ptr<CMainFrame> frame;
    CFrameReview* review = nullptr;
    std::vector<std::string> paths;
};

struct KeyRow {
    const char* name;
    std::vector<Qt::Key> keys;
    std::vector<const char*> reasons; // scripted answers of the picker; "" cancels
    std::vector<std::string> logged;
    ReadingStatus status;
    bool manual;
};

class FrameReviewKeyTest : public FrameReviewTest, public ::testing::WithParamInterface<KeyRow> {};

TEST_P(FrameReviewKeyTest, KeysDecideOnTheCurrentReading) {
    const KeyRow& row = GetParam();
    for (const char* reason : row.reasons) {
        if (*reason == '\0')
            picker.QueueCancel();
        else
            picker.QueueChoice(reason);
    }
    MakeFrame();
    for (Qt::Key key : row.keys)
        Press(key);
    EXPECT_EQ(LoggedActions(0), row.logged);
    const ReadingReview& reviewed = review->State().Review().readings[0];
    EXPECT_EQ(reviewed.status, row.status);
    EXPECT_EQ(reviewed.manual, row.manual);
    // A decision is no edit of the recording.
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(frame->isWindowModified());
    EXPECT_FALSE(frame->Editing().UndoAction()->isEnabled());
}

INSTANTIATE_TEST_SUITE_P(
    Keys, FrameReviewKeyTest,
    ::testing::Values(
        KeyRow{"accept", {Qt::Key_A}, {}, {"accept:"}, ReadingStatus::Accepted, true},
        KeyRow{"reject",
               {Qt::Key_R},
               {"cuff_leak"},
               {"reject:cuff_leak"},
               ReadingStatus::Rejected,
               true},
        KeyRow{"reject_cancelled", {Qt::Key_R}, {""}, {}, ReadingStatus::Accepted, false},
        KeyRow{"clear_after_reject",
               {Qt::Key_R, Qt::Key_U},
               {"movement"},
               {"reject:movement", "clear:"},
               ReadingStatus::Accepted,
               false},
        KeyRow{"accept_after_reject",
               {Qt::Key_R, Qt::Key_A},
               {"no_pulse"},
               {"reject:no_pulse", "accept:"},
               ReadingStatus::Accepted,
               true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(FrameReviewTest, TheLettersActWithShiftToo) {
    MakeFrame();
    Press(Qt::Key_A, Qt::ShiftModifier);
    Press(Qt::Key_U, Qt::ShiftModifier);
    EXPECT_EQ(LoggedActions(0), (std::vector<std::string>{"accept:", "clear:"}));
}

TEST_F(FrameReviewTest, TheLastReasonIsChosenFirst) {
    picker.QueueChoice("irregular_rhythm");
    picker.QueueChoice("movement");
    MakeFrame();
    Press(Qt::Key_R);
    Press(Qt::Key_R);
    EXPECT_EQ(picker.Preselected(), (std::vector<std::string>{"", "irregular_rhythm"}));
}

TEST_F(FrameReviewTest, UndoAndRedoOfADecisionAppendTheirEvents) {
    picker.QueueChoice("movement");
    MakeFrame();
    Press(Qt::Key_R);
    Press(Qt::Key_A);
    QAction* undo = Named("undoDecision");
    QAction* redo = Named("redoDecision");
    ASSERT_TRUE(undo->isEnabled());
    undo->trigger();
    // The decision before the accept comes back, as a new event.
    EXPECT_EQ(LoggedActions(0),
              (std::vector<std::string>{"reject:movement", "accept:", "reject:movement"}));
    EXPECT_EQ(review->State().Review().readings[0].status, ReadingStatus::Rejected);
    undo->trigger();
    EXPECT_EQ(LoggedActions(0).back(), "clear:");
    EXPECT_FALSE(review->State().Review().readings[0].manual);
    redo->trigger();
    redo->trigger();
    EXPECT_EQ(LoggedActions(0).back(), "accept:");
    EXPECT_EQ(LoggedActions(0).size(), 6u);
    EXPECT_FALSE(doc->IsModified());
    EXPECT_FALSE(frame->isWindowModified());
    // The recordings' own undo history has no step of it.
    EXPECT_EQ(frame->Editing().History().Stack().count(), 0);
}

TEST_F(FrameReviewTest, TheStepOptionMovesOnAndIsRemembered) {
    MakeFrame();
    auto* position = test::NamedChild<QLabel>(*frame, "reviewPosition");
    EXPECT_EQ(position->text(), "1 of 3");
    Named("stepAfterDecision")->trigger();
    EXPECT_EQ(profile.GetRaw(kMiradoSection, kKeyReviewStepAfterDecision), "1");
    Press(Qt::Key_A);
    EXPECT_EQ(doc->GetCurrentIndex(), 1);
    EXPECT_EQ(position->text(), "2 of 3");
    // Undo takes back the decision on the first reading, wherever the window is.
    Named("undoDecision")->trigger();
    EXPECT_EQ(LoggedActions(0).back(), "clear:");
    EXPECT_EQ(doc->GetCurrentIndex(), 1);
}

TEST_F(FrameReviewTest, WithTheReviewHiddenTheKeysWriteNothing) {
    MakeFrame(false);
    Press(Qt::Key_A);
    EXPECT_FALSE(std::filesystem::exists(ReviewLogPathFor(paths[0])));
    EXPECT_FALSE(test::NamedChild<QLabel>(*frame, "reviewPosition")->isVisible());
    EXPECT_TRUE(review->State().Paths().empty()); // nothing read either
}

TEST_F(FrameReviewTest, TheProfileAndTheDocksAreRemembered) {
    MakeFrame();
    auto* box = test::NamedChild<QComboBox>(*frame, "reviewProfile");
    ASSERT_EQ(box->count(), static_cast<int>(BuiltInProfiles().size()));
    box->setCurrentIndex(1);
    emit box->activated(1);
    EXPECT_EQ(profile.GetRaw(kMiradoSection, kKeyReviewProfile), BuiltInProfiles()[1].id);
    EXPECT_EQ(review->State().Profile().name, BuiltInProfiles()[1].name);
    Named("showSession")->trigger();
    EXPECT_EQ(profile.GetRaw(kMiradoSection, kKeyReviewSessionShown), "1");

    // A new window chooses the remembered profile.
    review = nullptr;
    frame.reset();
    MakeFrame();
    EXPECT_EQ(test::NamedChild<QComboBox>(*frame, "reviewProfile")->currentIndex(), 1);
    EXPECT_EQ(review->State().Profile().name, BuiltInProfiles()[1].name);
    EXPECT_FALSE(test::NamedChild<QDockWidget>(*frame, "sessionDock")->isHidden());
}

TEST_F(FrameReviewTest, TheUsersOwnProfilesAreOfferedAfterThePresets) {
    AcceptanceProfile own;
    own.name = "Lab rule";
    own.sbpMin = 60;
    ASSERT_TRUE(SaveUserProfile(dir.Path(), own).ok());
    test::WriteText(dir.File("broken.json"), "{\"sbp_minimum\": 1}");
    profile.SetRaw(kMiradoSection, kKeyReviewProfile, "Lab rule");
    MakeFrame();
    auto* box = test::NamedChild<QComboBox>(*frame, "reviewProfile");
    ASSERT_EQ(box->count(), static_cast<int>(BuiltInProfiles().size()) + 1);
    EXPECT_EQ(box->currentText(), "Lab rule");
    EXPECT_EQ(review->State().Profile().sbpMin, 60.0);
    EXPECT_TRUE(frame->statusBar()->currentMessage().contains("broken.json"));
}

TEST_F(FrameReviewTest, HistoryShowsTheFilesEvents) {
    picker.QueueChoice("cuff_leak");
    MakeFrame();
    Press(Qt::Key_R);
    Named("showHistory")->trigger();
    auto* dialog = test::NamedChild<QDialog>(*frame, "reviewHistory");
    ASSERT_NE(dialog, nullptr);
    auto* table = test::NamedChild<QTableWidget>(*dialog, "historyTable");
    ASSERT_EQ(table->rowCount(), 1);
    EXPECT_EQ(table->item(0, 2)->text(), "reject");
    EXPECT_EQ(table->item(0, 3)->text(), "Cuff leak");
    EXPECT_TRUE(test::NamedChild<QLabel>(*dialog, "historyPresent")->text().contains("by hand"));
    dialog->close();
}

TEST_F(FrameReviewTest, UndoAfterTheListChangedFindsItsRecording) {
    MakeFrame();
    Press(Qt::Key_A);
    frame->OpenPaths({paths[1], paths[2]});
    WaitFilled();
    Named("undoDecision")->trigger();
    EXPECT_EQ(LoggedActions(0), (std::vector<std::string>{"accept:", "clear:"}));
    EXPECT_TRUE(LoggedActions(1).empty());
    EXPECT_FALSE(review->State().Review().readings[0].manual);
}

TEST_F(FrameReviewTest, AClickOnARowOpensItsFile) {
    MakeFrame();
    auto* table = test::NamedChild<QTableView>(*frame, "readingsTable");
    emit table->clicked(table->model()->index(2, 0));
    QApplication::processEvents();
    EXPECT_EQ(doc->GetCurrentIndex(), 2);
    EXPECT_EQ(test::NamedChild<QLabel>(*frame, "reviewPosition")->text(), "3 of 3");
}

TEST_F(FrameReviewTest, TheTableTellsUnsavedCorrections) {
    MakeFrame();
    auto* table = test::NamedChild<QTableView>(*frame, "readingsTable");
    const QModelIndex corrections = table->model()->index(0, CReadingsTableModel::kCorrections);
    EXPECT_EQ(corrections.data().toString(), "");
    IdTexts texts = doc->GetIdTexts();
    texts.comment = "moved";
    ASSERT_TRUE(frame->Editing().History().SetIdTexts(texts));
    QApplication::processEvents();
    EXPECT_EQ(corrections.data().toString(), "Unsaved");
}

} // namespace
} // namespace mirado
