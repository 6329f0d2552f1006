#include "AppFixture.h"

#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "app/SaveAsCommand.h"
#include "document/MiradoDoc.h"
#include "support/ScriptedPlatform.h"

#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class SaveAsTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        services.saveDialog = &saveDialog;
    }

    test::TempFolder data;
    ScriptedSaveFileDialog saveDialog;
};

// The item follows Save (and its Recent Files) in the File menu, writes the corrected file under
// the chosen name and leaves the file it was read from as it was.
TEST_F(SaveAsTest, FileMenuItemWritesTheCorrectionsUnderTheChosenName) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 1);
    const std::string original = test::ReadText(paths[0]);
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance(paths));
    CMainFrame& frame = *app.GetMainFrame();
    QMenu* file = frame.menuBar()->actions()[0]->menu();
    const QList<QAction*> items = file->actions();
    const qsizetype save = items.indexOf(frame.Action(ID_FILE_SAVE));
    ASSERT_GE(save, 0);
    ASSERT_LT(save + 2, items.size());
    EXPECT_EQ(items[save + 1]->text(), QStringLiteral("Recent Files"));
    QAction* saveAs = items[save + 2];
    EXPECT_EQ(saveAs->objectName(), QStringLiteral("saveAs"));
    emit file->aboutToShow();
    EXPECT_TRUE(saveAs->isEnabled());

    IdTexts texts = frame.GetDocument()->GetIdTexts();
    texts.comment = "corrected";
    frame.GetDocument()->SetIdTexts(texts);
    const std::string target = data.Path() + "/corrected.001";
    saveDialog.QueuePath(target);
    saveAs->trigger();
    EXPECT_EQ(test::ReadText(paths[0]), original);
    EXPECT_NE(test::ReadText(target).find("corrected"), std::string::npos);
    EXPECT_EQ(frame.GetDocument()->GetCurrentPath(), target);
    EXPECT_TRUE(prompts.Shown().empty());
}

} // namespace
} // namespace mirado
