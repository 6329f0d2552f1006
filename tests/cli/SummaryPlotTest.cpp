// mirado-cli summary --plot draws the summary's chart headless, as PDF, PNG or SVG.

#include "CliRun.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <utility>

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

// Width and height from a PNG's header.
std::pair<uint32_t, uint32_t> PngSize(const std::string& path) {
    const std::string head = Head(path, 24);
    if (head.size() < 24)
        return {0, 0};
    const auto number = [&head](size_t at) {
        uint32_t value = 0;
        for (size_t i = at; i < at + 4; ++i)
            value = (value << 8) | static_cast<unsigned char>(head[i]);
        return value;
    };
    return {number(16), number(20)};
}

TEST(SummaryPlot, SizeOnPaperAxesAndTheirMistakes) {
    test::TempFolder folder;
    const std::string file = folder.File("r.01");
    SynthOptions synth;
    synth.date = "24/05/10";
    ASSERT_TRUE(WriteRecording(file, synth).ok());
    struct Row {
        CliArgs options;
        int status;
        std::pair<uint32_t, uint32_t> size; // of the PNG written; none when the status is 2
    };
    const Row rows[] = {
        {{}, 0, {900, 560}},
        {{"--width-mm", "85", "--height-mm", "60", "--dpi", "600"}, 0, {2008, 1417}},
        {{"--dpi", "300"}, 0, {1004, 709}},
        {{"--width-mm", "170", "--sessions", "numbers", "--y-range", "60,200", "--hr-range",
          "300,800"},
         0,
         {2008, 709}},
        {{"--y-range", "200,100"}, 2, {}},
        {{"--hr-range", "300"}, 2, {}},
        {{"--dpi", "10"}, 2, {}},
        {{"--width-mm", "5000"}, 2, {}},
        {{"--sessions", "weeks"}, 2, {}},
    };
    for (const Row& row : rows) {
        const std::string png = folder.File("chart.png");
        std::remove(png.c_str());
        CliArgs args = {"summary", "--plot", png};
        args.insert(args.end(), row.options.begin(), row.options.end());
        args.push_back(file);
        const test::CliRun run = Cli(args);
        const std::string shown = row.options.empty() ? "(none)" : row.options[0];
        EXPECT_EQ(run.status, row.status) << shown << "\n" << run.err;
        EXPECT_EQ(PngSize(png), row.size) << shown;
    }
    // With the groups the chart is the groups' one, on paper as asked.
    const std::string group = folder.File("group.png");
    const test::CliRun grouped = Cli({"summary", "--level", "group", "--change-from-baseline",
                                      "--plot", group, "--dpi", "150", file});
    EXPECT_EQ(grouped.status, 0) << grouped.err;
    EXPECT_EQ(PngSize(group), (std::pair<uint32_t, uint32_t>{502, 354}));

    // The chart's options without a chart are a mistake too.
    EXPECT_EQ(Cli({"summary", "--dpi", "300", file}).status, 2);
}

} // namespace
} // namespace mirado
