#include "CliRun.h"
#include "SampleFolder.h"

#include "review/AcceptanceProfile.h"
#include "review/ReviewLog.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>
#include <unistd.h>

namespace mirado::test {
namespace {

namespace fs = std::filesystem;

std::vector<nlohmann::json> JsonLines(const std::string& text) {
    std::vector<nlohmann::json> objects;
    for (const std::string& line : Lines(text))
        objects.push_back(nlohmann::json::parse(line));
    return objects;
}

class ReviewCommandTest : public SampleFolderTest {
protected:
    ReviewCommandTest() : SampleFolderTest("mirado-review-cli-") {}
    fs::path Log() const { return folder / kReviewLogName; }
};

TEST_F(ReviewCommandTest, ProfilesListsEveryPresetWithItsRules) {
    const CliRun run = Cli({"profiles"});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    const std::vector<nlohmann::json> lines = JsonLines(run.out);
    ASSERT_EQ(lines.size(), BuiltInProfiles().size());
    for (size_t i = 0; i < lines.size(); ++i) {
        const AcceptanceProfile& preset = BuiltInProfiles()[i];
        EXPECT_EQ(lines[i]["id"], preset.id);
        EXPECT_EQ(lines[i]["name"], preset.name);
        EXPECT_EQ(lines[i]["description"], preset.description);
        EXPECT_EQ(lines[i]["parameters"], ProfileParameters(preset)) << preset.id;
    }
    EXPECT_TRUE(lines.front()["parameters"].empty());
    EXPECT_EQ(lines[2]["parameters"]["sbp_min"], 40);
}

// Decisions in a row, then the status show gives: the last decision wins, clear takes it back.
TEST_F(ReviewCommandTest, TheLastDecisionIsWhatShowGives) {
    struct Row {
        std::vector<CliArgs> decisions;
        const char *status, *decidedBy, *reason;
    };
    const Row rows[] = {
        {{}, "accepted", "rule", ""},
        {{{"accept"}}, "accepted", "manual", ""},
        {{{"reject", "--reason", "movement"}}, "rejected", "manual", "movement"},
        {{{"reject", "--reason", "cuff_leak"}, {"clear"}}, "accepted", "rule", ""},
        {{{"accept"}, {"reject", "--reason", "no_pulse"}}, "rejected", "manual", "no_pulse"},
        {{{"reject", "--reason", "other", "--note", "x"}, {"accept", "--note", "fine"}},
         "accepted",
         "manual",
         ""},
    };
    int number = 0;
    for (const Row& row : rows) {
        const std::string path = Copy("RT0415.001", "D" + std::to_string(++number) + ".001");
        for (CliArgs args : row.decisions) {
            args.insert(args.begin(), "review");
            args.push_back(path);
            ASSERT_EQ(Cli(args).status, kExitOk) << number;
        }
        const CliRun run = Cli({"review", "show", path});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        const nlohmann::json shown = nlohmann::json::parse(run.out);
        EXPECT_EQ(shown["path"], path);
        EXPECT_EQ(shown["status"], row.status) << number;
        EXPECT_EQ(shown["decided_by"], row.decidedBy) << number;
        EXPECT_EQ(shown["reason"], row.reason) << number;
        EXPECT_EQ(shown.contains("user"), std::string(row.decidedBy) == "manual") << number;
    }
}

TEST_F(ReviewCommandTest, ShowAppliesTheProfileAndAManualAcceptOverridesItsRules) {
    const std::string path = Copy("RT0415.001", "P.001");
    const std::pair<const char*, const char*> rows[] = {
        {"all", "accepted"},
        {"acclimation-2sd", "acclimation"},
        {"screening", "session_rejected"},
        {"session-sd15", "accepted"},
    };
    for (const auto& [profile, status] : rows) {
        const CliRun run = Cli({"review", "show", "--profile", profile, path});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        EXPECT_EQ(nlohmann::json::parse(run.out)["status"], status) << profile;
    }
    ASSERT_EQ(Cli({"review", "accept", path}).status, kExitOk);
    const CliRun run = Cli({"review", "show", "--profile", "acclimation-2sd", path});
    EXPECT_EQ(nlohmann::json::parse(run.out)["status"], "accepted");
}

TEST_F(ReviewCommandTest, ShowKeepsTheGivenOrderForAnyJobsAndNamesDamagedFiles) {
    const std::vector<std::string> paths = {
        Copy("RT0415.002", "b.001"), Copy("DMG0610.001", "c.001"), Copy("RT0415.001", "a.001")};
    CliArgs args = {"review", "show", "--analysis", "sm", "--jobs", "1"};
    args.insert(args.end(), paths.begin(), paths.end());
    const CliRun one = Cli(args);
    args[5] = "4";
    const CliRun four = Cli(args);
    EXPECT_EQ(one.status, kExitLoadFailed);
    EXPECT_EQ(one.out, four.out);
    const std::vector<nlohmann::json> lines = JsonLines(one.out);
    ASSERT_EQ(lines.size(), paths.size());
    for (size_t i = 0; i < paths.size(); ++i)
        EXPECT_EQ(lines[i]["path"], paths[i]);
    EXPECT_EQ(lines[1]["status"], "damaged");
    EXPECT_NE(one.err.find(paths[1]), std::string::npos) << one.err;
}

TEST_F(ReviewCommandTest, WrongUsageWritesNothing) {
    const std::string path = Copy("RT0415.001", "U.001");
    const std::vector<std::pair<CliArgs, const char*>> rows = {
        {{"review", "reject", path}, "needs --reason"},
        {{"review", "reject", "--reason", "sneezed", path}, "must be one of"},
        {{"review", "reject", "--reason", "other", path}, "needs --note"},
        {{"review", "accept", "--reason", "movement", path}, "reject only"},
        {{"review", "clear", "--note", "x", path}, "accept and reject only"},
        {{"review", "accept", "--profile", "screening", path}, "show only"},
        {{"review", "show", "--profile", "no such profile", path}, "--profile"},
        {{"review", "approve", path}, "ACTION"},
        {{"review", "accept"}, "no FILE"},
    };
    for (const auto& [args, message] : rows) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(Log())) << message;
    }
}

