// The committed samples are exactly what the one synth command in samples/README.md
// writes, and they cover what the viewer must handle.

#include "records/synth/SampleSet.h"
#include "cli/CliCommand.h"
#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

namespace mirado {
namespace {

const std::string kSamples = std::string(MIRADO_SOURCE_DIR) + "/samples";

// The command line the README gives, with the folder replaced.
CliArgs ReadmeCommand(const std::string& folder) {
    std::ifstream readme(kSamples + "/README.md");
    std::string line;
    while (std::getline(readme, line)) {
        const size_t at = line.find("mirado-cli synth ");
        if (at == std::string::npos)
            continue;
        std::istringstream words(line.substr(at + std::string("mirado-cli ").size()));
        CliArgs args;
        for (std::string w; words >> w;)
            args.push_back(w == "samples" ? folder : w);
        return args;
    }
    return {};
}

TEST(SampleSet, ReadmeCommandRegeneratesTheSamplesBitForBit) {
    test::TempFolder folder;
    const CliArgs args = ReadmeCommand(folder.Path());
    ASSERT_FALSE(args.empty()) << "samples/README.md names no mirado-cli synth command";
    std::istringstream in;
    std::ostringstream out, err;
    ASSERT_EQ(RunCli(args, in, out, err), kExitOk) << err.str();

    std::set<std::string> committed, regenerated;
    for (const auto& entry : std::filesystem::directory_iterator(kSamples)) {
        if (entry.path().filename() != "README.md")
            committed.insert(entry.path().filename().string());
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        regenerated.insert(entry.path().filename().string());
    EXPECT_EQ(committed, regenerated);
    for (const std::string& name : regenerated) {
        EXPECT_EQ(test::ReadBytes(kSamples + "/" + name), test::ReadBytes(folder.File(name)))
            << name << " differs from what the generator writes now";
    }
}

TEST(SampleSet, CoversTheModelsNamesAndFaults) {
    std::set<int> letterCodes;
    int damaged = 0, nameRuleA = 0, nameRuleB = 0;
    const std::regex numericExtension(".*\\.[0-9][^.]*");
    for (const SampleFile& sample : BundledSamples()) {
        EXPECT_TRUE(std::regex_match(sample.name, numericExtension)) << sample.name;
        const LoadedRecord file = LoadRecord(kSamples + "/" + sample.name);
        letterCodes.insert(file.modelCode);
        damaged += !file.Loaded();
        const int model = ModelCodeWithFileName(file.modelCode, file.path);
        nameRuleA += file.modelCode == kModelCodeUnknown && model == 0;
        nameRuleB += file.modelCode == kModelCodeUnknown && model == 1;
    }
    EXPECT_EQ(letterCodes, (std::set<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(damaged, 1);
    EXPECT_EQ(nameRuleA, 1);
    EXPECT_EQ(nameRuleB, 1);
    EXPECT_GE(BundledSamples().size(), 10u);
}

} // namespace
} // namespace mirado
