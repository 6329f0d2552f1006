#include "AppFixture.h"

#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "app/RecentFilesMenu.h"
#include "app/WindowState.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"

#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include <cstdio>

#include <gtest/gtest.h>

namespace mirado {
namespace {

// Two runs of the program over one home folder, as a user starts it twice.
class RecentFilesTest : public test::AppFixture {
protected:
    std::unique_ptr<CMiradoApp> Start(const std::vector<std::string>& files = {}) {
        auto app = std::make_unique<CMiradoApp>(services);
        EXPECT_TRUE(app->InitInstance(files));
        return app;
    }

    static CRecentFilesMenu& RecentOf(CMiradoApp& app) {
        return *app.GetMainFrame()->findChild<CRecentFilesMenu*>();
    }

    static QMenu* MenuOf(CMiradoApp& app) {
        return test::NamedChild<QMenu>(*app.GetMainFrame(), "recentFilesMenu");
    }

    test::TempFolder data;
};

TEST_F(RecentFilesTest, OpenedSetsAreListedNewestFirstInTheFileMenu) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 15);
    const std::vector<std::string> first(paths.begin(), paths.begin() + 3);
    const std::vector<std::string> second(paths.begin() + 3, paths.end());
    {
        auto app = Start(first);
        app->GetMainFrame()->OpenPaths(second);
    }
    auto app = Start();
    QMenu* menu = MenuOf(*app);
    ASSERT_TRUE(menu->isEnabled());
    ASSERT_EQ(menu->actions().size(), 2);
    EXPECT_EQ(menu->actions()[0]->text(), "&1 R003.001 (+11 files)");
    EXPECT_EQ(menu->actions()[1]->text(), "&2 R000.001 (+2 files)");
    // The submenu follows "Save(&S)" in the File menu.
    const QList<QAction*> fileItems =
        app->GetMainFrame()->menuBar()->actions()[0]->menu()->actions();
    const qsizetype save = fileItems.indexOf(app->GetMainFrame()->Action(ID_FILE_SAVE));
    EXPECT_EQ(fileItems[save + 1]->menu(), menu);
    // The settings file holds none of it.
    const std::string settings = test::ReadText(app->GetPreferenceFolder() + "Tenvar.s99");
    EXPECT_EQ(settings.find(paths[0]), std::string::npos);
}

TEST_F(RecentFilesTest, ReopeningASetDropsMissingFilesAndSaysSo) {
    const std::vector<std::string> paths = test::WriteRecordings(data, 4);
    auto app = Start(paths);
    app->GetMainFrame()->OpenPaths({paths[3]});
    ASSERT_EQ(std::remove(paths[1].c_str()), 0);
    ASSERT_EQ(std::remove(paths[2].c_str()), 0);

    MenuOf(*app)->actions()[1]->trigger();
    CMiradoDoc& doc = *app->GetDocument();
    ASSERT_EQ(doc.GetFileCount(), 2);
    EXPECT_EQ(doc.GetPathAt(0), paths[0]);
    EXPECT_EQ(doc.GetPathAt(1), paths[3]);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_EQ(app->GetMainFrame()->statusBar()->currentMessage(),
              "2 files of this set no longer exist and were left out.");
    // The set is remembered as it opened, newest again, in place of the old one.
    const std::vector<FileSet> sets =
        CRecentFileSets::Load(RecentFilesPath(app->GetPreferenceFolder())).Sets();
    ASSERT_EQ(sets.size(), 2u);
    EXPECT_EQ(sets[0], (FileSet{paths[0], paths[3]}));
    EXPECT_EQ(sets[1], (FileSet{paths[3]}));

    ASSERT_EQ(std::remove(paths[3].c_str()), 0);
    EXPECT_FALSE(RecentOf(*app).OpenSet(1));
    EXPECT_EQ(app->GetMainFrame()->statusBar()->currentMessage(),
              "None of the files of this set exists any more.");
    EXPECT_EQ(RecentOf(*app).Sets().Sets().size(), 1u);
    EXPECT_EQ(doc.GetFileCount(), 2);
}

TEST_F(RecentFilesTest, WindowPlacementAndToolBarSideReturnOnTheNextStart) {
    // A size above the window's smallest one, which the information column sets.
    QSize size;
    {
        auto app = Start();
        CMainFrame& frame = *app->GetMainFrame();
        size = frame.minimumSize() + QSize(23, 11);
        frame.setGeometry(QRect(QPoint(37, 41), size));
        frame.addToolBar(Qt::LeftToolBarArea, frame.findChild<QToolBar*>("toolbar"));
        ASSERT_TRUE(frame.close());
    }
    {
        auto app = Start();
        CMainFrame& frame = *app->GetMainFrame();
        EXPECT_EQ(frame.geometry(), QRect(QPoint(37, 41), size));
        EXPECT_EQ(frame.toolBarArea(frame.findChild<QToolBar*>("toolbar")), Qt::LeftToolBarArea);
        EXPECT_FALSE(frame.isMaximized());
        frame.showMaximized();
        ASSERT_TRUE(frame.close());
    }
    auto app = Start();
    CMainFrame& frame = *app->GetMainFrame();
    EXPECT_TRUE(frame.isMaximized());
    EXPECT_EQ(frame.normalGeometry().size(), size);
    // The display settings keep exactly their values.
    const std::string settings = test::ReadText(app->GetPreferenceFolder() + "Tenvar.s99");
    const size_t ownSection = settings.find("[Mirado]");
    ASSERT_NE(ownSection, std::string::npos);
    EXPECT_GT(settings.find("window"), ownSection);
}

TEST_F(RecentFilesTest, PositionOffEveryScreenIsNotTaken) {
    auto app = Start();
    CMainFrame& frame = *app->GetMainFrame();
    const QSize size = frame.minimumSize() + QSize(20, 10);
    MemoryProfile profile;
    CMiradoSettings settings(&profile);
    settings.SaveWindowPlacement(
        {-30000, -30000, size.width(), size.height(), false, ToolBarSide::Bottom});
    const QPoint before = frame.pos();
    ApplyWindowPlacement(frame, *settings.LoadWindowPlacement());
    EXPECT_EQ(frame.size(), size);
    EXPECT_EQ(frame.pos(), before);
    EXPECT_EQ(frame.toolBarArea(frame.findChild<QToolBar*>("toolbar")), Qt::BottomToolBarArea);
}

} // namespace
} // namespace mirado
