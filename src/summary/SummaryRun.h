#pragma once
// CSummaryRun: one background run of the study summary for the summary window. It reads
// the files on a worker thread (ReadRecordings with fresh records per file, on as many
// threads as asked), summarises them there and hands the result to the window's thread
// by the Finished signal. Done() can be polled for progress at any time. Destroying the
// run cancels it: the worker stops after the readings under way and is joined, and no
// signal arrives afterwards.

#include "document/StudySummary.h"

#include <QObject>

#include <atomic>
#include <string>
#include <thread>
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
};

// The summary of readings and the files among them that did not load.
SummaryResult SummarizeRun(const std::vector<Reading>& readings, ValueSource source);

class CSummaryRun : public QObject {
    Q_OBJECT
public:
    CSummaryRun(std::vector<std::string> paths, ValueSource source, unsigned jobs,
                QObject* parent = nullptr);
    ~CSummaryRun() override;

    size_t Done() const { return done_.load(); }

signals:
    void Finished(const mirado::SummaryResult& result);

private:
    void Work(unsigned jobs);

    const std::vector<std::string> paths_;
    const ValueSource source_;
    std::atomic<size_t> done_{0};
    std::atomic<bool> cancelled_{false};
    std::thread worker_;
};

} // namespace mirado
