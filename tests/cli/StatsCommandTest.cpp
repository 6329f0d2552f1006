// mirado-cli stats and summary --level group and reading over a small generated study: the groups
// file found beside the recordings or named, the animals left out of the ANOVA reported,
// the numbers those of the library on the summary's session means, usage problems, and
// the output written whole without ever replacing an input.

#include "CliRun.h"
#include "SampleFolder.h"

#include "stats/StudyStatistics.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

class StatsCommandTest : public SampleFolderTest {
protected:
    StatsCommandTest() : SampleFolderTest("mirado-stats-cli-") {}

    // Animals 1-3 "vehicle", 4-6 "treated", sessions 24/05/01 and 24/05/08, one reading
    // each; animal 6 lacks the second session.
    void SetUp() override {
        SampleFolderTest::SetUp();
        for (int animal = 1; animal <= 6; ++animal)
            for (int session = 1; session <= 2; ++session) {
                if (animal == 6 && session == 2)
                    continue;
                const int sbp = 110 + animal * 3 + session * (animal > 3 ? 9 : 2) + animal % 2;
                std::ostringstream name;
                name << 'a' << animal << 's' << session << ".dat";
                const std::string path = (folder / name.str()).string();
                const CliRun run =
                    Cli({"synth", "-o", path, "--species", "rat", "--seed",
                         std::to_string(animal * 10 + session), "--sbp", std::to_string(sbp),
                         "--dbp", std::to_string(sbp - 40), "--study-no", "S", "--animal-no",
                         std::to_string(animal), "--date", session == 1 ? "24/05/01" : "24/05/08"});
                ASSERT_EQ(run.status, kExitOk) << run.err;
                files.push_back(path);
            }
        WriteGroups(folder / "mirado-groups.csv",
                    "study_no,animal_no,group\nS,4,treated\nS,5,treated\nS,6,treated\n"
                    "S,1,vehicle\nS,2,vehicle\nS,3,vehicle\nS,7,vehicle\n");
    }

    static void WriteGroups(const fs::path& path, const std::string& text) {
        std::ofstream(path, std::ios::binary) << text;
    }

    CliArgs With(CliArgs args) const {
        args.insert(args.end(), files.begin(), files.end());
        return args;
    }

    std::vector<std::string> files;
};

std::vector<nlohmann::json> JsonLines(const std::string& text) {
    std::vector<nlohmann::json> objects;
    for (const std::string& line : Lines(text))
        objects.push_back(nlohmann::json::parse(line));
    return objects;
}

TEST_F(StatsCommandTest, TestsTheSummarysSessionMeansOverTheGroupsFileBesideThem) {
    const CliRun run = Cli(With({"stats", "--format", "json", "--measure", "sbp"}));
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.err.find("line 8: study S, animal 7 is not in the recordings"), std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("sbp: study S, animal 6 left out of the ANOVA: no value on 24/05/08"),
              std::string::npos)
        << run.err;
    const std::vector<nlohmann::json> rows = JsonLines(run.out);
    ASSERT_EQ(rows.size(), 5u); // 3 ANOVA terms, 2 sessions × treated vs vehicle
    EXPECT_EQ(rows[0]["term"], "group");
    EXPECT_EQ(rows[3]["test"], "welch");
    EXPECT_EQ(rows[3]["group"], "vehicle"); // the first group of the file is the control
    EXPECT_EQ(rows[3]["control"], "treated");
    EXPECT_EQ(rows[3]["n"], 3);
    EXPECT_EQ(rows[4]["n_control"], 2);

    // The same numbers from the library on the summary's session means.
    const CliRun summary = Cli(With({"summary", "--format", "json"}));
    std::vector<std::vector<double>> values(5);
    for (const nlohmann::json& row : JsonLines(summary.out)) {
        const int animal = std::stoi(row["animal_no"].get<std::string>());
        if (animal <= 5)
            values[animal - 1].push_back(row["sbp"]["mean"].get<double>());
    }
    std::string problem;
    const std::vector<AnovaTerm> terms = MixedAnova(values, {1, 1, 1, 0, 0}, &problem);
    ASSERT_EQ(terms.size(), 3u);
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_DOUBLE_EQ(rows[i]["F"].get<double>(), terms[i].F) << terms[i].term;
        EXPECT_DOUBLE_EQ(rows[i]["p"].get<double>(), terms[i].p) << terms[i].term;
    }
}

TEST_F(StatsCommandTest, NamedGroupsFileAndControl) {
    WriteGroups(folder / "other.csv", "study_no,animal_no,group\nS,1,a\nS,2,b\nS,3,a\nS,4,b\n");
    const CliRun run = Cli(With({"stats", "--groups", (folder / "other.csv").string(), "--control",
                                 "(none)", "--measure", "hr"}));
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 1u + 3u + 2u * 2u);
    EXPECT_EQ(lines[4].rfind("hr,welch,,24/05/01,a,(none),2,2,", 0), 0u) << lines[4];
    EXPECT_EQ(lines[5].rfind("hr,welch,,24/05/01,b,(none),2,2,", 0), 0u) << lines[5];
}

