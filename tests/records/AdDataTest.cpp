#include "records/AdData.h"

#include "support/RecordBuilder.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace mirado {
namespace {

using test::PutInt16;
using test::RecordBuilder;

constexpr const char* kPath = "/data/m0001.012";

struct LoadOutcome {
    bool loaded;
    std::string error;
    int modelCode;
    std::vector<ScriptedUserPrompts::Box> boxes;
};

LoadOutcome LoadBytes(CAdData& data, const std::vector<uint8_t>& bytes) {
    ScriptedUserPrompts prompts;
    int modelCode = -1;
    // A heap copy of exactly the file's size lets the address sanitizer catch overreads.
    std::vector<uint8_t> exact(bytes);
    exact.shrink_to_fit();
    const Result<void> load =
        data.LoadFromBytes(kPath, exact.data(), exact.size(), modelCode, &prompts);
    return {load.ok(), load.error(), modelCode, prompts.Shown()};
}

void ExpectFailure(const std::vector<uint8_t>& bytes, const std::string& message) {
    CAdData data;
    const LoadOutcome outcome = LoadBytes(data, bytes);
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.error, message);
    ASSERT_EQ(outcome.boxes.size(), 1u);
    EXPECT_EQ(outcome.boxes[0].text, std::string(kPath) + message);
    EXPECT_EQ(outcome.boxes[0].caption, kApplicationTitle);
    EXPECT_EQ(outcome.boxes[0].buttons, MessageButtons::Ok);
    EXPECT_EQ(data.GetLastError(), message);
}

TEST(AdDataLoad, ReadsEveryFieldOfAValidRecord) {
    RecordBuilder builder;
    CAdData data;
    const LoadOutcome outcome = LoadBytes(data, builder.Bytes());
    ASSERT_TRUE(outcome.loaded);
    EXPECT_TRUE(outcome.boxes.empty());
    EXPECT_EQ(outcome.modelCode, 0);
    EXPECT_EQ(data.GetPath(), kPath);
    EXPECT_EQ(data.GetLastError(), "");
    EXPECT_EQ(data.GetDate(), "24/05/01");
    EXPECT_EQ(data.GetTime(), "13:45:07");
    EXPECT_EQ(data.GetAnimalNo(), "A-001");
    EXPECT_EQ(data.GetComment(), "");
    EXPECT_EQ(data.GetSampleInterval(), 20);
    EXPECT_EQ(data.GetSense(), 3);
    EXPECT_TRUE(data.IsValid());
    EXPECT_EQ(data.GetStoredHeartRate(), 60);
    int16_t sbp, mbp, dbp;
    data.GetStoredPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 240);
    EXPECT_EQ(mbp, 190);
    EXPECT_EQ(dbp, 160);
    EXPECT_TRUE(std::equal(builder.channel1.begin(), builder.channel1.end(), data.GetChannel1()));
    EXPECT_TRUE(std::equal(builder.channel2.begin(), builder.channel2.end(), data.GetChannel2()));
    EXPECT_EQ(data.GetBeatPositions()[2], 1100);
    EXPECT_EQ(data.GetBeatPositions()[kBeatCapacity - 1], 0);
}

TEST(AdDataLoad, ModelCodeFollowsTheModelLetter) {
    const std::pair<uint8_t, int> cases[] = {{'A', 0}, {'B', 1}, {'C', 2}, {'D', 3},
                                             {'E', 4}, {'a', 4}, {0, 4}};
    for (const auto& [letter, code] : cases) {
        RecordBuilder builder;
        builder.fixed[kOffsetModelLetter] = letter;
        CAdData data;
        EXPECT_EQ(LoadBytes(data, builder.Bytes()).modelCode, code) << letter;
    }
}

TEST(AdDataLoad, ValidFlagDependsOnWriterMark) {
    struct Case {
        int16_t writerMark, validMark, mbp;
        bool valid;
    };
    const Case cases[] = {{kAcquisitionWriterMark, kValidMark, 0, false},
                          {kAcquisitionWriterMark, 0, 190, true},
                          {kOwnWriterMark, kValidMark, 0, true},
                          {kOwnWriterMark, 0, 190, false},
                          {0, 1, 190, false}};
    for (const Case& c : cases) {
        RecordBuilder builder;
        PutInt16(builder.fixed, kOffsetWriterMark, c.writerMark);
        PutInt16(builder.fixed, kOffsetValidMark, c.validMark);
        PutInt16(builder.fixed, kOffsetResultBlock + kResultMbp, c.mbp);
        CAdData data;
        LoadBytes(data, builder.Bytes());
        EXPECT_EQ(data.IsValid(), c.valid) << c.writerMark << " " << c.validMark << " " << c.mbp;
    }
}

