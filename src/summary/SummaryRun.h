#pragma once
// CSummaryRun: one background run of the study summary for the summary window. It reads
// the files on a thread of its own (ReadRecordings with fresh records per file, on as many
// threads as asked), summarises them there and hands the result to the window's thread
// by the Finished signal; an exception on that thread arrives as the Failed signal with
// its message instead. Done() can be polled for progress at any time.
//
// The readings are reviewed under the acceptance profile given (SummarizeReviewedRun).
//
// Destroying the run cancels it without waiting: the thread keeps the run's state alive,
// stops after the readings under way (however long a stalled read takes) and drops its
// result, and no signal arrives afterwards.

#include "document/Reading.h"
#include "document/StudySummary.h"
#include "review/ReadingReview.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace mirado {

struct FailedReading {
    std::string path;
    std::string error; // the load message
};

struct SummaryResult {
    ValueSource source = ValueSource::Stored;
    StudySummary summary;
    std::vector<FailedReading> failures; // in the files' order
    // The review the summary honours (the exclusion report is made from it).
    std::vector<Reading> readings;
    ReviewResult review;
    std::vector<std::string> reviewWarnings; // review log lines skipped, logs not read
};

// The summary of the readings the profile accepts and the files among them that did not
// load, after the manual decisions of the
// review logs of the paths' folders (a reading not accepted counts in n and in no
// statistic, as in the batch tool's summary --profile). With the default profile and
// no decisions the summary is SummarizeRun's.
SummaryResult SummarizeReviewedRun(std::vector<Reading> readings,
                                   const std::vector<std::string>& paths, ValueSource source,
                                   const AcceptanceProfile& profile);

// How a run reads its files: ReadRecordings, or a stand-in that tests give.
using SummaryReader =
    std::function<std::vector<Reading>(const std::vector<std::string>& paths, ValueSource source,
                                       unsigned jobs, const ReadingProgress& progress)>;

class CSummaryRun : public QObject {
    Q_OBJECT
public:
    CSummaryRun(std::vector<std::string> paths, ValueSource source, unsigned jobs,
                AcceptanceProfile profile, SummaryReader reader = ReadRecordings,
                QObject* parent = nullptr);
    ~CSummaryRun() override;

    size_t Done() const;

signals:
    void Finished(const mirado::SummaryResult& result);
    void Failed(const QString& message);

private:
    struct State;
    static void Work(const std::shared_ptr<State>& state, unsigned jobs);
    void Deliver();

    std::shared_ptr<State> state_;
};

} // namespace mirado
