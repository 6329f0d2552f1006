// The study statistics: the mixed ANOVA, the one-way repeated-measures ANOVA, Welch's test
// and Holm's adjustment against values R (afex, t.test, p.adjust) gives for the same data;
// the levels and the change from baseline on a hand-built study; degenerate studies giving
// NaN instead of numbers or crashes; the output rows and the printed report's part.

#include "stats/StudyStatistics.h"
#include "stats/StudyReport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace mirado::test {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

void ExpectRelative(double actual, double expected, const std::string& what) {
    if (std::isnan(expected)) {
        EXPECT_TRUE(std::isnan(actual)) << what << ": " << actual;
        return;
    }
    EXPECT_NEAR(actual, expected, std::fabs(expected) * 1e-9) << what;
}

struct ExpectedTerm {
    std::string term;
    double dfNum, dfDen, F, p, ges, gg, pGg, hf, pHf;
};

struct AnovaCase {
    const char* name;
    std::vector<std::vector<double>> values; // animal × session
    std::vector<size_t> group;
    std::vector<ExpectedTerm> terms;
};

class AnovaTest : public ::testing::TestWithParam<AnovaCase> {};

TEST_P(AnovaTest, AgreesWithTheStatisticsPackage) {
    std::string problem = "unset";
    const std::vector<AnovaTerm> terms = MixedAnova(GetParam().values, GetParam().group, &problem);
    EXPECT_EQ(problem, "");
    ASSERT_EQ(terms.size(), GetParam().terms.size());
    for (size_t i = 0; i < terms.size(); ++i) {
        const ExpectedTerm& e = GetParam().terms[i];
        const AnovaTerm& t = terms[i];
        EXPECT_EQ(t.term, e.term);
        ExpectRelative(t.dfNum, e.dfNum, e.term + " df_num");
        ExpectRelative(t.dfDen, e.dfDen, e.term + " df_den");
        ExpectRelative(t.F, e.F, e.term + " F");
        ExpectRelative(t.p, e.p, e.term + " p");
        ExpectRelative(t.ges, e.ges, e.term + " ges");
        ExpectRelative(t.ggEpsilon, e.gg, e.term + " GG epsilon");
        ExpectRelative(t.pGg, e.pGg, e.term + " p GG");
        ExpectRelative(t.hfEpsilon, e.hf, e.term + " HF epsilon");
        ExpectRelative(t.pHf, e.pHf, e.term + " p HF");
    }
}

// Reference values from R 4 with afex::aov_ez (type III, GG and HF from car) and ges.
INSTANTIATE_TEST_SUITE_P(
    Studies, AnovaTest,
    ::testing::Values(
        AnovaCase{
            "UnequalGroups",
            {{120, 125, 131},
             {118, 127, 129},
             {122, 121, 135},
             {130, 140, 151},
             {128, 139, 148},
             {133, 145, 150},
             {127, 136, 155}},
            {0, 0, 0, 1, 1, 1, 1},
            {{"group", 1, 5, 168.05516265912334, 4.86829777045104e-05, 0.893883538970810, kNaN,
              kNaN, kNaN, kNaN},
             {"session", 2, 10, 47.00567644276251, 8.21478636121411e-06, 0.875699493280458,
              0.623012186458276, 0.00030482857900984, 0.729379567356683, 0.000109209300987833},
             {"group:session", 2, 10, 4.20529801324503, 4.72781807717917e-02, 0.386605783866058,
              0.623012186458276, 0.08018782566565733, 0.729379567356683, 0.068971914985652763}}},
        AnovaCase{
            "Balanced",
            {{100, 104, 109, 111},
             {98, 103, 104, 112},
             {101, 102, 110, 109},
             {99, 112, 121, 130},
             {102, 115, 118, 133},
             {97, 108, 125, 128}},
            {4, 4, 4, 2, 2, 2},
            {{"group", 1, 4, 135.8695652173878, 3.09665223792070e-04, 0.859224635688754, kNaN, kNaN,
              kNaN, kNaN},
             {"session", 3, 12, 67.7542857142860, 8.58803059258167e-08, 0.932863024835436,
              0.400939999738162, 0.000442229322664173, 0.478350814623439, 0.000143964746141278},
             {"group:session", 3, 12, 14.7257142857142, 2.51776511932370e-04, 0.751238946652413,
              0.400939999738162, 0.011770973959354659, 0.478350814623439, 0.007060970405605774}}},
        AnovaCase{
            "OneGroup",
            {{100, 104, 109}, {98, 103, 104}, {101, 102, 110}, {99, 112, 121}, {102, 115, 118}},
            {0, 0, 0, 0, 0},
            {{"session", 2, 8, (387.7333333333333 / 2) / (111.6 / 8), 2.49513784739634e-03,
              0.531335647725198, 0.703740759603534, 0.0085415304575622, 0.971527808452618,
              0.00280503765314332}}},
        // Fewer animals than sessions: the error matrix is singular, so no correction.
        AnovaCase{"SingularError",
                  {{100, 104, 109, 111}, {98, 103, 104, 112}, {101, 102, 110, 109}},
                  {0, 0, 0},
                  {{"session", 3, 6, 16.80392156862745, 2.52472372851651e-03, 0.87005076142132,
                    kNaN, kNaN, kNaN, kNaN}}}),
    [](const auto& info) { return info.param.name; });

