#include "exchange/EdfExport.h"

#include "document/Reading.h"
#include "exchange/RecordingEdf.h"
#include "platform/OrderedPrefetch.h"
#include "review/ReadingReview.h"
#include "review/ReviewLog.h"

namespace mirado {

std::string ReviewText(const ReadingReview& review) {
    const std::string status = ReadingStatusName(review.status);
    return review.reason.empty() ? status : status + " (" + review.reason + ")";
}

Result<EdfExportResult> ExportEdfFiles(const EdfExportRun& run, const EdfExportProgress& progress) {
    Result<std::vector<std::string>> outputs = EdfOutputPaths(run.folder, run.paths);
    if (!outputs.ok())
        return Fail(outputs.error());
    EdfExportResult result;
    const std::vector<Reading> readings = ReadRecordings(run.paths, ValueSource::Stored, run.jobs);
    const auto decisions = LoadManualDecisions(run.paths, result.warnings);
    const ReviewResult review =
        ReviewReadings(readings, ValueSource::Stored,
                       run.profile != nullptr ? *run.profile : DefaultProfile(), decisions);
    ForEachInOrder(
        run.paths.size(), run.jobs,
        [&](size_t index) {
            return WriteRecordingEdf(run.paths[index], outputs.value()[index],
                                     ReviewText(review.readings[index]));
        },
        [&](size_t index, Result<void>&& written) {
            if (written.ok())
                ++result.written;
            else
                result.failures.push_back(written.error());
            result.stopped = progress && !progress(index + 1);
            return !result.stopped;
        });
    return result;
}

} // namespace mirado
