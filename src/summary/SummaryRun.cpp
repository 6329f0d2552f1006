#include "summary/SummaryRun.h"

#include "review/ReviewLog.h"

#include <QMetaObject>

#include <atomic>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>

namespace mirado {

SummaryResult SummarizeReviewedRun(std::vector<Reading> readings,
                                   const std::vector<std::string>& paths, ValueSource source,
                                   const AcceptanceProfile& profile) {
    SummaryResult result;
    result.source = source;
    const auto decisions = LoadManualDecisions(paths, result.reviewWarnings);
    result.review = ReviewReadings(readings, source, profile, decisions);
    CStudySummaryBuilder builder(source);
    for (size_t i = 0; i < readings.size(); ++i) {
        Reading& reading = readings[i];
        const bool complete = reading.complete;
        reading.complete = complete && result.review.readings[i].status == ReadingStatus::Accepted;
        builder.Add(reading);
        reading.complete = complete;
        if (!reading.loaded)
            result.failures.push_back({reading.path, reading.error});
    }
    result.summary = builder.Build();
    result.readings = std::move(readings);
    return result;
}

// What the run's thread shares with the run: the thread holds it until it ends, so the
// run can go first. The outcome passes under the mutex, which the run's destructor also
// takes to tell the thread that nobody waits for it any more.
struct CSummaryRun::State {
    std::vector<std::string> paths;
    ValueSource source;
    AcceptanceProfile profile;
    SummaryReader reader;
    std::atomic<size_t> done{0};
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    CSummaryRun* owner = nullptr; // null once the run is destroyed
    std::optional<SummaryResult> result;
    std::string failure;
};

CSummaryRun::CSummaryRun(std::vector<std::string> paths, ValueSource source, unsigned jobs,
                         AcceptanceProfile profile, SummaryReader reader, QObject* parent)
    : QObject(parent), state_(std::make_shared<State>()) {
    state_->paths = std::move(paths);
    state_->source = source;
    state_->profile = std::move(profile);
    state_->reader = std::move(reader);
    state_->owner = this;
    std::thread([state = state_, jobs] { Work(state, jobs); }).detach();
}

CSummaryRun::~CSummaryRun() {
    state_->cancelled = true;
    const std::lock_guard<std::mutex> lock(state_->mutex);
    state_->owner = nullptr;
}

size_t CSummaryRun::Done() const {
    return state_->done.load();
}

void CSummaryRun::Work(const std::shared_ptr<State>& state, unsigned jobs) {
    std::optional<SummaryResult> result;
    std::string failure;
    try {
        std::vector<Reading> readings =
            state->reader(state->paths, state->source, jobs, [&state](size_t done) {
                state->done = done;
                return !state->cancelled.load();
            });
        if (state->cancelled)
            return;
        result =
            SummarizeReviewedRun(std::move(readings), state->paths, state->source, state->profile);
    } catch (const std::exception& error) {
        failure = error.what();
    } catch (...) {
        failure = "unknown error";
    }
    const std::lock_guard<std::mutex> lock(state->mutex);
    if (state->owner == nullptr)
        return;
    state->result = std::move(result);
    state->failure = std::move(failure);
    // Queued to the run's own thread; dropped when the run is destroyed before it arrives.
    QMetaObject::invokeMethod(state->owner, &CSummaryRun::Deliver, Qt::QueuedConnection);
}

void CSummaryRun::Deliver() {
    std::optional<SummaryResult> result;
    std::string failure;
    {
        const std::lock_guard<std::mutex> lock(state_->mutex);
        result = std::move(state_->result);
        failure = std::move(state_->failure);
    }
    if (result)
        emit Finished(*result);
    else
        emit Failed(QString::fromStdString(failure));
}

} // namespace mirado
