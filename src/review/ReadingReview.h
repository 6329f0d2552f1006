#pragma once
// The review of readings under an acceptance profile: each reading gets exactly one
// status, with its reason and whether a person or a rule decided it, and each session
// its counts and the statistics of its accepted readings.
//
// Sessions are the study summary's groups (study number × animal number × date, in the
// summary's order; a reading whose header could not be read joins none). A session's
// readings are ordered by their recorded time (the time text), then by the natural order
// of their file names. The status is decided in this order:
//   1. damaged (the file did not load), incomplete (not complete as the summary has it);
//   2. the manual decision: accepted or rejected, with its reason;
//   3. training: the session is among its animal's first training_sessions sessions;
//   4. acclimation: among the session's first acclimation_readings positions (every
//      reading of the session takes a position, whatever its status);
//   5. out_of_range: SBP or HR outside the profile's inclusive bounds (a reading without
//      a heart rate is not judged by the HR bounds);
//   6. deviation: with at least 3 readings in the pool (manual accepts and readings not
//      excluded above), mean m and sample SD s of their SBP; a reading not accepted by
//      hand with |SBP - m| > deviation_sd × s;
//   7. the session rules on the accepted readings (too few, SBP SD or CV too large) turn
//      every accepted reading of the session, manual ones too, into session_rejected;
// everything else is accepted. A profile without rules accepts every complete reading,
// so the statistics are then exactly the summary's.
//
// Use:
//   std::vector<Reading> readings = ReadRecordings(paths, source, jobs);
//   std::vector<std::string> warnings;
//   auto decisions = LoadManualDecisions(paths, warnings);
//   ReviewResult review = ReviewReadings(readings, source, profile, decisions);
//   review.readings[i].status; review.sessions[k].counts; review.sessions[k].sbp.cv;

#include "document/StudySummary.h"
#include "review/AcceptanceProfile.h"
#include "review/ReviewEvent.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

enum class ReadingStatus {
    Damaged,
    Incomplete,
    Training,
    Acclimation,
    OutOfRange,
    Deviation,
    Rejected,
    SessionRejected,
    Accepted,
};
inline constexpr size_t kReadingStatusCount = 9;

// The status's name in data ("damaged", "out_of_range", "session_rejected", ...).
const char* ReadingStatusName(ReadingStatus status);

struct ReadingReview {
    ReadingStatus status = ReadingStatus::Accepted;
    bool manual = false;          // decided by a person (accepted or rejected), not by a rule
    std::string reason;           // why: a rule's short English text, or the person's reason
    std::string note, user, time; // a manual decision's note, who and when
    int session = -1;             // the index of its session; -1 when it joins none
    int position = -1;            // its place in the session's time order, from 0
};

// A session's readings by status; they add up to recorded.
struct StatusCounts {
    int recorded = 0;
    std::array<int, kReadingStatusCount> byStatus{};

    int Of(ReadingStatus status) const { return byStatus[static_cast<size_t>(status)]; }
};

// The statistics of the accepted readings' values, with the coefficient of variation in
// percent (SD / mean × 100; absent without an SD).
struct AcceptedStatistic {
    SummaryStatistic values;
    std::optional<double> cv;
};

struct SessionReview {
    std::string studyNo, animalNo, date; // CP932 bytes, as in the summary's rows
    std::optional<SessionDate> sessionDate;
    std::vector<size_t> readings; // indices into the readings, in time order
    StatusCounts counts;
    AcceptedStatistic sbp, mbp, dbp, hr; // MBP and DBP empty with Analysis S, as in the summary
};

struct ReviewResult {
    std::vector<ReadingReview> readings; // one per reading, in the readings' order
    std::vector<SessionReview> sessions; // in the summary's order
};

// The reason as a table shows it: UTF-8 (invalid bytes replaced), without the gap a load
// message starts with.
std::string ReasonText(const ReadingReview& review);

// The reading's review as data: status, reason, decided_by ("manual" or "rule"), and for a
// manual decision its note, user and time (left out when empty).
nlohmann::ordered_json ReadingReviewJson(const ReadingReview& review);
// The counts by name: recorded, then each status's in the order of ReadingStatus.
nlohmann::ordered_json StatusCountsJson(const StatusCounts& counts);

// decisions is empty (no manual decisions) or holds one entry per reading.
ReviewResult ReviewReadings(const std::vector<Reading>& readings, ValueSource source,
                            const AcceptanceProfile& profile,
                            const std::vector<std::optional<ManualDecision>>& decisions = {});

} // namespace mirado
