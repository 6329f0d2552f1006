#include "records/PressureAnalysisE.h"

#include <algorithm>

namespace mirado {

namespace {

constexpr int16_t kUpperPercent = 70;
constexpr int16_t kLowerPercent = 80;
constexpr int kZeroRunLength = 5; // cuff samples at 0 that end the active recording
constexpr int kPrefilterWidth = 10;

// Beat detection and the beats' levels.
constexpr int kDetectStart = 100;
constexpr int kDetectLag = 4;
constexpr int kTurnCount = 3; // consecutive rising (or falling) samples that count
constexpr int kInitialThreshold = 50;
constexpr int kMissAmplitude = 20;
constexpr int kMaxMisses = 20;
constexpr int kThresholdDecayShift = 3;
constexpr int kMinBeats = 4;
constexpr int kBrightLevel = 1300;    // optical level of a beat that is too bright ...
constexpr int kMaxBrightBeats = 1;    // ... when more beats than this reach it
constexpr int kVisibleBeatLevel = 50; // optical level of a beat that is seen

// Ratios, each as numerator and denominator of an integer division.
constexpr int kSpikeNumerator = 3, kSpikeDenominator = 2; // a beat above 3/2 of another
constexpr int kCloseNumerator = 5, kCloseDenominator = 9; // beats closer than 5/9 interval
constexpr int kStrongestLimit = 2;  // the strongest beat is below twice each neighbour
constexpr int kWeakBeatDivisor = 2; // a beat below half the strongest one is weak
constexpr int kCollapseFactor = 2;  // a spike is twice its neighbours; a collapse half
// The envelope: a beat below 2/3 of the highest so far is low; after a low stretch the
// amplitude must exceed 4/3 of the lowest beat, and above 4/5 of the highest it has
// risen again.
constexpr int kLowNumerator = 2, kLowDenominator = 3;
constexpr int kLowRiseNumerator = 4, kLowRiseDenominator = 3;
constexpr int kRenewedRiseNumerator = 4, kRenewedRiseDenominator = 5;

// List cleaning, trimming and envelope checks.
constexpr int kCleanPasses = 2;
constexpr int kMinRunBeforeGap = 12;
constexpr int kLowAmplitudeRun = 3;
constexpr int kWeakRunAfterStrongest = 2;
constexpr int kKeepMax = 64;
constexpr int kMinBeforeStrongest = 2;
constexpr int kMinTrimmedBeats = 10;
constexpr int kRiseThresholdPercent = 75;
constexpr int kFallThresholdPercent = 90;
constexpr int kMinBeatsAfterPeak = 3;
constexpr int kLateStartPercent = 80;
constexpr int kLateAmplitudePercent = 75;

// Pressure checks.
constexpr int kSuddenFallFirst = 300;
constexpr int kSuddenFallStep = 100;
constexpr int kSuddenFallLimit = 100;
constexpr int kMinFallPerBeat = 2;
constexpr int kMaxFallPerBeat = 24;
constexpr int kMarkerStep = 10; // samples between the points where the fit is read
constexpr int kMinSmDrop = 10;
constexpr int kMinSdDrop = 20;
constexpr int kMinSmDropClear = 20;

constexpr uint16_t kCode1Flags = kEIrregular | kECollapse;
constexpr uint16_t kCode2Flags = kEEnvelope | kEFewBeatsBeforeStrongest | kEFewBeatsTrimmed;
constexpr uint16_t kCode3Flags = kETooFewFitPoints | kENoMaximum | kEMaximumLate;
constexpr uint16_t kCode4Flags = kESuddenFall | kEFallPerBeat;

int Percent(int value, int percent) {
    return value * percent / 100;
}

} // namespace

int16_t ResultCodeE(uint16_t flags) {
    if (flags & kCode1Flags)
        return kResultIrregular;
    if (flags & kEBright)
        return kResultHi;
    if (flags & kCode2Flags)
        return kResultFewBeats;
    if (flags & kCode3Flags)
        return kResultNoFit;
    if (flags & kEFewBeats)
        return kResultLo;
    if (flags & kCode4Flags)
        return kResultDeflation;
    return kResultOk;
}

void CPressureAnalysisE::Analyze() {
    Prepare();
    FindMarkers();
    MarkerPressures();
    FillFittedCurve();
}

void CPressureAnalysisE::SetMarkerM(int16_t index) {
    markerM_ = index;
    MarkerPressures();
}

void CPressureAnalysisE::SetMarkerS(int16_t index) {
    markerS_ = index;
    MarkerPressures();
}

int CPressureAnalysisE::BeatCount() const {
    return CountBeats(beats_.data());
}

int16_t CPressureAnalysisE::LastBeat() const {
    const int count = BeatCount();
    return count > 0 ? beats_[count - 1] : 0;
}

// Optical value at beat k; the terminating 0 of the list reads optical sample 0.
int16_t CPressureAnalysisE::BeatValue(int k) const {
    return SampleAt(channel2_.data(), beats_[std::clamp(k, 0, kBeatCapacity - 1)]);
}

int16_t CPressureAnalysisE::Fitted(int x) const {
    return EvaluateFit(fit_, Wrap16(x));
}

// First index of five consecutive cuff samples at 0, or the channel length.
int CPressureAnalysisE::ActivePressureLength() const {
    int zeros = 0;
    for (int i = 0; i < kSampleCount; ++i) {
        zeros = channel1_[i] == 0 ? zeros + 1 : 0;
        if (zeros == kZeroRunLength)
            return i + 1 - kZeroRunLength;
    }
    return kSampleCount;
}

int16_t CPressureAnalysisE::BeatAmplitude(int k) const {
    if (k <= 0)
        return std::min(BeatValue(0), BeatValue(1));
    if (k + 1 >= kBeatCapacity || beats_[k + 1] == 0)
        return std::min(BeatValue(k), BeatValue(k - 1));
    const int before = BeatValue(k - 1);
    const int at = BeatValue(k);
    const int after = BeatValue(k + 1);
    const int mean = (before + at + after) / 3;
    const int top = std::max({before, at, after});
    const auto spikesOver = [](int high, int low) {
        return high > kSpikeNumerator * low / kSpikeDenominator;
    };
    if (before == top)
        return Wrap16(spikesOver(top, at) ? (after + at) / 2 : mean);
    if (at == top)
        return Wrap16(spikesOver(top, before) || spikesOver(top, after) ? (before + after) / 2
                                                                        : mean);
    return Wrap16(spikesOver(top, at) ? (before + at) / 2 : mean);
}

void CPressureAnalysisE::Prepare() {
    upperPercent_ = kUpperPercent;
    lowerPercent_ = kLowerPercent;
    const int n = ActivePressureLength();
    int mean = 0;
    if (n - 1 > 0) {
        int sum = 0;
        for (int i = 0; i < n - 1; ++i)
            sum += channel2_[i];
        mean = sum / (n - 1);
    }
    for (int16_t& sample : channel2_)
        sample = Wrap16(sample - mean);
}

void CPressureAnalysisE::Prefilter() {
    const int n = ActivePressureLength();
    int mean = 0;
    if (n > 0) {
        int sum = 0;
        for (int i = 0; i < n; ++i)
            sum += channel2_[i];
        mean = sum / n;
    }
    std::array<int16_t, kSampleCount> centred{};
    for (int i = 0; i < kSampleCount; ++i)
        centred[i] = Wrap16(channel2_[i] - mean);
    for (int i = 0; i < kSampleCount; ++i) {
        int sum = 0;
        for (int k = 0; k < kPrefilterWidth; ++k)
            sum += SampleAt(centred.data(), i - k);
        channel2_[i] = Wrap16(sum);
    }
}

// The steps of method E: beats, their list cleaned and trimmed around the strongest,
// the checks of envelope and cuff, the fitted amplitudes and the three markers on them.
void CPressureAnalysisE::FindMarkers() {
    flags_ = 0;
    beats_.fill(0);
    DetectBeats();
    if (BeatCount() < kMinBeats) {
        GiveUpForTooFewBeats();
        return;
    }
    if (CountBeatsAbove(kBrightLevel) > kMaxBrightBeats)
        flags_ |= kEBright;
    CleanBeats();
    const int strongest = TrimAroundStrongestBeat();
    CheckEnvelope();
    CheckRiseAndFall(strongest, BeatCount());
    CheckSuddenFall();
    ComputeFallPerBeat();
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);

