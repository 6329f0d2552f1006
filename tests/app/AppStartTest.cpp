#include "AppFixture.h"

#include "app/AboutDialog.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "support/ScriptedPlatform.h"
#include "views/FilenameView.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QStatusBar>

#include <filesystem>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace mirado {
namespace {

class AppStartTest : public test::AppFixture {
protected:
    test::TempFolder data;
};

TEST_F(AppStartTest, FirstRunCreatesTheFoldersAndUsesTheDefaults) {
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    const std::string expected = home.Path() + "/QuorvinFiles/TenvarAWU/Preference/";
    EXPECT_EQ(app.GetPreferenceFolder(), expected);
    EXPECT_TRUE(QDir(QString::fromStdString(expected)).exists());
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_EQ(app.GetDocument()->GetStepPeriod(), 500);
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
    EXPECT_EQ(app.GetMainFrame()->windowTitle(), "Untitled[*] - Mirado");
}

TEST_F(AppStartTest, StoredSettingsAreReadFromThePreferenceFolder) {
    const QString folder =
        QString::fromStdString(home.Path()) + "/QuorvinFiles/TenvarAWU/Preference";
    ASSERT_TRUE(QDir().mkpath(folder));
    QFile file(folder + "/Tenvar.s99");
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[TenvarAWU]\ninterval=30\nbkColor=3\n");
    file.close();
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    EXPECT_EQ(app.GetDocument()->GetStepPeriod(), 3000);
    EXPECT_EQ(app.GetDocument()->GetBackgroundColour(), Rgb(0, 0, 0));
}

TEST_F(AppStartTest, CommandLineFilesAreOpenedAsIfPicked) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 3);
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance(paths));
    CMiradoDoc* doc = app.GetDocument();
    EXPECT_EQ(doc->GetFileCount(), 3);
    EXPECT_TRUE(doc->IsLoaded());
    EXPECT_EQ(doc->GetCurrentIndex(), 0);
    EXPECT_EQ(app.GetMainFrame()->GetFileList()->GetCurrentRow(), 0);
    EXPECT_EQ(app.GetMainFrame()->windowTitle(), QString::fromStdString(paths[0]) + "[*] - Mirado");
    EXPECT_TRUE(app.GetMainFrame()->Action(ID_NEXT_FILE)->isEnabled());
}

TEST_F(AppStartTest, RelativeCommandLinePathsAreHeldFromTheRoot) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 1);
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(data.Path())));
    CMiradoApp app(services);
    const bool started = app.InitInstance({"./R000.001"});
    QDir::setCurrent(previous);
    ASSERT_TRUE(started);
    const QString absolute = QDir(QString::fromStdString(data.Path())).absoluteFilePath("R000.001");
    EXPECT_EQ(app.GetMainFrame()->windowTitle(), absolute + "[*] - Mirado");
    EXPECT_EQ(app.GetDocument()->GetCurrentPath(), absolute.toStdString());
    QFile settings(QString::fromStdString(app.GetPreferenceFolder()) + "Tenvar.s99");
    ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
    EXPECT_TRUE(settings.readAll().contains(
        "dataFolder=" + QString::fromStdString(data.Path()).toUtf8() + "/\n"));
}

// A settings path that is no regular file: start-up goes on with the defaults, says why
// nothing is saved, and opening files (which remembers their folder) leaves it alone.
class UnusableSettingsTest : public AppStartTest {
protected:
    QString SettingsPath() {
        const QString folder =
            QString::fromStdString(home.Path()) + "/QuorvinFiles/TenvarAWU/Preference";
        EXPECT_TRUE(QDir().mkpath(folder));
        return folder + "/Tenvar.s99";
    }
    void StartAndOpenAFile(CMiradoApp& app) {
        ASSERT_TRUE(app.InitInstance(test::WriteRecordings(data, 1)));
        EXPECT_EQ(app.GetDocument()->GetStepPeriod(), 500);
        EXPECT_TRUE(app.GetMainFrame()->statusBar()->currentMessage().startsWith(
            "Settings are not saved: " + SettingsPath()));
    }
};

TEST_F(UnusableSettingsTest, NamedPipeNeitherBlocksStartUpNorIsWritten) {
    const QString path = SettingsPath();
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    CMiradoApp app(services);
    StartAndOpenAFile(app);
    EXPECT_TRUE(std::filesystem::is_fifo(path.toStdString()));
}

TEST_F(UnusableSettingsTest, LinkToADeviceNodeLeavesTheNodeADevice) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "making a device node needs root";
    const std::string node = data.File("device");
    ASSERT_EQ(::mknod(node.c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    const QString path = SettingsPath();
    ASSERT_TRUE(QFile::link(QString::fromStdString(node), path));
    CMiradoApp app(services);
    StartAndOpenAFile(app);
    EXPECT_TRUE(std::filesystem::is_character_file(node));
    EXPECT_TRUE(std::filesystem::is_symlink(path.toStdString()));
}

TEST_F(AppStartTest, OpenCommandPicksFilesThroughTheDialog) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 2);
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    openDialog.QueueCancel();
    app.GetMainFrame()->Action(ID_FILE_OPEN)->trigger();
    EXPECT_FALSE(app.GetDocument()->IsLoaded());
    openDialog.QueuePick(paths);
    app.GetMainFrame()->Action(ID_FILE_OPEN)->trigger();
    EXPECT_EQ(app.GetDocument()->GetFileCount(), 2);
    EXPECT_EQ(app.GetMainFrame()->GetFileList()->GetCurrentRow(), 0);
}

TEST_F(AppStartTest, FolderThatCannotBeCreatedIsReportedAndStartUpGoesOn) {
    QFile blocker(QString::fromStdString(home.Path()) +
                  "/QuorvinFiles"); // a file where the folder belongs
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    CMiradoApp app(services);
    ASSERT_TRUE(app.InitInstance({}));
    ASSERT_FALSE(prompts.Shown().empty());
    const std::string folder = home.Path() + "/QuorvinFiles/";
    EXPECT_EQ(prompts.Shown()[0].caption,
              "Error : Create Directory[for Preference :" + folder + "]");
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Information);
    EXPECT_EQ(app.GetDocument()->GetStepPeriod(), 500); // the defaults
    EXPECT_TRUE(app.GetMainFrame()->isVisible());
}

TEST(AboutDialog, ShowsProductCopyrightAndBuildLines) {
    test::EnsureQtApp();
    CAboutDialog dialog;
    EXPECT_EQ(dialog.windowTitle(), "About Mirado");
    QStringList texts;
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            texts << label->text();
    ASSERT_EQ(texts.size(), 3);
    EXPECT_TRUE(texts[0].startsWith("Mirado Version "));
    EXPECT_TRUE(texts[1].startsWith("Copyright"));
    EXPECT_TRUE(texts[2].startsWith("Build "));
}

} // namespace
} // namespace mirado