TEST(WelchTest, AgreesWithTTest) {
    // t.test(c(130, 140, 151, 128), c(120, 118, 122), var.equal = FALSE)
    const WelchResult welch = WelchTest({130, 140, 151, 128}, {120, 118, 122});
    ExpectRelative(welch.t, 3.1906626065525105, "t");
    ExpectRelative(welch.df, 3.2823866841942886, "df");
    ExpectRelative(welch.p, 0.0438331919689114, "p");
}

struct DegenerateWelchCase {
    const char* name;
    std::vector<double> x, y;
};

class DegenerateWelchTest : public ::testing::TestWithParam<DegenerateWelchCase> {};

TEST_P(DegenerateWelchTest, IsNotComputable) {
    const WelchResult welch = WelchTest(GetParam().x, GetParam().y);
    EXPECT_TRUE(std::isnan(welch.t) && std::isnan(welch.df) && std::isnan(welch.p));
}

INSTANTIATE_TEST_SUITE_P(Inputs, DegenerateWelchTest,
                         ::testing::Values(DegenerateWelchCase{"OneValue", {120}, {110, 112}},
                                           DegenerateWelchCase{"NoValues", {}, {}},
                                           DegenerateWelchCase{"NoVariance", {5, 5}, {3, 3, 3}}),
                         [](const auto& info) { return info.param.name; });

TEST(HolmTest, AgreesWithPAdjustAndSkipsNaN) {
    // p.adjust(c(0.01, 0.04, NA, 0.03, 0.2), method = "holm")
    const std::vector<double> adjusted = HolmAdjust({0.01, 0.04, kNaN, 0.03, 0.2});
    const std::vector<double> expected = {0.04, 0.09, kNaN, 0.09, 0.2};
    for (size_t i = 0; i < expected.size(); ++i)
        ExpectRelative(adjusted[i], expected[i], "p " + std::to_string(i));
}

