#include "records/synth/SignalModel.h"

#include "records/RecordUnits.h"

#include <algorithm>
#include <cmath>
#include <tuple>

namespace mirado {

namespace {

// Random streams of the model (see CSynthRandom).
constexpr uint64_t kBeatStream = 11;
constexpr uint64_t kNoiseStream = 12;
constexpr uint64_t kSpikeStream = 13;

// Valve release: below this cuff pressure (half mmHg) the device lets the air out at once.
constexpr double kReleasePressure = 20.0;

// Envelope, as fractions of the largest pulse. The ratios at the systolic and diastolic
// pressures make the pulse rise quickly from the systolic to the mean pressure and fall
// more slowly below it, as oscillometric envelopes do.
constexpr double kAboveSystolic = 0.03; // residual pulse through the closed cuff
constexpr double kAtSystolic = 0.55;
constexpr double kAtDiastolic = 0.85;
// Far below the diastolic pressure the cuff no longer squeezes the artery and the pulse
// settles at its free height. The fall from the mean toward it is gradual, with a long tail.
constexpr double kFreePulse = 0.50;
constexpr double kGradualOnsetShare = 0.5; // onset width as a share of SBP - MBP
constexpr double kMinimumOnsetWidth = 8.0; // half mmHg

// Beats.
constexpr double kTenthsOfMsPerMinute = 60.0 * kIntervalUnitsPerSecond;
constexpr double kUpstrokeShare = 0.18;   // of the beat period
constexpr double kPeriodJitter = 0.03;    // beat-to-beat variation of the period
constexpr double kAmplitudeJitter = 0.04; // beat-to-beat variation of the height
constexpr int kNormalAmplitudeLow = 450, kNormalAmplitudeHigh = 800;
constexpr int kSaturatedAmplitudeLow = 2600, kSaturatedAmplitudeHigh = 3200;
constexpr int kBaselineLow = 250, kBaselineHigh = 450;
constexpr int kBeatsKeptBeforeDropping = 2; // beats below SBP that never go missing

// Optical A/D range.
constexpr int kOpticalFloor = 0;
constexpr int kOpticalCeiling = 2047;

// Slow baseline wander: a triangle wave over several beats.
constexpr double kDriftBeats = 5.0;
constexpr double kDriftCounts = 8.0;

// Motion artefacts.
constexpr int kSpikeFirstSample = 200, kSpikeLastSample = 3800;
constexpr int kSpikeWidthLow = 6, kSpikeWidthHigh = 20;
constexpr int kSpikeHeightLow = 600, kSpikeHeightHigh = 1500;
constexpr int kSpikeCuffDivisor = 100; // cuff bump = spike height / this (half mmHg)

constexpr int kCuffNoiseDivisor = 4; // cuff noise = optical noise / this, rounded up

int RoundToInt(double v) {
    return static_cast<int>(std::floor(v + 0.5));
}

// Smooth rise from 0 to 1 with zero slope at both ends (t in [0, 1]).
double SmoothStep(double t) {
    return t * t * (3.0 - 2.0 * t);
}
// Rise from 0 to 1 that flattens toward t = 1.
double EaseOut(double t) {
    return t * (2.0 - t);
}

// Fall from 1 at t = 0 (the mean pressure) toward 0, flat at the top and with a long
// tail: 1 / (1 + (t / w)^2), its width w chosen so that the envelope is kAtDiastolic at
// t = 1 (the diastolic pressure).
double LongTail(double t) {
    constexpr double kTailAtDiastolic = (kAtDiastolic - kFreePulse) / (1.0 - kFreePulse);
    constexpr double kInverseWidthSquared = 1.0 / kTailAtDiastolic - 1.0;
    return 1.0 / (1.0 + kInverseWidthSquared * t * t);
}

double Clamp01(double t) {
    return std::clamp(t, 0.0, 1.0);
}

// One pulse over its period: u in [0, 1) is the phase within the beat.
double PulseShape(double u) {
    if (u < kUpstrokeShare)
        return SmoothStep(u / kUpstrokeShare);
    const double t = (u - kUpstrokeShare) / (1.0 - kUpstrokeShare);
    return (1.0 - t) * (1.0 - t);
}

double Triangle(double x) {
    const double f = x - std::floor(x);
    return 1.0 - 4.0 * std::fabs(f - 0.5);
}

} // namespace

CSignalModel::CSignalModel(const SignalParameters& parameters)
    : p_(parameters), beatRandom_(parameters.seed, kBeatStream),
      noiseRandom_(parameters.seed, kNoiseStream), spikeRandom_(parameters.seed, kSpikeStream) {}

double CSignalModel::CleanCuff(int index) const {
    if (index >= releaseIndex_)
        return 0.0;
    return p_.inflation - p_.deflationPerSample * index;
}

int CSignalModel::FirstIndexAtOrBelow(double pressure) const {
    for (int i = 0; i < kSampleCount; ++i) {
        if (CleanCuff(i) <= pressure)
            return i;
    }
    return 0;
}

double CSignalModel::Envelope(double cuffPressure) const {
    const double s = p_.sbp, m = p_.mbp, d = p_.dbp;
    if (cuffPressure >= s) {
        if (!p_.gradualOnset)
            return kAboveSystolic;
        const double width = std::max(kMinimumOnsetWidth, kGradualOnsetShare * (s - m));
        const double t = Clamp01((s + width - cuffPressure) / width);
        return kAboveSystolic + (kAtSystolic - kAboveSystolic) * t * t;
    }
    if (cuffPressure >= m)
        return kAtSystolic + (1.0 - kAtSystolic) * EaseOut((s - cuffPressure) / (s - m));
    return kFreePulse + (1.0 - kFreePulse) * LongTail((m - cuffPressure) / (m - d));
}

void CSignalModel::PlaceBeats() {
    maxAmplitude_ = p_.saturated
                        ? beatRandom_.Between(kSaturatedAmplitudeLow, kSaturatedAmplitudeHigh)
                        : beatRandom_.Between(kNormalAmplitudeLow, kNormalAmplitudeHigh);
    baseline_ = beatRandom_.Between(kBaselineLow, kBaselineHigh);
    const double period =
        kTenthsOfMsPerMinute / (p_.heartRate * static_cast<double>(p_.sampleInterval));
    double onset = beatRandom_.Fraction() * period;
    while (onset < kSampleCount) {
        Beat beat;
        beat.onset = onset;
        beat.period = period * (1.0 + kPeriodJitter * beatRandom_.Signed());
        beat.peak = RoundToInt(onset + kUpstrokeShare * beat.period);
        const int at = std::min(beat.peak, kSampleCount - 1);
        beat.amplitude = maxAmplitude_ * Envelope(CleanCuff(at)) *
                         (1.0 + kAmplitudeJitter * beatRandom_.Signed());
        beats_.push_back(beat);
        onset += beat.period;
    }
}

void CSignalModel::DropBeats() {
    std::vector<size_t> candidates;
    int belowSystolic = 0;
    for (size_t k = 0; k + 1 < beats_.size(); ++k) {
        if (CleanCuff(std::min(beats_[k].peak, kSampleCount - 1)) >= p_.sbp)
            continue;
        if (++belowSystolic > kBeatsKeptBeforeDropping)
            candidates.push_back(k);
    }
    for (int n = 0; n < p_.missingBeats && !candidates.empty(); ++n) {
        const int pick = beatRandom_.Between(0, static_cast<int>(candidates.size()) - 1);
        beats_[candidates[pick]].missing = true;
        candidates.erase(candidates.begin() + pick);
    }
}

void CSignalModel::PlaceSpikes() {
    for (int n = 0; n < p_.spikes; ++n) {
        Spike spike;
        spike.start = spikeRandom_.Between(kSpikeFirstSample, kSpikeLastSample);
        spike.width = spikeRandom_.Between(kSpikeWidthLow, kSpikeWidthHigh);
        spike.height = spikeRandom_.Between(kSpikeHeightLow, kSpikeHeightHigh);
        spikes_.push_back(spike);
    }
    // A full ordering, so that every standard library sorts equal starts alike.
    std::sort(spikes_.begin(), spikes_.end(), [](const Spike& a, const Spike& b) {
        return std::tie(a.start, a.width, a.height) < std::tie(b.start, b.width, b.height);
    });
}

// Height of the pulse at a sample; beatCursor walks forward with the index.
double CSignalModel::PulseAt(int index, size_t& beatCursor) const {
    while (beatCursor + 1 < beats_.size() && beats_[beatCursor + 1].onset <= index)
        ++beatCursor;
    if (beats_.empty())
        return 0.0;
    const Beat& beat = beats_[beatCursor];
    if (beat.missing || index < beat.onset)
        return 0.0;
    const double u = (index - beat.onset) / beat.period;
    return u < 1.0 ? beat.amplitude * PulseShape(u) : 0.0;
}

double CSignalModel::SpikeAt(int index) const {
    double sum = 0.0;
    for (const Spike& spike : spikes_) {
        if (index < spike.start || index >= spike.start + spike.width)
            continue;
        const double half = spike.width / 2.0;
        const double t = 1.0 - std::fabs(index - spike.start - half) / half;
        sum += spike.height * t;
    }
    return sum;
}

double CSignalModel::BaselineDrift(int index) const {
    const double period =
        kTenthsOfMsPerMinute / (p_.heartRate * static_cast<double>(p_.sampleInterval));
    return kDriftCounts * Triangle(index / (kDriftBeats * period));
}

void CSignalModel::BuildCuff(Channel& cuff) {
    const int noise = (p_.noise + kCuffNoiseDivisor - 1) / kCuffNoiseDivisor;
    for (int i = 0; i < kSampleCount; ++i) {
        if (i >= releaseIndex_) {
            cuff[i] = 0;
            continue;
        }
        const double bump = SpikeAt(i) / kSpikeCuffDivisor;
        const int value = RoundToInt(CleanCuff(i) + bump) + noiseRandom_.Between(-noise, noise);
        cuff[i] = static_cast<int16_t>(std::max(value, 0));
    }
}

void CSignalModel::BuildOptical(Channel& optical) {
    size_t cursor = 0;
    for (int i = 0; i < kSampleCount; ++i) {
        if (p_.flatOptical) {
            optical[i] = static_cast<int16_t>(baseline_);
            continue;
        }
        const double level = baseline_ + BaselineDrift(i) + PulseAt(i, cursor) + SpikeAt(i);
        const int value = RoundToInt(level) + noiseRandom_.Between(-p_.noise, p_.noise);
        optical[i] = static_cast<int16_t>(std::clamp(value, kOpticalFloor, kOpticalCeiling));
    }
}

void CSignalModel::Generate(Channel& cuff, Channel& optical, SynthTruth& truth) {
    releaseIndex_ = kSampleCount;
    for (int i = 0; i < kSampleCount; ++i) {
        if (CleanCuff(i) < kReleasePressure) {
            releaseIndex_ = i;
            break;
        }
    }
    PlaceBeats();
    DropBeats();
    PlaceSpikes();
    BuildCuff(cuff);
    BuildOptical(optical);

    truth.releaseIndex = releaseIndex_;
    truth.markerS = static_cast<int16_t>(FirstIndexAtOrBelow(p_.sbp));
    truth.markerM = static_cast<int16_t>(FirstIndexAtOrBelow(p_.mbp));
    truth.markerD = static_cast<int16_t>(FirstIndexAtOrBelow(p_.dbp));
    truth.beats.clear();
    for (const Beat& beat : beats_) {
        if (!p_.flatOptical && !beat.missing && beat.peak > 0 && beat.peak < kSampleCount)
            truth.beats.push_back(static_cast<int16_t>(beat.peak));
    }
    truth.spikes.clear();
    for (const Spike& spike : spikes_)
        truth.spikes.push_back(static_cast<int16_t>(spike.start));
}

} // namespace mirado
