// Drives the document's list-wide work over several fuzzed recordings: the text export
// (Dominant and Mean), the table export and the study summary, as the window and the
// batch tool run them on a folder of files.
//
// Input: a flag byte, then the files, separated by kFileSeparator. Each file's first byte
// picks its name (the model code of a recording without a model letter follows the
// name's first letter) and whether it is marked; the rest is the recording.
// Flag bits: 0-1 the value source of the table and the summary, 2 UTF-8 text export,
// 3 every file marked, 4 the table also read on two threads, 5 the batch tool's way
// (every file marked before the first open, stored values, records read ahead on two
// threads) instead of the window's, 6 a missing file, a folder and a named pipe listed
// too, and exports tried where they cannot be written.
//
// Checks:
// - each export writes its file, and the file holds exactly the text the export builds;
//   one that cannot be written says so and leaves nothing behind;
// - the text export has the header and at most one line per marked file, every line
//   ended by CR LF with no line break inside;
// - the table has the header and one row per file, every row with the header's number
//   of fields, and the same text on one thread and on two;
// - the summary counts every reading once among the sessions and once among the animals,
//   its statistics are within their values' range, its CSV rows have the header's number
//   of fields and its JSON lines are one object each with no raw control character;
// - in the window's way, the marked files then go to the trash: they leave the list
//   and their place on disk, the others stay.

#include "WorkFolder.h"
#include "document/ExportLoop.h"
#include "document/FileList.h"
#include "document/MiradoDoc.h"
#include "document/Reading.h"
#include "document/StudySummary.h"
#include "document/TableExport.h"
#include "document/TextExport.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "platform/SystemServices.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <string_view>
#include <sys/stat.h>
#include <vector>

namespace mirado {
namespace {

constexpr std::string_view kFileSeparator = "--next file--";
constexpr size_t kMostFiles = 8;
constexpr uint8_t kMarkedBit = 0x80;

[[noreturn]] void Fail(const char* what) {
    std::fprintf(stderr, "fuzz_document: %s\n", what);
    std::abort();
}

struct Flags {
    ValueSource source = ValueSource::Stored;
    ExportEncoding encoding = ExportEncoding::Cp932;
    bool markAll = false;
    bool twoThreads = false;
    bool batch = false;
    bool unreadable = false;
};

Flags ReadFlags(uint8_t byte) {
    constexpr ValueSource kSources[] = {ValueSource::Stored, ValueSource::AnalysisS,
                                        ValueSource::AnalysisSM, ValueSource::AnalysisSM};
    Flags flags;
    flags.source = kSources[byte & 3];
    flags.encoding = (byte & 4) != 0 ? ExportEncoding::Utf8WithBom : ExportEncoding::Cp932;
    flags.markAll = (byte & 8) != 0;
    flags.twoThreads = (byte & 16) != 0;
    flags.batch = (byte & 32) != 0;
    flags.unreadable = (byte & 64) != 0;
    return flags;
}

struct FuzzFile {
    std::string path;
    bool marked = false;
};

const std::string& Folder() {
    return FuzzWorkFolder("mirado-fuzz-document");
}

// A trash that is a folder of the run: a file goes there under a name of its own.
class FolderTrash : public ITrash {
public:
    bool MoveToTrash(const std::string& path) override {
        const std::string folder = Folder() + "/trash";
        std::filesystem::create_directories(folder);
        const std::string target = folder + "/" + std::to_string(++count_);
        return std::rename(path.c_str(), target.c_str()) == 0;
    }

private:
    int count_ = 0;
};

void ClearFolder() {
    for (const auto& entry : std::filesystem::directory_iterator(Folder()))
        std::filesystem::remove_all(entry.path());
}

// A name whose first letter sets the model code of a recording without a model letter
// ("A", "b" or neither), numbered so that every file's name is its own.
std::string NameFor(uint8_t pick, size_t index) {
    constexpr const char* kPrefixes[] = {"A", "b", "MS", "rt"};
    return kPrefixes[pick & 3] + std::to_string((pick >> 2) & 0x1F) + "." +
           std::to_string(1001 + index).substr(1);
}

std::vector<FuzzFile> WriteFiles(std::string_view input) {
    ClearFolder();
    std::vector<FuzzFile> files;
    while (!input.empty() && files.size() < kMostFiles) {
        const size_t end = std::min(input.find(kFileSeparator), input.size());
        const std::string_view chunk = input.substr(0, end);
        input.remove_prefix(std::min(input.size(), end + kFileSeparator.size()));
        if (chunk.empty())
            continue;
        const uint8_t pick = static_cast<uint8_t>(chunk[0]);
        FuzzFile file{Folder() + "/" + NameFor(pick, files.size()), (pick & kMarkedBit) != 0};
        std::ofstream(file.path, std::ios::binary).write(chunk.data() + 1, chunk.size() - 1);
        files.push_back(file);
    }
    return files;
}

// A path where nothing is, a folder and a named pipe, which no export may take for a
// recording (nor wait on).
void AddUnreadable(std::vector<FuzzFile>& files) {
    files.push_back({Folder() + "/missing.001", true});
    files.push_back({Folder() + "/folder.002", true});
    std::filesystem::create_directory(files.back().path);
    files.push_back({Folder() + "/pipe.003", true});
    ::mkfifo(files.back().path.c_str(), 0600);
}

std::string ReadBack(const std::string& path) {
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
    if (!read.ok())
        Fail("an export's file cannot be read");
    return std::string(read.value().begin(), read.value().end());
}

size_t CountOf(const std::string& text, char c) {
    return std::count(text.begin(), text.end(), c);
}

void CheckTextLines(const std::string& text, size_t marked) {
    for (size_t i = 0; i < text.size(); ++i) {
        const bool endsLine = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
        const bool lineEnd = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
        if ((text[i] == '\r' && !endsLine) || (text[i] == '\n' && !lineEnd))
            Fail("a line break inside a text export's line");
    }
    if (text.rfind(kExportHeader, 0) != 0)
        Fail("the text export does not start with its header");
    if (CountOf(text, '\n') > marked + 1 || text.empty() || text.back() != '\n')
        Fail("the text export has more lines than marked files");
}

// An export to a folder that does not exist or onto a folder writes nothing and says so.
void CheckFailedExports(CMiradoDoc& doc) {
    const std::string nowhere = Folder() + "/no-folder/export.csv";
    const std::string folder = Folder() + "/export-folder";
    std::filesystem::create_directory(folder);
    for (const std::string& path : {nowhere, folder}) {
        const ExportResult result = ExportFiles(MarkedPaths(doc), ExportMode::Dominant, path, 1);
        if (result.written || result.error.empty())
            Fail("an export that cannot be written is not reported");
    }
    if (std::filesystem::exists(nowhere) || !std::filesystem::is_directory(folder))
        Fail("a failed export left something behind");
}

void CheckTextExport(const std::vector<std::string>& files, ExportMode mode, const Flags& flags,
                     size_t marked) {
    const std::string path = Folder() + "/export.csv";
    const ExportResult result = ExportFiles(files, mode, path, 2, {}, {}, flags.encoding);
    if (!result.written)
        Fail("the text export was not written");
    const std::string built = BuildExportText(files, mode, 1);
    CheckTextLines(built, marked);
    if (ReadBack(path) !=
        ExportTextStart(flags.encoding) + EncodeExportLines(built, flags.encoding))
        Fail("the text export's file is not the text it builds");
}

// The records of an RFC 4180 text with LF line ends, as their numbers of fields.
std::vector<size_t> CsvFieldCounts(const std::string& text) {
    std::vector<size_t> counts;
    size_t fields = 1;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"' && i + 1 < text.size() && text[i + 1] == '"')
                ++i;
            else if (c == '"')
                quoted = false;
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            ++fields;
        } else if (c == '\n') {
            counts.push_back(fields);
            fields = 1;
        }
    }
    if (quoted || (!text.empty() && text.back() != '\n'))
        Fail("a CSV text ends inside a field or a line");
    return counts;
}

