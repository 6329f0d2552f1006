#pragma once
// A report made to be printed: a title, lines of text, then tables of text cells. What
// fills it is the report's own business (the exclusion report fills it from a review);
// how it is cut into pages and drawn is the drawing's (CReportPages). Texts are UTF-8.

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

struct PrintedReport {
    std::string title;
    std::vector<std::string> lines; // paragraphs, each wrapped to the page's width
    std::vector<ReportTable> tables;
};

} // namespace mirado
