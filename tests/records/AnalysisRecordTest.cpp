#include "records/AdData.h"
#include "records/AnalysisSequence.h"

#include "support/RecordBuilder.h"
#include "support/TestSignals.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace mirado {
namespace {

TEST(AnalysisRecord, StartsResetAndAnswersNeutralValues) {
    CMethodA method;
    CPressureAnalysisA a(method);
    CPressureAnalysisE e;
    for (CPressureAnalysis* record :
         {static_cast<CPressureAnalysis*>(&a), static_cast<CPressureAnalysis*>(&e)}) {
        int16_t s = 1, m = 1, d = 1, sbp = 1, mbp = 1, dbp = 1;
        record->GetMarkers(s, m, d);
        EXPECT_EQ(record->GetPressures(sbp, mbp, dbp), 0);
        EXPECT_EQ(s + m + d + sbp + mbp + dbp, 0);
        EXPECT_EQ(record->GetFittedCurve()[0], kUndefinedCurveValue);
        EXPECT_EQ(record->GetFittedCurve()[kSampleCount - 1], kUndefinedCurveValue);
        EXPECT_EQ(record->GetMarkerInterval(), 0);
    }
}

TEST(AnalysisRecord, PressureAtTruncatesWhileMarkersUseTheFloor) {
    test::Channel cuff = test::Constant(0);
    cuff[10] = -1, cuff[11] = -1, cuff[12] = -1, cuff[13] = -2; // sum -5
    CMethodA method;
    CPressureAnalysisA a(method);
    a.SetWaves(cuff.data(), cuff.data());
    EXPECT_EQ(a.GetPressureAt(10), -1);
    a.SetMarkerM(0);
    a.SetMarkerS(10);
    int16_t sbp = 0, mbp = 0, dbp = 0;
    a.GetPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, -2);
}

TEST(AnalysisRecord, InflationPressureRoundsToTens) {
    test::Channel cuff = test::Constant(0);
    cuff[4] = 400, cuff[5] = 401, cuff[6] = 402, cuff[7] = 403; // a = 401, b = 205
    CPressureAnalysisE e;
    e.SetWaves(cuff.data(), cuff.data());
    EXPECT_EQ(e.GetInflationPressure(), 210);
}

TEST(AnalysisRecord, MarkerIntervalIsInMilliseconds) {
    CPressureAnalysisE e;
    e.SetSampleInterval(20);
    e.SetMarkerS(1000);
    EXPECT_EQ(e.GetMarkerInterval(), 0);
    e.SetMarkerM(1200);
    EXPECT_EQ(e.GetMarkerInterval(), 400);
}

test::Channel Ramp() {
    test::Channel cuff{};
    for (int i = 0; i < kSampleCount; ++i)
        cuff[i] = static_cast<int16_t>(5000 - i);
    return cuff;
}

TEST(AnalysisRecord, MovedMarkersAreReadAgainInEachVariantsWay) {
    const test::Channel cuff = Ramp();
    CMethodA method;
    CPressureAnalysisA a(method);
    CPressureAnalysisE e;
    int16_t sbp = 0, mbp = 0, dbp = 0;
    for (CPressureAnalysis* record :
         {static_cast<CPressureAnalysis*>(&a), static_cast<CPressureAnalysis*>(&e)}) {
        record->SetWaves(cuff.data(), cuff.data());
        record->SetMarkerS(1000); // (4000 + 3999 + 3998 + 3997) / 4 = 3998.5
        record->SetMarkerM(2001);
    }
    a.GetPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 3998);
    EXPECT_EQ(mbp, 2997);
    EXPECT_EQ(dbp, (3 * 2997 - 3998) * 100 / 200);
    e.GetPressures(sbp, mbp, dbp);
    EXPECT_EQ(mbp, 2997);
    EXPECT_EQ(dbp, 2997 - ((3998 - 2997) >> 1));

    // Variant A: M at 0 clears MBP and DBP.
    a.SetMarkerM(0);
    a.GetPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 3998);
    EXPECT_EQ(mbp, 0);
    EXPECT_EQ(dbp, 0);

    // At the right edge each read takes the last sample: (1002 + 3 x 1001) >> 2.
    e.SetMarkerM(3998);
    e.GetPressures(sbp, mbp, dbp);
    EXPECT_EQ(mbp, (1002 + 3 * 1001) >> 2);
    a.SetMarkerS(3999);
    a.GetPressures(sbp, mbp, dbp);
    EXPECT_EQ(sbp, 1001);
}

std::vector<uint8_t> RecordingBytes(char modelLetter) {
    test::RecordBuilder builder;
    const test::Recording r = test::MakeRecording(test::RecordingShape{});
    builder.channel1 = r.cuff;
    builder.channel2 = r.optical;
    builder.fixed[kOffsetModelLetter] = static_cast<uint8_t>(modelLetter);
    return builder.Bytes();
}

std::unique_ptr<CAdData> Load(const std::vector<uint8_t>& bytes, int& modelCode) {
    auto data = std::make_unique<CAdData>();
    EXPECT_TRUE(data->LoadFromBytes("mem", bytes.data(), bytes.size(), modelCode, nullptr).ok());
    return data;
}

