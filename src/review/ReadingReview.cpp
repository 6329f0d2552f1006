#include "review/ReadingReview.h"

#include "document/NaturalOrder.h"
#include "platform/JsonWriter.h"
#include "platform/Utf8.h"
#include "records/TextEncoding.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <tuple>

namespace mirado {

namespace {

const char* const kStatusNames[kReadingStatusCount] = {
    "damaged",   "incomplete", "training",         "acclimation", "out_of_range",
    "deviation", "rejected",   "session_rejected", "accepted"};

constexpr size_t kMinimumDeviationPool = 3;
constexpr double kPercent = 100;

// The summary's group order: study number, animal number, then real dates by date and
// unreadable date texts after them by their bytes.
using SessionKey = std::tuple<std::string, std::string, bool, int, std::string>;

SessionKey SessionKeyOf(const CExportFields& values) {
    const std::optional<SessionDate> date = ReadSessionDate(values.date);
    const int dayNumber = date ? (date->year * 100 + date->month) * 100 + date->day : 0;
    return {values.exNo, values.animalNo, !date.has_value(), dayNumber, values.date};
}

std::string OneDecimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", value);
    return text;
}

// The readings' session groups in the summary's order, each in time order.
std::vector<SessionReview> GroupIntoSessions(const std::vector<Reading>& readings) {
    std::map<SessionKey, std::vector<size_t>> groups;
    for (size_t i = 0; i < readings.size(); ++i) {
        if (readings[i].headerRead)
            groups[SessionKeyOf(readings[i].values)].push_back(i);
    }
    std::vector<SessionReview> sessions;
    sessions.reserve(groups.size());
    for (auto& [key, indices] : groups) {
        SessionReview session;
        session.studyNo = std::get<0>(key);
        session.animalNo = std::get<1>(key);
        session.date = std::get<4>(key);
        session.sessionDate = ReadSessionDate(session.date);
        std::stable_sort(indices.begin(), indices.end(), [&](size_t a, size_t b) {
            const Reading& first = readings[a];
            const Reading& second = readings[b];
            if (first.values.time != second.values.time)
                return first.values.time < second.values.time;
            return IsBeforeByNaturalName(first.path, second.path);
        });
        session.readings = std::move(indices);
        sessions.push_back(std::move(session));
    }
    return sessions;
}

// The reason a value lies outside [low, high], or nothing when it does not.
std::optional<std::string> OutsideBounds(const char* name, int value,
                                         const std::optional<double>& low,
                                         const std::optional<double>& high, const char* unit) {
    const std::string start = std::string(name) + " " + std::to_string(value);
    if (low && value < *low)
        return start + " below " + ShortestDecimal(*low) + " " + unit;
    if (high && value > *high)
        return start + " above " + ShortestDecimal(*high) + " " + unit;
    return std::nullopt;
}

class CSessionReviewer {
public:
    CSessionReviewer(const std::vector<Reading>& readings, ValueSource source,
                     const AcceptanceProfile& profile,
                     const std::vector<std::optional<ManualDecision>>& decisions,
                     std::vector<ReadingReview>& reviews)
        : readings_(readings), source_(source), profile_(profile), decisions_(decisions),
          reviews_(reviews) {}

    void Review(SessionReview& session, int sessionIndex, int sessionOfAnimal) {
        std::vector<size_t> pool; // readings still open after the rules of single readings
        for (size_t position = 0; position < session.readings.size(); ++position) {
            const size_t index = session.readings[position];
            ReadingReview& review = reviews_[index];
            review.session = sessionIndex;
            review.position = static_cast<int>(position);
            if (!DecideSingle(index, static_cast<int>(position), sessionOfAnimal, review) ||
                (review.manual && review.status == ReadingStatus::Accepted))
                pool.push_back(index);
        }
        ApplyDeviation(pool);
        ApplySessionRules(session);
        Summarize(session);
    }

private:
    void Set(ReadingReview& review, ReadingStatus status, std::string reason) {
        review.status = status;
        review.reason = std::move(reason);
    }