TEST(AdDataLoad, SampleIntervalAndSenseEdgeValues) {
    RecordBuilder builder;
    builder.fixed[kOffsetSampleInterval] = 0;
    builder.fixed[kOffsetSense] = 8;
    CAdData data;
    LoadBytes(data, builder.Bytes());
    EXPECT_EQ(data.GetSampleInterval(), 1);
    EXPECT_EQ(data.GetSense(), -1);
    builder.fixed[kOffsetSense] = 0xFF;
    LoadBytes(data, builder.Bytes());
    EXPECT_EQ(data.GetSense(), -1);
}

TEST(AdDataLoad, ReportsEveryDecodingFailureWithItsMessage) {
    RecordBuilder builder;
    const std::vector<uint8_t> good = builder.Bytes();
    const size_t channel1Length = good[kOffsetChannels] | good[kOffsetChannels + 1] << 8;

    ExpectFailure({}, "  A/D Data unpack Error");
    const auto firstBytes = [&good](size_t count) {
        return std::vector<uint8_t>(good.begin(), good.begin() + static_cast<long>(count));
    };
    ExpectFailure(firstBytes(kOffsetChannels + kPackedHeadSize - 1), "  A/D Data unpack Error");
    ExpectFailure(firstBytes(kOffsetChannels + channel1Length / 2), "  A/D Data unpack Error");
    ExpectFailure(firstBytes(kOffsetChannels + channel1Length), "  A/D Data unpack Error");
    ExpectFailure(std::vector<uint8_t>(good.begin(), good.end() - 1), "  A/D Data unpack Error");

    std::vector<uint8_t> emptyBlock = builder.fixed;
    emptyBlock.insert(emptyBlock.end(), {0x04, 0x00, 0x00, 0x00});
    ExpectFailure(emptyBlock, "  A/D Data unpack Error");
}

TEST(AdDataLoad, ReportsShortAndLongChannels) {
    RecordBuilder builder;
    const std::vector<int16_t> samples(kSampleCount + 1, 5);
    const auto block = [&](int count) { return test::PackChannel(samples.data(), count); };
    const auto file = [&](const std::vector<uint8_t>& one, const std::vector<uint8_t>& two) {
        std::vector<uint8_t> bytes = builder.fixed;
        bytes.insert(bytes.end(), one.begin(), one.end());
        bytes.insert(bytes.end(), two.begin(), two.end());
        return bytes;
    };
    ExpectFailure(file(block(kSampleCount - 1), block(kSampleCount)),
                  "  A/D Dataが不足しています(ch1)");
    ExpectFailure(file(block(kSampleCount), block(kSampleCount - 1)),
                  "  A/D Dataが不足しています(ch2)");
    ExpectFailure(file(block(kSampleCount + 1), block(kSampleCount)), "  A/D Data unpack Error");
    ExpectFailure(file(block(kSampleCount), block(kSampleCount + 1)), "  A/D Data unpack Error");
}

TEST(AdDataLoad, FailedLoadKeepsWhatWasRead) {
    RecordBuilder builder;
    const std::vector<uint8_t> good = builder.Bytes();
    CAdData data;
    const LoadOutcome outcome =
        LoadBytes(data, std::vector<uint8_t>(good.begin(), good.begin() + 940));
    EXPECT_FALSE(outcome.loaded);
    EXPECT_EQ(outcome.modelCode, 0);
    EXPECT_EQ(data.GetAnimalNo(), "A-001");
    EXPECT_EQ(data.GetPath(), "");
    EXPECT_FALSE(data.IsValid());
    EXPECT_EQ(data.GetStoredHeartRate(), 0);
    int16_t sbp, mbp, dbp;
    data.GetStoredPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 240);
    EXPECT_EQ(data.GetBeatPositions()[2], 1100);
    EXPECT_EQ(data.GetBeatPositions()[6], 0); // bytes 940 on were never read
    EXPECT_EQ(data.GetChannel1()[0], 0);
}

