#include "ReviewFixture.h"

#include "review/ReviewLog.h"

#include <filesystem>

namespace mirado {
namespace {

using test::ReviewFixture;

AcceptanceProfile ProfileWith(const std::string& rules) {
    Result<AcceptanceProfile> parsed = ParseProfile(rules, "test");
    EXPECT_TRUE(parsed.ok()) << parsed.error();
    return parsed.value();
}

// The review the state keeps after decisions on single animals must be the one a review
// of every reading gives.
void ExpectSameAsWholeReview(const CReviewState& state, ValueSource source) {
    std::vector<std::optional<ManualDecision>> decisions;
    for (size_t i = 0; i < state.Paths().size(); ++i)
        decisions.push_back(state.DecisionAt(i));
    const ReviewResult whole = ReviewReadings(state.Readings(), source, state.Profile(), decisions);
    const ReviewResult& kept = state.Review();
    ASSERT_EQ(kept.readings.size(), whole.readings.size());
    for (size_t i = 0; i < whole.readings.size(); ++i) {
        EXPECT_EQ(kept.readings[i].status, whole.readings[i].status) << "reading " << i;
        EXPECT_EQ(kept.readings[i].manual, whole.readings[i].manual) << "reading " << i;
        EXPECT_EQ(kept.readings[i].reason, whole.readings[i].reason) << "reading " << i;
        EXPECT_EQ(kept.readings[i].session, whole.readings[i].session) << "reading " << i;
    }
    ASSERT_EQ(kept.sessions.size(), whole.sessions.size());
    for (size_t s = 0; s < whole.sessions.size(); ++s) {
        EXPECT_EQ(kept.sessions[s].counts.byStatus, whole.sessions[s].counts.byStatus)
            << "session " << s;
        EXPECT_EQ(kept.sessions[s].sbp.values.mean, whole.sessions[s].sbp.values.mean)
            << "session " << s;
        EXPECT_EQ(kept.sessions[s].readings, whole.sessions[s].readings) << "session " << s;
    }
}

struct ProfileRow {
    const char* name;
    const char* rules;
};

class ReviewStateProfileTest : public ReviewFixture,
                               public ::testing::WithParamInterface<ProfileRow> {};

TEST_P(ReviewStateProfileTest, DecisionsOnOneAnimalLeaveTheWholeReviewRight) {
    const std::vector<std::string> paths = Prepare(test::StandardSpecs());
    CReviewState state(1, Reader());
    state.SetProfile(ProfileWith(GetParam().rules));
    state.SetFiles(paths);
    WaitFilled(state);
    ExpectSameAsWholeReview(state, ValueSource::Stored);

    const struct {
        size_t index;
        ReviewAction action;
        const char* reason;
    } steps[] = {
        {0, ReviewAction::Accept, ""},          {4, ReviewAction::Accept, ""},
        {7, ReviewAction::Reject, "movement"},  {8, ReviewAction::Reject, "no_pulse"},
        {9, ReviewAction::Reject, "cuff_leak"}, {33, ReviewAction::Reject, "other"},
        {4, ReviewAction::Clear, ""},           {59, ReviewAction::Accept, ""},
    };
    for (const auto& step : steps) {
        ASSERT_TRUE(state.Decide(step.index, step.action, step.reason, "").ok());
        SCOPED_TRACE("after deciding on reading " + std::to_string(step.index));
        ExpectSameAsWholeReview(state, ValueSource::Stored);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, ReviewStateProfileTest,
    ::testing::Values(
        ProfileRow{"none", "{}"},
        ProfileRow{"acclimation_deviation", R"({"acclimation_readings": 1, "deviation_sd": 1})"},
        ProfileRow{"training_session_rules",
                   R"({"training_sessions": 1, "session_min_accepted": 4, "session_max_sd": 8})"},
        ProfileRow{"limits", R"({"sbp_min": 125, "sbp_max": 150, "session_max_cv": 5})"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ReviewFixture, ADecisionMadeWhileTheFilesAreReadIsKept) {
    const std::vector<std::string> paths = Prepare(test::StandardSpecs());
    CReviewState state(1, Reader());
    state.SetFiles(paths);
    // The readings arrive by a queued call: nothing has been delivered yet.
    ASSERT_FALSE(state.IsFilled());
    ASSERT_TRUE(state.Decide(3, ReviewAction::Reject, "movement", "").ok());
    WaitFilled(state);
    const ReadingReview& review = state.Review().readings[3];
    EXPECT_EQ(review.status, ReadingStatus::Rejected);
    EXPECT_TRUE(review.manual);
    EXPECT_EQ(review.reason, "movement");
}

TEST_F(ReviewFixture, TheLogsDecisionsAreReadWithTheFiles) {
    const std::vector<std::string> paths = Prepare(test::StandardSpecs());
    ASSERT_TRUE(AppendDecision(paths[2], ReviewAction::Reject, "cuff_leak", "leaky").ok());
    CReviewState state(1, Reader());
    state.SetFiles(paths);
    WaitFilled(state);
    EXPECT_EQ(state.Review().readings[2].status, ReadingStatus::Rejected);
    EXPECT_EQ(state.Review().readings[2].note, "leaky");
    ASSERT_TRUE(state.DecisionAt(2).has_value());
    EXPECT_FALSE(state.DecisionAt(2)->accepted);
}

TEST_F(ReviewFixture, ADecisionTheLogRefusesChangesNothing) {
    const std::vector<std::string> paths = Prepare(test::StandardSpecs());
    CReviewState state(1, Reader());
    state.SetFiles(paths);
    WaitFilled(state);
    // A folder where the log would be: it is never written.
    std::filesystem::create_directory(ReviewLogPathFor(paths[0]));
    QSignalSpy reviewed(&state, &CReviewState::ReadingsReviewed);
    EXPECT_FALSE(state.Decide(0, ReviewAction::Reject, "movement", "").ok());
    EXPECT_FALSE(state.DecisionAt(0).has_value());
    EXPECT_FALSE(state.Review().readings[0].manual);
    EXPECT_EQ(reviewed.count(), 0);
}

TEST_F(ReviewFixture, OtherFilesDropTheReadUnderWay) {
    const std::vector<std::string> first = Prepare(test::StandardSpecs());
    CReviewState state(1, Reader());
    state.SetFiles(first);
    const std::vector<std::string> second(first.begin(), first.begin() + 5);
    state.SetFiles(second);
    WaitFilled(state);
    QTest::qWait(50); // the first run's delivery, if any, would have arrived
    EXPECT_EQ(state.Paths().size(), 5u);
    EXPECT_EQ(state.Review().readings.size(), 5u);
}

} // namespace
} // namespace mirado