void CheckCsvShape(const std::string& text, size_t rows) {
    const std::vector<size_t> counts = CsvFieldCounts(text);
    if (counts.size() != rows + 1)
        Fail("a CSV text has not one row per item");
    for (size_t count : counts)
        if (count != counts.front())
            Fail("a CSV row's fields differ from the header's");
}

void CheckTable(const std::vector<std::string>& paths, const Flags& flags) {
    const std::string path = Folder() + "/table.csv";
    const ExportResult result = ExportTable(paths, flags.source, path, 1, {});
    if (!result.written)
        Fail("the table was not written");
    const std::string table = BuildTableText(paths, flags.source, 1);
    if (table.rfind(kTableExportHeader, 0) != 0)
        Fail("the table does not start with its header");
    CheckCsvShape(table, paths.size());
    if (ReadBack(path) != table)
        Fail("the table's file is not the table it builds");
    if (flags.twoThreads && BuildTableText(paths, flags.source, 2) != table)
        Fail("the table differs on two threads");
}

void CheckStatistic(const SummaryStatistic& statistic, int n) {
    if (statistic.n < 0 || statistic.n > n)
        Fail("a statistic counts more values than readings");
    if (statistic.n == 0)
        return;
    if (!statistic.mean || !statistic.min || !statistic.max || *statistic.min > *statistic.max ||
        *statistic.mean < *statistic.min || *statistic.mean > *statistic.max)
        Fail("a mean outside its minimum and maximum");
    if (statistic.n > 1 && (!statistic.sd || *statistic.sd < 0 || !statistic.se))
        Fail("a spread missing or below zero");
}