// A hand-built study: groups "vehicle" (animals 1, 2, 3) and "treated" (4, 5), three
// sessions; animal 3 lacks the second session, animal 5 the first (the baseline).
StudyData HandBuiltStudy() {
    GroupsTable groups;
    for (const char* animal : {"1", "2", "3"})
        groups.Assign({"S", animal}, "vehicle");
    for (const char* animal : {"4", "5"})
        groups.Assign({"S", animal}, "treated");
    const std::vector<std::string> dates = {"24/01/10", "24/01/17", "24/01/24"};
    const std::vector<std::vector<double>> sbp = {
        {120, 124, 122}, {110, 112, 118}, {130, kNaN, 126}, {121, 140, 150}, {kNaN, 150, 160}};
    std::vector<SessionValues> values;
    for (size_t a = 0; a < sbp.size(); ++a)
        for (size_t s = 0; s < dates.size(); ++s)
            if (!std::isnan(sbp[a][s]))
                values.push_back({{"S", std::to_string(a + 1)},
                                  dates[s],
                                  ReadSessionDate(dates[s]),
                                  {sbp[a][s], std::nullopt, std::nullopt, 300 + sbp[a][s]}});
    return CollectStudyData(values, groups);
}

TEST(LevelsTest, CountAnimalsAndTakeTheSemOverThem) {
    const StudyData data = HandBuiltStudy();
    ASSERT_EQ(data.groups, (std::vector<std::string>{"vehicle", "treated"}));
    const std::vector<GroupLevels> rows = ComputeLevels(data);
    ASSERT_EQ(rows.size(), 6u);
    const LevelStatistic& first = rows[0].measures[0]; // vehicle, 24/01/10, SBP
    EXPECT_EQ(first.n, 3);
    ExpectRelative(first.mean, 120, "mean");
    ExpectRelative(first.sd, 10, "sd");
    ExpectRelative(first.sem, 10 / std::sqrt(3.0), "sem");
    EXPECT_EQ(first.min, 110);
    EXPECT_EQ(first.max, 130);
    EXPECT_EQ(rows[1].measures[0].n, 2); // animal 3 lacks the session
    EXPECT_EQ(rows[3].measures[0].n, 1); // treated, first session: animal 4 only
    EXPECT_TRUE(std::isnan(rows[3].measures[0].sd));
    EXPECT_EQ(rows[0].measures[1].n, 0); // no MBP at all
    EXPECT_TRUE(std::isnan(rows[0].measures[1].mean));
    ExpectRelative(rows[5].measures[3].mean, 455, "hr mean");
}

TEST(LevelsTest, ChangeFromBaselineLeavesOutAnimalsWithoutOne) {
    const StudyData data = HandBuiltStudy();
    const ChangeFromBaseline change = ComputeChangeFromBaseline(data, 0);
    ASSERT_EQ(change.leftOut.size(), 2u); // animal 5, SBP and HR
    EXPECT_EQ(data.animals[change.leftOut[0].animal].animal.animalNo, "5");
    EXPECT_EQ(change.leftOut[0].missingSessions, std::vector<size_t>{0});
    const LevelStatistic& treatedLast = change.rows[5].measures[0];
    EXPECT_EQ(treatedLast.n, 1);
    ExpectRelative(treatedLast.mean, 29, "change");
    const LevelStatistic& vehicleLast = change.rows[2].measures[0];
    EXPECT_EQ(vehicleLast.n, 3);
    ExpectRelative(vehicleLast.mean, (2 + 8 - 4) / 3.0, "change");
    ExpectRelative(change.rows[0].measures[0].sd, 0, "baseline change");
}

