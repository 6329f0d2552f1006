#pragma once
// CPressureAnalysis: the analysis record. It re-derives the pressures, heart rate,
// markers S, M and D, a result code and a fitted pulse-amplitude curve from the two
// channels of a loaded recording. One record of each variant (A and E) is created
// once and reused for every file; nothing resets it between files except what
// Analyze overwrites, so values a variant never writes keep their earlier contents.
//
// Pressures are in cuff-channel units (half mmHg); markers are sample indices.

#include "records/AnalysisArithmetic.h"
#include "records/BeatStatistics.h"
#include "records/RecordLayout.h"
#include "records/RecordUnits.h"

#include <array>
#include <cstdint>
#include <optional>

namespace mirado {

// What moving a marker changes in an analysis record: both movable markers and the
// pressures derived from them.
struct MarkerResults {
    int16_t markerS = 0;
    int16_t markerM = 0;
    int16_t sbp = 0;
    int16_t mbp = 0;
    int16_t dbp = 0;
};

class CPressureAnalysis {
public:
    CPressureAnalysis();
    CPressureAnalysis(const CPressureAnalysis&) = delete;
    CPressureAnalysis& operator=(const CPressureAnalysis&) = delete;

    // The virtual operations, in their fixed order.
    virtual int16_t GetOpticalBase();
    virtual void Prefilter();
    virtual void SetMarkerM(int16_t index);
    virtual void SetMarkerS(int16_t index);
    virtual int16_t GetHeartRate();
    virtual int GetMarkerInterval(); // ms from marker S to marker M, 0 when either is 0
    virtual void GetMarkers(int16_t& s, int16_t& m, int16_t& d);
    virtual void Reset();
    virtual void SetBeatPositions(const int16_t* positions);                 // 100 entries
    virtual int16_t GetPressures(int16_t& sbp, int16_t& mbp, int16_t& dbp);  // returns the code
    virtual void SetWaves(const int16_t* channel1, const int16_t* channel2); // 4000 each
    virtual void SetSampleInterval(int16_t value);
    virtual void Analyze();
    virtual ~CPressureAnalysis();

    const int16_t* GetChannel1() const { return channel1_.data(); }
    const int16_t* GetChannel2() const { return channel2_.data(); }
    const int16_t* GetFittedCurve() const { return fittedCurve_.data(); }
    int GetFittedSpan() const { return fittedSpan_; }
    const int16_t* GetBeatPositions() const { return beats_.data(); }
    int16_t GetResultCode() const { return resultCode_; }
    int16_t GetSampleInterval() const { return sampleInterval_; }
    int16_t GetMeanInterval() const { return meanInterval_; }
    // Method E keeps its mean pressure fall per beat where variant A keeps the optical
    // base; this answers that field whatever the variant.
    int16_t GetFallPerBeat() const { return opticalBase_; }

    // The markers and pressures as they stand, and putting them back exactly (a marker
    // set back by SetMarkerS or SetMarkerM would derive the pressures anew).
    MarkerResults GetMarkerResults() const;
    void RestoreMarkerResults(const MarkerResults& results);

    // Mean of cuff samples index..index+3, truncated toward zero; each read takes the
    // nearest sample inside the channel.
    int16_t GetPressureAt(int index) const;
    // The inflation pressure shown as "Press", in cuff units rounded to tens.
    int16_t GetInflationPressure() const;

protected:
    // Floor of the mean of cuff samples index..index+3 (arithmetic shift), each read
    // clamped into the channel.
    int16_t CuffAverage(int index) const;

    std::array<int16_t, kSampleCount> channel1_{};
    std::array<int16_t, kSampleCount> channel2_{};
    std::array<int16_t, kBeatCapacity> beats_{};
    std::array<int16_t, kSampleCount> fittedCurve_{};
    int fittedSpan_ = 0;
    int16_t sampleInterval_ = 0;
    int16_t sbp_ = 0;
    int16_t mbp_ = 0;
    int16_t dbp_ = 0;
    int16_t heartRate_ = 0;
    int16_t markerS_ = 0;
    int16_t markerM_ = 0;
    int16_t markerD_ = 0;
    int16_t meanInterval_ = 0;
    int16_t resultCode_ = 0;
    int16_t upperPercent_ = 0;
    int16_t lowerPercent_ = 0;
    CubicFit fit_{};
    int16_t opticalBase_ = 0;
};

// The cuff pressure the viewer reads out at a sample, in whole mmHg: GetPressureAt halved
// and rounded half away from zero. None outside 0 to kSampleCount - 4, the last sample
// GetPressureAt takes four samples from.
std::optional<int> CuffReadoutMmHg(const CPressureAnalysis& record, int sample);

} // namespace mirado