void CheckRows(const std::vector<SummaryRow>& rows, size_t readings) {
    size_t counted = 0;
    for (const SummaryRow& row : rows) {
        counted += static_cast<size_t>(row.n);
        if (row.nComplete > row.n)
            Fail("more complete readings than readings");
        for (const SummaryStatistic* statistic : {&row.sbp, &row.mbp, &row.dbp, &row.hr})
            CheckStatistic(*statistic, row.nComplete);
    }
    if (counted != readings)
        Fail("the summary does not count every reading once");
    CheckCsvShape(SummaryCsv(rows), rows.size());
    const std::string json = SummaryJsonLines(rows);
    if (CountOf(json, '\n') != rows.size())
        Fail("the JSON lines are not one per row");
    for (size_t start = 0; start < json.size();) {
        const size_t end = json.find('\n', start);
        const std::string_view line(json.data() + start, end - start);
        if (line.empty() || line.front() != '{' || line.back() != '}')
            Fail("a JSON line is not one object");
        if (std::any_of(line.begin(), line.end(), [](char c) { return uint8_t(c) < 0x20; }))
            Fail("a raw control character in a JSON line");
        start = end + 1;
    }
}

void CheckSummary(const std::vector<std::string>& paths, const Flags& flags) {
    const std::vector<Reading> readings = ReadRecordings(paths, flags.source, 1);
    if (readings.size() != paths.size())
        Fail("not one reading per file");
    const StudySummary summary = SummarizeReadings(readings, flags.source);
    // A reading whose header could not be read joins no group.
    const auto grouped = static_cast<size_t>(
        std::count_if(readings.begin(), readings.end(),
                      [](const Reading& reading) { return reading.headerRead; }));
    CheckRows(summary.sessions, grouped);
    CheckRows(summary.animals, grouped);
}

void CheckTrash(CMiradoDoc& doc, size_t marked) {
    std::vector<std::string> kept, thrown;
    for (int index = 0; index < doc.GetFileCount(); ++index)
        (doc.IsSelected(index) ? thrown : kept).push_back(doc.GetPathAt(index));
    doc.RemoveSelectedFiles();
    if (static_cast<size_t>(doc.GetFileCount()) != kept.size() || thrown.size() != marked)
        Fail("the trash did not take exactly the marked files");
    for (size_t i = 0; i < kept.size(); ++i)
        if (doc.Files().At(static_cast<int>(i)).path != kept[i])
            Fail("a file left in the list is not one that was not marked");
    for (const std::string& path : thrown)
        if (std::filesystem::exists(path))
            Fail("a file sent to the trash is still in its place");
}

// Opens each file and reads what the panes and the samples export read.
void VisitFiles(CMiradoDoc& doc) {
    for (int index = 0; index >= 0; index = doc.NextIndex()) {
        if (!doc.OpenFileAt(index))
            continue;
        doc.CurrentSamplesCsv();
        doc.ShowAnalysis(index % 2 == 0);
        int markerS = 0, markerM = 0, markerD = 0;
        doc.GetMarkers(markerS, markerM, markerD);
        doc.FormatDominantRow();
        doc.ShowStoredValues();
        doc.GetNameAt(index);
    }
}

// The window's way: the list opens on its first file, the user marks files, views each
// one, exports, then sends the marked files to the trash.
void RunAsWindow(const std::vector<FuzzFile>& files, const Flags& flags) {
    std::ostringstream messages;
    CConsolePrompts prompts(messages, "fuzz", MessageAnswer::No);
    FolderTrash trash;
    DocumentServices services;
    services.prompts = &prompts;
    services.trash = &trash;
    CMiradoDoc doc(services);
    std::vector<std::string> paths;
    for (const FuzzFile& file : files)
        paths.push_back(file.path);
    doc.SetFileList(paths);
    doc.OpenFileAt(0);
    for (size_t i = 0; i < files.size(); ++i)
        if (flags.markAll || files[i].marked)
            doc.ToggleSelected(static_cast<int>(i));
    const size_t marked = static_cast<size_t>(doc.CountSelected());
    VisitFiles(doc);
    const int current = doc.GetCurrentIndex();
    CheckTextExport(MarkedPaths(doc), ExportMode::Dominant, flags, marked);
    CheckTextExport(MarkedPaths(doc), ExportMode::Mean, flags, marked);
    if (doc.GetCurrentIndex() != current)
        Fail("the text export moved the current file");
    if (!IsFileOfList(doc, paths.front()))
        Fail("a listed file is not taken for one of the list");
    if (flags.unreadable)
        CheckFailedExports(doc);
    CheckTrash(doc, marked);
}

// The batch tool's way: every file marked.
void RunAsBatch(const std::vector<std::string>& paths, const Flags& flags) {
    CheckTextExport(paths, ExportMode::Dominant, flags, paths.size());
}

} // namespace
} // namespace mirado

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size) {
    using namespace mirado;
    if (size < 1)
        return 0;
    const Flags flags = ReadFlags(bytes[0]);
    std::vector<FuzzFile> files =
        WriteFiles(std::string_view(reinterpret_cast<const char*>(bytes + 1), size - 1));
    if (files.empty())
        return 0;
    if (flags.unreadable)
        AddUnreadable(files);
    std::vector<std::string> paths;
    for (const FuzzFile& file : files)
        paths.push_back(file.path);
    CheckTable(paths, flags);
    CheckSummary(paths, flags);
    if (flags.batch)
        RunAsBatch(paths, flags);
    else
        RunAsWindow(files, flags);
    return 0;
}
