#pragma once
// The statistics of a study over its groups of animals and its sessions.
//
// The data: for each animal (study number × animal number, in its group) and each session
// (recording date), its value for SBP, MBP, DBP and HR, the mean of its accepted readings,
// or nothing when it has none. From it:
//   - levels: per group and session, n (animals with a value), mean, SD (n - 1), SEM
//     (SD / sqrt(n)), min, max of the animal values; the same for the change from a
//     baseline session (each animal's value minus its baseline value), animals without a
//     baseline value left out and listed;
//   - tests, per measure: the two-way mixed ANOVA (group between animals, session within)
//     over the animals with a value in every session, type III sums of squares with
//     Greenhouse-Geisser and Huynh-Feldt epsilons for the within terms and the generalised
//     eta squared; with one group the one-way repeated-measures ANOVA over sessions. Then
//     per session each group against the control group with Welch's t test, the p values
//     adjusted by Holm's method over all comparisons of the measure.
// A number that cannot be computed (too few animals, no variance) is NaN, with the reason
// in the result's problem text.
//
// Use:
//   StudyData data = CollectStudyData(SessionValuesFromReview(review), groups.table);
//   GroupLevelsTable levels = ComputeLevels(data);
//   ChangeFromBaseline change = ComputeChangeFromBaseline(data, 0);
//   StudyTests tests = ComputeStudyTests(data, /*control=*/0);
//   std::string csv = AnovaCsv(tests), json = StudyTestsJsonLines(tests);

#include "document/StudySummary.h"
#include "review/ReadingReview.h"
#include "stats/GroupsTable.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

enum class Measure { Sbp, Mbp, Dbp, Hr };
inline constexpr size_t kMeasureCount = 4;
inline constexpr std::array<Measure, kMeasureCount> kMeasures = {Measure::Sbp, Measure::Mbp,
                                                                 Measure::Dbp, Measure::Hr};
// "sbp", "mbp", "dbp", "hr".
const char* MeasureName(Measure measure);
// "SBP", "MBP", "DBP", "HR": the measure as charts and printed tables name it.
const char* MeasureLabel(Measure measure);

using MeasureValues = std::array<std::optional<double>, kMeasureCount>;

// One animal's values in one session, as the summary or the review gives them.
struct SessionValues {
    AnimalKey animal;
    std::string date; // the date text as in the file
    std::optional<SessionDate> sessionDate;
    MeasureValues values; // the means of the accepted readings
};

// Each session row of the summary (the means of its complete readings).
std::vector<SessionValues> SessionValuesFromSummary(const std::vector<SummaryRow>& sessions);
// Each session of the review (the means of its accepted readings).
std::vector<SessionValues> SessionValuesFromReview(const ReviewResult& review);

struct StudySession {
    std::string date; // the date text
    std::optional<SessionDate> sessionDate;
};

struct StudyAnimal {
    AnimalKey animal;
    size_t group = 0;                  // index into StudyData::groups
    std::vector<MeasureValues> values; // one per session
};

struct StudyData {
    std::vector<std::string> groups;    // the table's groups in order, then "(none)" if used
    std::vector<StudySession> sessions; // in date order (unreadable dates last)
    std::vector<StudyAnimal> animals;   // ordered by study and animal number
};

// The study from the session values and the groups table. Sessions are the distinct date
// texts. A group of the table without any animal in the data is kept (n 0 everywhere).
StudyData CollectStudyData(const std::vector<SessionValues>& values, const GroupsTable& groups);

// The groups table of a study: the file groupsPath names or, when it is empty, the
// mirado-groups.csv beside the recordings (no table when there is none), read against the
// animals of values. Each skipped row adds a warning that starts with the file's path.
Result<GroupsTable> ReadStudyGroups(const std::vector<SessionValues>& values,
                                    const std::vector<std::string>& recordingPaths,
                                    const std::string& groupsPath,
                                    std::vector<std::string>& warnings);

// The index of the session whose date text is date, or of the session whose date reads as
// the same day (date given as YY/MM/DD, YYYY-MM-DD or YYYY/MM/DD); nothing when none is.
std::optional<size_t> FindSession(const StudyData& data, const std::string& date);
// The index of the group named name; nothing when none is.
std::optional<size_t> FindGroup(const StudyData& data, const std::string& name);

// ---- Levels ----

struct LevelStatistic {
    int n = 0;
    double mean = 0, sd = 0, sem = 0, min = 0, max = 0; // NaN where not computable
};