TEST_F(ReviewCommandTest, AFileThatCannotBeReadIsNamedAndTheOthersAreDecided) {
    const std::string good = Copy("RT0415.001", "G.001");
    const std::string missing = (folder / "missing.001").string();
    const CliRun run = Cli({"review", "reject", "--reason", "movement", missing, good});
    EXPECT_EQ(run.status, kExitLoadFailed);
    EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
    EXPECT_NE(run.err.find(missing), std::string::npos);
    const ReviewLogContents log = ReadReviewLog(Log().string());
    ASSERT_EQ(log.events.size(), 1u);
    EXPECT_EQ(EventFileName(log.events[0]), "G.001");
    EXPECT_EQ(EventText(log.events[0], "reason"), "movement");
}

// Something at the log's name that is not a regular file is never written, and reading it
// neither waits nor passes for an empty log.
TEST_F(ReviewCommandTest, ALogThatIsNoRegularFileIsRefused) {
    const std::vector<std::pair<const char*, void (*)(const std::string&)>> blockers = {
        {"fifo", [](const std::string& log) { ASSERT_EQ(::mkfifo(log.c_str(), 0600), 0); }},
        {"folder", [](const std::string& log) { fs::create_directory(log); }},
        {"link to a device", [](const std::string& log) { fs::create_symlink("/dev/null", log); }},
    };
    for (const auto& [kind, block] : blockers) {
        const std::string path = Copy("RT0415.001", std::string("B-") + kind + ".001");
        block(Log().string());
        const CliRun decided = Cli({"review", "accept", path});
        EXPECT_EQ(decided.status, kExitLoadFailed) << kind;
        EXPECT_NE(decided.err.find("not a regular file"), std::string::npos) << decided.err;
        EXPECT_NE(decided.err.find(Log().string()), std::string::npos) << decided.err;
        for (const char* action : {"show", "log"}) {
            const CliRun read = Cli({"review", action, path});
            EXPECT_EQ(read.status, kExitLoadFailed) << kind << " " << action;
        }
        EXPECT_FALSE(fs::is_regular_file(Log())) << kind;
        fs::remove_all(Log());
        fs::remove(path);
    }
}

TEST_F(ReviewCommandTest, LogGivesEachFilesEventsAndSkipsAMalformedLine) {
    const std::string first = Copy("RT0415.001", "L1.001");
    const std::string second = Copy("RT0415.002", "L2.001");
    ASSERT_EQ(Cli({"review", "accept", first, second}).status, kExitOk);
    std::ofstream(Log(), std::ios::app) << "{not json\n";
    ASSERT_EQ(Cli({"review", "reject", "--reason", "movement", "--note", "tail", first}).status,
              kExitOk);
    const std::string before = Bytes(Log());
    const CliRun run = Cli({"review", "log", first});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_NE(run.err.find("line 3"), std::string::npos) << run.err;
    const std::vector<nlohmann::json> events = JsonLines(run.out);
    ASSERT_EQ(events.size(), 2u);
    EXPECT_EQ(events[0]["line"], 1);
    EXPECT_EQ(events[0]["action"], "accept");
    EXPECT_EQ(events[1]["line"], 4);
    EXPECT_EQ(events[1]["note"], "tail");
    for (const nlohmann::json& event : events) {
        EXPECT_EQ(event["path"], first);
        EXPECT_EQ(event["file"], "L1.001");
        EXPECT_EQ(event["sha256"].get<std::string>().size(), 64u);
    }
    EXPECT_EQ(Bytes(Log()), before);
}

