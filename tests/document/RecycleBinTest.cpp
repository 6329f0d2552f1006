#include "DocumentFixture.h"

namespace mirado::test {

TEST_F(DocumentTest, RemovingMarkedEntriesKeepsTheRestInOrderAndTrashesInListOrder) {
    const std::vector<std::string> paths = Pick(5);
    ASSERT_TRUE(Doc().OpenFileAt(3));
    Doc().ToggleSelected(3);
    Doc().ToggleSelected(1);

    Doc().RemoveSelectedFiles();

    EXPECT_EQ(trash.Requested(), (std::vector<std::string>{paths[1], paths[3]}));
    ASSERT_EQ(Doc().GetFileCount(), 3);
    EXPECT_EQ(Doc().GetPathAt(0), paths[0]);
    EXPECT_EQ(Doc().GetPathAt(1), paths[2]);
    EXPECT_EQ(Doc().GetPathAt(2), paths[4]);
    EXPECT_EQ(Doc().GetCurrentIndex(), 0);
    EXPECT_EQ(Doc().CountSelected(), 0);
    EXPECT_TRUE(prompts.Shown().empty());
    EXPECT_TRUE(Doc().OpenFileAt(0));
}

TEST_F(DocumentTest, RemovingEveryEntryEmptiesTheListAndUnloads) {
    Pick(2);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    Doc().SelectAll();
    Doc().RemoveSelectedFiles();
    EXPECT_EQ(Doc().GetFileCount(), 0);
    EXPECT_FALSE(Doc().IsLoaded());
    EXPECT_EQ(Doc().CountSelected(), 0);
    EXPECT_EQ(Doc().GetCurrentPath(), "");
    Doc().ToggleCurrentSelection(); // nothing to toggle
    EXPECT_EQ(Doc().CountSelected(), 0);
}

TEST_F(DocumentTest, RefusedFileIsReportedAndStillLeavesTheList) {
    const std::vector<std::string> paths = Pick(3);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    Doc().SelectAll();
    trash.Refuse(paths[1]);

    Doc().RemoveSelectedFiles();

    EXPECT_EQ(trash.Requested().size(), 3u);
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, "Error moveToTrash : " + paths[1]);
    EXPECT_EQ(prompts.Shown()[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::None);
    EXPECT_EQ(Doc().GetFileCount(), 0);
    EXPECT_EQ(Doc().MoveToRecycleBin(paths[1]), 0);
}

} // namespace mirado::test