TEST(AnalysisSequence, MethodARunsWhicheverVariantIsCurrent) {
    int modelCode = 4;
    const auto data = Load(RecordingBytes('B'), modelCode);
    ASSERT_TRUE(UsesVariantE(modelCode));
    auto records = std::make_unique<AnalysisRecords>();
    CPressureAnalysis& current = records->Analyze(*data, modelCode);
    EXPECT_EQ(&current, &records->recordE);
    EXPECT_NE(records->methodA.GetMarkerS(), 0);
    EXPECT_EQ(records->recordA.GetBeatPositions()[0], 0); // variant A not touched
    EXPECT_NE(records->recordE.GetBeatPositions()[0], 0);
    EXPECT_EQ(records->recordE.GetChannel1()[0], data->GetChannel1()[0]);
    EXPECT_EQ(records->recordE.GetSampleInterval(), 20);
}

TEST(AnalysisSequence, VariantAImportsMethodAButNotItsHeartRate) {
    int modelCode = 4;
    const auto data = Load(RecordingBytes('C'), modelCode);
    EXPECT_FALSE(UsesVariantE(modelCode));
    auto records = std::make_unique<AnalysisRecords>();
    CPressureAnalysis& a = records->Analyze(*data, modelCode);
    const CMethodA& method = records->methodA;
    int16_t s = 0, m = 0, d = 0, sbp = 0, mbp = 0, dbp = 0;
    a.GetMarkers(s, m, d);
    EXPECT_EQ(a.GetPressures(sbp, mbp, dbp), method.GetResultCode());
    EXPECT_EQ(s, method.GetMarkerS());
    EXPECT_EQ(m, method.GetMarkerM());
    EXPECT_EQ(d, 0);
    EXPECT_EQ(sbp, method.GetSbp());
    EXPECT_EQ(dbp, method.GetDbp());
    EXPECT_EQ(a.GetOpticalBase(), method.GetOpticalBase());
    EXPECT_EQ(a.GetFittedSpan(), method.GetFittedSpan());
    EXPECT_EQ(a.GetBeatPositions()[3], method.GetBeatPositions()[3]);
    EXPECT_EQ(a.GetFittedCurve()[2000], method.GetFittedCurve()[2000]);
    EXPECT_NE(method.GetHeartRate(), 0);
    EXPECT_EQ(a.GetHeartRate(), 0);
}

TEST(AnalysisSequence, BothRecordsAtOnceMatchEachAnalysedAlone) {
    int modelCode = 4;
    const auto data = Load(RecordingBytes('A'), modelCode);
    auto both = std::make_unique<AnalysisRecords>();
    both->AnalyzeBoth(*data);
    auto alone = std::make_unique<AnalysisRecords>();
    alone->Analyze(*data, 0);
    alone->Analyze(*data, 1);
    int16_t x[6] = {}, y[6] = {};
    for (auto* pair : {&both, &alone}) {
        int16_t* out = pair == &both ? x : y;
        (*pair)->recordE.GetMarkers(out[0], out[1], out[2]);
        (*pair)->recordA.GetPressures(out[3], out[4], out[5]);
    }
    EXPECT_TRUE(std::equal(x, x + 6, y));
}

TEST(AnalysisSequence, FlagTexts) {
    EXPECT_EQ(ResultFlagText(0), "");
    EXPECT_EQ(ResultFlagText(16), "Lo");
    EXPECT_EQ(ResultFlagText(17), "Hi");
    EXPECT_EQ(ResultFlagText(5), "Air");
    EXPECT_EQ(ResultFlagText(3), "Err3");
}

// Arbitrary channels, extremes included, never make either method read outside its
// arrays (the sanitizers watch) and keep markers inside the channel when beats exist.
TEST(AnalysisSequence, ArbitraryChannelsAreAnalysedSafely) {
    std::mt19937 random(11);
    auto records = std::make_unique<AnalysisRecords>();
    test::Channel cuff{}, optical{};
    for (int round = 0; round < 300; ++round) {
        const int spread = round % 3 == 0 ? 32767 : 400;
        std::uniform_int_distribution<int> value(-spread, spread);
        for (int i = 0; i < kSampleCount; ++i) {
            cuff[i] = static_cast<int16_t>(value(random));
            optical[i] = static_cast<int16_t>(round % 2 ? value(random) : (i % 37) * 40);
        }
        const auto interval = static_cast<int16_t>(std::array{20, 40, 100, 7}[round % 4]);
        records->methodA.Run(cuff.data(), optical.data(), interval);
        for (CPressureAnalysis* record : {static_cast<CPressureAnalysis*>(&records->recordA),
                                          static_cast<CPressureAnalysis*>(&records->recordE)}) {
            record->SetWaves(cuff.data(), optical.data());
            record->SetSampleInterval(interval);
            record->Analyze();
            ASSERT_GE(record->GetFittedSpan(), 0);
            ASSERT_LT(record->GetFittedSpan(), kSampleCount);
        }
    }
}

} // namespace
} // namespace mirado