TEST_F(ReviewCommandTest, ANameThatIsNotUtf8IsGivenWithItsBytes) {
    const std::string path = Copy("RT0415.001", "n\xff.001");
    ASSERT_EQ(Cli({"review", "accept", path}).status, kExitOk);
    for (const char* action : {"show", "log"}) {
        const CliRun run = Cli({"review", action, path});
        ASSERT_EQ(run.status, kExitOk) << run.err;
        const nlohmann::json line = nlohmann::json::parse(run.out);
        EXPECT_EQ(line["path_bytes"].get<std::string>().substr((path.size() - 6) * 2),
                  "6eff2e303031")
            << action;
        EXPECT_EQ(line.value("decided_by", "manual"), "manual") << action;
    }
}

// The default profile gives the summary's bytes; a rejection by hand or a profile's rule
// takes the reading out of the statistics but not out of n.
TEST_F(ReviewCommandTest, SummaryWithAProfileCountsOnlyAcceptedReadings) {
    const std::vector<std::string> paths = {
        Copy("RT0415.001", "S1.001"), Copy("RT0415.002", "S2.001"), Copy("MS0412.001", "S3.001"),
        Copy("DMG0610.001", "S4.001")};
    const auto summary = [&](std::vector<std::string> options) {
        CliArgs args = {"summary"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), paths.begin(), paths.end());
        return Cli(args);
    };
    for (const std::vector<std::string>& options :
         std::vector<std::vector<std::string>>{{}, {"--by", "animal"}, {"--format", "json"}}) {
        std::vector<std::string> withProfile = options;
        withProfile.insert(withProfile.end(), {"--profile", "all"});
        const CliRun plain = summary(options), all = summary(withProfile);
        EXPECT_EQ(all.out, plain.out);
        EXPECT_EQ(all.status, plain.status);
    }
    const std::string before = summary({}).out;
    ASSERT_EQ(Cli({"review", "reject", "--reason", "movement", paths[0]}).status, kExitOk);
    EXPECT_EQ(summary({}).out, before); // without --profile the logs are not read
    // n_complete of the animals R-12 (S1), R-32 (S2) and M-03 (S3).
    const std::pair<const char*, std::vector<int>> rows[] = {
        {"all", {0, 1, 1}},             // S1 rejected by hand
        {"acclimation-2sd", {0, 0, 0}}, // each session's one reading is its first
        {"session-sd15", {0, 1, 1}},
    };
    for (const auto& [profile, complete] : rows) {
        const CliRun run = summary({"--format", "json", "--profile", profile});
        EXPECT_EQ(run.status, kExitLoadFailed) << run.err; // the damaged file
        std::map<std::string, nlohmann::json> byAnimal;
        for (const nlohmann::json& line : JsonLines(run.out))
            byAnimal[line["animal_no"]] = line;
        std::vector<int> counted;
        for (const char* animal : {"R-12", "R-32", "M-03"}) {
            const nlohmann::json& line = byAnimal[animal];
            EXPECT_EQ(line["n"], 1) << profile << animal;
            counted.push_back(line["n_complete"]);
            EXPECT_EQ(line["sbp"]["n"], line["n_complete"]) << profile << animal;
        }
        EXPECT_EQ(counted, complete) << profile;
    }
}

// Each row of the table keeps its bytes and gains the status and reason review show gives.
TEST_F(ReviewCommandTest, TableWithAProfileAddsStatusAndReasonColumns) {
    const std::vector<std::string> paths = {
        Copy("RT0415.001", "T1.001"), Copy("RT0415.002", "T2.001"), Copy("DMG0610.001", "T3.001")};
    ASSERT_EQ(Cli({"review", "reject", "--reason", "movement", paths[1]}).status, kExitOk);
    const auto table = [&](const std::string& name, std::vector<std::string> options) {
        CliArgs args = {"export", "--mode", "table", "-o", (folder / name).string()};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), paths.begin(), paths.end());
        EXPECT_EQ(Cli(args).status, kExitLoadFailed); // the damaged file
        return Lines(Bytes(folder / name));
    };
    const std::vector<std::string> plain = table("plain.csv", {});
    ASSERT_EQ(plain.size(), 4u);
    EXPECT_EQ(plain[0].substr(plain[0].size() - 10), "path_bytes"); // unchanged without it
    struct Row {
        const char* profile;
        std::vector<std::string> added; // per row: ",status,reason"
    };
    const Row rows[] = {
        {"all", {",status,reason", ",accepted,", ",rejected,movement"}},
        {"screening",
         {",status,reason", ",session_rejected,\"session has 1 accepted, fewer than 8\"",
          ",rejected,movement"}},
    };
    for (const Row& row : rows) {
        const std::vector<std::string> reviewed = table(row.profile, {"--profile", row.profile});
        ASSERT_EQ(reviewed.size(), plain.size()) << row.profile;
        for (size_t i = 0; i < row.added.size(); ++i)
            EXPECT_EQ(reviewed[i], plain[i] + row.added[i]) << row.profile << i;
        EXPECT_EQ(reviewed[3].rfind(plain[3] + ",damaged,", 0), 0u) << reviewed[3];
    }
    const CliRun dominant =
        Cli({"export", "--profile", "all", "-o", (folder / "d.txt").string(), paths[0]});
    EXPECT_EQ(dominant.status, kExitUsage);
    EXPECT_NE(dominant.err.find("--mode table only"), std::string::npos) << dominant.err;
    EXPECT_FALSE(fs::exists(folder / "d.txt"));
}

