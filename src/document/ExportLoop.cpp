#include "document/ExportLoop.h"

#include "document/MessageText.h"
#include "document/MiradoDoc.h"
#include "document/TableExport.h"
#include "files/FileAccess.h"

#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace mirado {

namespace {

void Report(const ExportProgress& progress, int done) {
    if (progress)
        progress(done);
}

bool IsCancelled(const ExportCancelled& cancelled) {
    return cancelled && cancelled();
}

// Takes the outcome of writing the file at path into result.
void TakeWriteOutcome(const Result<void>& write, const std::string& path, ExportResult& result) {
    result.written = write.ok();
    result.reason = write.error();
    if (!result.written)
        result.error = ExportWriteFailedText(path, result.reason);
}

ExportResult WriteExportText(const std::string& path, const std::string& text) {
    ExportResult result;
    TakeWriteOutcome(WriteFileAtomically(path, text), path, result);
    return result;
}

// Hands the header and then each row to write as it is made (Mean: the averaged rows
// after the last file). Returns the number of files the means left out.
int WriteExportPieces(const std::vector<std::string>& files, ExportMode mode, unsigned jobs,
                      const ExportRead& read, const ExportCancelled& cancelled,
                      const std::function<void(const std::string&)>& write) {
    write(kExportHeader);
    // A file that could not be read has no values: averaging its leftovers as values
    // would pull its animal's means towards zero.
    int leftOut = 0;
    CMeanExport means;
    size_t index = 0;
    ForEachReading(files, ValueSource::Stored, jobs, [&](Reading&& reading) {
        if (read)
            read(index, reading);
        ++index;
        if (mode == ExportMode::Dominant)
            write(FormatDominantLine(reading.values));
        else if (!reading.loaded)
            ++leftOut;
        else
            means.Append(MakeExportRow(reading.values));
        return !IsCancelled(cancelled);
    });
    means.Sort();
    const int count = means.Average();
    for (int mean = 0; mean < count; ++mean)
        write(means.FormatMean(mean));
    return leftOut;
}

} // namespace

std::string BuildExportText(const std::vector<std::string>& files, ExportMode mode, unsigned jobs,
                            const ExportRead& read, const ExportCancelled& cancelled,
                            int* leftOut) {
    std::string text;
    const int left = WriteExportPieces(files, mode, jobs, read, cancelled,
                                       [&](const std::string& piece) { text += piece; });
    if (leftOut != nullptr)
        *leftOut = left;
    return text;
}

ExportResult ExportFiles(const std::vector<std::string>& files, ExportMode mode,
                         const std::string& path, unsigned jobs, const ExportRead& read,
                         const ExportCancelled& cancelled, ExportEncoding encoding) {
    // The rows go to the file as they are made, so memory does not grow with the list.
    // Every piece ends a line, so encoding piece by piece gives the bytes of the whole.
    CAtomicFileWriter file(path);
    file.Append(ExportTextStart(encoding));
    ExportResult result;
    result.leftOut =
        WriteExportPieces(files, mode, jobs, read, cancelled, [&](const std::string& piece) {
            file.Append(EncodeExportLines(piece, encoding));
        });
    if (IsCancelled(cancelled)) {
        result.cancelled = true;
        return result;
    }
    TakeWriteOutcome(file.Commit(), path, result);
    return result;
}

ExportResult ExportTable(const std::vector<std::string>& files, ValueSource source,
                         const std::string& path, unsigned jobs, const ExportProgress& progress,
                         const ExportCancelled& cancelled, const ExportFailure& failed) {
    const std::string text =
        BuildTableText(files, source, jobs, [&](size_t done, const TableLine& line) {
            if (failed && !line.error.empty())
                failed(files[done - 1], line.error);
            Report(progress, static_cast<int>(done));
            return !IsCancelled(cancelled);
        });
    if (IsCancelled(cancelled)) {
        ExportResult result;
        result.cancelled = true;
        return result;
    }
    return WriteExportText(path, text);
}

std::vector<int> MarkedIndices(const CMiradoDoc& doc) {
    std::vector<int> indices;
    for (int index = 0; index < doc.GetFileCount(); ++index)
        if (doc.IsSelected(index))
            indices.push_back(index);
    return indices;
}

std::vector<std::string> MarkedPaths(const CMiradoDoc& doc) {
    std::vector<std::string> paths;
    for (int index : MarkedIndices(doc))
        paths.push_back(doc.GetPathAt(index));
    return paths;
}

bool CanWriteExportFile(const std::string& path) {
    namespace fs = std::filesystem;
    std::error_code error;
    const fs::path target(path);
    if (fs::is_directory(target, error))
        return false;
    if (fs::exists(target, error) && access(path.c_str(), W_OK) != 0)
        return false;
    fs::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";
    return access(folder.c_str(), W_OK) == 0;
}

std::string LeftOutOfMeansText(int leftOut, const std::string& format) {
    return ReplacePlaceholder(format, "%1", std::to_string(leftOut));
}

std::string NotWritableText(const std::string& path, const std::string& format) {
    return ReplacePlaceholder(format, "%s", path);
}

bool IsFileOfList(const CMiradoDoc& doc, const std::string& path) {
    for (int index = 0; index < doc.GetFileCount(); ++index)
        if (IsSameFile(path, doc.GetPathAt(index)))
            return true;
    return false;
}

std::string FileOfListText(const std::string& path, const std::string& format) {
    return ReplacePlaceholder(format, "%1", path);
}

std::string ExportWriteFailedText(const std::string& path, const std::string& reason,
                                  const std::string& format) {
    // The reason first: a path may hold "%2", the system's words never hold "%1".
    return ReplacePlaceholder(ReplacePlaceholder(format, "%2", reason), "%1", path);
}

} // namespace mirado
