// "Export EDF+...": the window writes the bytes the batch tool writes for the same files,
// the marked files or else the current one, into the folder of the path chosen; cancel,
// an unwritable folder and two files of one name write nothing.

#include "AppFixture.h"

#include "../cli/CliRun.h"
#include "app/ExportEdfCommand.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "document/MiradoDoc.h"
#include "support/ScriptedPlatform.h"

#include <QStatusBar>

#include <gtest/gtest.h>

#include <filesystem>

namespace mirado {
namespace {

class ExportEdfTest : public test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        services.saveDialog = &saveDialog;
    }

    CExportEdfCommand& CommandOf(CMiradoApp& app) {
        return *app.GetMainFrame()->findChild<CExportEdfCommand*>();
    }

    // The batch tool's EDF+ file of path.
    std::string CliEdf(const std::string& path) {
        const test::CliRun cli = test::Cli({"edf", path, "-o", expected.Path()});
        EXPECT_EQ(cli.status, 0) << cli.err;
        const std::string name = std::filesystem::path(path).filename().string() + ".edf";
        return test::ReadText(expected.File(name));
    }

    test::TempFolder data, out, expected;
    ScriptedSaveFileDialog saveDialog;
};

TEST_F(ExportEdfTest, MarkedFilesOrTheCurrentOneAsTheBatchToolWritesThem) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 3);
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance(paths));
    CExportEdfCommand& command = CommandOf(app);

    // Nothing marked: the current file, into the folder of the name typed.
    saveDialog.QueuePath(out.File("any name.edf"));
    ASSERT_TRUE(command.Run());
    EXPECT_EQ(saveDialog.Requests().at(0).suggestedName, paths[0] + ".edf");
    const std::string first = std::filesystem::path(paths[0]).filename().string() + ".edf";
    EXPECT_EQ(test::ReadText(out.File(first)), CliEdf(paths[0]));
    EXPECT_FALSE(std::filesystem::exists(out.File("any name.edf")));

    app.GetDocument()->ToggleSelected(1);
    app.GetDocument()->ToggleSelected(2);
    saveDialog.QueuePath(out.File("x.edf"));
    ASSERT_TRUE(command.Run());
    for (const size_t i : {1u, 2u}) {
        const std::string name = std::filesystem::path(paths[i]).filename().string() + ".edf";
        EXPECT_EQ(test::ReadText(out.File(name)), CliEdf(paths[i])) << name;
    }
    EXPECT_TRUE(app.GetMainFrame()->statusBar()->currentMessage().startsWith("2 EDF+ files"));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(ExportEdfTest, CancelAndUnwritableFolderWriteNothing) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 1);
    const std::string damaged = data.File("broken.001");
    test::WriteText(damaged, "not a recording");
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({paths[0], damaged}));
    CExportEdfCommand& command = CommandOf(app);

    saveDialog.QueueCancel();
    EXPECT_FALSE(command.Run());
    saveDialog.QueuePath(out.File("no such folder/x.edf"));
    EXPECT_FALSE(command.Run());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Export EDF+");
    EXPECT_NE(prompts.Shown()[0].text.find("no such folder"), std::string::npos);

    // The damaged file is named; the other one is written.
    app.GetDocument()->SelectAll();
    saveDialog.QueuePath(out.File("x.edf"));
    EXPECT_FALSE(command.Run());
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_NE(prompts.Shown()[1].text.find(damaged), std::string::npos);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(out.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace mirado
