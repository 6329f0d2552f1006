// The commands that read many files give the same bytes whatever --jobs says: a few
// hundred generated recordings of several species, models, animals and days, with damaged,
// empty and missing files among them.

#include "CliRun.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"

#include "records/TextEncoding.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <regex>

namespace mirado {
namespace {

using test::Cli;
using test::CliRun;

constexpr int kFileCount = 300;

const Species kSpecies[] = {Species::Mouse, Species::Rat, Species::Rabbit, Species::Dog};
const Damage kDamages[] = {Damage::Truncated, Damage::CorruptCodes, Damage::ShortChannel2,
                           Damage::OverlongChannel1};

SynthOptions StudyRecording(int i) {
    SynthOptions options;
    options.seed = static_cast<uint64_t>(i + 1);
    options.species = kSpecies[i % 4];
    options.studyNo = i % 7 == 0 ? "S2" : "S1";
    options.animalNo = "A-" + std::to_string(i % 9);
    options.date = "24/05/" + std::to_string(10 + i % 5);
    if (i % 31 == 0)
        options.date = "bad date";
    options.incompleteResult = i % 11 == 0;
    options.flatOptical = i % 29 == 0;
    options.spikes = i % 13 == 0 ? 3 : 0;
    if (i % 17 == 0)
        options.damage = kDamages[(i / 17) % 4];
    return options;
}

class ParallelRuns : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<test::TempFolder>();
        for (int i = 0; i < kFileCount; ++i) {
            const std::string path = folder_->File("r" + std::to_string(i) + ".01");
            const Result<void> written = WriteRecording(path, StudyRecording(i));
            ASSERT_TRUE(written.ok()) << written.error();
            files_.push_back(path);
        }
        std::ofstream(folder_->File("empty.01")); // zero bytes
        files_.insert(files_.begin() + 5, folder_->File("empty.01"));
        files_.insert(files_.begin() + 100, folder_->File("missing.01"));
    }
    static void TearDownTestSuite() { folder_.reset(); }

    // The command with --jobs N and the files appended.
    static CliRun Run(CliArgs args, int jobs) {
        args.insert(args.begin() + 1, {"--jobs", std::to_string(jobs)});
        args.insert(args.end(), files_.begin(), files_.end());
        return Cli(args);
    }
    static void ExpectSameRuns(const CliArgs& args) {
        const CliRun one = Run(args, 1);
        const CliRun two = Run(args, 2);
        const CliRun five = Run(args, 5);
        EXPECT_EQ(one.status, 1) << "damaged files are among them";
        EXPECT_FALSE(one.out.empty());
        for (const CliRun* other : {&two, &five}) {
            EXPECT_EQ(other->status, one.status);
            EXPECT_TRUE(other->out == one.out) << args[0];
            EXPECT_EQ(other->err, one.err);
        }
    }
    static std::string ReadFile(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Output(const std::string& name) { return folder_->File(name); }

    static std::unique_ptr<test::TempFolder> folder_;
    static std::vector<std::string> files_;
};

std::unique_ptr<test::TempFolder> ParallelRuns::folder_;
std::vector<std::string> ParallelRuns::files_;

TEST_F(ParallelRuns, InfoIsTheSameWithAnyNumberOfJobs) {
    ExpectSameRuns({"info"});
    ExpectSameRuns({"info", "--curves"});
}

TEST_F(ParallelRuns, SummaryIsTheSameWithAnyNumberOfJobs) {
    ExpectSameRuns({"summary"});
    ExpectSameRuns({"summary", "--format", "json", "--by", "animal"});
    ExpectSameRuns({"summary", "--analysis", "sm", "--format", "json"});
    ExpectSameRuns({"summary", "--analysis", "s"});
}

TEST_F(ParallelRuns, ExportIsTheSameWithAnyNumberOfJobs) {
    for (const char* mode : {"dominant", "mean"}) {
        const CliRun one = Run({"export", "--mode", mode, "-o", Output("one.txt")}, 1);
        const CliRun two = Run({"export", "--mode", mode, "-o", Output("two.txt")}, 2);
        EXPECT_EQ(one.status, 1);
        EXPECT_EQ(two.status, one.status);
        EXPECT_EQ(two.err, one.err);
        EXPECT_FALSE(ReadFile(Output("one.txt")).empty());
        EXPECT_TRUE(ReadFile(Output("two.txt")) == ReadFile(Output("one.txt"))) << mode;
    }
}

TEST_F(ParallelRuns, TheTableIsTheSameWithAnyNumberOfJobsAndUtf8IsTheTextExportDecoded) {
    const CliRun one =
        Run({"export", "--mode", "table", "--analysis", "sm", "-o", Output("one.csv")}, 1);
    const CliRun two =
        Run({"export", "--mode", "table", "--analysis", "sm", "-o", Output("two.csv")}, 2);
    EXPECT_EQ(one.status, 1) << "damaged files are named on standard error";
    EXPECT_EQ(two.status, one.status);
    EXPECT_EQ(two.err, one.err);
    EXPECT_NE(one.err.find("A/D Data"), std::string::npos);
    const std::string table = ReadFile(Output("one.csv"));
    EXPECT_EQ(table.rfind("path,file,date,", 0), 0u);
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), static_cast<long>(files_.size() + 1));
    EXPECT_TRUE(ReadFile(Output("two.csv")) == table);

    Run({"export", "-o", Output("cp932.txt")}, 2);
    Run({"export", "--encoding", "utf-8", "-o", Output("utf8.txt")}, 2);
    EXPECT_EQ(ReadFile(Output("utf8.txt")),
              "\xEF\xBB\xBF" + Cp932ToUtf8(ReadFile(Output("cp932.txt"))));
}

TEST_F(ParallelRuns, EdfFilesAreTheSameWithAnyNumberOfJobs) {
    const std::string one = Output("edf1"), three = Output("edf3");
    std::filesystem::create_directory(one);
    std::filesystem::create_directory(three);
    const CliRun first = Run({"edf", "-o", one}, 1);
    const CliRun second = Run({"edf", "-o", three}, 3);
    EXPECT_EQ(first.status, 1) << "damaged files are named on standard error";
    EXPECT_EQ(second.status, first.status);
    EXPECT_EQ(second.err, first.err);
    size_t written = 0;
    for (const auto& entry : std::filesystem::directory_iterator(one)) {
        const std::string name = entry.path().filename().string();
        EXPECT_TRUE(ReadFile(entry.path().string()) == ReadFile(three + "/" + name)) << name;
        ++written;
    }
    EXPECT_GT(written, files_.size() / 2);
}

TEST_F(ParallelRuns, SelectedPagesAreTheSameWithAnyNumberOfJobs) {
    const CliRun one = Run({"render", "--selected", "--dpi", "30", "-o", Output("one.pdf")}, 1);
    const CliRun two = Run({"render", "--selected", "--dpi", "30", "-o", Output("two.pdf")}, 2);
    EXPECT_EQ(one.status, 1);
    EXPECT_EQ(two.status, one.status);
    EXPECT_EQ(two.err, one.err);
    // The PDF names the time it was made; everything else must agree.
    const std::regex creationDate("/CreationDate \\(D:[0-9]+Z\\)");
    const std::string first = std::regex_replace(ReadFile(Output("one.pdf")), creationDate, "");
    const std::string second = std::regex_replace(ReadFile(Output("two.pdf")), creationDate, "");
    EXPECT_GT(first.size(), 10000u);
    EXPECT_TRUE(first == second);
}

} // namespace
} // namespace mirado