    const int lastFitted = FitAmplitudes();
    const FitPeak peak = FindFitPeak(lastFitted);
    CheckLateStart(peak.at, peak.value);
    const int16_t s = FindMarkerS(peak);
    const int16_t d = FindMarkerD(peak, s, lastFitted);
    if (CountBeatsAbove(kVisibleBeatLevel) < kMinBeats)
        flags_ |= kEFewBeats;
    CheckFinalIntervals();
    StoreMarkers(s, peak.at, d);
    resultCode_ = ResultCodeE(flags_);
}

void CPressureAnalysisE::GiveUpForTooFewBeats() {
    flags_ |= kEFewBeats;
    markerS_ = 0;
    markerM_ = 0;
    markerD_ = 0;
    resultCode_ = ResultCodeE(flags_);
}

int CPressureAnalysisE::CountBeatsAbove(int level) const {
    int count = 0;
    for (int k = 0; k < kBeatCapacity && beats_[k] != 0; ++k)
        count += BeatValue(k) > level ? 1 : 0;
    return count;
}

void CPressureAnalysisE::CleanBeats() {
    for (int pass = 0; pass < kCleanPasses; ++pass)
        CleanBeatList();
    CheckIntervalRuns();
}

// Keeps the beats from the start of the rise before the strongest beat to the end of
// its fall (at most 64) and returns the strongest beat's index in the trimmed list.
int CPressureAnalysisE::TrimAroundStrongestBeat() {
    const int strongest = FindStrongestBeat();
    const int weak = BeatAmplitude(strongest) / kWeakBeatDivisor;
    const int start = FindStart(strongest, weak);
    const int before = strongest - start;
    if (before < kMinBeforeStrongest)
        flags_ |= kEFewBeatsBeforeStrongest;
    const int keep = std::min(std::max(strongest + before, FindEnd(strongest, weak)), kKeepMax);
    Trim(start, keep);
    if (BeatCount() < kMinTrimmedBeats)
        flags_ |= kEFewBeatsTrimmed;
    return before;
}

