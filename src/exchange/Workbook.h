#pragma once
// Tables as an Excel workbook: one sheet per table, its first row the header (bold, frozen),
// numbers stored as numbers with their decimals as the cell format, dates ("YY/MM/DD") and
// times ("hh:mm:ss") as date and time values shown the same way, moments in UTC
// ("2026-12-08T00:54:29+00:00" or "...Z", years 2000 to 2099) as date-times shown
// "yyyy-mm-dd hh:mm:ss", columns as wide as their texts. A column is numeric, or of dates,
// times or moments, when every filled cell has that shape; a cell of such a column that is
// no valid date, time or moment stays text, and the named text columns stay text whatever
// they hold ("007" keeps its zeros either way).

#include "files/Result.h"

#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace mirado {

using TableRows = std::vector<std::vector<std::string>>;

struct WorkbookSheet {
    std::string name; // at most 31 characters, none of []:*?/
    TableRows rows;   // the header row first
    std::set<std::string> textColumns;
};

// The rows of an RFC 4180 text (quoted fields may hold commas, quotes and line breaks).
TableRows CsvRows(std::string_view csv);

// A sheet of the CSV table whose identification columns (path, file, animal_no, study_no,
// weight, sex_age, comment and the review's texts) stay text.
WorkbookSheet SheetFromCsv(std::string name, std::string_view csv);

enum class ColumnKind { Text, Number, Date, Time, Moment };

// What a column holds, from its filled cells (the header row not counted).
ColumnKind ColumnKindOf(const WorkbookSheet& sheet, size_t column);

// The cell format of a number text: "0", "0.0", "0.00", ... by its decimals; "General"
// for a number written with an exponent.
std::string NumberFormatOf(const std::string& number);

// Writes the sheets to path without ever leaving it half-written, replacing a file there.
// A failure gives the reason.
Result<void> WriteWorkbook(const std::string& path, const std::vector<WorkbookSheet>& sheets);

// The CSV tables (name and text, one sheet each, in order) as a workbook at path.
using NamedCsv = std::pair<std::string, std::string>;
Result<void> WriteCsvWorkbook(const std::string& path, const std::vector<NamedCsv>& tables);

// Whether a path names a workbook: it ends in ".xlsx", in any case.
bool IsWorkbookPath(const std::string& path);

// A CSV table saved where a dialog offers both: as a one-sheet workbook (sheetName) when
// the path names one, else the CSV text itself, either replacing the file whole.
Result<void> WriteTableFile(const std::string& path, const std::string& sheetName,
                            const std::string& csv);

} // namespace mirado
