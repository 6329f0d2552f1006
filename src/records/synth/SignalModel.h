#pragma once
// CSignalModel: the physiological model behind a synthetic recording. The cuff (channel 1,
// half mmHg) starts at the inflation pressure and deflates linearly with a little noise
// until the valve releases it; the optical channel (channel 2, A/D counts) carries one
// pulse per heart beat, each with a fast upstroke and a slower decay, its height following
// the oscillometric envelope of the cuff pressure: near zero above the systolic pressure,
// rising quickly below it, largest at the mean pressure, then falling gradually through
// the diastolic toward the free pulse left when the cuff no longer squeezes the artery.
// Only +, -, *, / and floor are used on doubles, so every IEEE machine gives the same
// samples.

#include "records/RecordLayout.h"
#include "records/synth/SynthOptions.h"
#include "records/synth/SynthRandom.h"

#include <array>
#include <cstdint>
#include <vector>

namespace mirado {

struct SignalParameters {
    uint64_t seed = 1;
    int sampleInterval = 20;          // 0.1 ms units
    double sbp = 0, mbp = 0, dbp = 0; // half mmHg
    int heartRate = 0;                // bpm
    double inflation = 0;             // half mmHg
    double deflationPerSample = 0;    // half mmHg
    bool gradualOnset = false;
    bool saturated = false;
    bool flatOptical = false;
    int noise = 0;
    int spikes = 0;
    int missingBeats = 0;
};

using Channel = std::array<int16_t, kSampleCount>;

class CSignalModel {
public:
    explicit CSignalModel(const SignalParameters& parameters);

    // Builds both channels and fills the truth's markers, beats, spikes and release index.
    void Generate(Channel& cuff, Channel& optical, SynthTruth& truth);

    // Pulse height at a cuff pressure as a fraction of the largest pulse.
    double Envelope(double cuffPressure) const;

private:
    struct Beat {
        double onset = 0;
        double period = 0;
        double amplitude = 0;
        int peak = 0;
        bool missing = false;
    };
    struct Spike {
        int start = 0, width = 0, height = 0;
    };

    double CleanCuff(int index) const;
    int FirstIndexAtOrBelow(double pressure) const;
    void PlaceBeats();
    void DropBeats();
    void PlaceSpikes();
    double PulseAt(int index, size_t& beatCursor) const;
    double SpikeAt(int index) const;
    double BaselineDrift(int index) const;
    void BuildCuff(Channel& cuff);
    void BuildOptical(Channel& optical);

    SignalParameters p_;
    CSynthRandom beatRandom_;
    CSynthRandom noiseRandom_;
    CSynthRandom spikeRandom_;
    int releaseIndex_ = kSampleCount;
    double maxAmplitude_ = 0;
    int baseline_ = 0;
    std::vector<Beat> beats_;
    std::vector<Spike> spikes_;
};

} // namespace mirado
