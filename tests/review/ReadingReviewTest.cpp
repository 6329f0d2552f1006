// The status of each reading under a profile: every rule, their order, the positions in a
// session, manual decisions, the session rules, the counts, and the default profile
// giving exactly the summary's statistics.

#include "review/ReadingReview.h"

#include <gtest/gtest.h>

#include <functional>

namespace mirado::test {
namespace {

// One hand-built reading: its SBP, what kind it is (' ' complete, 'd' damaged with its
// header read, 'i' incomplete, 'a' accepted by hand, 'r' rejected by hand), HR, session
// and, when its place in the list is not its place in time, its time or file name.
struct Hand {
    int sbp;
    char kind = ' ';
    int hr = 400;
    const char* date = "26/12/01";
    const char* animal = "A1";
    const char* time = nullptr; // "09:00:<place in the list, from 10>" when not given
    const char* name = nullptr; // "<time>.01" when not given
};

Reading MakeReading(const Hand& hand, size_t place) {
    Reading reading;
    const std::string time = hand.time ? hand.time : "09:00:" + std::to_string(10 + place);
    reading.path = "/data/" + (hand.name ? std::string(hand.name) : time + ".01");
    reading.loaded = hand.kind != 'd';
    reading.error = hand.kind == 'd' ? "File format Error" : "";
    reading.headerRead = true;
    reading.complete = hand.kind != 'd' && hand.kind != 'i';
    CExportFields& values = reading.values;
    values.exNo = "S1";
    values.animalNo = hand.animal;
    values.date = hand.date;
    values.time = time;
    values.sbp = hand.kind == 'i' ? 0 : hand.sbp;
    values.mbp = hand.sbp - 20;
    values.dbp = hand.sbp - 30;
    values.hr = hand.hr;
    return reading;
}

std::optional<ManualDecision> DecisionOf(const Hand& hand) {
    if (hand.kind != 'a' && hand.kind != 'r')
        return std::nullopt;
    return ManualDecision{hand.kind == 'a', hand.kind == 'r' ? "movement" : "", "", "tester",
                          "2026-12-01T10:00:00+00:00"};
}

struct ReviewRun {
    std::vector<Reading> readings;
    ReviewResult result;
};

ReviewRun ReviewHand(const std::vector<Hand>& hands, const AcceptanceProfile& profile,
                     ValueSource source = ValueSource::Stored) {
    ReviewRun run;
    std::vector<std::optional<ManualDecision>> decisions;
    for (const Hand& hand : hands) {
        run.readings.push_back(MakeReading(hand, run.readings.size()));
        decisions.push_back(DecisionOf(hand));
    }
    run.result = ReviewReadings(run.readings, source, profile, decisions);
    return run;
}

// The statuses in the readings' order, a manual one marked with "*".
std::vector<std::string> Statuses(const ReviewResult& result) {
    std::vector<std::string> statuses;
    for (const ReadingReview& review : result.readings)
        statuses.push_back(std::string(ReadingStatusName(review.status)) +
                           (review.manual ? "*" : ""));
    return statuses;
}

using Rules = std::function<void(AcceptanceProfile&)>;

struct RuleCase {
    const char* name;
    Rules rules;
    std::vector<Hand> readings;
    std::vector<std::string> expected;
};

void PrintTo(const RuleCase& c, std::ostream* out) {
    *out << c.name;
}

class RuleOrderTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(RuleOrderTest, EachReadingGetsItsStatusAndTheCountsAddUp) {
    const RuleCase& c = GetParam();
    AcceptanceProfile profile;
    c.rules(profile);
    const ReviewRun run = ReviewHand(c.readings, profile);
    EXPECT_EQ(Statuses(run.result), c.expected);
    for (const SessionReview& session : run.result.sessions) {
        int total = 0;
        for (int count : session.counts.byStatus)
            total += count;
        EXPECT_EQ(total, session.counts.recorded);
        EXPECT_EQ(session.counts.recorded, static_cast<int>(session.readings.size()));
        for (size_t status = 0; status < kReadingStatusCount; ++status) {
            int found = 0;
            for (size_t index : session.readings)
                found += run.result.readings[index].status == static_cast<ReadingStatus>(status);
            EXPECT_EQ(session.counts.byStatus[status], found) << status;
        }
    }
}

const auto kNoRules = [](AcceptanceProfile&) {};
constexpr const char* kDay2 = "26/12/02";

// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Rules, RuleOrderTest,
    ::testing::Values(
        RuleCase{"NoRulesAcceptEveryCompleteReading", kNoRules,
                 {{120}, {0, 'i'}, {300, 'd'}},
                 {"accepted", "incomplete", "damaged"}},
        RuleCase{"FactsAreNeverOverriddenByHand", kNoRules,
                 {{120, 'd'}, {120, 'i'}},
                 {"damaged", "incomplete"}},
        RuleCase{"ManualDecisionsComeBeforeTrainingAndAcclimation",
                 [](AcceptanceProfile& p) { p.trainingSessions = 1; p.acclimationReadings = 5; },
                 {{120, 'a'}, {120, 'r'}, {120}},
                 {"accepted*", "rejected*", "training"}},
        RuleCase{"TrainingComesBeforeAcclimation",
                 [](AcceptanceProfile& p) { p.trainingSessions = 1; p.acclimationReadings = 1; },
                 {{120}, {120, ' ', 400, kDay2}, {120, ' ', 400, kDay2}},
                 {"training", "acclimation", "accepted"}},
        RuleCase{"TrainingCountsEachAnimalsSessionsByDate",
                 [](AcceptanceProfile& p) { p.trainingSessions = 2; },
                 {{120, ' ', 400, "26/12/09"}, {120, ' ', 400, "26/12/01"},
                  {120, ' ', 400, "26/12/05"}, {120, ' ', 400, "26/12/09", "B2"},
                  {120, ' ', 400, "not-date"}},
                 {"accepted", "training", "training", "training", "accepted"}},
        RuleCase{"AcclimationPositionsCountDamagedAndIncompleteReadings",
                 [](AcceptanceProfile& p) { p.acclimationReadings = 3; },
                 {{120, 'd'}, {120, 'i'}, {120}, {120}},
                 {"damaged", "incomplete", "acclimation", "accepted"}},
        RuleCase{"AcclimationFollowsTheRecordedTimeNotTheListOrder",
                 [](AcceptanceProfile& p) { p.acclimationReadings = 1; },
                 {{120, ' ', 400, "26/12/01", "A1", "09:00:03"},
                  {120, ' ', 400, "26/12/01", "A1", "09:00:01"},
                  {120, ' ', 400, "26/12/01", "A1", "09:00:02"}},
                 {"accepted", "acclimation", "accepted"}},
        RuleCase{"EqualTimesAreOrderedByTheNaturalOrderOfTheNames",
                 [](AcceptanceProfile& p) { p.acclimationReadings = 1; },
                 {{120, ' ', 400, "26/12/01", "A1", "09:00:01", "BP10.01"},
                  {120, ' ', 400, "26/12/01", "A1", "09:00:01", "BP9.01"}},
                 {"accepted", "acclimation"}},
        RuleCase{"RangeBoundsAreInclusive",
                 [](AcceptanceProfile& p) {
                     p.sbpMin = 40; p.sbpMax = 210; p.hrMin = 300; p.hrMax = 600;
                 },
                 {{40}, {39}, {210}, {211}, {120, ' ', 300}, {120, ' ', 299}, {120, ' ', 601},
                  {120, ' ', 0}},
                 {"accepted", "out_of_range", "accepted", "out_of_range", "accepted",
                  "out_of_range", "out_of_range", "accepted"}},
        RuleCase{"AcclimationComesBeforeTheRange",
                 [](AcceptanceProfile& p) { p.acclimationReadings = 1; p.sbpMax = 200; },
                 {{250}, {250}},
                 {"acclimation", "out_of_range"}},
        RuleCase{"DeviationRejectsBeyondKSd",
                 [](AcceptanceProfile& p) { p.deviationSd = 1.5; },
                 {{130}, {130}, {130}, {130}, {160}},
                 {"accepted", "accepted", "accepted", "accepted", "deviation"}},
        RuleCase{"DeviationKeepsAReadingExactlyKSdAway",
                 [](AcceptanceProfile& p) { p.deviationSd = 1; },
                 {{120}, {130}, {140}},
                 {"accepted", "accepted", "accepted"}},
        RuleCase{"DeviationNeedsThreeInThePool",
                 [](AcceptanceProfile& p) { p.acclimationReadings = 1; p.deviationSd = 0.1; },
                 {{120}, {100}, {200}},
                 {"acclimation", "accepted", "accepted"}},
        RuleCase{"ReadingsExcludedEarlierLeaveThePool",
                 [](AcceptanceProfile& p) { p.sbpMax = 200; p.deviationSd = 1; },
                 {{100}, {100}, {100}, {100}, {112}, {250}},
                 {"accepted", "accepted", "accepted", "accepted", "deviation", "out_of_range"}},
        RuleCase{"AManualRejectLeavesThePool",
                 [](AcceptanceProfile& p) { p.deviationSd = 1; },
                 {{100}, {100}, {100}, {100}, {112}, {130, 'r'}},
                 {"accepted", "accepted", "accepted", "accepted", "deviation", "rejected*"}},
        RuleCase{"AManualAcceptSurvivesTheDeviationAndCountsInMeanAndSd",
                 [](AcceptanceProfile& p) { p.deviationSd = 1; },
                 {{100}, {100}, {100}, {100}, {112}, {130, 'a'}},
                 {"accepted", "accepted", "accepted", "accepted", "accepted", "accepted*"}},
        RuleCase{"TooFewAcceptedTurnManualAcceptsIntoSessionRejected",
                 [](AcceptanceProfile& p) { p.sessionMinAccepted = 3; },
                 {{120, 'a'}, {120}, {120, 'i'}, {120, 'r'}},
                 {"session_rejected", "session_rejected", "incomplete", "rejected*"}},
        RuleCase{"EnoughAcceptedKeepTheSession",
                 [](AcceptanceProfile& p) { p.sessionMinAccepted = 2; },
                 {{120, 'a'}, {120}},
                 {"accepted*", "accepted"}},
        RuleCase{"SessionSdAtTheLimitKeepsTheSession",
                 [](AcceptanceProfile& p) { p.sessionMaxSd = 10; },
                 {{100}, {110}, {120}},
                 {"accepted", "accepted", "accepted"}},
        RuleCase{"SessionSdAboveTheLimitRejectsTheSession",
                 [](AcceptanceProfile& p) { p.sessionMaxSd = 9.9; },
                 {{100}, {110}, {120}, {0, 'i'}},
                 {"session_rejected", "session_rejected", "session_rejected", "incomplete"}},
        RuleCase{"SessionCvAboveTheLimitRejectsTheSession", // 10 / 110 = 9.09 %
                 [](AcceptanceProfile& p) { p.sessionMaxCv = 9; },
                 {{100}, {110}, {120}},
                 {"session_rejected", "session_rejected", "session_rejected"}},
        RuleCase{"SessionCvWithinTheLimitKeepsTheSession",
                 [](AcceptanceProfile& p) { p.sessionMaxCv = 9.1; },
                 {{100}, {110}, {120}},
                 {"accepted", "accepted", "accepted"}},
        RuleCase{"SessionRulesJudgeEachSessionOnItsOwn",
                 [](AcceptanceProfile& p) { p.sessionMinAccepted = 2; },
                 {{120}, {120, ' ', 400, kDay2}, {120, ' ', 400, kDay2}},
                 {"session_rejected", "accepted", "accepted"}}),
    [](const ::testing::TestParamInfo<RuleCase>& info) {
                             return info.param.name;
                         });

TEST(ReadingReviewTest, ReviewsGiveWhoDecidedAndWhyAndTheCountsInTheirOrder) {
    AcceptanceProfile profile;
    profile.acclimationReadings = 1;
    profile.sessionMinAccepted = 5;
    const ReviewRun run = ReviewHand({{120}, {120, 'r'}, {120, 'a'}}, profile);
    EXPECT_EQ(ReadingReviewJson(run.result.readings[0]).dump(),
              R"({"status":"acclimation","reason":"acclimation reading 1 of 1",)"
              R"("decided_by":"rule"})");
    EXPECT_EQ(ReadingReviewJson(run.result.readings[1]).dump(),
              R"({"status":"rejected","reason":"movement","decided_by":"manual",)"
              R"("user":"tester","time":"2026-12-01T10:00:00+00:00"})");
    // A session rule takes over a manual accept, as a rule.
    EXPECT_EQ(ReadingReviewJson(run.result.readings[2]).dump(),
              R"({"status":"session_rejected","reason":"session has 1 accepted, fewer than 5",)"
              R"("decided_by":"rule"})");
    EXPECT_EQ(run.result.readings[2].position, 2);
    EXPECT_EQ(StatusCountsJson(run.result.sessions.at(0).counts).dump(),
              R"({"recorded":3,"damaged":0,"incomplete":0,"training":0,"acclimation":1,)"
              R"("out_of_range":0,"deviation":0,"rejected":1,"session_rejected":1,"accepted":0})");
}

TEST(ReadingReviewTest, AReadingWithoutAReadableHeaderIsDamagedAndInNoSession) {
    Reading unreadable = MakeReading({0, 'd'}, 0);
    unreadable.headerRead = false;
    const ReviewResult result = ReviewReadings({unreadable, MakeReading({120}, 1)},
                                               ValueSource::Stored, DefaultProfile());
    EXPECT_EQ(Statuses(result), (std::vector<std::string>{"damaged", "accepted"}));
    EXPECT_EQ(result.readings[0].session, -1);
    ASSERT_EQ(result.sessions.size(), 1u);
    EXPECT_EQ(result.sessions[0].counts.recorded, 1);
}

TEST(ReadingReviewTest, AcceptedStatisticsGiveTheCoefficientOfVariation) {
    const ReviewRun run = ReviewHand({{100}, {110}, {120}}, DefaultProfile());
    const SessionReview& session = run.result.sessions.at(0);
    EXPECT_DOUBLE_EQ(*session.sbp.values.sd, 10);
    EXPECT_DOUBLE_EQ(*session.sbp.cv, 10.0 / 110.0 * 100.0);
}

void ExpectSameStatistic(const SummaryStatistic& review, const SummaryStatistic& summary) {
    EXPECT_EQ(review.n, summary.n);
    EXPECT_EQ(review.mean, summary.mean);
    EXPECT_EQ(review.sd, summary.sd);
    EXPECT_EQ(review.se, summary.se);
    EXPECT_EQ(review.min, summary.min);
    EXPECT_EQ(review.max, summary.max);
}

class DefaultProfileTest : public ::testing::TestWithParam<ValueSource> {};

TEST_P(DefaultProfileTest, GivesExactlyTheSummarysSessionsAndStatistics) {
    // Values whose sums depend on the order they are added in, listed out of time order.
    std::vector<Reading> readings;
    const char* const dates[] = {"26/12/02", "26/12/01", "bad date"};
    const int sbp[] = {131, 97, 143, 118, 0, 127, 109, 151, 122, 133, 101, 149};
    for (size_t i = 0; i < std::size(sbp); ++i) {
        const std::string time = "09:00:" + std::to_string(50 - i);
        const char kind = i == 4 ? 'i' : i == 7 ? 'd' : ' ';
        const int hr = i == 9 ? 0 : 300 + static_cast<int>(i) * 7;
        readings.push_back(MakeReading(
            {sbp[i], kind, hr, dates[i % 3], i % 2 ? "A1" : "A10", time.c_str()}, i));
    }
    Reading unreadable = MakeReading({120, 'd'}, 0);
    unreadable.headerRead = false;
    readings.push_back(unreadable);

    const ValueSource source = GetParam();
    const ReviewResult review = ReviewReadings(readings, source, DefaultProfile());
    const StudySummary summary = SummarizeReadings(readings, source);
    ASSERT_EQ(review.sessions.size(), summary.sessions.size());
    for (size_t k = 0; k < summary.sessions.size(); ++k) {
        const SessionReview& session = review.sessions[k];
        const SummaryRow& row = summary.sessions[k];
        EXPECT_EQ(session.studyNo, row.studyNo);
        EXPECT_EQ(session.animalNo, row.animalNo);
        EXPECT_EQ(session.date, *row.date);
        EXPECT_EQ(session.counts.recorded, row.n);
        EXPECT_EQ(session.counts.Of(ReadingStatus::Accepted), row.nComplete);
        ExpectSameStatistic(session.sbp.values, row.sbp);
        ExpectSameStatistic(session.mbp.values, row.mbp);
        ExpectSameStatistic(session.dbp.values, row.dbp);
        ExpectSameStatistic(session.hr.values, row.hr);
    }
}

INSTANTIATE_TEST_SUITE_P(Sources, DefaultProfileTest,
                         ::testing::Values(ValueSource::Stored, ValueSource::AnalysisS,
                                           ValueSource::AnalysisSM));

} // namespace
} // namespace mirado::test
