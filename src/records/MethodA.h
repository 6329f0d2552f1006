#pragma once
// CMethodA: pressure determination by method A. It finds the beats in the optical
// channel, fits a cubic to the pulse amplitudes over time, places marker S at the first
// usable beat and marker M at the fitted maximum, reads the pressures from the cuff
// channel and grades the recording with flags that become a result code.
//
// One instance holds the working values of one measurement at a time and is shared by
// every analysis after a load, whichever record variant is current. Some values survive
// from run to run on purpose: the refractory count (after an unusual sample interval),
// the interval mean (after an empty interval list) and the fit coefficients (after a fit
// with too few points).

#include "records/BeatStatistics.h"
#include "records/RecordLayout.h"

#include <array>
#include <cstdint>

namespace mirado {

// Flag bits of method A.
inline constexpr uint16_t kAFewBeatsBeforeM = 0x0001;
inline constexpr uint16_t kAFewBeatsAfterM = 0x0002;
inline constexpr uint16_t kAWeakPulse = 0x0004;
inline constexpr uint16_t kATooFewFitPoints = 0x0008;
inline constexpr uint16_t kADeflationSlow = 0x0010;
inline constexpr uint16_t kADeflationFast = 0x0020;
inline constexpr uint16_t kASaturated = 0x0040;
inline constexpr uint16_t kAIrregular = 0x0100;
inline constexpr uint16_t kASaturatedRuns = 0x0200;
inline constexpr uint16_t kANoMaximum = 0x0400;
inline constexpr uint16_t kAMarkerImplausible = 0x0800;

// The result code for a flag word of method A (first matching rule wins).
int16_t ResultCodeA(uint16_t flags);

class CMethodA {
public:
    // All steps in order, on copies of the two channels.
    void Run(const int16_t* channel1, const int16_t* channel2, int16_t sampleInterval);

    // The steps, public so that tests can drive them one by one.
    void SetSampleInterval(int16_t value) { sampleInterval_ = value; }
    void SetRefractoryCount();
    void CopyChannels(const int16_t* channel1, const int16_t* channel2);
    void ComputePressureLength();
    void RemoveOpticalOffset();
    void DetectBeats();
    void GradeAndPlace();
    void PressuresAtMarkers();
    void BuildFittedCurve();

    int16_t GetSbp() const { return sbp_; }
    int16_t GetMbp() const { return mbp_; }
    int16_t GetDbp() const { return dbp_; }
    int16_t GetMarkerS() const { return markerS_; }
    int16_t GetMarkerM() const { return markerM_; }
    int16_t GetResultCode() const { return resultCode_; }
    int16_t GetHeartRate() const { return heartRate_; }
    int16_t GetOpticalBase() const { return opticalBase_; }
    int16_t GetRefractoryCount() const { return refractory_; }
    const int16_t* GetBeatPositions() const { return beats_.data(); }
    const int16_t* GetFittedCurve() const { return fittedCurve_.data(); }
    int GetFittedSpan() const { return fittedSpan_; }
    const int16_t* GetOpticalCopy() const { return optical_.data(); }
    const CubicFit& GetFit() const { return fit_; }
    // The flag word before GradeAndPlace replaces it by the result code.
    uint16_t GetFlags() const { return flags_; }

private:
    int BeatCount() const;
    int16_t LastBeat() const;
    int16_t PressureAverage(int index) const;
    int16_t OpticalAverage(int index) const;
    int16_t Slope(int j) const;
    void MoveBeatsToPeaks();

    void ScanSaturation();
    void PruneSmallBeats();
    int FindStartAfterLastGap();
    int MoveStartBack(int start) const;
    void ShiftToStartAndCut(int start);
    void CheckDeflationRate();
    int PrepareFitPoints();
    void PlaceMarkerM();
    void FindOpticalBase();
    void GradeBeatsAroundM(int fitCount);
    void CheckIrregularIntervals();
    void ComputeIntervalStatistics();
    void CheckMarkerPressures();

    std::array<int16_t, kSampleCount> pressure_{};
    std::array<int16_t, kSampleCount> optical_{};
    int16_t sampleInterval_ = 0;
    int16_t refractory_ = 0;
    int16_t pressureLength_ = 0;
    std::array<int16_t, kBeatCapacity> beats_{};
    int16_t meanInterval_ = 0;
    int16_t heartRate_ = 0;
    CubicFit fit_{};
    IntervalStats stats_{};
    uint16_t flags_ = 0;
    int16_t resultCode_ = 0;
    int16_t markerS_ = 0;
    int16_t markerM_ = 0;
    int16_t sbp_ = 0;
    int16_t mbp_ = 0;
    int16_t dbp_ = 0;
    int16_t opticalBase_ = 0;
    std::array<int16_t, kSampleCount> fittedCurve_{};
    int fittedSpan_ = 0;
};

} // namespace mirado