TEST(StudyTestsTest, MissingSessionLeavesTheAnimalOutOfTheAnovaOnly) {
    const StudyData data = HandBuiltStudy();
    const StudyTests tests = ComputeStudyTests(data, 0);
    ASSERT_EQ(tests.anovas.size(), 2u); // SBP and HR; MBP and DBP have no values
    const MeasureAnova& sbp = tests.anovas[0];
    EXPECT_EQ(sbp.animalsUsed, 3u);
    ASSERT_EQ(sbp.leftOut.size(), 2u);
    EXPECT_EQ(sbp.leftOut[0].missingSessions, std::vector<size_t>{1});
    EXPECT_EQ(sbp.leftOut[1].missingSessions, std::vector<size_t>{0});
    // One treated animal is left: the group's error has no variance, but the numbers
    // still come from 2 vehicle animals.
    ASSERT_EQ(sbp.terms.size(), 3u);
    EXPECT_EQ(sbp.terms[0].dfDen, 1);
    // Comparisons: 3 sessions × treated vs vehicle per measure; the treated group has one
    // value in the first session, so that one is not computable and Holm's counts 2.
    ASSERT_EQ(tests.comparisons.size(), 6u);
    EXPECT_EQ(tests.comparisons[0].n, 1);
    EXPECT_EQ(tests.comparisons[0].nControl, 3);
    EXPECT_TRUE(std::isnan(tests.comparisons[0].p));
    EXPECT_EQ(tests.comparisons[1].nControl, 2);
    const double p1 = tests.comparisons[1].p, p2 = tests.comparisons[2].p;
    ExpectRelative(tests.comparisons[1].pHolm,
                   std::min(1.0, p1 < p2 ? 2 * p1 : std::max(2 * p2, p1)), "holm");
}

struct DegenerateStudyCase {
    const char* name;
    std::vector<std::vector<double>> values;
    std::vector<size_t> group;
    size_t terms;
    std::string problem;
};

class DegenerateAnovaTest : public ::testing::TestWithParam<DegenerateStudyCase> {};

TEST_P(DegenerateAnovaTest, GivesNaNAndSaysWhy) {
    std::string problem;
    const std::vector<AnovaTerm> terms = MixedAnova(GetParam().values, GetParam().group, &problem);
    EXPECT_EQ(problem, GetParam().problem);
    ASSERT_EQ(terms.size(), GetParam().terms);
    for (const AnovaTerm& term : terms)
        EXPECT_TRUE(std::isnan(term.F) && std::isnan(term.p)) << term.term;
}

INSTANTIATE_TEST_SUITE_P(
    Studies, DegenerateAnovaTest,
    ::testing::Values(
        DegenerateStudyCase{"NoAnimals", {}, {}, 1, "fewer than 2 sessions"},
        DegenerateStudyCase{"OneSession", {{1}, {2}}, {0, 0}, 1, "fewer than 2 sessions"},
        DegenerateStudyCase{"OneAnimal",
                            {{120, 130}},
                            {0},
                            1,
                            "too few animals: no group has 2 with a value in every session"},
        DegenerateStudyCase{"OneAnimalPerGroup",
                            {{120, 130}, {125, 128}},
                            {0, 1},
                            3,
                            "too few animals: no group has 2 with a value in every session"},
        DegenerateStudyCase{
            "NoVariance", {{120, 120}, {120, 120}}, {0, 0}, 1, "no residual variance"}),
    [](const auto& info) { return info.param.name; });

TEST(StudyOutputTest, RowsNameTheirFieldsAndWriteNaNAsNull) {
    const StudyData data = HandBuiltStudy();
    const StudyTests tests = ComputeStudyTests(data, 0, {Measure::Sbp});
    const std::string json = StudyTestsJsonLines(data, tests);
    EXPECT_EQ(json.rfind("{\"measure\":\"sbp\",\"test\":\"anova\",\"term\":\"group\",\"df_num\":1,"
                         "\"df_den\":1,",
                         0),
              0u)
        << json;
    EXPECT_NE(json.find("\"gg_epsilon\":null,\"p_gg\":null,\"hf_epsilon\":null,\"p_hf\":null}"),
              std::string::npos);
    EXPECT_NE(json.find("{\"measure\":\"sbp\",\"test\":\"welch\",\"session\":\"24/01/10\","
                        "\"group\":\"treated\",\"control\":\"vehicle\",\"n\":1,\"n_control\":3,"
                        "\"t\":null,\"df\":null,\"p\":null,\"p_holm\":null}"),
              std::string::npos);
    const std::string csv = StudyTestsCsv(data, tests);
    EXPECT_EQ(csv.substr(0, csv.find('\n')),
              "measure,test,term,session,group,control,n,n_control,df_num,df_den,F,t,df,p,ges,"
              "gg_epsilon,p_gg,hf_epsilon,p_hf,p_holm");
    EXPECT_NE(csv.find("\nsbp,welch,,24/01/10,treated,vehicle,1,3,,,,,,,,,,,,\n"),
              std::string::npos);
    const std::string levels = LevelsCsv(data, ComputeLevels(data));
    EXPECT_NE(levels.find("\nvehicle,24/01/10,3,120,10,"), std::string::npos) << levels;
}