struct GroupLevels {
    size_t group = 0, session = 0;
    std::array<LevelStatistic, kMeasureCount> measures;
};

// An animal left out of a computation for one measure, with the sessions it lacks.
struct LeftOutAnimal {
    size_t animal = 0; // index into StudyData::animals
    Measure measure = Measure::Sbp;
    std::vector<size_t> missingSessions;
};

// One row per group and session, groups in order, sessions in order within each.
std::vector<GroupLevels> ComputeLevels(const StudyData& data);

struct ChangeFromBaseline {
    size_t baseline = 0;
    std::vector<GroupLevels> rows;      // as ComputeLevels, of the changes
    std::vector<LeftOutAnimal> leftOut; // without a baseline value (missingSessions holds it)
};
ChangeFromBaseline ComputeChangeFromBaseline(const StudyData& data, size_t baselineSession);

// The statistics of a list of values (mean, SD, SEM, min, max; NaN where not computable).
LevelStatistic ComputeLevelStatistic(const std::vector<double>& values);

// ---- Tests ----

struct AnovaTerm {
    std::string term; // "group", "session" or "group:session"
    double dfNum = 0, dfDen = 0, F = 0, p = 0, ges = 0;
    bool within = false; // a within-animal term: the epsilons below apply
    double ggEpsilon = 0, pGg = 0, hfEpsilon = 0, pHf = 0; // NaN for the group term
};

struct MeasureAnova {
    Measure measure = Measure::Sbp;
    std::vector<AnovaTerm> terms;   // group, session, group:session (session only with one group)
    std::vector<size_t> groupsUsed; // groups with at least one complete animal
    size_t animalsUsed = 0;
    std::vector<LeftOutAnimal> leftOut; // animals without a value in every session
    std::string problem;                // why the numbers are NaN; empty when they are not
};

struct WelchComparison {
    Measure measure = Measure::Sbp;
    size_t session = 0, group = 0, control = 0;
    int n = 0, nControl = 0;
    double t = 0, df = 0, p = 0, pHolm = 0; // NaN when not computable
};

struct StudyTests {
    size_t control = 0;
    std::vector<MeasureAnova> anovas;         // one per measure with any value
    std::vector<WelchComparison> comparisons; // measure, session, group order
};

StudyTests ComputeStudyTests(const StudyData& data, size_t controlGroup,
                             const std::vector<Measure>& measures = {kMeasures.begin(),
                                                                     kMeasures.end()});

// ---- The formulas on their own (also for the tests) ----

// values[animal][session], group[animal]: every animal with every session. Terms as above;
// problem (when given) receives why numbers are NaN, or nothing.
std::vector<AnovaTerm> MixedAnova(const std::vector<std::vector<double>>& values,
                                  const std::vector<size_t>& group, std::string* problem);

struct WelchResult {
    double t = 0, df = 0, p = 0;
};
// x against y (t > 0 when x's mean is the higher); NaN when either has fewer than 2 values
// or neither varies.
WelchResult WelchTest(const std::vector<double>& x, const std::vector<double>& y);

// Holm's adjustment of the p values; NaN ones stay NaN and do not count.
std::vector<double> HolmAdjust(const std::vector<double>& p);

// ---- Output ----

// The levels as CSV (header row; columns group, date, then for each measure _n, _mean,
// _sd, _sem, _min, _max) or JSON Lines (group, date, and per measure {n, mean, sd, sem,
// min, max}). NaN is an empty field or null.
std::string LevelsCsv(const StudyData& data, const std::vector<GroupLevels>& rows);
std::string LevelsJsonLines(const StudyData& data, const std::vector<GroupLevels>& rows);

// The tests, the ANOVA rows then the comparisons. JSON Lines: an ANOVA row {measure,
// test: "anova", term, df_num, df_den, F, p, ges, gg_epsilon, p_gg, hf_epsilon, p_hf}
// (the epsilons null for the group term), a comparison {measure, test: "welch", session,
// group, control, n, n_control, t, df, p, p_holm}; CSV: one table with every column of
// both (measure, test, term, session, group, control, n, n_control, df_num, df_den, F, t,
// df, p, ges, gg_epsilon, p_gg, hf_epsilon, p_hf, p_holm), empty where a row has none.
// NaN is null or an empty field.
std::string StudyTestsJsonLines(const StudyData& data, const StudyTests& tests);
std::string StudyTestsCsv(const StudyData& data, const StudyTests& tests);

} // namespace mirado
