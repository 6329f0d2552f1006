#include "app/CommandIds.h"
#include "app/FrameEditing.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "dialogs/IdDialog.h"
#include "dialogs/ParametersDialog.h"
#include "document/MiradoDoc.h"
#include "records/synth/SampleSet.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"
#include "views/FilenameView.h"

#include "support/NamedChild.h"
#include "support/TestApplication.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>

namespace mirado {
namespace {

namespace fs = std::filesystem;

// The running program: the dialogs and file commands reach the frame's commands and the
// file list's pop-up. Nothing here is marked, so no file ever moves to a trash.
class FrameWiringTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        fs::create_directories(root / "data");
        const Result<void> written = WriteBundledSamples((root / "data").string());
        ASSERT_TRUE(written.ok()) << written.error();
        documents = std::make_unique<FixedDocumentsFolder>((root / "documents/").string());
        AppServices services;
        services.documentsFolder = documents.get();
        services.prompts = &prompts;
        app = std::make_unique<CMiradoApp>(services);
        std::vector<std::string> files;
        for (size_t i = 0; i < 3; ++i)
            files.push_back((root / "data" / BundledSamples()[i].name).string());
        ASSERT_TRUE(app->InitInstance(files));
        prompts.Clear();
    }
    void TearDown() override { app.reset(); }

    test::TempFolder folder;
    fs::path root{folder.Path()};
    ScriptedUserPrompts prompts;
    std::unique_ptr<FixedDocumentsFolder> documents;
    std::unique_ptr<CMiradoApp> app;
};

TEST_F(FrameWiringTest, FileListMenuRunsTheFileCommands) {
    CFilenameView* list = app->GetMainFrame()->GetFileList();
    ASSERT_TRUE(list->SaveToTextAction()->isEnabled());
    ASSERT_TRUE(list->SendToRecycleBinAction()->isEnabled());
    list->SaveToTextAction()->trigger();
    list->SendToRecycleBinAction()->trigger();
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Output to Textfile");
    EXPECT_EQ(prompts.Shown()[1].caption, "Delete File");
    EXPECT_EQ(app->GetDocument()->GetFileCount(), 3);
}

TEST_F(FrameWiringTest, IdAndColorCommandsOpenTheirDialogs) {
    CMainFrame* frame = app->GetMainFrame();
    QAction* id = frame->Action(ID_EDIT_ID);
    QAction* color = frame->Action(ID_COLOR);
    ASSERT_TRUE(id->isEnabled());
    ASSERT_TRUE(color->isEnabled());

    QString shown;
    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<CIdDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->windowTitle();
        test::NamedChild<QPushButton>(*dialog, "ok")->click();
    });
    id->trigger();
    EXPECT_EQ(shown, "ID");
    EXPECT_FALSE(app->GetDocument()->IsModified()); // an OK that changed nothing is no edit

    // A changed text is one step of the history, made by the step.
    const std::string comment = app->GetDocument()->GetComment();
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CIdDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->Edit(CIdDialog::Comment)->setText(QStringLiteral("rechecked"));
        test::NamedChild<QPushButton>(*dialog, "ok")->click();
    });
    id->trigger();
    EXPECT_EQ(app->GetDocument()->GetComment(), "rechecked");
    EXPECT_TRUE(app->GetDocument()->IsModified());
    frame->Editing().UndoAction()->trigger();
    EXPECT_EQ(app->GetDocument()->GetComment(), comment);
    EXPECT_FALSE(app->GetDocument()->IsModified());

    QTimer::singleShot(0, [&shown] {
        auto* dialog = qobject_cast<CParametersDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        shown = dialog->windowTitle();
        test::NamedChild<QRadioButton>(*dialog, "backgroundBlack")->click();
        test::NamedChild<QPushButton>(*dialog, "ok")->click();
    });
    color->trigger();
    EXPECT_EQ(shown, "Parameters");
    EXPECT_EQ(app->GetDocument()->GetSettings().GetBkColor(), 1);
}

} // namespace
} // namespace mirado
