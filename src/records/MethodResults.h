#pragma once
// One analysis method's results as the batch tool's info reports them and the Python
// module hands them out: pressures in cuff units, markers, heart rate, result code and
// flag, beat positions, the fitted span, and the method's own value (variant A's optical
// base, method E's mean pressure fall per beat).

#include "records/AnalysisSequence.h"

#include <cstdint>
#include <string>
#include <vector>

namespace mirado {

struct MethodResults {
    int16_t sbpRaw = 0, mbpRaw = 0, dbpRaw = 0;
    int16_t markerS = 0, markerM = 0, markerD = 0;
    int16_t heartRate = 0;
    int code = 0;
    std::string flagText;
    std::vector<int16_t> beats; // up to the first 0
    int fittedSpan = 0;
    int16_t ownValue = 0; // optical base (method A) or fall per beat (method E)
};

// The leading non-zero entries of a 100-entry beat list.
int BeatCount(const int16_t* beats);

// The results of records analysed by AnalyzeBoth. Method A's heart rate is its
// method-A instance's, which variant A's record does not hold.
MethodResults MethodAResults(AnalysisRecords& records);
MethodResults MethodEResults(AnalysisRecords& records);

} // namespace mirado