// Fits the cubic to the beats' amplitudes; returns the last fitted beat position.
int CPressureAnalysisE::FitAmplitudes() {
    const int points = PrepareFitPoints();
    FitCubic(fit_, points, flags_);
    return points > 0 ? beats_[points - 1] : 0;
}

// Where the fit peaks and its value there. A rising cubic has its maximum at the
// turning point (kept at 0 with the first beat's amplitude when that lies at or before
// the first beat); any other fit is read every 10 samples from the second beat on.
CPressureAnalysisE::FitPeak CPressureAnalysisE::FindFitPeak(int lastFitted) {
    if (fit_.c[3] > 0) {
        FitPeak peak{0, BeatAmplitude(0)};
        const int e = FitMaximum(fit_);
        if (e < 1) {
            flags_ |= kENoMaximum;
            return peak;
        }
        if (e > beats_[0])
            peak = {Wrap16(e), Fitted(Wrap16(e))};
        if (e > lastFitted)
            flags_ |= kEMaximumLate;
        return peak;
    }
    FitPeak peak{beats_[1], 0};
    for (int x = beats_[1]; x < lastFitted; x += kMarkerStep) {
        const int16_t f = Fitted(x);
        if (f > peak.value)
            peak = {Wrap16(x), f};
    }
    return peak;
}

