#pragma once
// The export runs shared by the main window's "Save to Textfile" and the batch tool. Each
// reads the marked files on its own, from their paths, in parallel and in list order:
// the document, its current file, unsaved edits and edit history are never touched. The
// text goes to a temporary file as it is made and is put in place in one step, so that a
// failed write never leaves a truncated file that looks complete, and memory does not
// grow with the number of files.

#include "document/DominantValues.h"
#include "document/Reading.h"
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

// Called with the number of files done so far.
using ExportProgress = std::function<void(int done)>;
// Asked after each file; once it answers true the run stops and writes nothing.
using ExportCancelled = std::function<bool()>;
// Told of each file of a Dominant or Mean run as it is read, in the files' order, with its
// place among the files given; the reading says whether it loaded and the load message.
using ExportRead = std::function<void(size_t index, const Reading& reading)>;

// The header and the rows of the files, read on up to jobs threads. The rows take the
// values stored in the files. Dominant: one row per file, a file that failed to load
// giving the values read before the failure. Mean: one averaged row per animal number
// over the files that loaded; those that did not are counted in leftOut (when given).
std::string BuildExportText(const std::vector<std::string>& files, ExportMode mode, unsigned jobs,
                            const ExportRead& read = {}, const ExportCancelled& cancelled = {},
                            int* leftOut = nullptr);

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
ExportResult ExportFiles(const std::vector<std::string>& files, ExportMode mode,
                         const std::string& path, unsigned jobs, const ExportRead& read = {},
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
// The list indices of the marked entries, in list order.
std::vector<int> MarkedIndices(const CMiradoDoc& doc);

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
