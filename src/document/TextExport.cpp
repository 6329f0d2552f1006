#include "document/TextExport.h"

#include "records/TextEncoding.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

namespace mirado {

namespace {

constexpr size_t kTextColumnWidth = 8;
constexpr size_t kMeanNumberWidth = 6;
constexpr int kMeanDecimals = 1;
constexpr const char* kLineEnd = "\r\n";

// printf's "%8s": right-aligned in at least eight characters, never cut.
void AppendPadded(std::string& out, const std::string& text, size_t width) {
    if (text.size() < width)
        out.append(width - text.size(), ' ');
    out += text;
}

// A text inside a quoted column: a line break would split the row, so CR and LF become
// blanks; a double quote is doubled, as a comma-separated reader expects. Texts without
// these characters pass unchanged.
void AppendCsvText(std::string& out, const std::string& text) {
    for (char c : text) {
        if (c == '"')
            out += "\"\"";
        else if (c == '\r' || c == '\n')
            out += ' ';
        else
            out += c;
    }
}

// The padding is counted on the stored text, before any quote is doubled.
void AppendQuotedPadded(std::string& out, const std::string& text) {
    out += '"';
    if (text.size() < kTextColumnWidth)
        out.append(kTextColumnWidth - text.size(), ' ');
    AppendCsvText(out, text);
    out += "\",";
}

void AppendInt(std::string& out, long long value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// printf's "%6.1f" in the C locale.
void AppendMeanNumber(std::string& out, double value) {
    char buffer[400]; // room for any double in fixed notation
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      std::chars_format::fixed, kMeanDecimals);
    AppendPadded(out, std::string(buffer, result.ptr), kMeanNumberWidth);
}

void AppendTextColumns(std::string& out, const std::string& date, const std::string& time,
                       const std::string& animalNo, const std::string& exNo,
                       const std::string& weight, const std::string& sexAge,
                       const std::string& comment) {
    for (const std::string* text : {&date, &time, &animalNo, &exNo, &weight, &sexAge})
        AppendQuotedPadded(out, *text);
    out += '"';
    AppendCsvText(out, comment);
    out += "\",";
}

bool AnimalNoLess(const CExportRow& a, const CExportRow& b) {
    // Byte order as unsigned characters, the way a multibyte comparison orders them.
    return std::lexicographical_compare(a.animalNo.begin(), a.animalNo.end(), b.animalNo.begin(),
                                        b.animalNo.end(), [](char x, char y) {
                                            return static_cast<unsigned char>(x) <
                                                   static_cast<unsigned char>(y);
                                        });
}

} // namespace

std::string ExportTextStart(ExportEncoding encoding) {
    return encoding == ExportEncoding::Utf8WithBom ? kUtf8ByteOrderMark : "";
}

std::string EncodeExportLines(const std::string& cp932Lines, ExportEncoding encoding) {
    return encoding == ExportEncoding::Cp932 ? cp932Lines : Cp932ToUtf8(cp932Lines);
}

std::string FormatDominantLine(const CExportFields& fields) {
    std::string line;
    AppendTextColumns(line, fields.date, fields.time, fields.animalNo, fields.exNo, fields.weight,
                      fields.sexAge, fields.comment);
    AppendInt(line, fields.sampling);
    for (int value : {fields.hr, fields.sbp, fields.dbp, fields.mbp}) {
        line += ",\"";
        AppendInt(line, value);
        line += '"';
    }
    line += kLineEnd;
    return line;
}

CExportRow MakeExportRow(const CExportFields& fields) {
    CExportRow row;
    row.date = fields.date;
    row.time = fields.time;
    row.animalNo = fields.animalNo;
    row.exNo = fields.exNo;
    row.weight = fields.weight;
    row.sexAge = fields.sexAge;
    row.comment = fields.comment;
    // Each number enters the row as a 16-bit value.
    row.sampling = static_cast<float>(static_cast<int16_t>(fields.sampling));
    row.hr = static_cast<float>(static_cast<int16_t>(fields.hr));
    row.sbp = static_cast<float>(static_cast<int16_t>(fields.sbp));
    row.dbp = static_cast<float>(static_cast<int16_t>(fields.dbp));
    row.mbp = static_cast<float>(static_cast<int16_t>(fields.mbp));
    return row;
}

std::string FormatMeanLine(const CExportRow& row) {
    std::string line;
    AppendTextColumns(line, row.date, row.time, row.animalNo, row.exNo, row.weight, row.sexAge,
                      row.comment);
    AppendInt(line, static_cast<long long>(row.sampling));
    for (float value : {row.hr, row.sbp, row.dbp, row.mbp}) {
        line += ",\"";
        AppendMeanNumber(line, static_cast<double>(value));
        line += '"';
    }
    line += kLineEnd;
    return line;
}

void CMeanExport::Begin() {
    rows_.clear();
    means_.clear();
}

int CMeanExport::Append(CExportRow row) {
    rows_.push_back(std::move(row));
    return static_cast<int>(rows_.size());
}

void CMeanExport::Sort() {
    std::stable_sort(rows_.begin(), rows_.end(), AnimalNoLess);
}

int CMeanExport::Average() {
    means_.clear();
    size_t first = 0;
    while (first < rows_.size()) {
        size_t end = first + 1;
        while (end < rows_.size() && rows_[end].animalNo == rows_[first].animalNo)
            ++end;
        float hr = 0, sbp = 0, dbp = 0, mbp = 0;
        for (size_t i = first; i < end; ++i) {
            hr += rows_[i].hr;
            sbp += rows_[i].sbp;
            dbp += rows_[i].dbp;
            mbp += rows_[i].mbp;
        }
        const float count = static_cast<float>(end - first);
        CExportRow mean = rows_[first];
        mean.hr = hr / count;
        mean.sbp = sbp / count;
        mean.dbp = dbp / count;
        mean.mbp = mbp / count;
        means_.push_back(std::move(mean));
        first = end;
    }
    return GetMeanCount();
}

std::string CMeanExport::FormatMean(int index) const {
    if (index < 0 || index >= GetMeanCount())
        return {};
    return FormatMeanLine(means_[static_cast<size_t>(index)]);
}

void CMeanExport::End() {
    rows_.clear();
    rows_.shrink_to_fit();
    means_.clear();
    means_.shrink_to_fit();
}

} // namespace mirado