TEST_F(StatsCommandTest, WritesTheOutputWholeAndNeverOverAnInput) {
    const fs::path out = folder / "tests.csv";
    ASSERT_EQ(Cli(With({"stats", "-o", out.string()})).status, kExitOk);
    EXPECT_EQ(Bytes(out), Cli(With({"stats"})).out);
    const std::string groups = Bytes(folder / "mirado-groups.csv");
    for (const fs::path& input : {fs::path(files[0]), folder / "mirado-groups.csv"}) {
        const std::string before = Bytes(input);
        const CliRun run = Cli(With(
            {"stats", "--groups", (folder / "mirado-groups.csv").string(), "-o", input.string()}));
        EXPECT_EQ(run.status, kExitUsage) << input;
        EXPECT_EQ(Bytes(input), before);
    }
}

struct UsageCase {
    const char* name;
    CliArgs args;
    std::string message;
};

class StatsUsageTest : public StatsCommandTest, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(StatsUsageTest, SaysWhatIsWrong) {
    const CliRun run = Cli(With(GetParam().args));
    EXPECT_EQ(run.status, kExitUsage);
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");
}

INSTANTIATE_TEST_SUITE_P(
    Options, StatsUsageTest,
    ::testing::Values(
        UsageCase{"UnknownControl",
                  {"stats", "--control", "placebo"},
                  "--control: no group \"placebo\"; the groups are treated, vehicle"},
        UsageCase{"MissingGroupsFile", {"stats", "--groups", "/nonexistent/g.csv"}, "g.csv"},
        UsageCase{"UnknownMeasure", {"stats", "--measure", "pp"}, "--measure"},
        UsageCase{
            "UnknownBaseline",
            {"summary", "--level", "group", "--change-from-baseline", "--baseline", "24/06/01"},
            "--baseline: no session on 24/06/01; the sessions are 24/05/01, 24/05/08"},
        UsageCase{"GroupsWithoutLevel", {"summary", "--groups", "g.csv"}, "need --level group"},
        UsageCase{"BaselineWithoutChange",
                  {"summary", "--level", "group", "--baseline", "24/05/01"},
                  "--baseline needs --change-from-baseline"},
        UsageCase{"ReportControlWithoutGroups",
                  {"report", "--profile", "all", "--control", "vehicle"},
                  "--control needs --groups"},
        UsageCase{"GroupLevelByAnimal",
                  {"summary", "--level", "group", "--by", "animal"},
                  "cannot be combined"}),
    [](const auto& info) { return info.param.name; });

TEST_F(StatsCommandTest, GroupLevelCountsAnimalsAndChangesLeaveOutThoseWithoutBaseline) {
    const CliRun levels = Cli(With({"summary", "--level", "group", "--format", "json"}));
    ASSERT_EQ(levels.status, kExitOk) << levels.err;
    const std::vector<nlohmann::json> rows = JsonLines(levels.out);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0]["group"], "treated");
    EXPECT_EQ(rows[0]["sbp"]["n"], 3);
    EXPECT_EQ(rows[1]["sbp"]["n"], 2);
    EXPECT_DOUBLE_EQ(rows[0]["sbp"]["sem"].get<double>(),
                     rows[0]["sbp"]["sd"].get<double>() / std::sqrt(3.0));

    const CliRun change = Cli(With({"summary", "--level", "group", "--change-from-baseline",
                                    "--baseline", "2024-05-08", "--format", "json"}));
    ASSERT_EQ(change.status, kExitOk) << change.err;
    EXPECT_NE(change.err.find("sbp: study S, animal 6 left out: no value in the baseline"),
              std::string::npos)
        << change.err;
    const std::vector<nlohmann::json> changes = JsonLines(change.out);
    EXPECT_EQ(changes[0]["sbp"]["n"], 2);
    EXPECT_EQ(changes[1]["sbp"]["mean"], 0);
}

