#pragma once
// Hand-built recordings for the analysis tests: a cuff deflating linearly from an
// inflation pressure, and an optical channel with one pulse per beat whose height
// follows an oscillometric envelope of the cuff pressure.

#include "records/RecordLayout.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace mirado::test {

using Channel = std::array<int16_t, kSampleCount>;

struct Recording {
    Channel cuff{};
    Channel optical{};
    int16_t sampleInterval = 20;
    std::vector<int> beats; // pulse peaks
};

struct RecordingShape {
    int16_t sampleInterval = 20;
    double inflation = 400;                 // half mmHg at sample 0
    double fallPerSample = 0.1;             // half mmHg
    double sbp = 240, mbp = 190, dbp = 160; // half mmHg
    int period = 50;                        // samples from beat to beat
    int firstOnset = 20;
    int baseline = 200;
    double height = 600;  // largest pulse
    double plateau = 0.5; // pulse height below the diastolic pressure, fraction of the largest
    double onset = 0.4;   // pulse height at the systolic pressure, fraction of the largest
    int decay = 30;       // samples from a pulse's peak back to the baseline
};

// Pulse height fraction at a cuff pressure: nothing above SBP, a clear first beat at
// SBP rising to the full height at MBP, falling to the plateau at DBP.
inline double Envelope(const RecordingShape& s, double pressure) {
    if (pressure > s.sbp)
        return 0;
    if (pressure > s.mbp)
        return s.onset + (1 - s.onset) * (s.sbp - pressure) / (s.sbp - s.mbp);
    if (pressure > s.dbp)
        return 1 - (1 - s.plateau) * (s.mbp - pressure) / (s.mbp - s.dbp);
    return s.plateau;
}

inline constexpr int kRise = 8;

// Adds a pulse: linear rise over 8 samples to the peak, then a linear decay.
inline void AddPulse(Channel& optical, int onset, double height, int decay = 30) {
    for (int i = 0; i <= kRise + decay; ++i) {
        const int index = onset + i;
        if (index < 0 || index >= kSampleCount)
            continue;
        const double value = i <= kRise ? height * i / kRise : height * (kRise + decay - i) / decay;
        optical[index] = static_cast<int16_t>(optical[index] + static_cast<int>(value));
    }
}

inline double CuffAt(const RecordingShape& s, int index) {
    return std::max(0.0, s.inflation - s.fallPerSample * index);
}

inline Recording MakeRecording(const RecordingShape& s) {
    Recording r;
    r.sampleInterval = s.sampleInterval;
    for (int i = 0; i < kSampleCount; ++i) {
        r.cuff[i] = static_cast<int16_t>(CuffAt(s, i));
        r.optical[i] = static_cast<int16_t>(s.baseline);
    }
    for (int onset = s.firstOnset; onset + 8 < kSampleCount; onset += s.period) {
        const double height = s.height * Envelope(s, CuffAt(s, onset));
        if (height <= 0)
            continue;
        AddPulse(r.optical, onset, height, s.decay);
        r.beats.push_back(onset + kRise);
    }
    return r;
}

inline Channel Constant(int16_t value) {
    Channel c{};
    c.fill(value);
    return c;
}

} // namespace mirado::test