// Marker S: the first point before the peak where the fit exceeds 70 % of the peak
// value; the first beat when there is none.
int16_t CPressureAnalysisE::FindMarkerS(const FitPeak& peak) const {
    for (int x = beats_[0]; x < peak.at; x += kMarkerStep) {
        if (Fitted(x) > Percent(peak.value, upperPercent_))
            return Wrap16(x);
    }
    return beats_[0];
}

// Marker D: the first point after the peak where the fit falls below 80 % of the peak
// value. When it never does, the envelope is flagged and D lies as far after M as half
// the distance from S to M.
int16_t CPressureAnalysisE::FindMarkerD(const FitPeak& peak, int16_t s, int lastFitted) {
    for (int x = peak.at; x < lastFitted; x += kMarkerStep) {
        if (Fitted(x) < Percent(peak.value, lowerPercent_))
            return Wrap16(x);
    }
    flags_ |= kEEnvelope;
    return Wrap16(peak.at - ((s - peak.at) >> 1));
}

void CPressureAnalysisE::DetectBeats() {
    const int16_t* c = channel2_.data();
    int minimum = INT16_MAX;
    int maximum = INT16_MIN;
    int peak = 0;
    int rise = 0;
    int fall = 0;
    int threshold = kInitialThreshold;
    int misses = 0;
    int count = 0;
    for (int j = kDetectStart; j < kSampleCount; ++j) {
        const int16_t s = Wrap16(c[j] - c[j - kDetectLag]);
        if (c[j] < minimum)
            minimum = c[j];
        if (c[j] > maximum) {
            maximum = c[j];
            minimum = c[j];
            peak = j;
        }
        if (s > 0 && ++rise >= kTurnCount)
            fall = 0;
        if (s < 0 && ++fall >= kTurnCount) {
            rise = 0;
            continue;
        }
        if (rise != kTurnCount)
            continue;
        const int16_t amplitude = Wrap16(maximum - minimum);
        if (amplitude >= threshold) {
            if (count < kBeatCapacity - 1) // the list keeps its first 99 beats and a 0
                beats_[count++] = Wrap16(peak);
            threshold = std::max(amplitude / 2, kInitialThreshold);
            misses = 0;
        } else if (amplitude > kMissAmplitude) {
            threshold -= threshold >> kThresholdDecayShift;
            if (++misses == kMaxMisses) {
                misses = 0;
                threshold = kInitialThreshold;
            }
        }
        minimum = INT16_MAX;
        maximum = INT16_MIN;
    }
}

// Keeps the higher of two beats closer than 5/9 of the mean interval, and drops the
// beats before a gap longer than three mean intervals while fewer than 12 were taken.
void CPressureAnalysisE::CleanBeatList() {
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);
    const int mean = meanInterval_;
    std::array<int16_t, kBeatCapacity> cleaned{};
    int taken = 0;
    int m = 0;
    while (m < kBeatCapacity && beats_[m] != 0) {
        const int b = beats_[m];
        const int n = m + 1 < kBeatCapacity ? beats_[m + 1] : 0;
        const int d = n != 0 ? n - b : mean;
        if (d < kCloseNumerator * mean / kCloseDenominator) {
            if (SampleAt(channel2_.data(), b) > SampleAt(channel2_.data(), n)) {
                cleaned[taken++] = Wrap16(b);
                ++m; // the lower neighbour is skipped
            }
        } else if (d > kGapIntervals * mean) {
            if (taken < kMinRunBeforeGap)
                taken = 0;
            else
                cleaned[taken++] = Wrap16(b);
        } else {
            cleaned[taken++] = Wrap16(b);
        }
        ++m;
    }
    std::fill(cleaned.begin() + taken, cleaned.end(), 0);
    beats_ = cleaned;
}

void CPressureAnalysisE::CheckIntervalRuns() {
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);
    const int limit = kGapIntervals * meanInterval_;
    int run = 0;
    for (int m = 0; m + 1 < kBeatCapacity && beats_[m] != 0 && beats_[m + 1] != 0; ++m) {
        const int16_t d = Wrap16(beats_[m + 1] - beats_[m]);
        if (d <= limit) {
            ++run;
            continue;
        }
        flags_ |= kEIrregular;
        if (run >= kMinRunBeforeGap) {
            std::fill(beats_.begin() + m + 1, beats_.end(), 0);
            break;
        }
        run = 0;
    }
    if (run < kMinRunBeforeGap)
        flags_ |= kEIrregular;
}

