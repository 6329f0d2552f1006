// The report's pages: every row drawn once, tables going on over pages with their title
// and header again, nothing drawn outside the page's body and footer, texts cut short at
// character boundaries, paragraphs wrapped.

#include "drawing/ReportPages.h"

#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <map>

namespace mirado::test {
namespace {

constexpr int kDpi = 96;
const Rect kPage{0, 0, 1123, 794}; // landscape A4 at 96 dpi

PrintedReport ReportWithRows(size_t rows, const std::string& cell = "x") {
    PrintedReport report;
    report.title = "Report";
    report.lines = {"Profile: test", std::string(500, 'w')};
    ReportTable table;
    table.title = "Rows";
    table.columns = {"Name", "Value", "Note"};
    table.rightAligned = {false, true};
    table.emptyText = "None.";
    for (size_t row = 0; row < rows; ++row)
        table.rows.push_back({"row " + std::to_string(row), std::to_string(row), cell});
    report.tables = {table, table};
    report.tables[1].title = "Second";
    return report;
}

std::vector<RecordingSurface> DrawAll(const CReportPages& pages) {
    std::vector<RecordingSurface> drawn(static_cast<size_t>(pages.PageCount()),
                                        RecordingSurface(kDpi));
    for (int page = 1; page <= pages.PageCount(); ++page)
        pages.DrawPage(drawn[static_cast<size_t>(page - 1)], page);
    return drawn;
}

// Every text lies inside the page's margins: between the body's left and right, and from
// the body's top to above the page's bottom margin (the footer's line included).
void ExpectInsideThePage(const CReportPages& pages, const std::vector<RecordingSurface>& drawn) {
    const Rect& body = pages.Body();
    for (size_t page = 0; page < drawn.size(); ++page) {
        for (const auto& text : drawn[page].texts) {
            SCOPED_TRACE(text.text);
            EXPECT_GE(text.at.x, body.left);
            EXPECT_LE(text.at.x + drawn[page].TextWidth(text.text), body.right);
            EXPECT_GE(text.at.y, body.top);
            EXPECT_LT(text.at.y, kPage.bottom - (kPage.bottom - body.bottom) / 3);
        }
    }
}

struct PagingRow {
    size_t rows;
    std::string cell;
    int pages;
};

class ReportPagingTest : public ::testing::TestWithParam<PagingRow> {};

TEST_P(ReportPagingTest, DrawsEveryRowOnceInsideThePageWithTheHeaderOnEachPage) {
    const CReportPages pages(ReportWithRows(GetParam().rows, GetParam().cell), kPage, kDpi);
    ASSERT_EQ(pages.PageCount(), GetParam().pages);
    const std::vector<RecordingSurface> drawn = DrawAll(pages);
    ExpectInsideThePage(pages, drawn);

    std::map<std::string, int> rowsDrawn;
    for (size_t page = 0; page < drawn.size(); ++page) {
        const auto& texts = drawn[page].texts;
        int headers = 0, rowsOnPage = 0;
        for (size_t i = 0; i < texts.size(); ++i) {
            if (texts[i].text.rfind("row ", 0) == 0) {
                ++rowsDrawn[texts[i].text];
                ++rowsOnPage;
            }
            headers += texts[i].text == "Name" ? 1 : 0;
        }
        // A page of rows shows their header; a page going on with a table says so.
        if (rowsOnPage > 0) {
            EXPECT_GE(headers, 1) << "page " << page + 1;
        }
        if (page > 0 && rowsOnPage > 0 && texts.front().text.rfind("row ", 0) == 0) {
            ADD_FAILURE() << "page " << page + 1 << " starts with a row and no header";
        }
        // The footer names the page.
        const std::string footer =
            "Page " + std::to_string(page + 1) + " of " + std::to_string(pages.PageCount());
        EXPECT_TRUE(std::any_of(texts.begin(), texts.end(),
                                [&](const auto& text) { return text.text == footer; }));
        // The last text above the footer is never a table's title or header (bold).
        const auto& last = texts[texts.size() - 3];
        EXPECT_EQ(last.font.weight, 400) << "page " << page + 1 << ": " << last.text;
    }
    // Two tables of the same rows: each row twice, no more, no less.
    EXPECT_EQ(rowsDrawn.size(), GetParam().rows);
    for (const auto& [row, times] : rowsDrawn)
        EXPECT_EQ(times, 2) << row;
}

INSTANTIATE_TEST_SUITE_P(Rows, ReportPagingTest,
                         ::testing::Values(PagingRow{0, "x", 1}, PagingRow{10, "x", 1},
                                           PagingRow{45, "x", 3},
                                           PagingRow{200, std::string(300, 'n'), 9},
                                           PagingRow{200, "\xe5\x9c\xa7", 9}));

TEST(ReportPagesTest, AnEmptyTableSaysSoAndAPageOutsideTheReportDrawsNothing) {
    const CReportPages pages(ReportWithRows(0), kPage, kDpi);
    RecordingSurface surface(kDpi);
    pages.DrawPage(surface, 1);
    EXPECT_EQ(std::count_if(surface.texts.begin(), surface.texts.end(),
                            [](const auto& text) { return text.text == "None."; }),
              2);
    for (int page : {0, 2, -1}) {
        RecordingSurface outside(kDpi);
        pages.DrawPage(outside, page);
        EXPECT_TRUE(outside.texts.empty()) << page;
    }
}

// A page with no room left for a line still takes one item, so cutting ends.
TEST(ReportPagesTest, APageTooSmallForALineStillTakesEveryItem) {
    const CReportPages pages(ReportWithRows(3), Rect{0, 0, 200, 120}, kDpi);
    int rows = 0;
    for (const RecordingSurface& page : DrawAll(pages))
        for (const auto& text : page.texts)
            rows += text.text.rfind("row ", 0) == 0 ? 1 : 0;
    EXPECT_EQ(rows, 6);
}

// Figures go where their afterTable puts them, two to a page, each in a room of its own
// below its title inside the body; without a drawer only their titles are drawn.
TEST(ReportPagesTest, FiguresTakeHalfAPageEachInTheirPlaceAmongTheTables) {
    PrintedReport report = ReportWithRows(3);
    report.figures = {{"Before", "a", 0},
                      {"Between", "b", 1},
                      {"After 1", "c", 2},
                      {"After 2", "d", 2},
                      {"After 3", "e", 9}};
    const CReportPages pages(report, kPage, kDpi);
    std::vector<std::pair<std::string, int>> drawn; // key, page
    std::vector<Rect> rooms;
    const FigureDrawer drawer = [&](IDrawingSurface& surface, const Rect& room,
                                    const ReportFigure& figure) {
        drawn.emplace_back(figure.key, static_cast<int>(drawn.size()));
        rooms.push_back(room);
        surface.FillRect(room, Rgb(0, 0, 255));
    };
    std::vector<std::vector<std::string>> texts; // per page
    for (int page = 1; page <= pages.PageCount(); ++page) {
        RecordingSurface surface(kDpi);
        const size_t before = drawn.size();
        pages.DrawPage(surface, page, drawer);
        for (size_t i = before; i < drawn.size(); ++i)
            drawn[i].second = page;
        texts.emplace_back();
        for (const auto& text : surface.texts)
            texts.back().push_back(text.text);
    }
    const std::vector<std::pair<std::string, int>> expected = {
        {"a", 1}, {"b", 2}, {"c", 3}, {"d", 3}, {"e", 4}};
    EXPECT_EQ(drawn, expected);
    ASSERT_EQ(pages.PageCount(), 4);
    // The first figure follows the report's lines and comes before the first table.
    const auto& first = texts[0];
    EXPECT_LT(std::find(first.begin(), first.end(), "Before"),
              std::find(first.begin(), first.end(), "Rows"));
    const Rect& body = pages.Body();
    for (size_t i = 0; i < rooms.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_GE(rooms[i].top, body.top);
        EXPECT_LE(rooms[i].bottom, body.bottom);
        EXPECT_EQ(rooms[i].left, body.left);
        EXPECT_EQ(rooms[i].right, body.right);
        EXPECT_GT(rooms[i].Height(), body.Height() / 3);
    }
    EXPECT_LE(rooms[2].bottom, rooms[3].top); // two on one page, one above the other

    RecordingSurface untitled(kDpi);
    pages.DrawPage(untitled, 3);
    EXPECT_TRUE(untitled.fills.empty());
    EXPECT_EQ(std::count_if(untitled.texts.begin(), untitled.texts.end(),
                            [](const auto& text) { return text.text.rfind("After", 0) == 0; }),
              2);
}

struct FitRow {
    std::string text;
    int width; // in characters of the surface (6 units each)
    std::string fitted;
};

class FitTextTest : public ::testing::TestWithParam<FitRow> {};

TEST_P(FitTextTest, CutsAtACharacterBoundaryWithAMark) {
    const RecordingSurface surface(kDpi);
    EXPECT_EQ(FitText(surface, GetParam().text, GetParam().width * 6), GetParam().fitted);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FitTextTest,
    ::testing::Values(FitRow{"short", 5, "short"}, FitRow{"longer text", 8, "longe..."},
                      // Three bytes a character: never half of one.
                      FitRow{"\xe5\x9c\xa7\xe5\x9c\xa7\xe5\x9c\xa7", 7, "\xe5\x9c\xa7..."},
                      FitRow{"abc", 2, ""}, FitRow{"abcd", 3, "..."}));

struct WrapRow {
    std::string text;
    size_t width;
    std::vector<std::string> lines;
};

class WrapParagraphTest : public ::testing::TestWithParam<WrapRow> {};

TEST_P(WrapParagraphTest, BreaksAtSpacesAndInsideOverlongWords) {
    EXPECT_EQ(WrapParagraph(GetParam().text, GetParam().width), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Paragraphs, WrapParagraphTest,
                         ::testing::Values(WrapRow{"", 10, {""}},
                                           WrapRow{"one two three", 7, {"one two", "three"}},
                                           WrapRow{"abcdefghij", 4, {"abcd", "efgh", "ij"}},
                                           WrapRow{"\xe5\x9c\xa7\xe5\x9c\xa7\xe5\x9c\xa7",
                                                   2,
                                                   {"\xe5\x9c\xa7\xe5\x9c\xa7", "\xe5\x9c\xa7"}},
                                           WrapRow{"a  b", 10, {"a  b"}}));

} // namespace
} // namespace mirado::test
