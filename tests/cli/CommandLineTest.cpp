// mirado-cli's command line: the outputs of valid invocations stay byte for byte what
// the tool wrote before its options moved to the parser, and wrong usage is exit 2 with
// a message naming the option.

#include "CliRun.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace mirado {
namespace {

using test::Cli;
using test::CliRun;

const std::string kGolden = std::string(MIRADO_SOURCE_DIR) + "/tests/cli/golden/";

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string WithoutFolder(std::string text, const std::string& folder) {
    const std::string prefix = folder + "/";
    for (size_t at = text.find(prefix); at != std::string::npos; at = text.find(prefix, at))
        text.erase(at, prefix.size());
    return text;
}

class CommandLine : public ::testing::Test {
protected:
    // The recordings the golden outputs were made from.
    void SetUp() override {
        const CliArgs synth[] = {
            {"--species", "rat", "--seed", "3", "--sbp", "130", "--mbp", "100", "--dbp", "85",
             "--comment", "血圧 確認", "--animal-no", "R-07", "-o", "rat.001"},
            {"--flat", "--seed", "4", "-o", "flat.002"},
            {"--damage", "short-ch2", "--seed", "5", "--animal-no", "R-07", "-o", "bad.003"},
            {"--species", "dog", "--seed", "9", "--animal-no", "R-07", "-o", "dog.004"},
            {"--species", "rabbit", "--seed", "11", "-o", "rabbit.005"}};
        for (CliArgs args : synth) {
            args.back() = folder_.File(args.back());
            files_.push_back(args.back());
            args.insert(args.begin(), "synth");
            ASSERT_EQ(Cli(args).status, kExitOk);
        }
    }

    CliArgs With(CliArgs args) const {
        args.insert(args.end(), files_.begin(), files_.end());
        return args;
    }

    test::TempFolder folder_;
    CliArgs files_;
};

TEST_F(CommandLine, ValidInvocationsGiveTheEarlierBytes) {
    const CliRun info = Cli(With({"info"}));
    EXPECT_EQ(info.status, kExitLoadFailed);
    EXPECT_EQ(WithoutFolder(info.out, folder_.Path()), ReadText(kGolden + "info.jsonl"));
    const CliRun sequential = Cli(With({"info", "--sequential"}));
    EXPECT_EQ(WithoutFolder(sequential.out, folder_.Path()),
              ReadText(kGolden + "info-sequential.jsonl"));

    const std::string text = folder_.File("out.txt");
    for (const char* mode : {"dominant", "mean"}) {
        const CliRun run = Cli(With({"export", "--mode", mode, "-o", text}));
        EXPECT_EQ(run.status, kExitLoadFailed);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadText(text), ReadText(kGolden + "export-" + mode + ".txt")) << mode;
    }
}

TEST_F(CommandLine, WrongUsageIsExitTwoWithAMessageNamingTheOption) {
    const std::string out = folder_.File("x.pdf");
    const struct {
        CliArgs args;
        const char* named;
    } wrong[] = {
        {{"info", "--bogus", files_[0]}, "--bogus"},
        {{"export", files_[0], "-o"}, "--output"},
        {{"render", files_[0], "-o", out, "--dpi", "2401"}, "--dpi"},
        {{"render", files_[0], "-o", out, "--dpi", "0"}, "--dpi"},
        {{"render", files_[0], "-o", out, "--view-scale", "five"}, "--view-scale"},
        {{"render", files_[0], "-o", out, "--wave-colour", "18"}, "--wave-colour"},
        {{"render", files_[0], "-o", out, "--dpi", "0x10"}, "--dpi"},
        {{"export", "--mode", "median", "-o", out, files_[0]}, "--mode"},
        {{"export", "--mode", "table", "--encoding", "cp932", "-o", out, files_[0]},
         "--encoding cp932"},
        {{"synth", "--seed", "-1", "-o", out}, "--seed"},
        {{"synth", "--species", "cat", "-o", out}, "--species"},
        {{"synth", "--model", "AB", "-o", out}, "--model"},
        {{"synth", "--noise", "201", "-o", out}, "--noise"},
        {{"samples"}, "FILE"},
    };
    for (const auto& [args, named] : wrong) {
        const CliRun run = Cli(args);
        EXPECT_EQ(run.status, kExitUsage) << args[0] << " " << named;
        EXPECT_NE(run.err.find(named), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "");
    }
    EXPECT_NE(Cli({"samples", files_[0], files_[1]}).err.find(files_[1]), std::string::npos);
}

