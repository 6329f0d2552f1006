#include "DocumentFixture.h"

#include <filesystem>
#include <unistd.h>

namespace mirado::test {

TEST_F(DocumentTest, ChooseFilesListsThePicksByNameAndRemembersTheirFolder) {
    profile.SetRaw(kProfileSection, kKeyDataFolder, "/data/old/");
    std::vector<std::string> paths;
    for (const char* name : {"e.03", "b.01", "d.02", "a.01", "c.09"})
        paths.push_back(Write(name));
    openDialog.QueuePick(paths);

    EXPECT_EQ(Doc().ChooseFiles(), 5);

    ASSERT_EQ(openDialog.Requests().size(), 1u);
    const OpenFileRequest& request = openDialog.Requests()[0];
    EXPECT_EQ(request.initialFolder, "/data/old/");
    ASSERT_EQ(request.filters.size(), 2u);
    EXPECT_EQ(request.filters[0].label, "Tenvar files");
    EXPECT_EQ(request.filters[0].patterns.size(), 10u);
    EXPECT_EQ(request.filters[0].patterns[9], "*.9*");
    EXPECT_EQ(request.filters[1].label, "AllFiles");
    EXPECT_EQ(profile.GetRaw(kProfileSection, kKeyDataFolder), folder.Folder());
    EXPECT_EQ(Doc().GetFileCount(), 5);
    EXPECT_EQ(Doc().CountSelected(), 0); // nothing loaded yet
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(Doc().GetNameAt(0), "a.01");
    EXPECT_EQ(Doc().GetNameAt(4), "e.03");
    EXPECT_EQ(Doc().GetPathAt(1), paths[1]); // b.01
    EXPECT_EQ(Doc().CountSelected(), 0);
}

TEST_F(DocumentTest, CancelledOpenDialogKeepsListCurrentFileAndMarks) {
    Pick(3);
    Doc().OpenFileAt(1);
    Doc().ToggleSelected(2);
    openDialog.QueueCancel();
    openDialog.QueuePick({}); // OK without a file changes nothing either

    EXPECT_EQ(Doc().ChooseFiles(), 0);
    EXPECT_EQ(Doc().ChooseFiles(), 0);

    EXPECT_EQ(Doc().GetFileCount(), 3);
    EXPECT_EQ(Doc().GetCurrentIndex(), 1);
    EXPECT_TRUE(Doc().IsSelected(2));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(DocumentTest, NavigationStopsAtBothEnds) {
    Pick(3);
    Doc().OpenFileAt(0);
    EXPECT_EQ(Doc().PrevIndex(), -1);
    EXPECT_EQ(Doc().GetCurrentIndex(), 0);
    EXPECT_EQ(Doc().NextIndex(), 1);
    EXPECT_EQ(Doc().NextIndex(), 2);
    EXPECT_EQ(Doc().NextIndex(), -1);
    EXPECT_EQ(Doc().GetCurrentIndex(), 2);
    EXPECT_EQ(Doc().LastIndex(), 2);
    EXPECT_EQ(Doc().PrevIndex(), 1);
}

TEST_F(DocumentTest, EmptyListAnswersMinusOneAndIgnoresSelectionCommands) {
    EXPECT_EQ(Doc().LastIndex(), -1);
    EXPECT_EQ(Doc().NextIndex(), -1);
    EXPECT_EQ(Doc().PrevIndex(), -1);
    Doc().ToggleCurrentSelection();
    EXPECT_FALSE(Doc().ToggleSelected(0));
    EXPECT_FALSE(Doc().OpenFileAt(0));
    EXPECT_FALSE(Doc().IsLoaded());
    EXPECT_EQ(Doc().GetCurrentPath(), "");
    EXPECT_FALSE(Doc().IsCurrentRecordUsable());
}

TEST_F(DocumentTest, SelectionMarksCountAndFindTheNthOne) {
    Pick(5);
    Doc().OpenFileAt(3);
    EXPECT_TRUE(Doc().ToggleSelected(2));
    EXPECT_TRUE(Doc().ToggleSelected(4));
    EXPECT_EQ(Doc().CountSelected(), 2);
    EXPECT_EQ(Doc().IndexOfNthSelected(1), 2);
    EXPECT_EQ(Doc().IndexOfNthSelected(2), 4);
    EXPECT_EQ(Doc().IndexOfNthSelected(3), -1);
    EXPECT_EQ(Doc().IndexOfNthSelected(0), -1);

    Doc().ToggleCurrentSelection();
    EXPECT_TRUE(Doc().IsSelected(3));
    Doc().OpenFileAt(0); // opening keeps the marks
    EXPECT_EQ(Doc().CountSelected(), 3);
    Doc().SelectAll();
    EXPECT_EQ(Doc().CountSelected(), 5);
    Doc().ClearSelection();
    EXPECT_EQ(Doc().CountSelected(), 0);
}

TEST(FilePathTest, NameAndFolderSplitAtTheLastSlash) {
    EXPECT_EQ(FileNameOfPath("/d/e/rat.01"), "rat.01");
    EXPECT_EQ(FolderOfPath("/d/e/rat.01"), "/d/e/");
    EXPECT_EQ(FileNameOfPath("rat.01"), "rat.01");
    EXPECT_EQ(FolderOfPath("rat.01"), "");
}

TEST(FilePathTest, RelativePathsAreTakenFromTheCurrentFolderAndStillNameTheSameFile) {
    namespace fs = std::filesystem;
    const fs::path previous = fs::current_path();
    const fs::path root = fs::temp_directory_path() / ("mirado-abs-" + std::to_string(::getpid()));
    fs::create_directories(root / "sub");
    fs::create_directories(root / "far" / "away");
    fs::create_directory_symlink(root / "far" / "away", root / "link");
    const std::string base = fs::canonical(root).string();
    fs::current_path(root);
    EXPECT_EQ(AbsolutePath("a.001"), base + "/a.001");
    EXPECT_EQ(AbsolutePath("./sub//a.001"), base + "/sub/a.001");
    EXPECT_EQ(AbsolutePath("sub/../a.001"), base + "/a.001");
    // Through the link ".." is the folder above its target, so it stays in the text.
    EXPECT_EQ(AbsolutePath("link/../a.001"), base + "/link/../a.001");
    EXPECT_EQ(AbsolutePath("missing/../a.001"), base + "/missing/../a.001");
    EXPECT_EQ(AbsolutePath("/x/./y"), "/x/./y");
    EXPECT_EQ(AbsolutePath(""), "");
    fs::current_path(previous);
    fs::remove_all(root);
}

} // namespace mirado::test
