// The workbook's reading of the tables: CSV rows, which columns hold numbers, dates and
// times, each number's cell format, and a written workbook replacing its target whole.

#include "exchange/Workbook.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace mirado::test {
namespace {

TEST(Workbook, CsvRowsKeepQuotedCommasQuotesAndLineBreaks) {
    const TableRows rows = CsvRows("a,b,c\n\"x,1\",\"say \"\"hi\"\"\",\"one\ntwo\"\n,,\n");
    const TableRows expected = {{"a", "b", "c"}, {"x,1", "say \"hi\"", "one\ntwo"}, {"", "", ""}};
    EXPECT_EQ(rows, expected);
    EXPECT_EQ(CsvRows("a\nlast"), (TableRows{{"a"}, {"last"}}));
}

struct KindRow {
    std::vector<std::string> cells; // under the header "v"
    ColumnKind kind;
};

TEST(Workbook, ColumnKindsComeFromEveryFilledCell) {
    const KindRow rows[] = {
        {{"1", "", "-2.5", "0.125"}, ColumnKind::Number},
        {{"1e-05", "3"}, ColumnKind::Number},
        {{"007", "8"}, ColumnKind::Text}, // leading zeros are an identifier's
        {{"1.", "2"}, ColumnKind::Text},
        {{"+1"}, ColumnKind::Text},
        {{"1 "}, ColumnKind::Text},
        {{"24/12/07", "99/13/40"}, ColumnKind::Date}, // the bad one stays text in the cell
        {{"12:56:02", "", "00:00:00"}, ColumnKind::Time},
        {{"24/12/07", "12:56:02"}, ColumnKind::Text},
        {{"2026-12-08T00:54:29+00:00", "", "2026-02-30T00:00:00Z"}, ColumnKind::Moment},
        {{"2026-12-08T00:54:29+09:00"}, ColumnKind::Text}, // the zone would be lost
        {{"2026-12-08 00:54:29+00:00"}, ColumnKind::Text},
        {{"", ""}, ColumnKind::Text},
    };
    for (const KindRow& row : rows) {
        WorkbookSheet sheet{"s", {{"v"}}, {}};
        for (const std::string& cell : row.cells)
            sheet.rows.push_back({cell});
        EXPECT_EQ(ColumnKindOf(sheet, 0), row.kind) << ::testing::PrintToString(row.cells);
    }
}

TEST(Workbook, NamedTextColumnsStayTextAndShortRowsAreNoProblem) {
    const WorkbookSheet sheet = SheetFromCsv("t", "animal_no,sbp\n12,120\n13\n");
    EXPECT_EQ(ColumnKindOf(sheet, 0), ColumnKind::Text);
    EXPECT_EQ(ColumnKindOf(sheet, 1), ColumnKind::Number);
    EXPECT_EQ(ColumnKindOf(sheet, 2), ColumnKind::Text);
}

TEST(Workbook, NumberFormatShowsTheWrittenDecimals) {
    const std::pair<std::string, std::string> rows[] = {{"120", "0"},
                                                        {"-2.5", "0.0"},
                                                        {"142.33333333333334", "0.00000000000000"},
                                                        {"0.10", "0.00"},
                                                        {"1e-05", "General"}};
    for (const auto& [number, format] : rows)
        EXPECT_EQ(NumberFormatOf(number), format) << number;
}

TEST(Workbook, WritingReplacesTheTargetWholeAndLeavesNothingBeside) {
    TempFolder folder;
    const std::string path = folder.File("t.xlsx");
    WriteBytes(path, {'o', 'l', 'd'});
    chmod(path.c_str(), 0640);
    ASSERT_TRUE(
        WriteWorkbook(path, {SheetFromCsv("a", "x\n1\n"), SheetFromCsv("b", "y\nz\n")}).ok());
    const std::vector<uint8_t> bytes = ReadBytes(path);
    ASSERT_GT(bytes.size(), 4u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 2), "PK");
    struct stat status {};
    stat(path.c_str(), &status);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(Workbook, FailuresLeaveTheTargetAlone) {
    TempFolder folder;
    const std::string fifo = folder.File("fifo.xlsx");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const Result<void> onFifo = WriteWorkbook(fifo, {SheetFromCsv("a", "x\n1\n")});
    EXPECT_FALSE(onFifo.ok());
    EXPECT_FALSE(onFifo.error().empty());
    const std::string bad = folder.File("bad.xlsx");
    const Result<void> badName = WriteWorkbook(bad, {SheetFromCsv("a/b", "x\n1\n")});
    EXPECT_FALSE(badName.ok());
    EXPECT_FALSE(std::filesystem::exists(bad));
    const Result<void> missing = WriteWorkbook(folder.File("no/such.xlsx"), {});
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()),
                            std::filesystem::directory_iterator()),
              1);
}

} // namespace
} // namespace mirado::test
