#include "reviewui/ReviewState.h"

#include "document/OriginalCopy.h"
#include "review/ReviewLog.h"

#include <QMetaObject>

#include <atomic>
#include <chrono>
#include <exception>
#include <mutex>
#include <thread>

namespace mirado {

namespace {

// The table shows the values the files hold, as the summary does by default.
constexpr ValueSource kSource = ValueSource::Stored;

std::optional<ManualDecision> DecisionOf(ReviewAction action, const std::string& reason,
                                         const std::string& note) {
    if (action == ReviewAction::Clear)
        return std::nullopt;
    ManualDecision decision;
    decision.accepted = action == ReviewAction::Accept;
    decision.reason = reason;
    decision.note = note;
    decision.user = CurrentUserName();
    decision.time = IsoLocalTime(std::chrono::system_clock::now());
    return decision;
}

std::vector<size_t> AllIndices(size_t count) {
    std::vector<size_t> all(count);
    for (size_t i = 0; i < count; ++i)
        all[i] = i;
    return all;
}

} // namespace

// What the reading thread shares with the state: the thread holds it until it ends, so
// the state can go first (or start another run) without waiting.
struct CReviewState::Run {
    std::vector<std::string> paths;
    ReviewReader reader;
    std::atomic<size_t> done{0};
    std::atomic<bool> cancelled{false};
    std::mutex mutex;
    CReviewState* owner = nullptr; // null once nobody waits for the outcome
    std::optional<Outcome> outcome;
};

CReviewState::CReviewState(unsigned jobs, ReviewReader reader, QObject* parent)
    : QObject(parent), jobs_(jobs), reader_(std::move(reader)), profile_(DefaultProfile()) {}

CReviewState::~CReviewState() {
    if (run_ == nullptr)
        return;
    run_->cancelled = true;
    const std::lock_guard<std::mutex> lock(run_->mutex);
    run_->owner = nullptr;
}

void CReviewState::SetFiles(std::vector<std::string> paths) {
    if (run_ != nullptr) {
        run_->cancelled = true;
        const std::lock_guard<std::mutex> lock(run_->mutex);
        run_->owner = nullptr;
    }
    paths_ = std::move(paths);
    indexOfPath_.clear();
    for (size_t i = paths_.size(); i-- > 0;)
        indexOfPath_[paths_[i]] = i;
    filled_ = false;
    readings_.clear();
    decisions_.clear();
    pending_.clear();
    savedCorrections_.clear();
    warnings_.clear();
    review_ = ReviewResult{};
    run_ = std::make_shared<Run>();
    run_->paths = paths_;
    run_->reader = reader_;
    run_->owner = this;
    std::thread([run = run_, jobs = jobs_] { Work(run, jobs); }).detach();
    emit FilesSet();
}

std::optional<size_t> CReviewState::IndexOf(const std::string& path) const {
    const auto found = indexOfPath_.find(path);
    return found != indexOfPath_.end() ? std::optional(found->second) : std::nullopt;
}

size_t CReviewState::Done() const {
    return run_ != nullptr ? run_->done.load() : 0;
}

void CReviewState::Work(const std::shared_ptr<Run>& run, unsigned jobs) {
    Outcome outcome;
    try {
        outcome.readings = run->reader(run->paths, kSource, jobs, [&run](size_t done) {
            run->done = done;
            return !run->cancelled.load();
        });
        if (run->cancelled)
            return;
        outcome.decisions = LoadManualDecisions(run->paths, outcome.warnings);
        for (const std::string& path : run->paths)
            outcome.savedCorrections.push_back(HasOriginalCopy(path));
    } catch (const std::exception& error) {
        outcome = Outcome{};
        outcome.warnings.push_back(error.what());
    }
    const std::lock_guard<std::mutex> lock(run->mutex);
    if (run->owner == nullptr)
        return;
    run->outcome = std::move(outcome);
    QMetaObject::invokeMethod(
        run->owner, [owner = run->owner, run] { owner->Deliver(run); }, Qt::QueuedConnection);
}

void CReviewState::Deliver(const std::shared_ptr<Run>& run) {
    if (run != run_)
        return;
    Outcome outcome;
    {
        const std::lock_guard<std::mutex> lock(run->mutex);
        outcome = std::move(*run->outcome);
    }
    run_.reset();
    // A reader that failed leaves every row without values rather than a partial table.
    if (outcome.readings.size() != paths_.size()) {
        outcome.readings.assign(paths_.size(), Reading{});
        for (size_t i = 0; i < paths_.size(); ++i)
            outcome.readings[i].path = paths_[i];
    }
    readings_ = std::move(outcome.readings);
    decisions_ = std::move(outcome.decisions);
    decisions_.resize(paths_.size());
    for (auto& [index, decision] : pending_)
        if (index < decisions_.size())
            decisions_[index] = decision;
    pending_.clear();
    savedCorrections_ = std::move(outcome.savedCorrections);
    savedCorrections_.resize(paths_.size(), false);
    warnings_ = std::move(outcome.warnings);
    filled_ = true;
    ReviewAll();
    emit Filled();
}

bool CReviewState::HasSavedCorrections(size_t index) const {
    return index < savedCorrections_.size() && savedCorrections_[index];
}

void CReviewState::SetProfile(AcceptanceProfile profile) {
    profile_ = std::move(profile);
    if (!filled_)
        return;
    ReviewAll();
    emit ReadingsReviewed(AllIndices(readings_.size()));
}

std::optional<ManualDecision> CReviewState::DecisionAt(size_t index) const {
    if (const auto found = pending_.find(index); found != pending_.end())
        return found->second;
    return index < decisions_.size() ? decisions_[index] : std::nullopt;
}

Result<void> CReviewState::Decide(size_t index, ReviewAction action, const std::string& reason,
                                  const std::string& note) {
    if (index >= paths_.size())
        return Fail("no such reading");
    Result<void> added = AppendDecision(paths_[index], action, reason, note);
    if (!added.ok())
        return added;
    std::optional<ManualDecision> decision = DecisionOf(action, reason, note);
    if (!filled_) {
        pending_[index] = std::move(decision);
        return added;
    }
    decisions_[index] = std::move(decision);
    emit ReadingsReviewed(ReviewAnimalOf(index));
    return added;
}

const SessionReview* CReviewState::SessionOf(size_t index) const {
    if (index >= review_.readings.size())
        return nullptr;
    const int session = review_.readings[index].session;
    return session >= 0 ? &review_.sessions[static_cast<size_t>(session)] : nullptr;
}

void CReviewState::ReviewAll() {
    review_ = ReviewReadings(readings_, kSource, profile_, decisions_);
    // Sessions come in study, animal, date order: an animal's sessions are one run.
    const size_t count = review_.sessions.size();
    animalFirstSession_.assign(count, 0);
    animalEndSession_.assign(count, 0);
    const auto sameAnimal = [this](size_t a, size_t b) {
        return review_.sessions[a].studyNo == review_.sessions[b].studyNo &&
               review_.sessions[a].animalNo == review_.sessions[b].animalNo;
    };
    size_t first = 0;
    for (size_t s = 1; s <= count; ++s) {
        if (s < count && sameAnimal(s, first))
            continue;
        for (size_t k = first; k < s; ++k) {
            animalFirstSession_[k] = first;
            animalEndSession_[k] = s;
        }
        first = s;
    }
}

std::vector<size_t> CReviewState::AnimalReadings(size_t index) const {
    const int session = review_.readings[index].session;
    if (session < 0)
        return {index};
    std::vector<size_t> indices;
    const auto s = static_cast<size_t>(session);
    for (size_t k = animalFirstSession_[s]; k < animalEndSession_[s]; ++k)
        indices.insert(indices.end(), review_.sessions[k].readings.begin(),
                       review_.sessions[k].readings.end());
    return indices;
}

// The decision can change only its own animal's statuses (training counts the animal's
// sessions; every other rule stays within the session): those readings alone are
// reviewed again and put back in place.
std::vector<size_t> CReviewState::ReviewAnimalOf(size_t index) {
    const std::vector<size_t> indices = AnimalReadings(index);
    std::vector<Reading> readings;
    std::vector<std::optional<ManualDecision>> decisions;
    readings.reserve(indices.size());
    decisions.reserve(indices.size());
    for (size_t i : indices) {
        readings.push_back(readings_[i]);
        decisions.push_back(decisions_[i]);
    }
    const ReviewResult part = ReviewReadings(readings, kSource, profile_, decisions);
    const int session = review_.readings[index].session;
    const size_t firstSession = session < 0 ? 0 : animalFirstSession_[static_cast<size_t>(session)];
    const size_t endSession = session < 0 ? 0 : animalEndSession_[static_cast<size_t>(session)];
    if (part.sessions.size() != endSession - firstSession) {
        ReviewAll();
        return AllIndices(readings_.size());
    }
    for (size_t j = 0; j < indices.size(); ++j) {
        ReadingReview reviewed = part.readings[j];
        if (reviewed.session >= 0)
            reviewed.session += static_cast<int>(firstSession);
        review_.readings[indices[j]] = std::move(reviewed);
    }
    for (size_t k = 0; k < part.sessions.size(); ++k) {
        SessionReview& target = review_.sessions[firstSession + k];
        std::vector<size_t> kept = std::move(target.readings);
        target = part.sessions[k];
        target.readings = std::move(kept);
    }
    return indices;
}

} // namespace mirado
