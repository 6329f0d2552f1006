// mirado-cli's commands run in-process on generated files.

#include "CliRun.h"
#include "cli/CliCommand.h"
#include "records/RecordLayout.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace mirado {
namespace {

using test::Cli;
using test::CliRun;
using test::Lines;

// The keys of the outermost JSON object, in order (strings and nesting skipped).
std::vector<std::string> TopLevelKeys(const std::string& json) {
    std::vector<std::string> keys;
    int depth = 0;
    bool expectKey = false;
    for (size_t i = 0; i < json.size(); ++i) {
        const char c = json[i];
        if (c == '"') {
            std::string text;
            for (++i; json[i] != '"'; ++i)
                text += json[i] == '\\' ? json[++i] : json[i];
            if (depth == 1 && expectKey)
                keys.push_back(text);
            expectKey = false;
        } else if (c == '{' || c == '[') {
            ++depth;
            expectKey = c == '{' && depth == 1;
        } else if (c == '}' || c == ']') {
            --depth;
        } else if (c == ',' && depth == 1) {
            expectKey = true;
        }
    }
    return keys;
}

const std::vector<std::string> kInfoKeys = {
    "path",    "ok",      "error",    "model_letter_code", "model",
    "variant", "date",    "time",     "animal_no",         "study_no",
    "weight",  "sex_age", "comment",  "sampling",          "sense",
    "valid",   "stored",  "method_a", "method_e",          "inflation_pressure"};

class CliCommands : public ::testing::Test {
protected:
    std::string Write(const std::string& name, const SynthOptions& options) {
        const std::string path = folder_.File(name);
        const Result<void> written = WriteRecording(path, options);
        EXPECT_TRUE(written.ok()) << written.error();
        return path;
    }
    test::TempFolder folder_;
};

SynthOptions Known() {
    SynthOptions o;
    o.seed = 3;
    o.species = Species::Rat;
    o.sbp = 2 * 130, o.mbp = 2 * 100, o.dbp = 2 * 85;
    o.date = "24/05/17", o.time = "10:20:30";
    o.animalNo = "R-07", o.studyNo = "試験A-01", o.weight = "312g", o.sexAge = "雄 8週";
    o.comment = "血圧表示確認 \"ソフト\"";
    return o;
}

TEST_F(CliCommands, InfoPrintsTheListedKeysWithUtf8Texts) {
    const std::string path = Write("rat.001", Known());
    const CliRun run = Cli({"info", path});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.err, "");
    ASSERT_EQ(run.out.back(), '\n');
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);
    EXPECT_EQ(TopLevelKeys(run.out), kInfoKeys);
    for (const char* part :
         {"\"ok\":true", "\"error\":null", "\"model_letter_code\":0", "\"model\":0",
          "\"variant\":\"A\"", "\"date\":\"24/05/17\"", "\"time\":\"10:20:30\"",
          "\"study_no\":\"試験A-01\"", "\"sex_age\":\"雄 8週\"",
          "\"comment\":\"血圧表示確認 \\\"ソフト\\\"\"", "\"sampling\":40", "\"valid\":true",
          "\"stored\":{\"sbp_raw\":260,\"mbp_raw\":200,\"dbp_raw\":170,\"sbp\":130,\"mbp\":100,"
          "\"dbp\":85,\"marker_s\":"})
        EXPECT_NE(run.out.find(part), std::string::npos) << part << "\n" << run.out;
}

TEST_F(CliCommands, InfoReportsFailuresWithTheLoadMessage) {
    SynthOptions damaged = Known();
    damaged.damage = Damage::ShortChannel2;
    const std::string bad = Write("bad.001", damaged);
    const std::string good = Write("good.001", Known());
    const std::string missing = folder_.File("b_missing.001");
    const CliRun run = Cli({"info", good, bad, missing});
    EXPECT_EQ(run.status, kExitLoadFailed);
    std::istringstream lines(run.out);
    std::string first, second, third;
    std::getline(lines, first), std::getline(lines, second), std::getline(lines, third);
    EXPECT_NE(first.find("\"ok\":true"), std::string::npos);
    EXPECT_NE(second.find("\"ok\":false,\"error\":\"  A/D Dataが不足しています(ch2)\""),
              std::string::npos);
    EXPECT_NE(second.find("\"animal_no\":\"R-07\""), std::string::npos); // what was read
    EXPECT_EQ(TopLevelKeys(third), kInfoKeys);
    for (const char* part : {"\"ok\":false", "\"model_letter_code\":4", "\"model\":1",
                             "\"variant\":\"E\"", "\"date\":null", "\"stored\":null"})
        EXPECT_NE(third.find(part), std::string::npos) << part << "\n" << third;
    EXPECT_NE(run.err.find(bad + "  A/D Dataが不足しています(ch2)\n"), std::string::npos);
    EXPECT_NE(run.err.find(missing), std::string::npos);
}

