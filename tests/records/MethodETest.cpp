#include "records/PressureAnalysisE.h"

#include "support/TestSignals.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

using test::MakeRecording;
using test::Recording;
using test::RecordingShape;

struct Analysed {
    int16_t s = 0, m = 0, d = 0, sbp = 0, mbp = 0, dbp = 0, code = 0;
    uint16_t flags = 0;
    std::vector<int> beats;
};

Analysed Analyse(CPressureAnalysisE& record, const Recording& r) {
    record.SetWaves(r.cuff.data(), r.optical.data());
    record.SetSampleInterval(r.sampleInterval);
    record.Analyze();
    Analysed a;
    record.GetMarkers(a.s, a.m, a.d);
    a.code = record.GetPressures(a.sbp, a.mbp, a.dbp);
    a.flags = record.GetFlags();
    for (int i = 0; i < kBeatCapacity && record.GetBeatPositions()[i] != 0; ++i)
        a.beats.push_back(record.GetBeatPositions()[i]);
    return a;
}

int Average4(const test::Channel& c, int i) {
    return (c[i] + c[i + 1] + c[i + 2] + c[i + 3]) >> 2;
}

bool Contains(const std::vector<int>& list, int value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

TEST(MethodE, CleanRecordingGivesOrderedMarkersAndPressuresFromTheCuff) {
    const Recording r = MakeRecording(RecordingShape{});
    CPressureAnalysisE record;
    const Analysed a = Analyse(record, r);
    EXPECT_EQ(a.code, 0) << std::hex << a.flags;
    EXPECT_LT(a.beats.front(), a.s);
    EXPECT_LT(a.s, a.m);
    EXPECT_LT(a.m, a.d);
    EXPECT_EQ(a.sbp, Average4(r.cuff, a.s));
    EXPECT_EQ(a.mbp, Average4(r.cuff, a.m));
    EXPECT_EQ(a.dbp, a.mbp - ((a.sbp - a.mbp) >> 1));
    EXPECT_EQ(record.GetHeartRate(), 600);
    EXPECT_EQ(record.GetMeanInterval(), 50);
    EXPECT_EQ(record.GetOpticalBase(), 0);
    EXPECT_EQ(record.GetFallPerBeat(), 5); // 0.1 half mmHg per sample over 50 samples
}

TEST(MethodE, FlatOpticalChannelIsLoWithPressuresAtSampleZero) {
    Recording r = MakeRecording(RecordingShape{});
    r.optical = test::Constant(700);
    CPressureAnalysisE record;
    const Analysed a = Analyse(record, r);
    EXPECT_EQ(a.flags, kEFewBeats);
    EXPECT_EQ(a.code, 16);
    EXPECT_EQ(a.s, 0);
    EXPECT_EQ(a.m, 0);
    EXPECT_EQ(a.d, 0);
    const int p0 = Average4(r.cuff, 0);
    EXPECT_EQ(a.sbp, p0);
    EXPECT_EQ(a.mbp, p0);
    EXPECT_EQ(a.dbp, p0);
    EXPECT_TRUE(a.beats.empty());
    EXPECT_EQ(record.GetFittedCurve()[2000], kUndefinedCurveValue);
}

// Short pulses, one of them followed 18 samples later (less than 5/9 of the mean
// interval) by a second pulse.
Recording WithDoublePulse(double secondHeight, int& mainPeak, int& secondPeak) {
    RecordingShape shape;
    shape.decay = 6;
    Recording r = MakeRecording(shape);
    const int onset = r.beats[8] - test::kRise; // between S and M
    test::AddPulse(r.optical, onset + 18, secondHeight, shape.decay);
    mainPeak = onset + test::kRise;
    secondPeak = mainPeak + 18;
    return r;
}

TEST(MethodE, OfTwoCloseBeatsTheHigherStays) {
    int mainPeak = 0, secondPeak = 0;
    CPressureAnalysisE record;
    Analysed low = Analyse(record, WithDoublePulse(500, mainPeak, secondPeak));
    EXPECT_TRUE(Contains(low.beats, mainPeak));
    EXPECT_FALSE(Contains(low.beats, secondPeak));
    Analysed high = Analyse(record, WithDoublePulse(900, mainPeak, secondPeak));
    EXPECT_FALSE(Contains(high.beats, mainPeak));
    EXPECT_TRUE(Contains(high.beats, secondPeak));
}

// Pulses at full height from the systolic crossing on, with a stretch of missing pulses
// after `before` beats.
Recording WithGapAfter(int before, int& firstAfterGap, int& firstBeat) {
    RecordingShape shape;
    shape.onset = 1;
    Recording r = MakeRecording(shape);
    const int gapStart = r.beats[static_cast<size_t>(before)] - 8;
    for (int i = gapStart; i < gapStart + 4 * shape.period; ++i)
        r.optical[i] = static_cast<int16_t>(shape.baseline);
    firstBeat = r.beats[0];
    firstAfterGap = r.beats[static_cast<size_t>(before) + 4];
    return r;
}

TEST(MethodE, AGapBeforeTheTwelfthBeatDiscardsTheBeatsBeforeIt) {
    int firstAfterGap = 0, firstBeat = 0;
    CPressureAnalysisE record;
    const Analysed early = Analyse(record, WithGapAfter(5, firstAfterGap, firstBeat));
    ASSERT_FALSE(early.beats.empty());
    EXPECT_EQ(early.beats.front(), firstAfterGap);

    // After 12 or more beats the gap ends the list instead, and is irregular.
    const Analysed late = Analyse(record, WithGapAfter(14, firstAfterGap, firstBeat));
    ASSERT_FALSE(late.beats.empty());
    EXPECT_LT(late.beats.back(), firstAfterGap);
    EXPECT_TRUE(late.flags & kEIrregular);
}

TEST(MethodE, WithoutAFallBelow80PercentDLiesHalfTheDistanceSToMAfterM) {
    RecordingShape shape;
    shape.plateau = 0.97;
    CPressureAnalysisE record;
    const Analysed a = Analyse(record, MakeRecording(shape));
    ASSERT_NE(a.m, 0);
    EXPECT_TRUE(a.flags & kEEnvelope) << std::hex << a.flags;
    EXPECT_EQ(a.d, a.m - ((a.s - a.m) >> 1));
    EXPECT_EQ(a.code, (a.flags & (kEIrregular | kECollapse)) ? 1 : 2);
}

// Each pair holds one flag of a rule and one of every later rule, so a rule moved out
// of its place changes the code.
TEST(MethodE, ResultCodeTakesTheFirstMatchingRule) {
    EXPECT_EQ(ResultCodeE(0), 0);
    EXPECT_EQ(ResultCodeE(kECollapse | kEBright | kEEnvelope | kENoMaximum | kEFewBeats), 1);
    EXPECT_EQ(ResultCodeE(kEIrregular | kESuddenFall), 1);
    EXPECT_EQ(ResultCodeE(kEBright | kEFewBeatsBeforeStrongest | kEMaximumLate | kEFallPerBeat),
              17);
    EXPECT_EQ(ResultCodeE(kEEnvelope | kETooFewFitPoints | kEFewBeats), 2);
    EXPECT_EQ(ResultCodeE(kEFewBeatsTrimmed | kESuddenFall), 2);
    EXPECT_EQ(ResultCodeE(kENoMaximum | kEFewBeats | kEFallPerBeat), 3);
    EXPECT_EQ(ResultCodeE(kEMaximumLate), 3);
    EXPECT_EQ(ResultCodeE(kEFewBeats | kESuddenFall), 16);
    EXPECT_EQ(ResultCodeE(kEFallPerBeat), 4);
}

TEST(MethodE, BeatAmplitudeResistsSpikes) {
    test::Channel optical = test::Constant(0);
    const int16_t heights[] = {100, 120, 400, 110, 100, 140, 130};
    int16_t beats[kBeatCapacity] = {};
    for (int k = 0; k < 7; ++k) {
        beats[k] = static_cast<int16_t>(200 + 100 * k);
        optical[beats[k]] = heights[k];
    }
    CPressureAnalysisE record;
    record.SetWaves(test::Constant(0).data(), optical.data());
    record.SetBeatPositions(beats);
    EXPECT_EQ(record.BeatAmplitude(0), 100);                   // smaller of the first two
    EXPECT_EQ(record.BeatAmplitude(6), 130);                   // smaller of the last two
    EXPECT_EQ(record.BeatAmplitude(2), (120 + 110) / 2);       // a spike takes its neighbours
    EXPECT_EQ(record.BeatAmplitude(1), (100 + 120) / 2);       // spike after: the two before
    EXPECT_EQ(record.BeatAmplitude(3), (110 + 100) / 2);       // spike before: this and the next
    EXPECT_EQ(record.BeatAmplitude(4), (110 + 100 + 140) / 3); // regular: mean of three
    EXPECT_EQ(record.BeatAmplitude(5), (100 + 140 + 130) / 3);
}

TEST(MethodE, PrefilterIsATenSampleMovingSumAroundTheMean) {
    test::Channel optical = test::Constant(50);
    optical[1000] = 60;
    CPressureAnalysisE record;
    record.SetWaves(test::Constant(300).data(), optical.data());
    record.Prefilter();
    const int16_t* c = record.GetChannel2();
    EXPECT_EQ(c[999], 0);
    for (int i = 1000; i < 1010; ++i)
        EXPECT_EQ(c[i], 10) << i;
    EXPECT_EQ(c[1010], 0);
}

// A method E record whose cubic a test can set: a recording with too few fit points is
// analysed with the coefficients the record already holds.
class CRecordWithCubic : public CPressureAnalysisE {
public:
    void SetCubic(float c0, float c1, float c2, float c3) {
        fit_.c[0] = c0;
        fit_.c[1] = c1;
        fit_.c[2] = c2;
        fit_.c[3] = c3;
    }
};

// Ten pulses, a long pause that drops them from the list, then beats at 1900, 2000 and
// 2100 (a beat is taken when the next pulse rises, so a fourth pulse follows): three
// beats give three fit points, too few for a fit.
Recording ThreeBeatsAfterAPause() {
    Recording r = MakeRecording(RecordingShape{});
    r.optical = test::Constant(200);
    for (int k = 0; k < 10; ++k)
        test::AddPulse(r.optical, 200 + 50 * k, 400);
    for (const int peak : {1900, 2000, 2100, 2200})
        test::AddPulse(r.optical, peak - test::kRise, 400);
    return r;
}

// With the kept cubic F(x) = 16 x (c3 = 0), F reaches 32640 at 2040 and wraps to -32736
// at 2050. The maximum scan from beat 1 (2000) to the last fitted beat (2100) in steps of
// 10 gives M = 2040 and Fm = 32640; S is the first x from beat 0 with F(x) above 70 %
// of Fm (22848): 1900, where F = 30400; D is the first x from M with F(x) below 80 %
// of Fm (26112): 2050, where the wrapped F is -32736.
TEST(MethodE, SearchesUseTheFittedValuesAsStoredInSixteenBits) {
    CRecordWithCubic record;
    record.SetCubic(0, 16, 0, 0);
    const Recording r = ThreeBeatsAfterAPause();
    const Analysed a = Analyse(record, r);
    ASSERT_EQ(a.beats, (std::vector<int>{1900, 2000, 2100}));
    EXPECT_TRUE(a.flags & kETooFewFitPoints);
    EXPECT_EQ(a.m, 2040);
    EXPECT_EQ(a.s, 1900);
    EXPECT_EQ(a.d, 2050);
    EXPECT_EQ(a.sbp, Average4(r.cuff, 1900));
    EXPECT_EQ(a.mbp, Average4(r.cuff, 2040));
    // Fewer than 12 regular intervals make the list irregular: code 1.
    EXPECT_TRUE(a.flags & kEIrregular);
    EXPECT_EQ(a.code, 1);
    EXPECT_EQ(record.GetFittedCurve()[2040], 32640);
    EXPECT_EQ(record.GetFittedCurve()[2050], -32736);
}

} // namespace
} // namespace mirado
