#include "records/MethodA.h"

#include "records/AnalysisArithmetic.h"

#include <algorithm>

namespace mirado {

namespace {

// Sample intervals (0.1 ms) the method knows, and their refractory counts (samples).
constexpr int16_t kRefractoryShort = 18;
constexpr int16_t kRefractoryLong = 30;

// Beat detection.
constexpr int kSlopeStart = 100; // first sample with a full slope window
constexpr int kSlopeFarLag = 10; // slope: c[j] + c[j-1] - c[j-9] - c[j-10]
constexpr int kSlopeNearLag = 9;
constexpr int kThresholdShift = 3; // threshold = largest slope / 8
constexpr int kThresholdMin = 30;
constexpr int kThresholdMax = 400;
constexpr int kInitialSinceBeat = 100;
constexpr int16_t kSaturation = 1400;  // optical level treated as saturated
constexpr int kOffsetSearchEnd = 3990; // the offset is the lowest of samples 0..3989

// Grading.
constexpr int kMaxSaturatedRuns = 8;
constexpr int kPruneRatio = 3;     // a beat below a third of the last kept one is dropped
constexpr int kPruneDistance = 80; // ... unless it lies further away than this
constexpr int kGapMinimum = 100;
constexpr int kRegularRunEnd = 8;
constexpr int kStartBackDistance = 400;
constexpr int kFullListLength = 32;
constexpr int kMinCutLength = 10;
constexpr int kCutMultiplier = 2;
constexpr int kCutOffset = 4;

// Deflation rate (mmHg per second) and its limits per sample interval.
constexpr int kDeflationMinLength = 500;
constexpr int kDeflationEndOffset = 5;
constexpr int kLowEndPressure = 80;
constexpr int kLowSamplePressure = 81;
constexpr int kRateScale = 500;
constexpr int kSlowRate4ms = 5;
constexpr int kFastRate4ms = 28;
constexpr int kSlowRate2ms = 9;
constexpr int kFastRate2ms = 56;

// Fit points and markers.
constexpr int kFitThresholdOffset = 20;
constexpr int kFitThresholdMin = 20;
constexpr int kMaxPreparedPoints = 40;
constexpr int kSearchStep = 20;
constexpr int kAmplitudeThreshold = 80;
constexpr int kMinStrongRun = 6;
constexpr int kMinBeatsAfterM = 6;
constexpr int kMinStrongestIndex = 2;
constexpr int16_t kEarliestFirstBeat = 150;
constexpr int kWeakPulseRise = 100;
constexpr int kRegularCv = 15;
constexpr int kMinPressureDrop = 10;

constexpr uint16_t kCode4Flags = kADeflationSlow | kADeflationFast;
constexpr uint16_t kCode1Flags = kAIrregular | kASaturated;
constexpr uint16_t kCode2Flags = kAFewBeatsBeforeM | kAFewBeatsAfterM;
constexpr uint16_t kCode3Flags = kATooFewFitPoints | kANoMaximum | kAMarkerImplausible;

} // namespace

int16_t ResultCodeA(uint16_t flags) {
    if (flags & kCode4Flags)
        return kResultDeflation;
    if (flags & kASaturatedRuns)
        return kResultHi;
    if (flags & kAWeakPulse)
        return kResultLo;
    if (flags & kCode1Flags)
        return kResultIrregular;
    if (flags & kCode2Flags)
        return kResultFewBeats;
    if (flags & kCode3Flags)
        return kResultNoFit;
    return kResultOk;
}

void CMethodA::Run(const int16_t* channel1, const int16_t* channel2, int16_t sampleInterval) {
    SetSampleInterval(sampleInterval);
    SetRefractoryCount();
    CopyChannels(channel1, channel2);
    // The offset removal depends on this recording's pressure length, so it is known
    // before that step rather than left from the previous recording.
    ComputePressureLength();
    RemoveOpticalOffset();
    DetectBeats();
    GradeAndPlace();
    PressuresAtMarkers();
    BuildFittedCurve();
}

void CMethodA::SetRefractoryCount() {
    if (sampleInterval_ == kInterval2ms || sampleInterval_ == kInterval10ms)
        refractory_ = kRefractoryLong;
    else if (sampleInterval_ == kInterval4ms)
        refractory_ = kRefractoryShort;
}

void CMethodA::CopyChannels(const int16_t* channel1, const int16_t* channel2) {
    std::copy_n(channel1, kSampleCount, pressure_.begin());
    std::copy_n(channel2, kSampleCount, optical_.begin());
}

void CMethodA::ComputePressureLength() {
    const int16_t last = pressure_[kSampleCount - 1];
    int length = kSampleCount - 1;
    while (length > 0 && pressure_[length - 1] == last)
        --length;
    pressureLength_ = Wrap16(length);
}

void CMethodA::RemoveOpticalOffset() {
    if (pressureLength_ <= 0)
        return;
    const int16_t lowest = *std::min_element(optical_.begin(), optical_.begin() + kOffsetSearchEnd);
    for (int16_t& sample : optical_)
        sample = Wrap16(sample - lowest);
}

int CMethodA::BeatCount() const {
    return CountBeats(beats_.data());
}

int16_t CMethodA::LastBeat() const {
    const int count = BeatCount();
    return count > 0 ? beats_[count - 1] : 0;
}

int16_t CMethodA::PressureAverage(int index) const {
    return Average4(pressure_.data(), index);
}

int16_t CMethodA::OpticalAverage(int index) const {
    return Average4(optical_.data(), index);
}

int16_t CMethodA::Slope(int j) const {
    return Wrap16(optical_[j] + optical_[j - 1] - optical_[j - kSlopeNearLag] -
                  optical_[j - kSlopeFarLag]);
}

void CMethodA::DetectBeats() {
    beats_.fill(0);
    std::array<int16_t, kSampleCount> slopes{};
    int largest = 0;
    for (int j = kSlopeStart; j < kSampleCount; ++j) {
        slopes[j] = Slope(j);
        largest = std::max<int>(largest, slopes[j]);
    }
    const int threshold = std::clamp(largest >> kThresholdShift, kThresholdMin, kThresholdMax);

    int count = 0;
    int sinceBeat = kInitialSinceBeat;
    bool armed = false;
    for (int j = kSlopeStart; j < kSampleCount; ++j) {
        const int s = slopes[j];
        if (s >= threshold && sinceBeat >= refractory_ && !armed) {
            if (count < kBeatCapacity - 1) // the list keeps its first 99 beats and a 0
                beats_[count++] = Wrap16(j);
            sinceBeat = 0;
            armed = true;
        }
        if (s < threshold && -s > (threshold >> 1))
            armed = false;
        ++sinceBeat;
    }
    MoveBeatsToPeaks();
}

// Each beat with a successor moves to the first sample before the successor whose value,
// capped at the saturation level, exceeds the (uncapped) value of the current candidate.
void CMethodA::MoveBeatsToPeaks() {
    for (int m = 0; m + 1 < kBeatCapacity && beats_[m + 1] != 0; ++m) {
        int candidate = beats_[m];
        int16_t candidateValue = SampleAt(optical_.data(), candidate);
        for (int i = beats_[m]; i < beats_[m + 1]; ++i) {
            const int16_t value = SampleAt(optical_.data(), i);
            if (std::min(value, kSaturation) > candidateValue) {
                candidate = i;
                candidateValue = value;
            }
        }
        beats_[m] = Wrap16(candidate);
    }
}

void CMethodA::GradeAndPlace() {
    ComputePressureLength();
    flags_ = 0;
    ScanSaturation();
    PruneSmallBeats();
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);
    int start = FindStartAfterLastGap();
    if (start > 0)
        start = MoveStartBack(start);
    ShiftToStartAndCut(std::max(start, 0));
    CheckDeflationRate();
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);
    const int fitCount = PrepareFitPoints();
    std::fill(beats_.begin() + fitCount, beats_.end(), 0);
    FitCubic(fit_, fitCount - 1, flags_);
    PlaceMarkerM();
    FindOpticalBase();
    GradeBeatsAroundM(fitCount);
    CheckIrregularIntervals();
    ComputeIntervalStatistics();
    markerS_ = beats_[0];
    CheckMarkerPressures();
    resultCode_ = ResultCodeA(flags_);
}

