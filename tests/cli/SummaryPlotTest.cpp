// mirado-cli summary --plot draws the summary's chart headless, as PDF, PNG or SVG.

#include "CliRun.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace mirado {
namespace {

using test::Cli;

std::string Head(const std::string& path, size_t count) {
    std::ifstream in(path, std::ios::binary);
    std::string text(count, '\0');
    in.read(text.data(), static_cast<std::streamsize>(count));
    return text.substr(0, static_cast<size_t>(in.gcount()));
}

TEST(SummaryPlot, WritesTheChartBesideTheTable) {
    const char* const dates[] = {"24/05/10", "24/05/11", "24/05/12"};
    test::TempFolder folder;
    CliArgs files;
    for (int i = 0; i < 6; ++i) {
        SynthOptions options;
        options.seed = static_cast<uint64_t>(i + 1);
        options.animalNo = i % 2 == 0 ? "A-1" : "A-2";
        options.date = dates[i / 2];
        files.push_back(folder.File(std::string("r") + std::to_string(i) + ".01"));
        const Result<void> written = WriteRecording(files.back(), options);
        ASSERT_TRUE(written.ok()) << written.error();
    }
    const auto summary = [&](const std::string& plot) {
        CliArgs args = {"summary", "--plot", plot};
        args.insert(args.end(), files.begin(), files.end());
        return Cli(args);
    };
    const test::CliRun pdf = summary(folder.File("trend.PDF"));
    EXPECT_EQ(pdf.status, 0) << pdf.err;
    EXPECT_NE(pdf.out.find("study_no,animal_no,date"), std::string::npos);
    EXPECT_EQ(Head(folder.File("trend.PDF"), 5), "%PDF-");
    EXPECT_EQ(summary(folder.File("trend.png")).status, 0);
    EXPECT_EQ(Head(folder.File("trend.png"), 4), "\x89PNG");
    EXPECT_EQ(summary(folder.File("trend.svg")).status, 0);
    EXPECT_NE(Head(folder.File("trend.svg"), 200).find("<svg"), std::string::npos);

    const test::CliRun wrong = summary(folder.File("trend.txt"));
    EXPECT_EQ(wrong.status, 2);
    EXPECT_TRUE(wrong.out.empty());
    EXPECT_EQ(summary(files[0]).status, 2) << "the chart would replace an input";
}

} // namespace
} // namespace mirado
