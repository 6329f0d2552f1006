#pragma once
// The export run shared by the main window's "Save to Textfile" and the batch tool:
// open the first file, walk every entry of the list, collect the rows of the marked
// ones (one per file, or one averaged row per animal), reopen the file that was current
// and put the text in place in one step, so that a failed write never leaves a truncated
// file that looks complete. The text goes to a temporary file as it is made, so memory
// does not grow with the number of files.

#include "document/DominantValues.h"
#include "document/TextExport.h"

#include <functional>
#include <string>
#include <vector>

namespace mirado {

class CMiradoDoc;

// Dominant: one line per file; Mean: one averaged line per animal; Table: the tidy
// UTF-8 table with one row per file (TableExport).
enum class ExportMode { Dominant, Mean, Table };

// The names the export's save dialog proposes: the text of Dominant and Mean, the table.
inline constexpr const char* kTextExportFileName = "Textout.txt";
inline constexpr const char* kTableExportFileName = "Textout.csv";

// What the user chose in the export's save dialog besides the file (the save dialog's panel).
struct ExportChoice {
    ExportMode mode = ExportMode::Dominant;
    ExportEncoding encoding = ExportEncoding::Cp932; // of Dominant and Mean
    ValueSource source = ValueSource::Stored;        // of Table
};

inline constexpr const char* kExportCaption = "Output to Textfile";
inline constexpr const char* kNoFilesSelectedText = "No files selected.";
inline constexpr const char* kNotWritableFormat =
    "Not writable [ %s ]\u3000Check drive type(write only drive?), File attribute(Write "
    "Protect?) etc.";
// Formats: "%1" stands for the path, "%2" for the system's reason.
inline constexpr const char* kExportWriteFailedFormat =
    "The text file could not be written: %1 (%2)";
inline constexpr const char* kFileOfListFormat =
    "%1 is one of the files in the list. Choose another file.";
// "%1" stands for the number of marked files that could not be read.
inline constexpr const char* kLeftOutOfMeansFormat =
    "Marked files left out of the means because they could not be read: %1";

// Called with the list index of every entry the run opens (the main window moves the
// file list's row with it).
using ExportProgress = std::function<void(int index)>;
// Asked before each entry is opened; once it answers true the run stops walking (the
// entry that was current is still reopened) and ExportMarkedFiles writes nothing.
using ExportCancelled = std::function<bool()>;

// The header and the rows of the marked files. Leaves the document on the entry that
// was current before (reopened), or on the last entry when nothing was loaded. A Mean
// line averages the files that were read; a marked file that could not be read is left
// out of every mean and counted in leftOut (when given).
std::string BuildExportText(CMiradoDoc& doc, ExportMode mode, const ExportProgress& progress,
                            const ExportCancelled& cancelled = {}, int* leftOut = nullptr);

struct ExportResult {
    bool written = false;
    bool cancelled = false; // stopped by the user: nothing was written
    std::string error;      // why the file was not written (kExportWriteFailedFormat)
    std::string reason;     // the system's words for it
    int leftOut = 0;        // marked files left out of the means because they could not be read
};

// The text that tells how many files the means left out, in format (the English one by
// default).
std::string LeftOutOfMeansText(int leftOut, const std::string& format = kLeftOutOfMeansFormat);

// Replaces the file at path by the text BuildExportText makes, in the chosen encoding,
// in one step.
ExportResult ExportMarkedFiles(CMiradoDoc& doc, ExportMode mode, const std::string& path,
                               const ExportProgress& progress,
                               const ExportCancelled& cancelled = {},
                               ExportEncoding encoding = ExportEncoding::Cp932);

// Told of each file of the table that failed to load, with its load message.
using ExportFailure = std::function<void(const std::string& path, const std::string& error)>;

// The tidy table of the given files, read on up to jobs threads, replacing the file at
// path in one step. progress is called with the number of files done; cancelled is
// asked after each one.
ExportResult ExportTable(const std::vector<std::string>& files, ValueSource source,
                         const std::string& path, unsigned jobs, const ExportProgress& progress,
                         const ExportCancelled& cancelled = {}, const ExportFailure& failed = {});

// The paths of the marked entries of the document's list, in list order.
std::vector<std::string> MarkedPaths(const CMiradoDoc& doc);

// Whether a file can be created at path (its folder is writable and an existing file
// there may be replaced). Nothing at path changes.
bool CanWriteExportFile(const std::string& path);
// The "Not writable" text for path, in format (the English one by default).
std::string NotWritableText(const std::string& path,
                            const std::string& format = kNotWritableFormat);
// Whether path names a file of the document's list (by any spelling or link): the
// export would replace a recording with its text.
bool IsFileOfList(const CMiradoDoc& doc, const std::string& path);
// The text that refuses such a target, in format (the English one by default).
std::string FileOfListText(const std::string& path, const std::string& format = kFileOfListFormat);
// The text of an export that could not write path, in format (the English one by default).
std::string ExportWriteFailedText(const std::string& path, const std::string& reason,
                                  const std::string& format = kExportWriteFailedFormat);

} // namespace mirado