void CMethodA::ScanSaturation() {
    int runs = 0;
    bool inRun = false;
    for (const int16_t sample : optical_) {
        const bool saturated = sample > kSaturation;
        if (saturated) {
            flags_ |= kASaturated;
            if (!inRun)
                ++runs;
        }
        inRun = saturated;
    }
    if (runs > kMaxSaturatedRuns)
        flags_ |= kASaturatedRuns;
}

void CMethodA::PruneSmallBeats() {
    int kept = 1; // beat 0 is always kept
    for (int i = 1; i < kBeatCapacity && beats_[i] != 0; ++i) {
        const int b = beats_[i];
        const int a = beats_[kept - 1];
        if (SampleAt(optical_.data(), b) > SampleAt(optical_.data(), a) / kPruneRatio ||
            b - a > kPruneDistance)
            beats_[kept++] = Wrap16(b);
    }
    std::fill(beats_.begin() + kept, beats_.end(), 0);
}

// Index of the first beat after the last gap, -1 when the walk finds none. Meeting the
// end of the list before a run of regular intervals marks the intervals irregular.
int CMethodA::FindStartAfterLastGap() {
    const int twiceMean = Wrap16(2 * meanInterval_);
    int start = -1;
    int regular = 0;
    for (int m = 0;; ++m) {
        if (m + 1 >= kBeatCapacity || (beats_[m] == 0 && beats_[m + 1] == 0)) {
            flags_ |= kAIrregular;
            break;
        }
        const int d = beats_[m + 1] - beats_[m];
        if (d > twiceMean && d > kGapMinimum) {
            start = m + 1;
            regular = 0;
        } else if (++regular > kRegularRunEnd) {
            break;
        }
    }
    return start;
}