    // Steps 1 to 5; false when the reading is still open (accepted unless a later rule
    // excludes it).
    bool DecideSingle(size_t index, int position, int sessionOfAnimal, ReadingReview& review) {
        const Reading& reading = readings_[index];
        if (!reading.loaded) {
            Set(review, ReadingStatus::Damaged, reading.error);
            return true;
        }
        if (!reading.complete) {
            Set(review, ReadingStatus::Incomplete, "no complete result");
            return true;
        }
        if (index < decisions_.size() && decisions_[index]) {
            const ManualDecision& decision = *decisions_[index];
            Set(review, decision.accepted ? ReadingStatus::Accepted : ReadingStatus::Rejected,
                decision.reason);
            review.manual = true;
            review.note = decision.note;
            review.user = decision.user;
            review.time = decision.time;
            return true;
        }
        if (profile_.trainingSessions && sessionOfAnimal < *profile_.trainingSessions) {
            Set(review, ReadingStatus::Training,
                "training session " + std::to_string(sessionOfAnimal + 1) + " of " +
                    std::to_string(*profile_.trainingSessions));
            return true;
        }
        if (profile_.acclimationReadings && position < *profile_.acclimationReadings) {
            Set(review, ReadingStatus::Acclimation,
                "acclimation reading " + std::to_string(position + 1) + " of " +
                    std::to_string(*profile_.acclimationReadings));
            return true;
        }
        std::optional<std::string> outside =
            OutsideBounds("SBP", reading.values.sbp, profile_.sbpMin, profile_.sbpMax, "mmHg");
        if (!outside && reading.values.hr > 0)
            outside = OutsideBounds("HR", reading.values.hr, profile_.hrMin, profile_.hrMax, "bpm");
        if (outside) {
            Set(review, ReadingStatus::OutOfRange, *outside);
            return true;
        }
        return false;
    }

    // Step 6 over the pool, with the mean and SD taken once before any reading leaves it;
    // every open reading that is not excluded becomes accepted.
    void ApplyDeviation(const std::vector<size_t>& pool) {
        std::vector<int> sbp;
        for (size_t index : pool)
            sbp.push_back(readings_[index].values.sbp);
        const SummaryStatistic statistic = ComputeStatistic(sbp);
        const bool applies = profile_.deviationSd && pool.size() >= kMinimumDeviationPool;
        for (size_t index : pool) {
            ReadingReview& review = reviews_[index];
            if (review.manual)
                continue;
            const int value = readings_[index].values.sbp;
            if (applies &&
                std::fabs(value - *statistic.mean) > *profile_.deviationSd * *statistic.sd)
                Set(review, ReadingStatus::Deviation,
                    "SBP " + std::to_string(value) + " more than " +
                        ShortestDecimal(*profile_.deviationSd) + " SD (" +
                        OneDecimal(*statistic.sd) + ") from the mean " +
                        OneDecimal(*statistic.mean));
            else
                Set(review, ReadingStatus::Accepted, {});
        }
    }

    // Why the session rules reject the session's accepted readings; nothing when they do not.
    std::optional<std::string> SessionRejection(const SummaryStatistic& sbp) const {
        if (profile_.sessionMinAccepted && sbp.n < *profile_.sessionMinAccepted)
            return "session has " + std::to_string(sbp.n) + " accepted, fewer than " +
                   std::to_string(*profile_.sessionMinAccepted);
        if (profile_.sessionMaxSd && sbp.sd && *sbp.sd > *profile_.sessionMaxSd)
            return "session SBP SD " + OneDecimal(*sbp.sd) + " above " +
                   ShortestDecimal(*profile_.sessionMaxSd) + " mmHg";
        if (profile_.sessionMaxCv && sbp.sd && *sbp.mean != 0) {
            const double cv = *sbp.sd / *sbp.mean * kPercent;
            if (cv > *profile_.sessionMaxCv)
                return "session SBP CV " + OneDecimal(cv) + " % above " +
                       ShortestDecimal(*profile_.sessionMaxCv) + " %";
        }
        return std::nullopt;
    }

    // The session's accepted readings in the readings' order, so that the sums are taken
    // in the summary's order and give its values to the last bit.
    std::vector<size_t> AcceptedInListOrder(const SessionReview& session) const {
        std::vector<size_t> accepted;
        for (size_t index : session.readings) {
            if (reviews_[index].status == ReadingStatus::Accepted)
                accepted.push_back(index);
        }
        std::sort(accepted.begin(), accepted.end());
        return accepted;
    }

