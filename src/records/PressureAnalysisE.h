#pragma once
// CPressureAnalysisE: the analysis record for the large-animal devices, running method
// E on its own copies of the channels. Method E detects beats in the optical channel,
// measures each with a spike-resistant amplitude, trims the list around the strongest
// beat, fits a cubic to the amplitudes and places three markers: S where the fit first
// exceeds 70 % of its maximum, M at the maximum and D where it falls below 80 % after it.

#include "records/PressureAnalysis.h"

namespace mirado {

// Flag bits of method E.
inline constexpr uint16_t kEFewBeatsBeforeStrongest = 0x0001;
inline constexpr uint16_t kEFewBeatsTrimmed = 0x0002;
inline constexpr uint16_t kEFewBeats = 0x0004;
inline constexpr uint16_t kETooFewFitPoints = 0x0008;
inline constexpr uint16_t kESuddenFall = 0x0010;
inline constexpr uint16_t kEFallPerBeat = 0x0020;
inline constexpr uint16_t kECollapse = 0x0040;
inline constexpr uint16_t kEEnvelope = 0x0080;
inline constexpr uint16_t kEIrregular = 0x0100;
inline constexpr uint16_t kEBright = 0x0200;
inline constexpr uint16_t kENoMaximum = 0x0400;
inline constexpr uint16_t kEMaximumLate = 0x0800;

// The result code for a flag word of method E (first matching rule wins).
int16_t ResultCodeE(uint16_t flags);

class CPressureAnalysisE : public CPressureAnalysis {
public:
    void Prefilter() override;
    void SetMarkerM(int16_t index) override;
    void SetMarkerS(int16_t index) override;
    void Analyze() override;

    // The steps of Analyze, in order.
    void Prepare();
    void FindMarkers();
    void MarkerPressures();
    void FillFittedCurve();

    // Spike-resistant height of beat k of the current list.
    int16_t BeatAmplitude(int k) const;
    // The flag word of the last FindMarkers, before it became the result code.
    uint16_t GetFlags() const { return flags_; }

private:
    // Where the fitted curve peaks (marker M) and the fit's value there.
    struct FitPeak {
        int16_t at = 0;
        int16_t value = 0;
    };

    int BeatCount() const;
    int16_t LastBeat() const;
    int16_t BeatValue(int k) const;
    int16_t CuffAt(int index) const { return CuffAverage(index); }
    int16_t Fitted(int x) const;
    int ActivePressureLength() const;

    void GiveUpForTooFewBeats();
    int CountBeatsAbove(int level) const;
    void CleanBeats();
    int TrimAroundStrongestBeat();
    int FitAmplitudes();
    FitPeak FindFitPeak(int lastFitted);
    int16_t FindMarkerS(const FitPeak& peak) const;
    int16_t FindMarkerD(const FitPeak& peak, int16_t s, int lastFitted);

    void DetectBeats();
    void CleanBeatList();
    void CheckIntervalRuns();
    int FindStrongestBeat() const;
    int FindStart(int strongest, int half) const;
    int FindEnd(int strongest, int half) const;
    void Trim(int start, int keep);
    void CheckEnvelope();
    void CheckRiseAndFall(int strongest, int count);
    void CheckSuddenFall();
    void ComputeFallPerBeat();
    int PrepareFitPoints();
    void CheckLateStart(int16_t m, int16_t fm);
    void CheckFinalIntervals();
    void StoreMarkers(int16_t s, int16_t m, int16_t d);

    uint16_t flags_ = 0;
};

} // namespace mirado
