// The synthetic-recording generator: files load as written, hold the model's truth, are
// reproducible, and every fault option shows in the data the way the analyses look for it.

#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"
#include "records/TextEncoding.h"
#include "records/synth/RecordingGenerator.h"
#include "records/synth/SignalModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace mirado {
namespace {

LoadedRecord LoadBytes(const std::vector<uint8_t>& bytes) {
    return LoadRecordFromBytes("synthetic", bytes);
}

SynthOptions Options(Species species, uint64_t seed) {
    SynthOptions o;
    o.species = species;
    o.seed = seed;
    return o;
}

int Avg4(const int16_t* c, int i) {
    return (c[i] + c[i + 1] + c[i + 2] + c[i + 3]) >> 2;
}

TEST(Generator, FileLoadsAndHoldsTheTruth) {
    SynthOptions o = Options(Species::Rat, 7);
    o.modelLetter = 'C';
    o.comment = "血圧表示確認 ソフト";
    const SynthRecording r = GenerateRecording(o);
    const LoadedRecord l = LoadBytes(r.bytes);
    ASSERT_TRUE(l.Loaded()) << l.data->GetLastError();
    EXPECT_EQ(l.modelCode, 2);
    EXPECT_EQ(l.data->GetSampleInterval(), 40);
    EXPECT_TRUE(l.data->IsValid());
    int16_t sbp, mbp, dbp, s, m, d;
    l.data->GetStoredPressures(sbp, mbp, dbp);
    l.data->GetStoredMarkers(s, m, d);
    EXPECT_EQ(sbp, r.truth.sbp);
    EXPECT_EQ(mbp, r.truth.mbp);
    EXPECT_EQ(dbp, r.truth.dbp);
    EXPECT_TRUE(r.truth.sbp > r.truth.mbp && r.truth.mbp > r.truth.dbp);
    EXPECT_EQ(s, r.truth.markerS);
    EXPECT_EQ(m, r.truth.markerM);
    EXPECT_EQ(d, r.truth.markerD);
    EXPECT_TRUE(0 < s && s < m && m < d);
    EXPECT_EQ(Cp932ToUtf8(l.data->GetComment()), "血圧表示確認 ソフト");
    ASSERT_GE(r.truth.beats.size(), 64u);
    for (int k = 0; k < 64; ++k)
        EXPECT_EQ(l.data->GetBeatPositions()[k], r.truth.beats[k]);
    const int hr = l.data->GetStoredHeartRate();
    EXPECT_LT(std::abs(hr - r.truth.heartRate) * 20, r.truth.heartRate) << hr;
}

TEST(Generator, CuffStartsAtInflationAndCrossesTheTruePressuresAtTheMarkers) {
    const SynthRecording r = GenerateRecording(Options(Species::Mouse, 3));
    const LoadedRecord l = LoadBytes(r.bytes);
    ASSERT_TRUE(l.Loaded());
    const int16_t* cuff = l.data->GetChannel1();
    EXPECT_NEAR(Avg4(cuff, 4), r.truth.inflation, 4);
    EXPECT_NEAR(Avg4(cuff, r.truth.markerS), r.truth.sbp, 4);
    EXPECT_NEAR(Avg4(cuff, r.truth.markerM), r.truth.mbp, 4);
    EXPECT_NEAR(Avg4(cuff, r.truth.markerD), r.truth.dbp, 4);
    // Deflation as the devices measure it, within the accepted range at 2 ms.
    const int rate = (Avg4(cuff, 1) - Avg4(cuff, 3995)) * 500 / (2 * 3999);
    EXPECT_GE(rate, 9);
    EXPECT_LE(rate, 56);
}

// The optical height at each true beat above the recording's lowest sample.
std::vector<int> BeatHeights(const CAdData& record, const std::vector<int16_t>& beats) {
    const int16_t* c = record.GetChannel2();
    const int low = *std::min_element(c, c + kSampleCount);
    std::vector<int> heights;
    for (const int16_t b : beats)
        heights.push_back(c[b] - low);
    return heights;
}

TEST(Generator, PulseFollowsTheOscillometricEnvelope) {
    const SynthRecording r = GenerateRecording(Options(Species::Rabbit, 11));
    const LoadedRecord l = LoadBytes(r.bytes);
    const std::vector<int> h = BeatHeights(*l.data, r.truth.beats);
    const int16_t* cuff = l.data->GetChannel1();
    int aboveSystolic = 0, nearMean = 0, belowDiastolic = 1 << 20;
    for (size_t k = 0; k < h.size(); ++k) {
        const int b = r.truth.beats[k];
        if (cuff[b] > r.truth.sbp + r.truth.sbp - r.truth.mbp)
            aboveSystolic = std::max(aboveSystolic, h[k]);
        else if (std::abs(b - r.truth.markerM) < 100)
            nearMean = std::max(nearMean, h[k]);
        else if (b > r.truth.markerD + 300)
            belowDiastolic = std::min(belowDiastolic, h[k]);
    }
    EXPECT_LT(aboveSystolic * 10, nearMean);
    EXPECT_GT(nearMean, 400);
    EXPECT_LT(belowDiastolic, nearMean * 3 / 4);
    EXPECT_GT(belowDiastolic, nearMean / 3);
}

// Half mmHg of cuff pressure, from `from` in steps of `step`, over which the envelope stays
// at or above `level`.
int WidthAbove(const CSignalModel& model, double from, double step, double level) {
    int width = 0;
    for (double p = from; p > 0 && p < 1000 && model.Envelope(p) >= level; p += step)
        ++width;
    return width;
}

TEST(Generator, EnvelopePeaksAtTheMeanRisesQuicklyAndFallsGradually) {
    SignalParameters p;
    p.sbp = 260, p.mbp = 200, p.dbp = 170;
    const CSignalModel model(p);
    double peak = 0, best = 0;
    for (double cuff = 100; cuff <= 300; cuff += 0.5) {
        if (model.Envelope(cuff) > best)
            best = model.Envelope(cuff), peak = cuff;
    }
    EXPECT_NEAR(peak, p.mbp, 1.0);
    EXPECT_NEAR(best, 1.0, 1e-9);
    EXPECT_LT(model.Envelope(p.sbp), model.Envelope(p.dbp));
    EXPECT_LT(model.Envelope(p.sbp + 1), 0.1); // sharp onset: nothing above the systolic
    // Below the systolic the pulse reaches 60 % of its largest height over a shorter
    // stretch of cuff pressure than it takes to fall back to it below the mean, and it
    // keeps a free pulse far below the diastolic.
    const double level = 0.6;
    EXPECT_LT(WidthAbove(model, p.mbp, 1.0, level), WidthAbove(model, p.mbp, -1.0, level));
    EXPECT_GT(model.Envelope(p.dbp - (p.sbp - p.dbp)), 0.5);
}

TEST(Generator, CleanLargeAnimalRecordingsGiveBothMethodsEnoughBeats) {
    constexpr int kSeeds = 20;
    for (const Species species : {Species::Rabbit, Species::Monkey, Species::Dog}) {
        int acceptedA = 0, acceptedE = 0;
        for (int seed = 1; seed <= kSeeds; ++seed) {
            const LoadedRecord l = LoadBytes(GenerateRecording(Options(species, seed)).bytes);
            ASSERT_TRUE(l.Loaded());
            AnalysisRecords records;
            records.AnalyzeBoth(*l.data);
            int16_t sbp, mbp, dbp;
            acceptedA += records.recordA.GetPressures(sbp, mbp, dbp) == 0;
            acceptedE += records.recordE.GetPressures(sbp, mbp, dbp) == 0;
            EXPECT_EQ(records.recordE.GetFlags() & kEFewBeatsTrimmed, 0)
                << SpeciesName(species) << " seed " << seed;
        }
        EXPECT_GE(acceptedA, kSeeds - 1) << SpeciesName(species);
        EXPECT_GE(acceptedE, kSeeds - 1) << SpeciesName(species);
    }
}

TEST(Generator, SpeciesGiveTheirIntervalsHeartRatesAndFamilies) {
    struct Case {
        Species species;
        int interval, low, high, modelCode;
    };
    const Case cases[] = {{Species::Mouse, 20, 450, 700, 0},  {Species::Rat, 40, 300, 450, 0},
                          {Species::Rabbit, 20, 150, 300, 1}, {Species::Monkey, 20, 150, 300, 1},
                          {Species::Dog, 40, 70, 160, 1},     {Species::Other, 100, 60, 180, 1}};
    for (const Case& c : cases) {
        for (uint64_t seed = 1; seed <= 4; ++seed) {
            const SynthRecording r = GenerateRecording(Options(c.species, seed));
            const LoadedRecord l = LoadBytes(r.bytes);
            ASSERT_TRUE(l.Loaded());
            EXPECT_EQ(l.data->GetSampleInterval(), c.interval);
            EXPECT_EQ(l.modelCode, c.modelCode);
            EXPECT_GE(r.truth.heartRate, c.low);
            EXPECT_LE(r.truth.heartRate, c.high);
            EXPECT_GE(l.data->GetSense(), 0);
        }
    }
}

TEST(Generator, SameOptionsSameBytesAndOverridesKeepTheRest) {
    const SynthOptions o = Options(Species::Dog, 42);
    EXPECT_EQ(GenerateRecording(o).bytes, GenerateRecording(o).bytes);
    EXPECT_NE(GenerateRecording(o).bytes, GenerateRecording(Options(Species::Dog, 43)).bytes);
    SynthOptions faster = o;
    faster.heartRate = 150;
    const SynthRecording a = GenerateRecording(o), b = GenerateRecording(faster);
    EXPECT_EQ(b.truth.heartRate, 150);
    EXPECT_EQ(a.truth.sbp, b.truth.sbp);
    EXPECT_EQ(a.truth.inflation, b.truth.inflation);
}

TEST(Generator, GivenPressuresAreUsedAndMeanIsDerived) {
    SynthOptions o = Options(Species::Mouse, 5);
    o.sbp = 2 * 120;
    o.dbp = 2 * 81;
    const SynthRecording r = GenerateRecording(o);
    EXPECT_EQ(r.truth.sbp, 240);
    EXPECT_EQ(r.truth.dbp, 162);
    EXPECT_EQ(r.truth.mbp, 162 + (78 + 1) / 3);
}

int RunsAbove(const int16_t* c, int level) {
    int runs = 0;
    for (int i = 0; i < kSampleCount; ++i)
        runs += c[i] > level && (i == 0 || c[i - 1] <= level);
    return runs;
}

TEST(Generator, FaultOptionsShowInTheChannels) {
    SynthOptions saturated = Options(Species::Mouse, 9);
    saturated.saturated = true;
    const LoadedRecord s = LoadBytes(GenerateRecording(saturated).bytes);
    const int16_t* c = s.data->GetChannel2();
    const int low = *std::min_element(c, c + kSampleCount);
    EXPECT_GT(RunsAbove(c, low + 1400), 8);
    EXPECT_EQ(*std::max_element(c, c + kSampleCount), 2047);

    SynthOptions flat = Options(Species::Rabbit, 9);
    flat.flatOptical = true;
    const SynthRecording f = GenerateRecording(flat);
    const LoadedRecord fl = LoadBytes(f.bytes);
    const int16_t* fc = fl.data->GetChannel2();
    EXPECT_TRUE(std::all_of(fc, fc + kSampleCount, [&](int16_t v) { return v == fc[0]; }));
    EXPECT_TRUE(f.truth.beats.empty());
    EXPECT_EQ(fl.data->GetBeatPositions()[0], 0);

    SynthOptions spikes = Options(Species::Dog, 9);
    spikes.spikes = 4;
    EXPECT_EQ(GenerateRecording(spikes).truth.spikes.size(), 4u);

    SynthOptions missing = Options(Species::Dog, 9);
    missing.missingBeats = 3;
    EXPECT_EQ(GenerateRecording(missing).truth.beats.size() + 3,
              GenerateRecording(Options(Species::Dog, 9)).truth.beats.size());
}

TEST(Generator, DeflationOptionsLeaveTheAcceptedRange) {
    for (const Species species :
         {Species::Mouse, Species::Rat, Species::Rabbit, Species::Monkey, Species::Dog}) {
        const int interval = SampleIntervalOf(species);
        const int slowLimit = interval == 20 ? 9 : 5, fastLimit = interval == 20 ? 56 : 28;
        SynthOptions slow = Options(species, 2), fast = Options(species, 2);
        slow.deflation = Deflation::TooSlow;
        fast.deflation = Deflation::TooFast;
        EXPECT_LT(GenerateRecording(slow).truth.deflationMmHgPerSecond, slowLimit);
        const SynthRecording r = GenerateRecording(fast);
        EXPECT_GT(r.truth.deflationMmHgPerSecond, fastLimit);
        EXPECT_LT(r.truth.releaseIndex, kSampleCount);
        const LoadedRecord l = LoadBytes(r.bytes);
        EXPECT_EQ(l.data->GetChannel1()[kSampleCount - 1], 0);
    }
}

TEST(Generator, DamagedFilesFailWithTheirMessages) {
    const std::pair<Damage, std::string> cases[] = {
        {Damage::Truncated, "  A/D Data unpack Error"},
        {Damage::CorruptCodes, "  A/D Dataが不足しています(ch1)"},
        {Damage::ShortChannel2, "  A/D Dataが不足しています(ch2)"},
        {Damage::OverlongChannel1, "  A/D Data unpack Error"},
    };
    for (const auto& [damage, message] : cases) {
        SynthOptions o = Options(Species::Rat, 4);
        o.damage = damage;
        const LoadedRecord l = LoadBytes(GenerateRecording(o).bytes);
        EXPECT_FALSE(l.Loaded());
        EXPECT_EQ(l.data->GetLastError(), message);
    }
}

TEST(Generator, IncompleteResultIsNotValid) {
    SynthOptions o = Options(Species::Dog, 6);
    o.incompleteResult = true;
    const LoadedRecord l = LoadBytes(GenerateRecording(o).bytes);
    ASSERT_TRUE(l.Loaded());
    EXPECT_FALSE(l.data->IsValid());
    int16_t sbp, mbp, dbp;
    l.data->GetStoredPressures(sbp, mbp, dbp);
    EXPECT_GT(sbp, 0);
    EXPECT_EQ(mbp, 0);
}

TEST(Generator, OptionChecksRejectImpossibleRecordings) {
    SynthOptions o;
    EXPECT_EQ(CheckSynthOptions(o), "");
    o.sbp = 200, o.dbp = 220;
    EXPECT_NE(CheckSynthOptions(o), "");
    o.dbp = 150, o.mbp = 210;
    EXPECT_NE(CheckSynthOptions(o), "");
    o = SynthOptions();
    o.mbp = 180;
    EXPECT_NE(CheckSynthOptions(o), "");
    o = SynthOptions();
    o.animalNo = "雄雄雄雄"; // 8 CP932 bytes fit
    EXPECT_EQ(CheckSynthOptions(o), "");
    o.animalNo = "雄雄雄雄雄";
    EXPECT_NE(CheckSynthOptions(o), "");
    o = SynthOptions();
    o.date = "2024/05/17";
    EXPECT_NE(CheckSynthOptions(o), "");
    o = SynthOptions();
    o.heartRate = 5;
    EXPECT_NE(CheckSynthOptions(o), "");
}

} // namespace
} // namespace mirado