    void ApplySessionRules(const SessionReview& session) {
        const std::vector<size_t> accepted = AcceptedInListOrder(session);
        std::vector<int> sbp;
        for (size_t index : accepted)
            sbp.push_back(readings_[index].values.sbp);
        const std::optional<std::string> rejection = SessionRejection(ComputeStatistic(sbp));
        if (!rejection)
            return;
        for (size_t index : accepted) {
            ReadingReview& review = reviews_[index];
            review = ReadingReview{ReadingStatus::SessionRejected,
                                   false,
                                   *rejection,
                                   {},
                                   {},
                                   {},
                                   review.session,
                                   review.position};
        }
    }

    static AcceptedStatistic StatisticOf(const std::vector<int>& values) {
        AcceptedStatistic statistic{ComputeStatistic(values), std::nullopt};
        if (statistic.values.sd && *statistic.values.mean != 0)
            statistic.cv = *statistic.values.sd / *statistic.values.mean * kPercent;
        return statistic;
    }

    void Summarize(SessionReview& session) const {
        session.counts.recorded = static_cast<int>(session.readings.size());
        for (size_t index : session.readings)
            ++session.counts.byStatus[static_cast<size_t>(reviews_[index].status)];
        std::vector<int> sbp, mbp, dbp, hr;
        for (size_t index : AcceptedInListOrder(session)) {
            const CExportFields& values = readings_[index].values;
            sbp.push_back(values.sbp);
            mbp.push_back(values.mbp);
            dbp.push_back(values.dbp);
            if (values.hr > 0)
                hr.push_back(values.hr);
        }
        session.sbp = StatisticOf(sbp);
        if (source_ != ValueSource::AnalysisS) {
            session.mbp = StatisticOf(mbp);
            session.dbp = StatisticOf(dbp);
        }
        session.hr = StatisticOf(hr);
    }

    const std::vector<Reading>& readings_;
    ValueSource source_;
    const AcceptanceProfile& profile_;
    const std::vector<std::optional<ManualDecision>>& decisions_;
    std::vector<ReadingReview>& reviews_;
};

} // namespace

const char* ReadingStatusName(ReadingStatus status) {
    return kStatusNames[static_cast<size_t>(status)];
}

std::string ReasonText(const ReadingReview& review) {
    const size_t start = review.reason.find_first_not_of(' ');
    return WithInvalidUtf8Replaced(start == std::string::npos
                                       ? std::string_view()
                                       : std::string_view(review.reason).substr(start));
}

nlohmann::ordered_json ReadingReviewJson(const ReadingReview& review) {
    nlohmann::ordered_json json = {{"status", ReadingStatusName(review.status)},
                                   {"reason", WithInvalidUtf8Replaced(review.reason)},
                                   {"decided_by", review.manual ? "manual" : "rule"}};
    for (const auto& [key, value] :
         {std::pair{"note", &review.note}, {"user", &review.user}, {"time", &review.time}}) {
        if (!value->empty())
            json[key] = WithInvalidUtf8Replaced(*value);
    }
    return json;
}

nlohmann::ordered_json StatusCountsJson(const StatusCounts& counts) {
    nlohmann::ordered_json ordered = {{"recorded", counts.recorded}};
    for (size_t status = 0; status < kReadingStatusCount; ++status)
        ordered[kStatusNames[status]] = counts.byStatus[status];
    return ordered;
}

ReviewResult ReviewReadings(const std::vector<Reading>& readings, ValueSource source,
                            const AcceptanceProfile& profile,
                            const std::vector<std::optional<ManualDecision>>& decisions) {
    ReviewResult result;
    result.readings.resize(readings.size());
    for (size_t i = 0; i < readings.size(); ++i) {
        if (!readings[i].headerRead)
            result.readings[i] =
                ReadingReview{ReadingStatus::Damaged, false, readings[i].error, {}, {}, {}, -1, -1};
    }
    result.sessions = GroupIntoSessions(readings);
    CSessionReviewer reviewer(readings, source, profile, decisions, result.readings);
    int sessionOfAnimal = 0;
    for (size_t k = 0; k < result.sessions.size(); ++k) {
        const bool sameAnimal = k > 0 &&
                                result.sessions[k].studyNo == result.sessions[k - 1].studyNo &&
                                result.sessions[k].animalNo == result.sessions[k - 1].animalNo;
        sessionOfAnimal = sameAnimal ? sessionOfAnimal + 1 : 0;
        reviewer.Review(result.sessions[k], static_cast<int>(k), sessionOfAnimal);
    }
    return result;
}

} // namespace mirado