// The reading level: one row per file in the files' order, the group from the table
// beside them, the values the session means are made of and the review's status; a
// rejection by hand in the log shows only under --profile, and its values stay.
TEST_F(StatsCommandTest, ReadingLevelGivesEachReadingItsGroupValuesAndStatus) {
    const std::string damaged = (folder / "damaged.dat").string();
    std::ofstream(damaged, std::ios::binary) << "not a recording";
    CliArgs args = With({"summary", "--level", "reading", "--format", "json"});
    args.push_back(damaged);
    ASSERT_EQ(Cli({"review", "reject", "--reason", "movement", files[0]}).status, kExitOk);

    const CliRun plain = Cli(args);
    EXPECT_EQ(plain.status, kExitLoadFailed); // the damaged file
    std::vector<nlohmann::json> rows = JsonLines(plain.out);
    ASSERT_EQ(rows.size(), files.size() + 1);
    EXPECT_EQ(rows[0]["group"], "vehicle");
    EXPECT_EQ(rows[0]["status"], "accepted");
    EXPECT_EQ(rows[0]["sbp"], 116); // 110 + 3 + 2 + 1
    EXPECT_EQ(rows[6]["group"], "treated");
    EXPECT_EQ(rows.back()["status"], "damaged");
    EXPECT_TRUE(rows.back()["sbp"].is_null());
    EXPECT_EQ(rows.back()["group"], "");

    args.insert(args.begin() + 1, {"--profile", "all"});
    rows = JsonLines(Cli(args).out);
    EXPECT_EQ(rows[0]["status"], "rejected");
    EXPECT_EQ(rows[0]["reason"], "movement");
    EXPECT_EQ(rows[0]["sbp"], 116);

    const CliRun csv = Cli(With({"summary", "--level", "reading", "--analysis", "s"}));
    const std::vector<std::string> lines = Lines(csv.out);
    EXPECT_EQ(lines[0], "path,study_no,animal_no,group,date,time,sbp,mbp,dbp,hr,status,reason,"
                        "path_bytes");
    EXPECT_NE(lines[1].find(",S,1,vehicle,24/05/01,"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find(",,,"), std::string::npos); // no MBP or DBP with Analysis S

    for (const CliArgs& refused :
         {CliArgs{"summary", "--level", "reading", "--by", "animal"},
          CliArgs{"summary", "--level", "reading", "--change-from-baseline"},
          CliArgs{"summary", "--level", "reading", "--plot", "c.png"}})
        EXPECT_EQ(Cli(With(refused)).status, kExitUsage);
}

TEST_F(StatsCommandTest, ReportWithGroupsEndsWithTheLevelsAndTheTests) {
    const std::string groups = (folder / "mirado-groups.csv").string();
    const CliRun plain = Cli(With({"report", "--profile", "all", "--format", "json"}));
    const CliRun grouped =
        Cli(With({"report", "--profile", "all", "--format", "json", "--groups", groups}));
    ASSERT_EQ(grouped.status, kExitOk) << grouped.err;
    ASSERT_EQ(grouped.out.rfind(plain.out, 0), 0u); // the report as before, then the parts
    const std::vector<nlohmann::json> parts = JsonLines(grouped.out.substr(plain.out.size()));
    ASSERT_EQ(parts.size(), 4u + 4u * 3u + 4u * 2u); // levels, ANOVA terms, comparisons
    EXPECT_EQ(parts[0]["table"], "groups");
    EXPECT_EQ(parts[0]["sbp"]["n"], 3);
    EXPECT_EQ(parts[4]["table"], "tests");
    EXPECT_EQ(parts[4]["test"], "anova");
    EXPECT_EQ(parts.back()["test"], "welch");

    const CliRun csv = Cli(With({"report", "--profile", "all", "--groups", groups}));
    EXPECT_NE(csv.out.find("\n\ngroup,date,sbp_n,"), std::string::npos);
    EXPECT_NE(csv.out.find("\n\nmeasure,test,term,"), std::string::npos);
    EXPECT_NE(csv.out.find("sbp,welch,,24/05/01,vehicle,treated,"), std::string::npos);

    const CliRun control =
        Cli(With({"report", "--profile", "all", "--groups", groups, "--control", "vehicle"}));
    EXPECT_NE(control.out.find("sbp,welch,,24/05/01,treated,vehicle,"), std::string::npos);
    const CliRun unknown =
        Cli(With({"report", "--profile", "all", "--groups", groups, "--control", "placebo"}));
    EXPECT_EQ(unknown.status, kExitUsage);
    EXPECT_NE(unknown.err.find("no group \"placebo\""), std::string::npos) << unknown.err;
}

// The PDF report with groups: its pages as without them, then the study's: the levels,
// two pages of charts, the ANOVA and the comparisons.
TEST_F(StatsCommandTest, PdfReportWithGroupsAddsTheStudysPages) {
    const auto pages = [](const std::string& pdf) {
        int count = 0;
        for (size_t at = pdf.find("/Type /Page"); at != std::string::npos;
             at = pdf.find("/Type /Page", at + 1))
            count += pdf.compare(at, 12, "/Type /Pages") == 0 ? 0 : 1;
        return count;
    };
    const std::string plain = (folder / "plain.pdf").string();
    const std::string grouped = (folder / "grouped.pdf").string();
    ASSERT_EQ(Cli(With({"report", "--profile", "all", "-o", plain})).status, kExitOk);
    const CliRun run = Cli(With({"report", "--profile", "all", "--groups",
                                 (folder / "mirado-groups.csv").string(), "-o", grouped}));
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::string pdf = Bytes(grouped);
    EXPECT_GE(pages(pdf), pages(Bytes(plain)) + 3);
    EXPECT_NE(pdf.find("/Subtype /Image"), std::string::npos); // the charts
}

} // namespace
} // namespace mirado::test