// The last beat at least as high as every earlier candidate and less than twice each
// neighbour (the first beat has no predecessor to compare with).
int CPressureAnalysisE::FindStrongestBeat() const {
    int strongest = 0;
    int best = INT16_MIN;
    for (int k = 0; k < kBeatCapacity && beats_[k] != 0; ++k) {
        const int v = BeatValue(k);
        const bool belowBefore = k == 0 || v < kStrongestLimit * BeatValue(k - 1);
        if (v >= best && belowBefore && v < kStrongestLimit * BeatValue(k + 1)) {
            strongest = k;
            best = v;
        }
    }
    return strongest;
}

// The beat before the first strong beat that follows three or more weak ones, else 0.
int CPressureAnalysisE::FindStart(int strongest, int half) const {
    int weak = 0;
    for (int k = 0; k < strongest; ++k) {
        if (BeatAmplitude(k) <= half) {
            ++weak;
        } else if (weak >= kLowAmplitudeRun) {
            return std::max(k - 1, 0);
        } else {
            weak = 0;
        }
    }
    return 0;
}

// The second of two consecutive weak beats after the strongest, or the list's end.
int CPressureAnalysisE::FindEnd(int strongest, int half) const {
    int weak = 0;
    int e = strongest;
    for (; e < kBeatCapacity && beats_[e] != 0; ++e) {
        if (BeatAmplitude(e) >= half)
            weak = 0;
        else if (++weak == kWeakRunAfterStrongest)
            break;
    }
    return e;
}

void CPressureAnalysisE::Trim(int start, int keep) {
    int n = 0;
    for (int i = start; n < keep && i < kBeatCapacity && beats_[i] != 0; ++i)
        beats_[n++] = beats_[i];
    std::fill(beats_.begin() + n, beats_.end(), 0);
}

// The amplitudes must rise to one maximum and fall once: a renewed rise after a low
// stretch marks the envelope.
void CPressureAnalysisE::CheckEnvelope() {
    int16_t top = INT16_MIN;
    int16_t best = INT16_MIN;
    int16_t low = INT16_MAX;
    int lowRun = 0;
    for (int k = 0; k < kBeatCapacity && beats_[k] != 0; ++k) {
        const int16_t a = BeatAmplitude(k);
        if (a > top)
            top = a;
        if (a > best) {
            best = a;
            if (low != INT16_MAX && a > kRenewedRiseNumerator * top / kRenewedRiseDenominator) {
                flags_ |= kEEnvelope;
                return;
            }
        }
        if (a < kLowNumerator * top / kLowDenominator) {
            if (++lowRun >= kLowAmplitudeRun && a < low) {
                low = a;
                best = Wrap16(kLowRiseNumerator * a / kLowRiseDenominator);
            }
        } else {
            lowRun = 0;
        }
    }
}

void CPressureAnalysisE::CheckRiseAndFall(int strongest, int count) {
    const int peak = BeatValue(strongest);
    int lowBefore = 0;
    for (int k = 0; k < strongest && k < kBeatCapacity; ++k)
        lowBefore += BeatValue(k) < Percent(peak, kRiseThresholdPercent) ? 1 : 0;
    int lowAfter = 0;
    for (int k = strongest + 1; k < count; ++k)
        lowAfter += BeatValue(k) < Percent(peak, kFallThresholdPercent) ? 1 : 0;
    if (count == 0 || lowBefore == 0 || lowAfter < kMinBeatsAfterPeak)
        flags_ |= kEEnvelope;
}

