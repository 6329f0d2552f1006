#include "support/GuiTestSupport.h"

#include "CliRun.h"
#include "app/EditHistory.h"
#include "app/FrameEditing.h"
#include "app/MainFrame.h"
#include "views/FilenameView.h"
#include "views/WaveView.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QUndoStack>

#include <gtest/gtest.h>

namespace mirado {
namespace {

QByteArray Bytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class EditHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        frame = std::make_unique<CMainFrame>(Doc());
        frame->resize(900, 600);
        frame->show();
        QApplication::processEvents();
    }
    CMiradoDoc* Doc() { return scripted.doc.get(); }
    CWaveView* Wave() { return frame->GetWaveView(); }
    CEditHistory& History() { return frame->Editing().History(); }
    QUndoStack& Stack() { return History().Stack(); }

    // Copies a generated sample of each variant into the test folder.
    std::string CopySample(const char* name) {
        const QString path = QString::fromStdString(dir.File(name));
        QFile::copy(QStringLiteral(MIRADO_SOURCE_DIR "/samples/") + QString::fromLatin1(name),
                    path);
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        return path.toStdString();
    }
    int MarkerS() {
        int s = 0, m = 0, d = 0;
        Doc()->GetMarkers(s, m, d);
        return s;
    }
    int XOfSample(int sample) { return sample * Wave()->WaveClientRect().Width() / kSampleCount; }
    // Picks marker S up and drops it at client x; returns the sample it was dropped at.
    int DropMarkerSAt(int x) {
        Wave()->OnLButtonDown(XOfSample(MarkerS()));
        Wave()->OnLButtonDown(x);
        return Wave()->SampleAtX(x);
    }
    // The bytes a save writes now; the file is put back afterwards. Putting it back
    // changes it behind the document's back, so the next save is told to overwrite.
    QByteArray SavedBytes(const std::string& path) {
        const QByteArray before = Bytes(path);
        if (!Doc()->IsCurrentFileUnchanged())
            scripted.prompts.QueueAnswer(MessageAnswer::Overwrite);
        frame->Action(ID_FILE_SAVE)->trigger();
        const QByteArray saved = Bytes(path);
        QFile file(QString::fromStdString(path));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(before);
        return saved;
    }
    bool ShowsModified() {
        return frame->isWindowModified() &&
               frame->Editing().ModifiedPane()->text() == QStringLiteral("Modified");
    }

