#include "exchange/Workbook.h"

#include "document/StudySummary.h"
#include "files/FileAccess.h"
#include "platform/Utf8.h"

#include <xlsxwriter.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>

#include <unistd.h>

namespace mirado {

namespace {

constexpr size_t kMaxWorkbookSize = size_t{1} << 31;
constexpr double kMinColumnWidth = 6;
constexpr double kMaxColumnWidth = 60;
constexpr const char* kDateFormat = "yy/mm/dd";
constexpr const char* kTimeFormat = "hh:mm:ss";
constexpr const char* kMomentFormat = "yyyy-mm-dd hh:mm:ss";
// A moment in UTC as the review log writes it: "2026-12-08T00:54:29+00:00" (or "...Z").
constexpr size_t kMomentLength = 19;

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// Digits from at; the position after them.
size_t SkipDigits(const std::string& text, size_t at) {
    while (at < text.size() && IsDigit(text[at]))
        ++at;
    return at;
}

// A decimal number as the tables write it: an optional minus, no leading zeros, optional
// decimals and exponent. "007", "+1", "1." and " 1" are not.
bool IsNumberText(const std::string& text) {
    size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    const size_t digits = SkipDigits(text, at);
    if (digits == at || (text[at] == '0' && digits > at + 1))
        return false;
    at = digits;
    if (at < text.size() && text[at] == '.') {
        const size_t decimals = SkipDigits(text, at + 1);
        if (decimals == at + 1)
            return false;
        at = decimals;
    }
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        size_t exponent = at + 1;
        if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        at = SkipDigits(text, exponent);
        if (at == exponent)
            return false;
    }
    return at == text.size();
}

// Two digits, a separator, two digits, the separator, two digits.
bool HasPairsShape(const std::string& text, char separator) {
    return text.size() == 8 && text[2] == separator && text[5] == separator && IsDigit(text[0]) &&
           IsDigit(text[1]) && IsDigit(text[3]) && IsDigit(text[4]) && IsDigit(text[6]) &&
           IsDigit(text[7]);
}

int PairAt(const std::string& text, size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

std::optional<lxw_datetime> DateValue(const std::string& text) {
    const std::optional<SessionDate> date = ReadSessionDate(text);
    if (!date)
        return std::nullopt;
    return lxw_datetime{date->year, date->month, date->day, 0, 0, 0};
}

std::optional<lxw_datetime> TimeValue(const std::string& text) {
    if (!HasPairsShape(text, ':'))
        return std::nullopt;
    const int hour = PairAt(text, 0), minute = PairAt(text, 3), second = PairAt(text, 6);
    if (hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    return lxw_datetime{0, 0, 0, hour, minute, static_cast<double>(second)};
}

bool IsUtcSuffix(std::string_view suffix) {
    return suffix == "Z" || suffix == "+00:00";
}

// "YYYY-MM-DDThh:mm:ss" and a UTC suffix, by shape only.
bool HasMomentShape(const std::string& text) {
    if (text.size() <= kMomentLength || !IsUtcSuffix(std::string_view(text).substr(kMomentLength)))
        return false;
    static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:dd";
    for (size_t at = 0; at < kMomentLength; ++at)
        if (kShape[at] == 'd' ? !IsDigit(text[at]) : text[at] != kShape[at])
            return false;
    return true;
}

std::optional<lxw_datetime> MomentValue(const std::string& text) {
    if (!HasMomentShape(text))
        return std::nullopt;
    const std::optional<lxw_datetime> date =
        DateValue(text.substr(2, 2) + "/" + text.substr(5, 2) + "/" + text.substr(8, 2));
    const std::optional<lxw_datetime> time = TimeValue(text.substr(11, 8));
    if (!date || !time || text.substr(0, 2) != "20")
        return std::nullopt;
    return lxw_datetime{date->year, date->month, date->day, time->hour, time->min, time->sec};
}

// The width a text takes in a cell: wide (East Asian) characters count twice.
double DisplayWidth(const std::string& text) {
    double width = 0;
    for (size_t at = 0; at < text.size();) {
        const size_t length = std::max<size_t>(1, ValidUtf8SequenceLength(text, at));
        width += length >= 3 ? 2 : 1;
        at += length;
    }
    return width;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

class CSheetWriter {
public:
    CSheetWriter(lxw_workbook* workbook, lxw_worksheet* sheet)
        : workbook_(workbook), sheet_(sheet) {
        header_ = workbook_add_format(workbook_);
        format_set_bold(header_);
        date_ = NamedFormat(kDateFormat);
        time_ = NamedFormat(kTimeFormat);
        moment_ = NamedFormat(kMomentFormat);
    }

    void Write(const WorkbookSheet& table) {
        if (table.rows.empty())
            return;
        std::vector<ColumnKind> kinds;
        for (size_t column = 0; column < table.rows.front().size(); ++column)
            kinds.push_back(ColumnKindOf(table, column));
        std::vector<double> widths(kinds.size(), kMinColumnWidth);
        for (size_t row = 0; row < table.rows.size(); ++row) {
            const std::vector<std::string>& cells = table.rows[row];
            for (size_t column = 0; column < cells.size(); ++column) {
                const ColumnKind kind =
                    row == 0 || column >= kinds.size() ? ColumnKind::Text : kinds[column];
                WriteCell(static_cast<lxw_row_t>(row), static_cast<lxw_col_t>(column),
                          cells[column], kind, row == 0);
                if (column < widths.size())
                    widths[column] = std::max(widths[column], DisplayWidth(cells[column]) + 2);
            }
        }
        for (size_t column = 0; column < widths.size(); ++column)
            worksheet_set_column(sheet_, static_cast<lxw_col_t>(column),
                                 static_cast<lxw_col_t>(column),
                                 std::min(widths[column], kMaxColumnWidth), nullptr);
        worksheet_freeze_panes(sheet_, 1, 0);
    }

private:
    lxw_format* NamedFormat(const std::string& text) {
        lxw_format* format = workbook_add_format(workbook_);
        format_set_num_format(format, text.c_str());
        return format;
    }

    lxw_format* NumberFormat(const std::string& number) {
        const std::string text = NumberFormatOf(number);
        auto found = numbers_.find(text);
        if (found == numbers_.end())
            found = numbers_.emplace(text, NamedFormat(text)).first;
        return found->second;
    }

    void WriteCell(lxw_row_t row, lxw_col_t column, const std::string& text, ColumnKind kind,
                   bool header) {
        if (text.empty())
            return;
        std::optional<lxw_datetime> when;
        if (kind == ColumnKind::Number) {
            worksheet_write_number(sheet_, row, column, std::strtod(text.c_str(), nullptr),
                                   NumberFormat(text));
        } else if (kind == ColumnKind::Date && (when = DateValue(text))) {
            worksheet_write_datetime(sheet_, row, column, &*when, date_);
        } else if (kind == ColumnKind::Time && (when = TimeValue(text))) {
            worksheet_write_datetime(sheet_, row, column, &*when, time_);
        } else if (kind == ColumnKind::Moment && (when = MomentValue(text))) {
            worksheet_write_datetime(sheet_, row, column, &*when, moment_);
        } else {
            const std::string valid = WithInvalidUtf8Replaced(text);
            worksheet_write_string(sheet_, row, column, valid.c_str(), header ? header_ : nullptr);
        }
    }

    lxw_workbook* workbook_;
    lxw_worksheet* sheet_;
    lxw_format* header_ = nullptr;
    lxw_format* date_ = nullptr;
    lxw_format* time_ = nullptr;
    lxw_format* moment_ = nullptr;
    std::map<std::string, lxw_format*> numbers_;
};

// Writes the workbook to path (a new, empty temporary file); the reason on failure.
Result<void> WriteWorkbookFile(const std::string& path, const std::vector<WorkbookSheet>& sheets) {
    lxw_workbook* workbook = workbook_new(path.c_str());
    if (workbook == nullptr)
        return Fail("cannot start the workbook");
    for (const WorkbookSheet& table : sheets) {
        lxw_worksheet* sheet = workbook_add_worksheet(workbook, table.name.c_str());
        if (sheet == nullptr) {
            workbook_close(workbook);
            return Fail("cannot add the sheet " + table.name);
        }
        CSheetWriter(workbook, sheet).Write(table);
    }
    if (const lxw_error error = workbook_close(workbook); error != LXW_NO_ERROR)
        return Fail(lxw_strerror(error));
    return Ok();
}

} // namespace

TableRows CsvRows(std::string_view csv) {
    TableRows rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    for (size_t at = 0; at < csv.size(); ++at) {
        const char c = csv[at];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (at + 1 < csv.size() && csv[at + 1] == '"')
                field += csv[++at];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(std::move(field));
            field.clear();
        } else if (c == '\n') {
            row.push_back(std::move(field));
            field.clear();
            rows.push_back(std::move(row));
            row.clear();
        } else if (c != '\r') {
            field += c;
        }
    }
    if (!field.empty() || !row.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

WorkbookSheet SheetFromCsv(std::string name, std::string_view csv) {
    return {std::move(name),
            CsvRows(csv),
            {"path", "file", "animal_no", "study_no", "weight", "sex_age", "comment", "error",
             "path_bytes", "reason", "note", "user", "decided_by"}};
}

ColumnKind ColumnKindOf(const WorkbookSheet& sheet, size_t column) {
    if (sheet.rows.empty() || column >= sheet.rows.front().size() ||
        sheet.textColumns.count(sheet.rows.front()[column]) > 0)
        return ColumnKind::Text;
    bool numbers = true, dates = true, times = true, moments = true, filled = false;
    for (size_t row = 1; row < sheet.rows.size(); ++row) {
        if (column >= sheet.rows[row].size() || sheet.rows[row][column].empty())
            continue;
        const std::string& text = sheet.rows[row][column];
        filled = true;
        numbers &= IsNumberText(text);
        dates &= HasPairsShape(text, '/');
        times &= HasPairsShape(text, ':');
        moments &= HasMomentShape(text);
    }
    if (!filled)
        return ColumnKind::Text;
    return numbers   ? ColumnKind::Number
           : dates   ? ColumnKind::Date
           : times   ? ColumnKind::Time
           : moments ? ColumnKind::Moment
                     : ColumnKind::Text;
}

std::string NumberFormatOf(const std::string& number) {
    if (number.find_first_of("eE") != std::string::npos)
        return "General";
    const size_t dot = number.find('.');
    return dot == std::string::npos ? "0" : "0." + std::string(number.size() - dot - 1, '0');
}

Result<void> WriteWorkbook(const std::string& path, const std::vector<WorkbookSheet>& sheets) {
    const auto failed = [](const std::string& reason) { return Fail(reason); };
    if (const Result<void> writable = CanReplaceFile(path); !writable.ok())
        return failed(writable.error());
    std::string temporary = FolderOf(path) + "/.mirado-workbook-XXXXXX";
    const int fd = mkstemp(temporary.data());
    if (fd < 0)
        return failed("cannot create a temporary file in its folder");
    close(fd);
    const Result<void> made = WriteWorkbookFile(temporary, sheets);
    Result<std::vector<uint8_t>> bytes =
        made.ok() ? ReadWholeFile(temporary, kMaxWorkbookSize) : Fail(made.error());
    unlink(temporary.c_str());
    if (!bytes.ok())
        return failed(bytes.error());
    const std::vector<uint8_t>& data = bytes.value();
    const Result<void> written = WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
    return written.ok() ? Ok() : failed(written.error());
}

Result<void> WriteCsvWorkbook(const std::string& path, const std::vector<NamedCsv>& tables) {
    std::vector<WorkbookSheet> sheets;
    for (const auto& [name, csv] : tables)
        sheets.push_back(SheetFromCsv(name, csv));
    return WriteWorkbook(path, sheets);
}

bool IsWorkbookPath(const std::string& path) {
    constexpr std::string_view kExtension = ".xlsx";
    if (path.size() < kExtension.size())
        return false;
    std::string end = path.substr(path.size() - kExtension.size());
    for (char& c : end)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return end == kExtension;
}

Result<void> WriteTableFile(const std::string& path, const std::string& sheetName,
                            const std::string& csv) {
    if (IsWorkbookPath(path))
        return WriteCsvWorkbook(path, {{sheetName, csv}});
    return WriteFileAtomically(path, csv);
}

} // namespace mirado
