#include "AppFixture.h"

#include "../cli/CliRun.h"
#include "app/ExportSamplesCommand.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "support/ScriptedPlatform.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class ExportSamplesTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        services.saveDialog = &saveDialog;
    }

    CExportSamplesCommand& CommandOf(CMiradoApp& app) {
        return *app.GetMainFrame()->findChild<CExportSamplesCommand*>();
    }

    test::TempFolder data;
    ScriptedSaveFileDialog saveDialog;
};

TEST_F(ExportSamplesTest, WritesTheBytesOfTheBatchToolsSamples) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 2);
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance(paths));
    app.GetMainFrame()->OnNextFile();
    const std::string out = data.Path() + "/samples.csv";
    test::WriteText(out, "old");
    saveDialog.QueuePath(out);
    ASSERT_TRUE(CommandOf(app).Run());

    const test::CliRun cli = test::Cli({"samples", paths[1]});
    ASSERT_EQ(cli.status, 0) << cli.err;
    EXPECT_EQ(test::ReadText(out), cli.out);
    ASSERT_EQ(saveDialog.Requests().size(), 1u);
    EXPECT_EQ(saveDialog.Requests()[0].suggestedName, paths[1] + ".csv");
    EXPECT_TRUE(
        app.GetMainFrame()->statusBar()->currentMessage().endsWith(QString::fromStdString(out)));
}

TEST_F(ExportSamplesTest, CancelDamagedFileAndUnwritableTargetWriteNothing) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 1);
    const std::string damaged = data.Path() + "/broken.001";
    test::WriteText(damaged, "not a recording");
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({paths[0], damaged}));
    CExportSamplesCommand& command = CommandOf(app);

    saveDialog.QueueCancel();
    EXPECT_FALSE(command.Run());

    saveDialog.QueuePath(data.Path() + "/no such folder/samples.csv");
    EXPECT_FALSE(command.Run());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Export Samples");

    // A recording of the list is never written over.
    const std::string recording = test::ReadText(paths[0]);
    saveDialog.QueuePath(paths[0]);
    EXPECT_FALSE(command.Run());
    EXPECT_EQ(test::ReadText(paths[0]), recording);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_NE(prompts.Shown()[1].text.find("is one of the files in the list"), std::string::npos);

    app.GetMainFrame()->OnNextFile();
    const size_t asked = saveDialog.Requests().size();
    EXPECT_FALSE(command.Run());
    EXPECT_EQ(saveDialog.Requests().size(), asked);
    emit app.GetMainFrame()->menuBar()->actions()[0]->menu()->aboutToShow();
    EXPECT_FALSE(command.Action()->isEnabled());
}

} // namespace
} // namespace mirado
