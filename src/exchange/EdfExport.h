#pragma once
// The EDF+ export of many recordings into one folder, for the batch tool and the window:
// the readings are reviewed under a profile and their folders' review logs, then each
// recording is written as "<file name>.edf" (see RecordingEdf.h).

#include "files/Result.h"
#include "review/AcceptanceProfile.h"

#include <functional>
#include <string>
#include <vector>

namespace mirado {

struct ReadingReview;

struct EdfExportRun {
    std::vector<std::string> paths;
    std::string folder;
    const AcceptanceProfile* profile = nullptr; // the default profile when null
    unsigned jobs = 1;
};

struct EdfExportResult {
    size_t written = 0;
    std::vector<std::string> failures; // one line per file not written: path and reason
    std::vector<std::string> warnings; // about the review logs
    bool stopped = false;              // progress answered false
};

// Called on the calling thread after each file with the number done; false stops the run.
using EdfExportProgress = std::function<bool(size_t done)>;

// Writes every recording's EDF+ file; refused before anything is written (the failure says
// why) when two files share a name or an output is one of the files.
Result<EdfExportResult> ExportEdfFiles(const EdfExportRun& run,
                                       const EdfExportProgress& progress = {});

// The review as an annotation text: the status, then the reason in parentheses.
std::string ReviewText(const ReadingReview& review);

} // namespace mirado