// The printed report's study part on the hand-built study: the groups line names the
// control, a levels table per measure (blank where nothing is computable), the charts
// placed after them, and the ANOVA's left-out animals and the comparisons under the
// chosen control.
TEST(StudyReportTest, AddsLevelsChartsAndTestsUnderTheChosenControl) {
    const StudyData data = HandBuiltStudy();
    PrintedReport report;
    report.tables.resize(2); // the exclusion report's own
    AddStudyToReport(report, data, 1);
    ASSERT_EQ(report.lines.size(), 1u);
    EXPECT_EQ(report.lines[0].rfind("Groups (n = animals): vehicle (3), treated (2, control).", 0),
              0u)
        << report.lines[0];
    ASSERT_EQ(report.tables.size(), 2u + 4u + 3u);
    const ReportTable& sbp = report.tables[2];
    EXPECT_EQ(sbp.title, "Groups per session: SBP (mmHg)");
    ASSERT_EQ(sbp.rows.size(), 6u);
    EXPECT_EQ(sbp.rows[0], (std::vector<std::string>{"vehicle", "24/01/10", "3", "120.0", "10.00",
                                                     "5.77", "110.0", "130.0"}));
    EXPECT_EQ(sbp.rows[3], (std::vector<std::string>{"treated", "24/01/10", "1", "121.0", "", "",
                                                     "121.0", "121.0"}));
    EXPECT_EQ(report.tables[3].rows[0][2], "0"); // no MBP: n 0, nothing else
    EXPECT_EQ(report.tables[3].rows[0][3], "");

    ASSERT_EQ(report.figures.size(), 4u);
    for (size_t m = 0; m < kMeasureCount; ++m) {
        EXPECT_EQ(report.figures[m].key, MeasureName(kMeasures[m]));
        EXPECT_EQ(MeasureNamed(report.figures[m].key), kMeasures[m]);
        EXPECT_EQ(report.figures[m].afterTable, 6u); // after the levels, before the ANOVA
    }
    EXPECT_EQ(MeasureNamed("pp"), std::nullopt);

    const ReportTable& leftOut = report.tables[7];
    ASSERT_EQ(leftOut.rows.size(), 4u); // animals 3 and 5, for SBP and HR
    EXPECT_EQ(leftOut.rows[0], (std::vector<std::string>{"sbp", "S", "3", "vehicle", "24/01/17"}));
    const ReportTable& comparisons = report.tables[8];
    ASSERT_EQ(comparisons.rows.size(), 6u);
    EXPECT_EQ(comparisons.rows[0][2], "vehicle"); // against the control "treated"
    EXPECT_EQ(comparisons.rows[0][3], "treated");
}

TEST(StudyDataTest, FindsSessionsByDateTextOrDayAndGroupsByName) {
    const StudyData data = HandBuiltStudy();
    EXPECT_EQ(FindSession(data, "24/01/17"), 1u);
    EXPECT_EQ(FindSession(data, "2024-01-24"), 2u);
    EXPECT_EQ(FindSession(data, "2024/01/10"), 0u);
    EXPECT_EQ(FindSession(data, "2024-01-11"), std::nullopt);
    EXPECT_EQ(FindSession(data, "tomorrow"), std::nullopt);
    EXPECT_EQ(FindGroup(data, "treated"), 1u);
    EXPECT_EQ(FindGroup(data, kNoGroupName), std::nullopt);
}

} // namespace
} // namespace mirado::test