TEST_F(CommandLine, SynthRefusesPressuresAndRatesOutsideTheirRanges) {
    const std::string out = folder_.File("x.001");
    const struct {
        const char* option;
        const char* below;
        const char* above;
    } ranges[] = {{"--sbp", "1", "301"},
                  {"--mbp", "1", "300"},
                  {"--dbp", "0", "300"},
                  {"--heart-rate", "19", "1001"},
                  {"--inflation", "0", "351"}};
    const std::string help = Cli({"synth", "--help"}).out;
    for (const auto& [option, below, above] : ranges) {
        for (const char* value : {"0", below, above}) {
            const CliRun run = Cli({"synth", option, value, "-o", out});
            EXPECT_EQ(run.status, kExitUsage) << option << " " << value;
            EXPECT_NE(run.err.find(option), std::string::npos) << run.err;
        }
        const size_t line = help.find(std::string("  ") + option + " ");
        ASSERT_NE(line, std::string::npos) << option;
        const std::string range =
            std::to_string(std::stoi(below) + 1) + " to " + std::to_string(std::stoi(above) - 1);
        EXPECT_NE(help.substr(line, help.find('\n', line) - line).find(range), std::string::npos)
            << option << " " << range;
    }
    EXPECT_FALSE(std::filesystem::exists(out));
    EXPECT_EQ(Cli({"synth", "--sbp", "300", "--dbp", "1", "--inflation", "350", "--heart-rate",
                   "1000", "-o", out})
                  .status,
              kExitOk);
}

TEST_F(CommandLine, DoubleDashEndsTheOptions) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(folder_.Path());
    std::filesystem::copy_file(files_[0], "-x.001");
    const CliRun run = Cli({"info", "--", "-x.001"});
    const CliRun asOption = Cli({"info", "-x.001"});
    std::filesystem::current_path(previous);
    EXPECT_EQ(run.status, kExitOk) << run.err;
    EXPECT_NE(run.out.find("-x.001\",\"ok\":true"), std::string::npos) << run.out;
    EXPECT_EQ(asOption.status, kExitUsage);
}

TEST_F(CommandLine, EveryCommandsHelpListsEachOfItsOptions) {
    const struct {
        const char* command;
        std::vector<const char*> options;
    } commands[] = {
        {"info", {"--samples", "--curves", "--sequential"}},
        {"samples", {"FILE"}},
        {"synth", {"--sample-set", "--output",    "--seed",       "--species",       "--model",
                   "--sbp",        "--mbp",       "--dbp",        "--heart-rate",    "--inflation",
                   "--noise",      "--saturated", "--spikes",     "--missing-beats", "--flat",
                   "--deflation",  "--onset",     "--incomplete", "--damage",        "--date",
                   "--time",       "--animal-no", "--study-no",   "--weight",        "--sex-age",
                   "--comment",    "--truth",     "--force"}},
        {"render",
         {"--output", "--selected", "--dpi", "--fitted-curve", "--view-scale", "--wave-colour",
          "--pressure-colour"}},
        {"export", {"--output", "--mode"}},
    };
    const CliRun all = Cli({"--help"});
    EXPECT_EQ(all.status, kExitOk);
    for (const auto& [command, options] : commands) {
        for (const char* form : {"--help", "-h"}) {
            const CliRun run = Cli({command, form});
            EXPECT_EQ(run.status, kExitOk);
            EXPECT_NE(run.out.find(std::string("Usage: mirado-cli ") + command), std::string::npos);
            EXPECT_NE(run.out.find("--help"), std::string::npos);
            for (const char* option : options) {
                EXPECT_NE(run.out.find(option), std::string::npos) << command << " " << option;
                EXPECT_NE(all.out.find(option), std::string::npos) << option;
            }
        }
    }
}

TEST_F(CommandLine, VersionNamesTheTool) {
    const CliRun run = Cli({"--version"});
    EXPECT_EQ(run.status, kExitOk);
    EXPECT_EQ(run.out.rfind("mirado-cli ", 0), 0u);
    EXPECT_EQ(run.out.find('\n'), run.out.size() - 1);
}

} // namespace
} // namespace mirado
