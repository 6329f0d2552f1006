// The groups table: rows skipped with their line (duplicates, unknown animals, missing
// columns), UTF-8 and CP932 files, RFC 4180 quoting, further columns kept through a write
// and a read, and the file found beside the recordings.

#include "stats/GroupsTable.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace mirado::test {
namespace {

// "対照" (control) and "ラット" (rat) in both encodings.
const std::string kControlUtf8 = "\xE5\xAF\xBE\xE7\x85\xA7";
const std::string kControlCp932 = "\x91\xCE\x8F\xC6";
const std::string kRatUtf8 = "\xE3\x83\xA9\xE3\x83\x83\xE3\x83\x88";
const std::string kRatCp932 = "\x83\x89\x83\x62\x83\x67";

GroupsRead Parse(const std::string& text, const std::vector<AnimalKey>* known = nullptr) {
    Result<GroupsRead> read = ParseGroupsCsv(text, known);
    EXPECT_TRUE(read.ok()) << read.error();
    return read.ok() ? read.value() : GroupsRead{};
}

struct SkippedRowCase {
    const char* name;
    std::string text;
    std::string warning; // the start of the only warning
    size_t rowsKept;
};

class SkippedRowTest : public ::testing::TestWithParam<SkippedRowCase> {};

TEST_P(SkippedRowTest, ReportsTheLineAndKeepsTheOtherRows) {
    const std::vector<AnimalKey> known = {{"S1", "1"}, {"S1", "2"}};
    const GroupsRead read = Parse(GetParam().text, &known);
    ASSERT_EQ(read.warnings.size(), 1u);
    EXPECT_EQ(read.warnings[0].rfind(GetParam().warning, 0), 0u) << read.warnings[0];
    EXPECT_EQ(read.table.rows.size(), GetParam().rowsKept);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SkippedRowTest,
    ::testing::Values(
        SkippedRowCase{"Duplicate", "study_no,animal_no,group\nS1,1,a\nS1,2,b\nS1,1,b\n",
                       "line 4: study S1, animal 1 is listed again", 2},
        SkippedRowCase{"Unknown", "study_no,animal_no,group\nS1,1,a\nS9,1,b\nS1,2,b\n",
                       "line 3: study S9, animal 1 is not in the recordings", 2},
        SkippedRowCase{"MissingColumn", "study_no,animal_no,group\r\nS1,1,a\r\nS1,2\r\n",
                       "line 3: fewer than 3 columns", 1},
        SkippedRowCase{"EmptyGroup", "study_no,animal_no,group\nS1,1,\nS1,2,b\n",
                       "line 2: study S1, animal 1 has no group", 1},
        SkippedRowCase{"LineAfterQuotedBreak",
                       "study_no,animal_no,group,note\nS1,1,a,\"two\nlines\"\nS1,1,a,x\n",
                       "line 4: study S1, animal 1 is listed again", 1}),
    [](const auto& info) { return info.param.name; });

TEST(GroupsTableTest, Cp932AndUtf8FilesMatchTheRecordingsBytes) {
    const std::vector<AnimalKey> known = {{"S1", kRatCp932}};
    for (const std::string& text :
         {"study_no,animal_no,group\nS1," + kRatCp932 + "," + kControlCp932 + "\n",
          "\xEF\xBB\xBFstudy_no,animal_no,group\nS1," + kRatUtf8 + "," + kControlUtf8 + "\n"}) {
        const GroupsRead read = Parse(text, &known);
        EXPECT_TRUE(read.warnings.empty());
        ASSERT_EQ(read.table.rows.size(), 1u);
        EXPECT_EQ(read.table.rows[0].animal.animalNo, kRatCp932);
        EXPECT_EQ(read.table.rows[0].group, kControlUtf8);
    }
}

TEST(GroupsTableTest, HeaderMustNameTheThreeColumns) {
    for (const char* text : {"", "animal_no,study_no,group\n", "study_no,animal_no\n",
                             "study_no,animal_no,group\nS1,1,\"open\n"})
        EXPECT_FALSE(ParseGroupsCsv(text).ok()) << text;
}

TEST(GroupsTableTest, GroupsInFileOrderAndUnlistedAnimalsInNone) {
    const GroupsRead read =
        Parse("study_no,animal_no,group\nS1,3,treated\nS1,1,vehicle\nS1,2,treated\n");
    EXPECT_EQ(read.table.GroupNames(), (std::vector<std::string>{"treated", "vehicle"}));
    EXPECT_EQ(read.table.GroupOf({"S1", "2"}), "treated");
    EXPECT_EQ(read.table.GroupOf({"S1", "4"}), kNoGroupName);
    EXPECT_EQ(read.table.GroupOf({"S2", "1"}), kNoGroupName);
}

TEST(GroupsTableTest, FurtherColumnsAndQuotingSurviveWriteAndRead) {
    TempFolder folder;
    GroupsTable table = Parse("study_no,animal_no,group,sex,note\n"
                              "S1,1,\"a, b\",F,\"said \"\"hi\"\"\"\n"
                              "S1," +
                              kRatCp932 + "," + kControlCp932 + ",M\n")
                            .table;
    table.Assign({"S1", "9"}, "new");
    table.Assign({"S1", "1"}, "changed");
    const std::string path = folder.File(kGroupsFileName);
    ASSERT_TRUE(WriteGroupsFile(path, table).ok());
    EXPECT_EQ(ReadText(path), "study_no,animal_no,group,sex,note\n"
                              "S1,1,changed,F,\"said \"\"hi\"\"\"\n"
                              "S1," +
                                  kRatUtf8 + "," + kControlUtf8 +
                                  ",M,\n"
                                  "S1,9,new,,\n");
    const Result<GroupsRead> back = ReadGroupsFile(path);
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.value().table.extraColumns, (std::vector<std::string>{"sex", "note"}));
    EXPECT_EQ(back.value().table.rows[1].animal.animalNo, kRatCp932);
    EXPECT_EQ(back.value().table.rows[0].extra[1], "said \"hi\"");
}

TEST(GroupsTableTest, FoundBesideTheRecordings) {
    TempFolder folder;
    const std::string recording = folder.File("a.dat");
    EXPECT_EQ(FindGroupsFile({recording}), "");
    WriteText(folder.File(kGroupsFileName), "study_no,animal_no,group\n");
    EXPECT_EQ(FindGroupsFile({"/nonexistent/x.dat", recording}), folder.File(kGroupsFileName));
    EXPECT_FALSE(ReadGroupsFile(folder.File("missing.csv")).ok());
}

} // namespace
} // namespace mirado::test