TEST(AdDataLoad, ReloadClearsThePreviousRecord) {
    RecordBuilder builder;
    CAdData data;
    LoadBytes(data, builder.Bytes());
    LoadBytes(data, std::vector<uint8_t>(10, 'x'));
    EXPECT_EQ(data.GetAnimalNo(), "");
    EXPECT_EQ(data.GetChannel1()[100], 0);
    EXPECT_EQ(data.GetBeatPositions()[0], 0);
}

TEST(AdDataLoad, ReportsUnreadableAndOversizedFiles) {
    test::TempFolder folder;
    ScriptedUserPrompts prompts;
    CAdData data;
    int modelCode = -1;
    const std::string missing = folder.File("missing.001");
    EXPECT_FALSE(data.Load(missing, modelCode, &prompts).ok());
    EXPECT_EQ(modelCode, 4);
    EXPECT_EQ(data.GetLastError(), "  Cannot open the file (No such file or directory)");
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].text, missing + data.GetLastError());

    EXPECT_FALSE(data.Load(folder.Path(), modelCode, nullptr).ok());
    EXPECT_EQ(data.GetLastError(), "  Cannot read the file (not a regular file)");

    const std::string huge = folder.File("huge.001");
    test::WriteBytes(huge, RecordBuilder().Bytes());
    ASSERT_EQ(truncate(huge.c_str(), 16 * 1024 * 1024 + 1), 0);
    EXPECT_FALSE(data.Load(huge, modelCode, nullptr).ok());
    EXPECT_EQ(data.GetLastError(), "  File format Error (larger than 16 MiB)");
    EXPECT_EQ(data.GetAnimalNo(), ""); // nothing of it was read

    ASSERT_EQ(truncate(huge.c_str(), 16 * 1024 * 1024), 0); // at the limit: read, trailing dropped
    EXPECT_TRUE(data.Load(huge, modelCode, nullptr).ok());
    EXPECT_EQ(data.GetAnimalNo(), "A-001");
}

TEST(AdDataTexts, AreTrimmedOnReadAndPaddedOnWrite) {
    RecordBuilder builder;
    test::PutText(builder.fixed, kOffsetStudyNo, std::string(" ab\0cd  ", kIdTextWidth));
    test::PutText(builder.fixed, kOffsetWeight, "12345678");
    CAdData data;
    LoadBytes(data, builder.Bytes());
    EXPECT_EQ(data.GetStudyNo(), "ab");
    EXPECT_EQ(data.GetWeight(), "12345678");

    data.SetAnimalNo("  abc ");
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(&data.Header()[kOffsetAnimalNo]), kIdTextWidth),
        "abc     ");
    EXPECT_EQ(data.GetAnimalNo(), "abc");
    data.SetSexAge("0123456789");
    EXPECT_EQ(data.GetSexAge(), "01234567");
    data.SetComment("");
    EXPECT_EQ(
        std::string(reinterpret_cast<const char*>(&data.Header()[kOffsetComment]), kCommentWidth),
        std::string(kCommentWidth, ' '));
}

TEST(AdDataTexts, CuttingNeverSplitsADoubleByteCharacter) {
    CAdData data;
    // "A" then four double-byte characters: 9 bytes, the last one does not fit.
    data.SetStudyNo("A\x93\xfa\x96\x7b\x8c\xea\x83\x65");
    EXPECT_EQ(data.GetStudyNo(), "A\x93\xfa\x96\x7b\x8c\xea");
    EXPECT_EQ(data.Header()[kOffsetStudyNo + kIdTextWidth - 1], ' ');
}

TEST(AdDataMarkers, IntervalIsMillisecondsFromSToM) {
    RecordBuilder builder;
    CAdData data;
    LoadBytes(data, builder.Bytes());
    data.SetStoredMarkers(1000, 1200, 1500);
    EXPECT_EQ(data.GetMarkerInterval(), 400);
    data.SetStoredMarkerM(0);
    EXPECT_EQ(data.GetMarkerInterval(), 0);
    data.SetStoredMarkerM(1203);
    data.SetStoredMarkerS(0);
    EXPECT_EQ(data.GetMarkerInterval(), 0);
    data.SetStoredMarkerS(1000);
    EXPECT_EQ(data.GetMarkerInterval(), 406);
    int16_t s, m, d;
    data.GetStoredMarkers(s, m, d);
    EXPECT_EQ(d, 1500);
}

} // namespace
} // namespace mirado
