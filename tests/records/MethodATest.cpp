#include "records/MethodA.h"
#include "records/AnalysisArithmetic.h"

#include "support/TestSignals.h"

#include <gtest/gtest.h>

namespace mirado {
namespace {

using test::Channel;
using test::MakeRecording;
using test::Recording;
using test::RecordingShape;

void RunA(CMethodA& method, const Recording& r) {
    method.Run(r.cuff.data(), r.optical.data(), r.sampleInterval);
}

std::vector<int> Beats(const int16_t* list) {
    std::vector<int> beats;
    for (int i = 0; i < kBeatCapacity && list[i] != 0; ++i)
        beats.push_back(list[i]);
    return beats;
}

TEST(MethodA, CleanRecordingPlacesMarkersOnTheFirstBeatAndTheFittedMaximum) {
    const Recording r = MakeRecording(RecordingShape{});
    CMethodA method;
    RunA(method, r);
    EXPECT_EQ(method.GetResultCode(), 0) << std::hex << method.GetFlags();
    // Beats sit on the pulse peaks, starting with the first pulse below SBP.
    const std::vector<int> beats = Beats(method.GetBeatPositions());
    ASSERT_GE(beats.size(), 20u);
    EXPECT_EQ(beats[0], r.beats[0]);
    EXPECT_EQ(beats[1], r.beats[1]);
    EXPECT_EQ(method.GetMarkerS(), beats[0]);
    // The largest pulse lies at the MBP crossing (sample 2100).
    EXPECT_GT(method.GetMarkerM(), 1900);
    EXPECT_LT(method.GetMarkerM(), 2300);
    EXPECT_EQ(method.GetHeartRate(), 600); // 50 samples of 2 ms
    const int16_t* cuff = r.cuff.data();
    const int s = method.GetMarkerS();
    EXPECT_EQ(method.GetSbp(), (cuff[s] + cuff[s + 1] + cuff[s + 2] + cuff[s + 3]) >> 2);
    EXPECT_EQ(method.GetDbp(), (3 * method.GetMbp() - method.GetSbp()) * 100 / 200);
    // The curve is defined from the first to one before the last listed beat.
    const int16_t* curve = method.GetFittedCurve();
    EXPECT_EQ(method.GetFittedSpan(), beats.back() - beats.front());
    EXPECT_EQ(curve[beats.front() - 1], kUndefinedCurveValue);
    EXPECT_NE(curve[beats.front()], kUndefinedCurveValue);
    EXPECT_NE(curve[beats.back() - 1], kUndefinedCurveValue);
    EXPECT_EQ(curve[beats.back()], kUndefinedCurveValue);
}

TEST(MethodA, FlatOpticalChannelIsLoWhereverTheChannelSits) {
    for (const int16_t level : {0, 100, 500}) {
        Recording r = MakeRecording(RecordingShape{});
        r.optical = test::Constant(level);
        CMethodA method; // the first recording of a fresh instance
        RunA(method, r);
        EXPECT_EQ(method.GetResultCode(), 16) << level;
        const uint16_t expected = kAIrregular | kATooFewFitPoints | kAFewBeatsBeforeM | kAWeakPulse;
        EXPECT_EQ(method.GetFlags() & expected, expected) << level;
        EXPECT_EQ(method.GetBeatPositions()[0], 0);
        EXPECT_EQ(method.GetFittedSpan(), 0);
        for (int i = 0; i < kSampleCount; ++i)
            ASSERT_EQ(method.GetFittedCurve()[i], kUndefinedCurveValue);
    }
}

TEST(MethodA, FlatOpticalChannelWithSlowDeflationIsCode4) {
    RecordingShape shape;
    shape.sampleInterval = 40;
    shape.fallPerSample = 0.032;
    Recording r = MakeRecording(shape);
    r.optical = test::Constant(300);
    CMethodA method;
    RunA(method, r);
    EXPECT_EQ(method.GetResultCode(), 4);
}

// Rate = (P0 - P1) x 500 / duration: 400 -> 272 half mmHg in 16 s is 4 mmHg/s.
TEST(MethodA, DeflationRateLimitsDependOnTheSampleInterval) {
    RecordingShape slow;
    slow.sampleInterval = 40;
    slow.fallPerSample = 0.032;
    slow.sbp = 350, slow.mbp = 320, slow.dbp = 300;
    CMethodA method;
    RunA(method, MakeRecording(slow));
    EXPECT_TRUE(method.GetFlags() & kADeflationSlow);
    EXPECT_EQ(method.GetResultCode(), 4);

    RecordingShape fast;
    fast.fallPerSample = 0.6; // 150 mmHg/s at 2 ms per sample
    RunA(method, MakeRecording(fast));
    EXPECT_TRUE(method.GetFlags() & kADeflationFast);
    EXPECT_EQ(method.GetResultCode(), 4);

    fast.sampleInterval = 100; // no rate check at 10 ms
    RunA(method, MakeRecording(fast));
    EXPECT_FALSE(method.GetFlags() & (kADeflationFast | kADeflationSlow));
}

Recording WithSaturatedRuns(int runs, int16_t interval) {
    RecordingShape shape;
    shape.sampleInterval = interval;
    Recording r = MakeRecording(shape);
    for (int run = 0; run < runs; ++run)
        for (int i = 0; i < 3; ++i)
            r.optical[200 + 100 * run + i] = 1700;
    return r;
}

TEST(MethodA, NineSaturatedRunsAreHiUnlessTheDeflationIsFlagged) {
    CMethodA method;
    RunA(method, WithSaturatedRuns(9, 20));
    EXPECT_EQ(method.GetResultCode(), 17);
    RunA(method, WithSaturatedRuns(8, 20));
    EXPECT_NE(method.GetResultCode(), 17);
    EXPECT_FALSE(method.GetFlags() & kASaturatedRuns);

    Recording slow = WithSaturatedRuns(9, 40);
    for (int i = 0; i < kSampleCount; ++i)
        slow.cuff[i] = static_cast<int16_t>(400 - i / 40); // 400 -> 301: too slow
    RunA(method, slow);
    EXPECT_EQ(method.GetResultCode(), 4);
}

// Each pair holds one flag of a rule and one of every later rule, so a rule moved out
// of its place changes the code.
TEST(MethodA, ResultCodeTakesTheFirstMatchingRule) {
    EXPECT_EQ(ResultCodeA(0), 0);
    EXPECT_EQ(ResultCodeA(kADeflationSlow | kASaturatedRuns | kAWeakPulse | kAIrregular), 4);
    EXPECT_EQ(ResultCodeA(kADeflationFast | kAFewBeatsBeforeM), 4);
    EXPECT_EQ(ResultCodeA(kASaturatedRuns | kAWeakPulse | kASaturated | kAFewBeatsAfterM), 17);
    EXPECT_EQ(ResultCodeA(kAWeakPulse | kAIrregular | kAFewBeatsBeforeM | kANoMaximum), 16);
    EXPECT_EQ(ResultCodeA(kASaturated | kAFewBeatsBeforeM | kATooFewFitPoints), 1);
    EXPECT_EQ(ResultCodeA(kAIrregular | kAMarkerImplausible), 1);
    EXPECT_EQ(ResultCodeA(kAFewBeatsAfterM | kATooFewFitPoints | kANoMaximum), 2);
    EXPECT_EQ(ResultCodeA(kAMarkerImplausible), 3);
    EXPECT_EQ(ResultCodeA(kANoMaximum), 3);
    EXPECT_EQ(ResultCodeA(kATooFewFitPoints), 3);
    EXPECT_EQ(ResultCodeA(0x0080), 0); // a bit method A never sets
}

TEST(MethodA, SaturationAloneWithRegularBeatsIsCleared) {
    CMethodA method;
    RunA(method, WithSaturatedRuns(2, 20));
    EXPECT_FALSE(method.GetFlags() & kASaturated);
    EXPECT_EQ(method.GetResultCode(), 0);
}

TEST(MethodA, RefractoryCountFollowsTheSampleIntervalAndSurvivesUnusualOnes) {
    CMethodA method;
    EXPECT_EQ(method.GetRefractoryCount(), 0);
    const std::pair<int16_t, int16_t> cases[] = {{40, 18}, {55, 18}, {20, 30},
                                                 {1, 30},  {40, 18}, {100, 30}};
    for (const auto& [interval, count] : cases) {
        method.SetSampleInterval(interval);
        method.SetRefractoryCount();
        EXPECT_EQ(method.GetRefractoryCount(), count) << interval;
    }
}

TEST(MethodA, BeatListKeepsTheFirst99Beats) {
    Recording r;
    r.cuff = test::Constant(300);
    r.optical = test::Constant(100);
    for (int onset = 100; onset < kSampleCount - 40; onset += 32)
        test::AddPulse(r.optical, onset, 500);
    CMethodA method;
    method.SetSampleInterval(20);
    method.SetRefractoryCount();
    method.CopyChannels(r.cuff.data(), r.optical.data());
    method.ComputePressureLength();
    method.RemoveOpticalOffset();
    method.DetectBeats();
    const int16_t* beats = method.GetBeatPositions();
    EXPECT_NE(beats[kBeatCapacity - 2], 0);
    EXPECT_EQ(beats[kBeatCapacity - 1], 0);
    // Beats with a successor were moved to their pulse peak.
    EXPECT_EQ((beats[10] - 100) % 32, 8);
}

// The offset removal depends on the pressure length: a recording gives the same result
// whether it is the first one analysed or follows another.
TEST(MethodA, ResultDoesNotDependOnThePreviousRecording) {
    Recording flat = MakeRecording(RecordingShape{});
    flat.optical = test::Constant(400);
    Recording released = MakeRecording(RecordingShape{});
    released.cuff = test::Constant(0); // pressure length 0: the offset stays

    CMethodA fresh;
    RunA(fresh, flat);
    CMethodA reused;
    RunA(reused, released);
    RunA(reused, flat);
    EXPECT_EQ(reused.GetResultCode(), fresh.GetResultCode());
    EXPECT_EQ(reused.GetOpticalCopy()[0], fresh.GetOpticalCopy()[0]);
    EXPECT_EQ(fresh.GetOpticalCopy()[0], 0);

    CMethodA first;
    RunA(first, released);
    EXPECT_EQ(first.GetOpticalCopy()[0], released.optical[0]);
}

// The cubic value at x before it is stored in 16 bits, in double precision.
double UnwrappedFit(const CubicFit& fit, int x) {
    return fit.c[0] + x * (fit.c[1] + x * (fit.c[2] + x * static_cast<double>(fit.c[3])));
}

// A first recording whose cuff crosses SBP late fits a falling cubic (c3 < 0) that is
// far above 32767 early in the recording. The second recording has three beats, too few
// fit points, so it keeps that cubic, and the maximum scan in steps of 20 from beat 1
// compares the fitted values as stored in 16 bits: above 32767 they wrap to negative
// numbers, so the largest value lies just after the cubic falls below 32768.
TEST(MethodA, AnInheritedCubicIsScannedInItsSixteenBitValues) {
    RecordingShape lateSbp;
    lateSbp.sbp = 160;
    lateSbp.mbp = 140;
    lateSbp.dbp = 120;
    lateSbp.plateau = 0.3;
    CMethodA method;
    RunA(method, MakeRecording(lateSbp));
    ASSERT_EQ(method.GetFlags() & kATooFewFitPoints, 0);
    const CubicFit inherited = method.GetFit();
    ASSERT_LT(inherited.c[3], 0);

    Recording threeBeats = MakeRecording(RecordingShape{});
    threeBeats.optical = test::Constant(200);
    for (const int peak : {700, 850, 1100})
        test::AddPulse(threeBeats.optical, peak - test::kRise, 400);
    RunA(method, threeBeats);
    EXPECT_TRUE(method.GetFlags() & kATooFewFitPoints);
    EXPECT_EQ(method.GetFit().c[3], inherited.c[3]);
    const std::vector<int> beats = Beats(method.GetBeatPositions());
    ASSERT_EQ(beats.size(), 3u);
    ASSERT_EQ(beats[1], 850);

    // The cubic falls over the whole scan and crosses 32768 once, between 910 and 930.
    EXPECT_GT(UnwrappedFit(inherited, 850), 32768 + 2000);
    EXPECT_LT(UnwrappedFit(inherited, 850), 65536);
    EXPECT_GT(UnwrappedFit(inherited, 910), 32768 + 100);
    EXPECT_LT(UnwrappedFit(inherited, 930), 32768 - 100);
    EXPECT_GT(UnwrappedFit(inherited, 930), UnwrappedFit(inherited, 850) - 65536);
    EXPECT_EQ(method.GetMarkerM(), 930);
    // The stored curve holds the same 16-bit values, and M is the largest scanned one.
    const int16_t* curve = method.GetFittedCurve();
    EXPECT_LT(curve[850], 0);
    for (int x = 850; x < beats[2]; x += 20)
        EXPECT_LE(curve[x], curve[930]) << x;
}

} // namespace
} // namespace mirado
