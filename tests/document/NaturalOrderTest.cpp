// The natural order of file names, and the lists it gives: picked files by name, files
// set directly (the command line) as given.

#include "DocumentFixture.h"

#include "document/NaturalOrder.h"

namespace mirado::test {

TEST(NaturalOrderTest, DigitRunsCompareByValueOtherBytesAsBytes) {
    EXPECT_LT(CompareNaturally("BP2.01", "BP10.01"), 0);
    EXPECT_GT(CompareNaturally("BP10.01", "BP2.01"), 0);
    EXPECT_LT(CompareNaturally("rat9", "rat10"), 0);
    EXPECT_EQ(CompareNaturally("a007", "a7"), 0); // equal values
    EXPECT_LT(CompareNaturally("a7", "a7b"), 0);  // a prefix comes first
    EXPECT_LT(CompareNaturally("A1", "a1"), 0);   // bytes, not letters: 'A' < 'a'
    EXPECT_LT(CompareNaturally("x0", "x00001"), 0);
    // Digits against other bytes compare as bytes: '.' < '0'..'9' < 'a'.
    EXPECT_LT(CompareNaturally("s.1", "s1"), 0);
    EXPECT_LT(CompareNaturally("s9", "sa"), 0);
    // Bytes above 0x7F are bytes, not negative characters.
    EXPECT_LT(CompareNaturally("z", "\x82\xa0"), 0);
    // Runs longer than any integer compare by value without overflow.
    EXPECT_LT(CompareNaturally("n99999999999999999999999", "n100000000000000000000000"), 0);
    EXPECT_EQ(CompareNaturally("", ""), 0);
    EXPECT_LT(CompareNaturally("", "0"), 0);
}

TEST(NaturalOrderTest, PathsSortByNameThenByFullPath) {
    std::vector<std::string> paths = {"/b/rat10.01", "/a/rat2.01",  "/c/rat1.01",
                                      "/b/rat02.01", "/a/rat02.01", "/z/Rat3.01"};
    SortByNaturalName(paths);
    // rat02 and rat2 are equal by name, so their full paths decide.
    const std::vector<std::string> expected = {"/z/Rat3.01", "/c/rat1.01",  "/a/rat02.01",
                                               "/a/rat2.01", "/b/rat02.01", "/b/rat10.01"};
    EXPECT_EQ(paths, expected);
    // The order is strict: a path is never before itself, and ties are decided.
    EXPECT_FALSE(IsBeforeByNaturalName("/a/rat2.01", "/a/rat2.01"));
    EXPECT_TRUE(IsBeforeByNaturalName("/a/rat2.01", "/b/rat02.01"));
    EXPECT_FALSE(IsBeforeByNaturalName("/b/rat02.01", "/a/rat2.01"));
}

TEST_F(DocumentTest, PickedFilesAreListedInNaturalOrderAndSetListsKeepTheirs) {
    std::vector<std::string> paths;
    for (const char* name : {"BP10.01", "BP9.01", "BP1.01"})
        paths.push_back(Write(name));
    openDialog.QueuePick(paths);
    ASSERT_EQ(Doc().ChooseFiles(), 3);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(Doc().GetNameAt(0), "BP1.01");
    EXPECT_EQ(Doc().GetNameAt(1), "BP9.01");
    EXPECT_EQ(Doc().GetNameAt(2), "BP10.01");

    ASSERT_EQ(Doc().SetFileList(paths), 3);
    ASSERT_TRUE(Doc().OpenFileAt(0));
    EXPECT_EQ(Doc().GetNameAt(0), "BP10.01");
    EXPECT_EQ(Doc().GetNameAt(2), "BP1.01");
}

} // namespace mirado::test