    test::TempFolder dir;
    test::ScriptedDocument scripted;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(EditHistoryTest, UndoAndRedoStepThroughMarkerMovesAndIdEditsInEveryModeAndVariant) {
    for (const char* sample : {"DG0511.001", "RB0502.001"}) {
        const std::string path = CopySample(sample);
        frame->OpenPaths({path});
        for (bool analysis : {false, true}) {
            if (analysis)
                frame->Action(ID_ANALYSIS_SM)->trigger();
            const QByteArray untouched = SavedBytes(path);
            EXPECT_FALSE(ShowsModified());
            EXPECT_FALSE(frame->Editing().UndoAction()->isEnabled());

            DropMarkerSAt(XOfSample(MarkerS()) + 40);
            EXPECT_EQ(frame->Editing().UndoAction()->text(), "&Undo Move Systolic Marker");
            EXPECT_TRUE(ShowsModified());
            IdTexts texts = Doc()->GetIdTexts();
            texts.comment = "checked";
            ASSERT_TRUE(History().SetIdTexts(texts));
            EXPECT_EQ(frame->Editing().UndoAction()->text(), "&Undo Edit Identification");
            const QByteArray edited = SavedBytes(path);
            // A save marks the clean state.
            EXPECT_FALSE(ShowsModified());
            EXPECT_TRUE(Stack().isClean());

            frame->Editing().UndoAction()->trigger();
            EXPECT_TRUE(ShowsModified());
            EXPECT_EQ(frame->Editing().RedoAction()->text(), "&Redo Edit Identification");
            frame->Editing().UndoAction()->trigger();
            EXPECT_EQ(SavedBytes(path), untouched) << sample << analysis;
            frame->Editing().RedoAction()->trigger();
            frame->Editing().RedoAction()->trigger();
            EXPECT_EQ(SavedBytes(path), edited) << sample << analysis;
            EXPECT_FALSE(ShowsModified());
            Stack().setIndex(0);
        }
        // Opening another file, its unsaved edits dropped, clears the history.
        scripted.prompts.QueueAnswer(MessageAnswer::No);
        frame->OpenPaths(
            {CopySample(sample == std::string("DG0511.001") ? "MS0412.001" : "MS0412.002")});
        EXPECT_EQ(Stack().count(), 0);
        EXPECT_FALSE(ShowsModified());
    }
}

TEST_F(EditHistoryTest, UndoingAStepOfAnotherModeSwitchesBackFirst) {
    frame->OpenPaths({CopySample("DG0511.001")});
    const int stored = MarkerS();
    DropMarkerSAt(XOfSample(stored) + 30);
    frame->Action(ID_ANALYSIS_S)->trigger();
    frame->Editing().UndoAction()->trigger();
    EXPECT_FALSE(Doc()->IsAnalysisSource());
    EXPECT_EQ(MarkerS(), stored);
    EXPECT_FALSE(ShowsModified());
}

TEST_F(EditHistoryTest, AnIdOkThatStoresNoOtherByteAddsNoStep) {
    frame->OpenPaths({CopySample("DG0511.001")});
    IdTexts texts = Doc()->GetIdTexts();
    EXPECT_FALSE(History().SetIdTexts(texts));
    texts.comment = " " + texts.comment + " "; // stored trimmed: the same bytes
    EXPECT_FALSE(History().SetIdTexts(texts));
    EXPECT_EQ(Stack().count(), 0);
    EXPECT_FALSE(ShowsModified());

    // An OK that leaves the texts as shown keeps the steps to redo.
    DropMarkerSAt(XOfSample(MarkerS()) + 30);
    Stack().undo();
    EXPECT_FALSE(History().SetIdTexts(Doc()->GetIdTexts()));
    EXPECT_TRUE(Stack().canRedo());
}

// The step's first redo is the edit: pushing it changes the record.
TEST_F(EditHistoryTest, PushingAStepMakesTheEditThroughTheDocument) {
    frame->OpenPaths({CopySample("DG0511.001")});
    const int stored = MarkerS();
    EXPECT_EQ(History().MoveMarker({MovableMarker::S, stored + 300}).sample, stored);
    EXPECT_EQ(MarkerS(), stored + 300);
    EXPECT_EQ(Stack().count(), 1);
    EXPECT_EQ(Stack().undoText(), "Move Systolic Marker");
    EXPECT_TRUE(ShowsModified());

    IdTexts texts = Doc()->GetIdTexts();
    const std::string animal = texts.animalNo;
    texts.animalNo = "P-7";
    EXPECT_TRUE(History().SetIdTexts(texts));
    EXPECT_EQ(Doc()->GetAnimalNo(), "P-7");
    EXPECT_EQ(Stack().count(), 2);
    Stack().undo();
    EXPECT_EQ(Doc()->GetAnimalNo(), animal);
}

TEST_F(EditHistoryTest, TheModifiedMarkFollowsTheCleanStateBackToTheSavePoint) {
    const std::string path = CopySample("DG0511.001");
    frame->OpenPaths({path});
    const int stored = MarkerS();
    DropMarkerSAt(XOfSample(stored) + 30);
    frame->Action(ID_FILE_SAVE)->trigger();
    EXPECT_FALSE(ShowsModified());
    DropMarkerSAt(XOfSample(MarkerS()) + 30);
    DropMarkerSAt(XOfSample(MarkerS()) + 30);
    // Each row: undo or redo, then whether the window and the document show edits.
    const struct {
        bool undo;
        bool modified;
    } steps[] = {{true, true}, {true, false}, {true, true}, {false, false}, {false, true}};
    for (const auto& step : steps) {
        step.undo ? Stack().undo() : Stack().redo();
        EXPECT_EQ(ShowsModified(), step.modified) << Stack().index();
        EXPECT_EQ(Doc()->IsModified(), step.modified);
        EXPECT_EQ(Doc()->HasUnsavedEditsAt(0), step.modified);
        EXPECT_EQ(frame->Editing().SaveAllAction()->isEnabled(), step.modified);
    }
    // Back at the save point nothing is asked on leaving.
    Stack().undo();
    frame->Action(ID_FILE_NEW)->trigger();
    EXPECT_TRUE(scripted.prompts.Shown().empty());
}

// After Save As the file goes by its new name; edits made since and kept while another
// file is shown still mark it when it is shown again.
TEST_F(EditHistoryTest, EditsAfterSaveAsKeepTheirMarkAcrossAVisit) {
    const std::string path = CopySample("DG0511.001");
    frame->OpenPaths({path, CopySample("DG0511.002")});
    DropMarkerSAt(XOfSample(MarkerS()) + 30);
    ASSERT_TRUE(Doc()->SaveCurrentFileAs(dir.File("renamed.001")));
    EXPECT_FALSE(ShowsModified());
    const int dropped = DropMarkerSAt(XOfSample(MarkerS()) + 30);
    frame->OnNextFile();
    EXPECT_TRUE(Doc()->HasUnsavedEditsAt(0));
    frame->OnPrevFile();
    EXPECT_EQ(MarkerS(), dropped);
    EXPECT_TRUE(ShowsModified());
    EXPECT_TRUE(Doc()->IsModified());
    scripted.prompts.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_EQ(scripted.prompts.Shown().size(), 1u);
}

TEST_F(EditHistoryTest, CtrlZIsUndoAndNotTheAnalysisKey) {
    frame->OpenPaths({CopySample("DG0511.001")});
    DropMarkerSAt(XOfSample(MarkerS()) + 30);
    EXPECT_EQ(frame->Editing().UndoAction()->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    EXPECT_EQ(frame->Editing().RedoAction()->shortcuts(),
              (QList<QKeySequence>{QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
                                   QKeySequence(Qt::CTRL | Qt::Key_Y)}));
    QKeyEvent ctrlZ(QEvent::KeyRelease, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(frame.get(), &ctrlZ);
    EXPECT_FALSE(Doc()->IsAnalysisSource());
    // Ctrl let go before Z: the release carries no modifier but ends the shortcut.
    QKeyEvent ctrlZPress(QEvent::ShortcutOverride, Qt::Key_Z, Qt::ControlModifier);
    QApplication::sendEvent(frame.get(), &ctrlZPress);
    QKeyEvent plainRelease(QEvent::KeyRelease, Qt::Key_Z, Qt::NoModifier);
    QApplication::sendEvent(frame.get(), &plainRelease);
    EXPECT_FALSE(Doc()->IsAnalysisSource());
    QKeyEvent shiftZ(QEvent::KeyRelease, Qt::Key_Z, Qt::ShiftModifier);
    QApplication::sendEvent(frame.get(), &shiftZ);
    EXPECT_TRUE(Doc()->IsAnalysisSource());
}

TEST_F(EditHistoryTest, PrintingTheSelectedFilesAsksToSaveFirstAndCancelStopsIt) {
    frame->OpenPaths({CopySample("DG0511.001"), CopySample("DG0511.002")});
    Doc()->SelectAll();
    EXPECT_TRUE(Doc()->SaveBeforeVisitingOtherFiles()); // nothing edited: no question
    EXPECT_TRUE(scripted.prompts.Shown().empty());
    DropMarkerSAt(XOfSample(MarkerS()) + 30);
    scripted.prompts.QueueAnswer(MessageAnswer::Cancel);
    frame->GetFileList()->PrintSelectedAction()->trigger();
    ASSERT_FALSE(scripted.prompts.Shown().empty());
    EXPECT_EQ(scripted.prompts.Shown().back().buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(Doc()->GetCurrentIndex(), 0);
    EXPECT_TRUE(ShowsModified());
}

TEST_F(EditHistoryTest, SteppingAwayAndBackKeepsTheCorrectionAndItsUndo) {
    frame->OpenPaths({CopySample("DG0511.001"), CopySample("DG0511.002")});
    const int stored = MarkerS();
    const int dropped = DropMarkerSAt(XOfSample(stored) + 40);
    frame->OnNextFile();
    EXPECT_EQ(Doc()->GetCurrentIndex(), 1);
    EXPECT_FALSE(ShowsModified());
    EXPECT_EQ(Stack().count(), 0);
    EXPECT_TRUE(Doc()->HasUnsavedEditsAt(0));
    EXPECT_TRUE(frame->Editing().SaveAllAction()->isEnabled());
    EXPECT_TRUE(scripted.prompts.Shown().empty());

    frame->OnPrevFile();
    EXPECT_EQ(MarkerS(), dropped);
    EXPECT_TRUE(ShowsModified());
    EXPECT_EQ(frame->Editing().UndoAction()->text(), "&Undo Move Systolic Marker");
    frame->Editing().UndoAction()->trigger();
    EXPECT_EQ(MarkerS(), stored);
    EXPECT_FALSE(ShowsModified());
    EXPECT_FALSE(Doc()->HasUnsavedEdits());
    EXPECT_FALSE(frame->Editing().SaveAllAction()->isEnabled());
}

TEST_F(EditHistoryTest, ExitAsksOnceListingTheUnsavedFilesAndSaveAllWritesThem) {
    const std::vector<std::string> paths = {CopySample("DG0511.001"), CopySample("DG0511.002"),
                                            CopySample("RB0502.001")};
    frame->OpenPaths(paths);
    DropMarkerSAt(XOfSample(MarkerS()) + 40);
    frame->OnLastFile();
    DropMarkerSAt(XOfSample(MarkerS()) + 40);
    frame->OnFirstFile();
    frame->OnNextFile();

    scripted.prompts.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(frame->close());
    EXPECT_TRUE(frame->isVisible());
    ASSERT_EQ(scripted.prompts.Shown().size(), 1u);
    EXPECT_EQ(scripted.prompts.Shown()[0].text,
              std::string(kSaveFilesQuestion) + "\n" + paths[0] + "\n" + paths[2]);

    const QByteArray before = Bytes(paths[0]);
    EXPECT_EQ(frame->Editing().SaveAllAction()->shortcut(),
              QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
    frame->Editing().SaveAllAction()->trigger();
    EXPECT_NE(Bytes(paths[0]), before);
    EXPECT_FALSE(Doc()->HasUnsavedEdits());
    EXPECT_EQ(Doc()->GetCurrentIndex(), 1);
    EXPECT_TRUE(frame->close());
    EXPECT_EQ(scripted.prompts.Shown().size(), 1u);
}

TEST_F(EditHistoryTest, NewLeavesNothingToSave) {
    const std::string path = CopySample("DG0511.001");
    frame->OpenPaths({path});
    DropMarkerSAt(XOfSample(MarkerS()) + 40);
    scripted.prompts.QueueAnswer(MessageAnswer::No);
    frame->Action(ID_FILE_NEW)->trigger();
    QApplication::processEvents();
    EXPECT_EQ(scripted.prompts.Shown().size(), 1u);
    EXPECT_FALSE(Doc()->IsLoaded());
    EXPECT_EQ(Doc()->GetFileCount(), 0);
    EXPECT_FALSE(frame->Action(ID_FILE_SAVE)->isEnabled());
    EXPECT_FALSE(ShowsModified());
    const QByteArray before = Bytes(path);
    frame->Action(ID_FILE_SAVE)->trigger();
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(frame->windowTitle().startsWith(QStringLiteral("Untitled")));
}

TEST_F(EditHistoryTest, TheBatchToolWritesTheViewersBytesForTheSameEdits) {
    const std::string viewer = CopySample("RB0502.001");
    const std::string batch = dir.File("batch.001");
    QFile::copy(QString::fromStdString(viewer), QString::fromStdString(batch));
    frame->OpenPaths({viewer});
    frame->Action(ID_ANALYSIS_SM)->trigger();
    const int sample = DropMarkerSAt(XOfSample(MarkerS()) + 25);
    IdTexts texts = Doc()->GetIdTexts();
    texts.animalNo = "R-12";
    History().SetIdTexts(texts);
    frame->Action(ID_FILE_SAVE)->trigger();

    const test::CliRun run = test::Cli({"edit", "--analysis", "sm", "--marker-s",
                                        std::to_string(sample), "--animal-no", "R-12", batch});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_EQ(Bytes(batch), Bytes(viewer));
}

} // namespace
} // namespace mirado
