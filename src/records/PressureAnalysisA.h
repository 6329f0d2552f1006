#pragma once
// CPressureAnalysisA: the analysis record for the small-animal devices. Its Analyze
// imports the results of the shared method-A run; a moved marker is re-read from the
// cuff channel with method A's rule for the diastolic pressure.

#include "records/MethodA.h"
#include "records/PressureAnalysis.h"

namespace mirado {

class CPressureAnalysisA : public CPressureAnalysis {
public:
    // The record reads the results of this method-A instance at every Analyze.
    explicit CPressureAnalysisA(const CMethodA& methodA) : methodA_(methodA) {}

    int16_t GetOpticalBase() override;
    void SetMarkerM(int16_t index) override;
    void SetMarkerS(int16_t index) override;
    void Analyze() override;

private:
    void RecomputeFromMarkers();

    const CMethodA& methodA_;
};

} // namespace mirado