// Moves the start back over regular beats that lie close before it.
int CMethodA::MoveStartBack(int start) const {
    const int limit = RegularIntervalLimit(meanInterval_);
    int regular = 0;
    int moved = start;
    for (int n = start; n >= 1; --n) {
        if (beats_[n] - beats_[n - 1] < limit)
            ++regular;
        else
            regular = 0;
        if (beats_[start] - beats_[n - 1] < kStartBackDistance && regular >= 2)
            moved = n - 1;
    }
    return moved;
}

void CMethodA::ShiftToStartAndCut(int start) {
    int count = 0;
    int strongest = 0;
    for (int i = start; i < kBeatCapacity && beats_[i] != 0; ++i, ++count) {
        beats_[count] = beats_[i];
        if (SampleAt(optical_.data(), beats_[count]) >=
            SampleAt(optical_.data(), beats_[strongest]))
            strongest = count;
    }
    std::fill(beats_.begin() + count, beats_.end(), 0);
    int length = std::max(kCutMultiplier * strongest + kCutOffset, strongest + kMinCutLength);
    if (count >= kFullListLength)
        length = kFullListLength;
    if (length < kBeatCapacity)
        std::fill(beats_.begin() + length, beats_.end(), 0);
}

void CMethodA::CheckDeflationRate() {
    if (pressureLength_ <= kDeflationMinLength)
        return;
    const int end = pressureLength_ - kDeflationEndOffset;
    const int16_t p0 = PressureAverage(1);
    int16_t p1 = PressureAverage(end);
    auto duration =
        static_cast<uint16_t>((sampleInterval_ / kIntervalUnitsPerMs) * pressureLength_);
    if (p1 < kLowEndPressure) {
        int i = 1;
        while (i < end && pressure_[i] >= kLowSamplePressure)
            ++i;
        p1 = PressureAverage(i);
        duration = static_cast<uint16_t>((sampleInterval_ / kIntervalUnitsPerMs) * i);
    }
    // A cuff whose pressure does not fall at all counts as rate 0.
    uint16_t rate = 0;
    if (p1 < p0 && duration != 0)
        rate = static_cast<uint16_t>(static_cast<uint16_t>(p0 - p1) * kRateScale / duration);
    if (sampleInterval_ == kInterval4ms) {
        if (rate < kSlowRate4ms)
            flags_ |= kADeflationSlow;
        if (rate > kFastRate4ms)
            flags_ |= kADeflationFast;
    } else if (sampleInterval_ == kInterval2ms) {
        if (rate < kSlowRate2ms)
            flags_ |= kADeflationSlow;
        if (rate > kFastRate2ms)
            flags_ |= kADeflationFast;
    }
}

// Prepares the fit points and returns their count: point 0 one mean interval before
// beat 0, then a three-beat mean per beat while the cuff stays above the threshold.
int CMethodA::PrepareFitPoints() {
    const int16_t* c = optical_.data();
    int threshold = PressureAverage(beats_[0]) / 2 - kFitThresholdOffset;
    threshold = std::max(threshold, kFitThresholdMin);
    const int x0 = beats_[0] - meanInterval_;
    const int y0 = OpticalAverage(x0);
    fit_.x[0] = static_cast<float>(x0);
    fit_.y[0] = static_cast<float>(y0);
    fit_.x[1] = beats_[0];
    fit_.y[1] = static_cast<float>((y0 + SampleAt(c, beats_[0]) + SampleAt(c, beats_[1])) / 3);
    for (int j = 1; j < kMaxPreparedPoints; ++j) {
        if (beats_[j + 1] == 0 || PressureAverage(beats_[j + 1]) < threshold)
            return j + 1;
        fit_.x[j + 1] = beats_[j];
        fit_.y[j + 1] = static_cast<float>(
            (SampleAt(c, beats_[j - 1]) + SampleAt(c, beats_[j]) + SampleAt(c, beats_[j + 1])) / 3);
    }
    return kMaxPreparedPoints;
}

