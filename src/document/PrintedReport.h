#pragma once
// A report made to be printed: a title, lines of text, then tables of text cells and
// figures among them. What fills it is the report's own business (the exclusion report
// fills it from a review); how it is cut into pages and drawn is the drawing's
// (CReportPages). A figure is only a titled room on the page: whoever prints the report
// draws into it what its key names (a chart). Texts are UTF-8.

#include <cstddef>
#include <string>
#include <vector>

namespace mirado {

struct ReportTable {
    std::string title;
    std::vector<std::string> columns;
    std::vector<bool> rightAligned; // per column; missing entries are left-aligned
    std::vector<std::vector<std::string>> rows;
    std::string emptyText; // shown in place of the rows when there are none
};

// Right alignment for a table whose first textColumns columns are texts and the rest
// numbers.
inline std::vector<bool> RightAlignedAfter(size_t textColumns, size_t columns) {
    std::vector<bool> right(columns, true);
    for (size_t column = 0; column < textColumns && column < columns; ++column)
        right[column] = false;
    return right;
}

struct ReportFigure {
    std::string title;
    std::string key;       // tells the printer what to draw
    size_t afterTable = 0; // placed after this many of the report's tables
};

struct PrintedReport {
    std::string title;
    std::vector<std::string> lines; // paragraphs, each wrapped to the page's width
    std::vector<ReportTable> tables;
    std::vector<ReportFigure> figures; // in order of afterTable
};

} // namespace mirado