// The report's parts in order; the CSV and JSON forms name the same readings, and -o
// writes what standard output gets.
TEST_F(ReviewCommandTest, ReportGivesTheProfileTheCountsAndTheExcludedReadings) {
    const std::vector<std::string> paths = {
        Copy("RT0415.001", "R1.001"), Copy("RT0415.002", "R2.001"), Copy("DMG0610.001", "R3.001")};
    ASSERT_EQ(Cli({"review", "reject", "--reason", "movement", paths[1]}).status, kExitOk);
    const auto report = [&](std::vector<std::string> options) {
        CliArgs args = {"report", "--profile", "acclimation-2sd"};
        args.insert(args.end(), options.begin(), options.end());
        args.insert(args.end(), paths.begin(), paths.end());
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitLoadFailed) << run.err; // the damaged file
        return run.out;
    };
    const std::vector<nlohmann::json> json = JsonLines(report({"--format", "json"}));
    ASSERT_EQ(json.size(), 7u);
    EXPECT_EQ(json[0]["table"], "profile");
    EXPECT_EQ(json[0]["id"], "acclimation-2sd");
    EXPECT_EQ(json[0]["acclimation_readings"], 5);
    std::map<std::string, std::string> statusOf;
    for (size_t i = 1; i < json.size(); ++i) {
        EXPECT_EQ(json[i]["table"], i <= 3 ? "sessions" : "excluded") << i;
        if (i <= 3)
            EXPECT_EQ(json[i]["recorded"], 1) << i;
        else
            statusOf[json[i]["path"]] = json[i]["status"];
    }
    const std::map<std::string, std::string> expected = {
        {paths[0], "acclimation"}, {paths[1], "rejected"}, {paths[2], "damaged"}};
    EXPECT_EQ(statusOf, expected);

    const std::string csv = report({});
    const std::vector<std::string> lines = Lines(csv);
    ASSERT_EQ(lines.size(), 11u) << csv;
    nlohmann::json profile = json[0];
    profile.erase("table");
    EXPECT_EQ(nlohmann::json::parse(lines[0].substr(std::string("# profile: ").size())), profile);
    EXPECT_EQ(lines[1], "");
    EXPECT_EQ(lines[2].rfind("study_no,animal_no,date,recorded,damaged,", 0), 0u);
    EXPECT_EQ(lines[6], "");
    EXPECT_EQ(lines[7].rfind("path,study_no,", 0), 0u);

    const fs::path out = folder / "report.csv";
    report({"-o", out.string()});
    EXPECT_EQ(Bytes(out), csv);
}

TEST_F(ReviewCommandTest, ReportWrongUsageWritesNothing) {
    const std::string path = Copy("RT0415.001", "W.001");
    const std::string out = (folder / "out.csv").string();
    const std::vector<std::pair<CliArgs, const char*>> rows = {
        {{"report", "-o", out, path}, "--profile"},
        {{"report", "--profile", "no such profile", "-o", out, path}, "--profile"},
        {{"report", "--profile", "all", "--format", "pdf", "-o", out, path}, "--format"},
        {{"report", "--profile", "all", "--format", "csv", "-o", (folder / "r.pdf").string(), path},
         "written as PDF"},
        {{"report", "--profile", "all", "-o", path, path}, "is the input file"},
    };
    const std::string before = Bytes(path);
    for (const auto& [args, message] : rows) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << message;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty()) << message;
    }
    EXPECT_FALSE(fs::exists(out));
    EXPECT_FALSE(fs::exists(folder / "r.pdf"));
    EXPECT_EQ(Bytes(path), before);
}

} // namespace
} // namespace mirado::test