void CMethodA::PlaceMarkerM() {
    const int16_t last = LastBeat();
    if (fit_.c[3] > 0) {
        const int e = FitMaximum(fit_);
        if (e < 1) {
            flags_ |= kANoMaximum;
            markerM_ = 0;
            return;
        }
        markerM_ = e > beats_[0] ? Wrap16(e) : int16_t{0};
        if (e > last)
            flags_ |= kAMarkerImplausible;
        return;
    }
    markerM_ = beats_[1];
    int16_t best = 0;
    for (int x = beats_[1]; x < last; x += kSearchStep) {
        const int16_t v = EvaluateFit(fit_, Wrap16(x));
        if (v > best) {
            best = v;
            markerM_ = Wrap16(x);
        }
    }
}

void CMethodA::FindOpticalBase() {
    if (beats_[0] <= 0) {
        opticalBase_ = 0;
        return;
    }
    const int end = std::min<int>(beats_[0], kSampleCount);
    opticalBase_ = *std::min_element(optical_.begin(), optical_.begin() + end);
}

void CMethodA::GradeBeatsAroundM(int fitCount) {
    int run = 0;
    int longest = 0;
    int lastBeforeM = -1; // p: one less than the list index of the last beat at or before M
    int strongestBeforeM = 0;
    bool anyBeforeM = false;
    int strongestValue = 0;
    for (int k = 0; k < kBeatCapacity && beats_[k] != 0; ++k) {
        const int v = SampleAt(optical_.data(), beats_[k]);
        if (v - opticalBase_ > kAmplitudeThreshold) {
            longest = std::max(longest, ++run);
        } else {
            run = 0;
        }
        if (beats_[k] <= markerM_) {
            lastBeforeM = k - 1;
            if (!anyBeforeM || v > strongestValue) {
                strongestValue = v;
                strongestBeforeM = k;
            }
            anyBeforeM = true;
        }
    }
    const bool checksBeforeM = sampleInterval_ != kInterval10ms;
    // Without a beat at or before M the recording has too few beats before M.
    if (!anyBeforeM || (checksBeforeM && lastBeforeM < 1) || strongestBeforeM < kMinStrongestIndex)
        flags_ |= kAFewBeatsBeforeM;
    if (beats_[0] < kEarliestFirstBeat)
        flags_ |= kAFewBeatsBeforeM;
    if (checksBeforeM && fitCount - lastBeforeM - 1 < kMinBeatsAfterM)
        flags_ |= kAFewBeatsAfterM;
    if (longest < kMinStrongRun &&
        SampleAt(optical_.data(), beats_[0]) - opticalBase_ < kWeakPulseRise)
        flags_ |= kAWeakPulse;
}

void CMethodA::CheckIrregularIntervals() {
    HeartRateFromBeats(beats_.data(), sampleInterval_, heartRate_, meanInterval_);
    const int count = BeatCount();
    for (int m = 0; m <= count - 3; ++m) {
        const int d = beats_[m + 1] - beats_[m];
        if ((d > 2 * meanInterval_ && m > kLeadingIntervals) ||
            (d > kGapIntervals * meanInterval_ && m > 1))
            flags_ |= kAIrregular;
    }
}

void CMethodA::ComputeIntervalStatistics() {
    std::array<int16_t, kBeatCapacity + 1> intervals{};
    const int limit = RegularIntervalLimit(meanInterval_);
    int n = 0;
    for (int m = 0; m + 1 < kBeatCapacity && beats_[m] != 0 && beats_[m + 1] != 0; ++m) {
        const int d = beats_[m + 1] - beats_[m];
        if (d < limit)
            intervals[n++] = Wrap16(d);
    }
    intervals[n] = 0;
    IntervalStatistics(intervals.data(), stats_);
    if (stats_.cv < kRegularCv)
        flags_ &= static_cast<uint16_t>(~kASaturated);
}

void CMethodA::CheckMarkerPressures() {
    const int atS = PressureAverage(markerS_);
    const int atM = PressureAverage(markerM_);
    if (atS - atM < kMinPressureDrop || 2 * atM < atS)
        flags_ |= kAMarkerImplausible;
}

void CMethodA::PressuresAtMarkers() {
    sbp_ = PressureAverage(markerS_);
    if (markerM_ == 0) {
        mbp_ = 0;
        dbp_ = 0;
        return;
    }
    mbp_ = PressureAverage(markerM_);
    dbp_ = Wrap16((3 * mbp_ - sbp_) * 100 / 200);
}

void CMethodA::BuildFittedCurve() {
    fittedCurve_.fill(kUndefinedCurveValue);
    const int first = beats_[0];
    const int last = LastBeat();
    fittedSpan_ = last - first;
    for (int index = std::max(first, 0); index < last; ++index)
        fittedCurve_[index] = EvaluateFit(fit_, Wrap16(index));
}

} // namespace mirado
