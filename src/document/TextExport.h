#pragma once
// The comma-separated text export: its header line, the one-line-per-file row
// ("Dominant") and the one-line-per-animal row ("Mean") with the grouping, sorting and
// averaging behind it. Texts are the files' own CP932 bytes, written unchanged; numbers
// are written without regard to the process's locale. Every line ends with CR LF.

#include <string>
#include <vector>

namespace mirado {

inline constexpr const char* kExportHeader =
    "\"DATE\",\"TIME\",\"ANIMAL NO\",\"EX NO\",\"WEIGHT\",\"SEX/AGE\",\"COMMENT\",\"SAMPLING\","
    "\"HR\",\"SBP\",\"DBP\",\"MBP\"\r\n";

// The columns of one file as they enter a Dominant row: texts as CP932 bytes, sampling
// in whole milliseconds, pressures already converted to mmHg.
struct CExportFields {
    std::string date, time, animalNo, exNo, weight, sexAge, comment;
    int sampling = 0;
    int hr = 0, sbp = 0, dbp = 0, mbp = 0;
};

// One marked file in Mean mode (numbers as single-precision floats).
struct CExportRow {
    std::string date, time, animalNo, exNo, weight, sexAge, comment;
    float sampling = 0, hr = 0, sbp = 0, dbp = 0, mbp = 0;
};

// The encoding the Dominant and Mean texts are written in: the files' own CP932 bytes,
// or the same texts as UTF-8 after a byte-order mark, which spreadsheets on any system
// read with the Japanese texts intact.
enum class ExportEncoding { Cp932, Utf8WithBom };

inline constexpr const char* kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The export text in the chosen encoding is ExportTextStart (the byte-order mark of UTF-8)
// followed by its lines encoded, in one piece or several; a byte that is no CP932
// character becomes U+FFFD in UTF-8.
std::string ExportTextStart(ExportEncoding encoding);
std::string EncodeExportLines(const std::string& cp932Lines, ExportEncoding encoding);

std::string FormatDominantLine(const CExportFields& fields);
CExportRow MakeExportRow(const CExportFields& fields);
std::string FormatMeanLine(const CExportRow& row);

// The two lists of a Mean export: the rows of the marked files and, once averaged, one
// row per animal number.
class CMeanExport {
public:
    void Begin();
    int Append(CExportRow row);
    // Stable ascending sort on the animal number's bytes: equal numbers keep list order.
    void Sort();
    // Builds one mean row per run of equal animal numbers; returns their count.
    int Average();
    int GetMeanCount() const { return static_cast<int>(means_.size()); }
    // The Mean line of mean row index; "" for an index outside the list.
    std::string FormatMean(int index) const;
    void End();

private:
    std::vector<CExportRow> rows_;
    std::vector<CExportRow> means_;
};

} // namespace mirado
