#pragma once
// The tidy table export: one UTF-8 comma-separated row per file with a header row, for
// spreadsheets, pandas and R. Each file is read on its own with fresh analysis records,
// like a reading of the study summary, so the rows do not depend on the document or on
// the order of the files. Dot decimals, RFC 4180 quoting, LF line ends, no byte-order
// mark. A file that fails to load keeps its path, name and load message (and the source
// "stored"); its other columns are empty. Every field is valid UTF-8: a byte of a file
// name that is not becomes U+FFFD, and the last column, path_bytes, then holds the path's
// exact bytes in hex (it is empty for a path that is valid UTF-8).

#include "document/DominantValues.h"

#include <functional>
#include <string>
#include <vector>

namespace mirado {

inline constexpr const char* kTableExportHeader =
    "path,file,date,time,animal_no,study_no,weight,sex_age,comment,species,sampling_ms,"
    "inflation_mmhg,sbp,mbp,dbp,hr,marker_s,marker_m,marker_interval_ms,source,code,flag,"
    "complete,error,path_bytes\n";

// The row of one file (ending with LF) and the file's load message, empty when it loaded.
// Values the viewer shows as absent for the source (marker M and the S-M interval when
// the values are not valid) are empty.
struct TableLine {
    std::string text;
    std::string error;
};
TableLine ReadTableLine(const std::string& path, ValueSource source);

// The same row as its fields in the header's order (valid UTF-8, not yet quoted), for
// callers that take the values themselves, and the file's load message.
struct TableRow {
    std::vector<std::string> fields;
    std::string error;
};
TableRow ReadTableRow(const std::string& path, ValueSource source);
// The row's line as ReadTableLine writes it.
std::string TableRowText(const TableRow& row);

// Called on the calling thread after each row with the number done and the row; false
// stops the run.
using TableProgress = std::function<bool(size_t done, const TableLine& line)>;

// The header and the rows of the files in their order, read on up to jobs threads; the
// text is the same whatever the number of threads. Empty when progress stopped the run.
std::string BuildTableText(const std::vector<std::string>& paths, ValueSource source, unsigned jobs,
                           const TableProgress& progress = {});

} // namespace mirado
