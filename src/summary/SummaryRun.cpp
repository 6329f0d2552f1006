#include "summary/SummaryRun.h"

#include "document/Reading.h"

#include <QMetaObject>

namespace mirado {

SummaryResult SummarizeRun(const std::vector<Reading>& readings, ValueSource source) {
    SummaryResult result;
    result.source = source;
    result.summary = SummarizeReadings(readings, source);
    for (const Reading& reading : readings)
        if (!reading.loaded)
            result.failures.push_back({reading.path, reading.error});
    return result;
}

CSummaryRun::CSummaryRun(std::vector<std::string> paths, ValueSource source, unsigned jobs,
                         QObject* parent)
    : QObject(parent), paths_(std::move(paths)), source_(source) {
    worker_ = std::thread([this, jobs] { Work(jobs); });
}

CSummaryRun::~CSummaryRun() {
    cancelled_ = true;
    if (worker_.joinable())
        worker_.join();
}

void CSummaryRun::Work(unsigned jobs) {
    const std::vector<Reading> readings =
        ReadRecordings(paths_, source_, jobs, [this](size_t done) {
            done_ = done;
            return !cancelled_.load();
        });
    if (cancelled_)
        return;
    SummaryResult result = SummarizeRun(readings, source_);
    // Queued to the run's own thread; dropped when the run is destroyed before it arrives.
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)] { emit Finished(result); }, Qt::QueuedConnection);
}

} // namespace mirado