void CPressureAnalysisE::CheckSuddenFall() {
    const int last = LastBeat();
    for (int q = std::max<int>(beats_[0], kSuddenFallFirst); q < last; q += kSuddenFallStep) {
        if (Wrap16(CuffAt(q - kSuddenFallStep) - CuffAt(q)) > kSuddenFallLimit)
            flags_ |= kESuddenFall;
    }
}

// Mean cuff fall from beat to beat, kept where variant A keeps the optical base.
void CPressureAnalysisE::ComputeFallPerBeat() {
    const int count = BeatCount();
    opticalBase_ = 0;
    if (count < 2)
        return;
    int sum = 0;
    for (int k = 0; k + 1 < count; ++k)
        sum += Wrap16(CuffAt(beats_[k]) - CuffAt(beats_[k + 1]));
    opticalBase_ = Wrap16(sum / (count - 1));
    if (opticalBase_ < kMinFallPerBeat || opticalBase_ > kMaxFallPerBeat)
        flags_ |= kEFallPerBeat;
}

// One fit point per beat (the first 50 when there are more), watching for a beat that
// collapses after a spike.
int CPressureAnalysisE::PrepareFitPoints() {
    const int count = BeatCount();
    bool spikeSeen = false;
    for (int k = 0; k < count; ++k) {
        if (k < kFitCapacity) {
            fit_.x[k] = beats_[k];
            fit_.y[k] = BeatAmplitude(k);
        }
        if (k < 1 || k + 2 >= kBeatCapacity || beats_[k + 1] == 0 || beats_[k + 2] == 0)
            continue;
        const int before = BeatValue(k - 1);
        const int at = BeatValue(k);
        const int after = BeatValue(k + 1);
        if (after > kCollapseFactor * before && after > kCollapseFactor * at)
            spikeSeen = true;
        if (spikeSeen && kCollapseFactor * after < at && kCollapseFactor * after < before)
            flags_ |= kECollapse;
    }
    return std::min(count, kFitCapacity);
}

void CPressureAnalysisE::CheckLateStart(int16_t m, int16_t fm) {
    int j = 0; // the first beat at or after M
    while (j < kBeatCapacity && beats_[j] != 0 && beats_[j] < m)
        ++j;
    const int reference = Percent(BeatAmplitude(std::max(j - 1, 0)), kLateAmplitudePercent);
    if (Fitted(beats_[0]) > Percent(fm, kLateStartPercent) &&
        (BeatAmplitude(0) > reference || BeatAmplitude(1) > reference))
        flags_ |= kEEnvelope;
}

void CPressureAnalysisE::CheckFinalIntervals() {
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);
    const int mean = meanInterval_;
    for (int m = 0; m + 1 < kBeatCapacity && beats_[m] != 0 && beats_[m + 1] != 0; ++m) {
        if (beats_[m + 1] - beats_[m] > kGapIntervals * mean && m > kLeadingIntervals)
            flags_ |= kEIrregular;
    }
}

// Stores the three markers after checking the cuff pressures read at them.
void CPressureAnalysisE::StoreMarkers(int16_t s, int16_t m, int16_t d) {
    const int atS = CuffAt(s);
    const int atM = CuffAt(m);
    const int atD = CuffAt(d);
    if (atS - atM < kMinSmDrop || atS - atD < kMinSdDrop)
        flags_ |= kECollapse;
    if (atS - atM < kMinSmDropClear)
        flags_ |= kEEnvelope;
    markerS_ = s;
    markerM_ = m;
    markerD_ = d;
}

void CPressureAnalysisE::MarkerPressures() {
    sbp_ = CuffAt(markerS_);
    mbp_ = CuffAt(markerM_);
    dbp_ = Wrap16(mbp_ - ((sbp_ - mbp_) >> 1));
}

void CPressureAnalysisE::FillFittedCurve() {
    fittedCurve_.fill(kUndefinedCurveValue);
    const int first = beats_[0];
    const int last = LastBeat();
    fittedSpan_ = last - first;
    for (int index = std::max(first, 0); index < last; ++index)
        fittedCurve_[index] = Fitted(index);
}

} // namespace mirado