TEST_F(CliCommands, InfoWithSamplesAddsBothChannels) {
    const CliRun run = Cli({"info", "--samples", Write("m.001", Known())});
    std::vector<std::string> expected = kInfoKeys;
    expected.insert(expected.end() - 3, {"ch1", "ch2"});
    EXPECT_EQ(TopLevelKeys(run.out), expected);
    const size_t ch2 = run.out.find("\"ch2\":[");
    ASSERT_NE(ch2, std::string::npos);
    const std::string values = run.out.substr(ch2, run.out.find(']', ch2) - ch2);
    EXPECT_EQ(std::count(values.begin(), values.end(), ','), 3999);
}

TEST_F(CliCommands, InfoAnalysesEachFileAsIfOpenedFirstUnlessSequential) {
    SynthOptions unusual = Known();
    unusual.flatOptical = true;
    const std::string first = Write("flat.001", unusual);
    const std::string second = Write("rat.001", Known());
    const std::vector<std::string> alone = Lines(Cli({"info", second}).out);
    const std::vector<std::string> after = Lines(Cli({"info", first, second}).out);
    ASSERT_EQ(after.size(), 2u);
    EXPECT_EQ(after[1], alone[0]);
    EXPECT_NE(after[0].find("\"method_a\":{\"sbp_raw\""), std::string::npos);
    EXPECT_NE(after[0].find("\"flag_text\":\"Lo\""), std::string::npos) << after[0];
    EXPECT_NE(after[0].find("\"fall_per_beat\":"), std::string::npos);
    const std::vector<std::string> sequential =
        Lines(Cli({"info", "--sequential", first, second}).out);
    EXPECT_EQ(sequential.size(), 2u);
}

TEST_F(CliCommands, InfoWithCurvesAddsBothFittedCurves) {
    const std::string out = Cli({"info", "--curves", Write("m.001", Known())}).out;
    size_t at = 0;
    for (int method = 0; method < 2; ++method) {
        at = out.find("\"fitted_curve\":[", at);
        ASSERT_NE(at, std::string::npos);
        const std::string values = out.substr(at, out.find(']', at) - at);
        EXPECT_EQ(std::count(values.begin(), values.end(), ','), 3999);
        ++at;
    }
}

TEST_F(CliCommands, SamplesPrintsTheChannelsAsCsv) {
    const CliRun run = Cli({"samples", Write("m.001", Known())});
    EXPECT_EQ(run.status, kExitOk);
    std::istringstream lines(run.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line, "index,time_ms,cuff_raw,cuff_mmHg,optical");
    int rows = 0;
    while (std::getline(lines, line)) {
        int index = 0, cuff = 0, mmHg = 0, optical = 0;
        char time[32] = {};
        ASSERT_EQ(
            std::sscanf(line.c_str(), "%d,%31[^,],%d,%d,%d", &index, time, &cuff, &mmHg, &optical),
            5)
            << line;
        EXPECT_EQ(index, rows);
        char expectedTime[32];
        std::snprintf(expectedTime, sizeof expectedTime, "%.1f", index * 40 / 10.0);
        EXPECT_STREQ(time, expectedTime);
        EXPECT_EQ(mmHg, cuff >= 0 ? (cuff + 1) / 2 : -((1 - cuff) / 2));
        ++rows;
    }
    EXPECT_EQ(rows, kSampleCount);
    EXPECT_EQ(run.out.find('\r'), std::string::npos);
}

TEST_F(CliCommands, SynthWritesAFileAndItsTruth) {
    const std::string path = folder_.File("dog.001");
    const CliRun run = Cli({"synth", "--species", "dog", "--model", "D", "--seed", "5", "--sbp",
                            "140", "--dbp", "90", "--truth", "-o", path});
    ASSERT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("\"sbp_raw\":280"), std::string::npos) << run.out;
    const CliRun info = Cli({"info", path});
    EXPECT_NE(info.out.find("\"model_letter_code\":3"), std::string::npos);
    EXPECT_NE(info.out.find("\"sbp\":140"), std::string::npos);
}

TEST_F(CliCommands, WrongUsageExitsWithTwo) {
    const std::string out = folder_.File("x.001");
    const CliArgs wrong[] = {{},
                             {"frobnicate"},
                             {"info"},
                             {"info", "--bogus", out},
                             {"samples"},
                             {"samples", out, out},
                             {"synth"},
                             {"synth", "-o"},
                             {"synth", "--species", "cat", "-o", out},
                             {"synth", "--sbp", "80", "--dbp", "90", "-o", out},
                             {"synth", "--seed", "12x", "-o", out}};
    for (const CliArgs& args : wrong) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << (args.empty() ? "" : args[0]);
        EXPECT_NE(run.err, "");
        EXPECT_EQ(run.out, "");
    }
}

TEST_F(CliCommands, HelpDescribesEveryCommand) {
    const CliRun run = Cli({"--help"});
    EXPECT_EQ(run.status, kExitOk);
    for (const char* text : {"mirado-cli info", "mirado-cli samples", "mirado-cli synth",
                             "--samples", "--sample-set", "--damage"})
        EXPECT_NE(run.out.find(text), std::string::npos) << text;
    EXPECT_EQ(Cli({"synth", "--help"}).status, kExitOk);
}

} // namespace
} // namespace mirado
