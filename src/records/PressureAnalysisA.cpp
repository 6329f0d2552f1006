#include "records/PressureAnalysisA.h"

#include <algorithm>

namespace mirado {

int16_t CPressureAnalysisA::GetOpticalBase() {
    return opticalBase_;
}

void CPressureAnalysisA::SetMarkerM(int16_t index) {
    markerM_ = index;
    RecomputeFromMarkers();
}

void CPressureAnalysisA::SetMarkerS(int16_t index) {
    markerS_ = index;
    RecomputeFromMarkers();
}

// SBP at S; MBP at M and DBP = (3 MBP - SBP) / 2, both 0 while M is 0.
void CPressureAnalysisA::RecomputeFromMarkers() {
    sbp_ = CuffAverage(markerS_);
    if (markerM_ == 0) {
        mbp_ = 0;
        dbp_ = 0;
        return;
    }
    mbp_ = CuffAverage(markerM_);
    dbp_ = Wrap16((3 * mbp_ - sbp_) * 100 / 200);
}

void CPressureAnalysisA::Analyze() {
    sbp_ = methodA_.GetSbp();
    mbp_ = methodA_.GetMbp();
    dbp_ = methodA_.GetDbp();
    resultCode_ = methodA_.GetResultCode();
    markerS_ = methodA_.GetMarkerS();
    markerM_ = methodA_.GetMarkerM();
    opticalBase_ = methodA_.GetOpticalBase();
    std::copy_n(methodA_.GetFittedCurve(), kSampleCount, fittedCurve_.begin());
    fittedSpan_ = methodA_.GetFittedSpan();
    std::copy_n(methodA_.GetBeatPositions(), kBeatCapacity, beats_.begin());
}

} // namespace mirado
