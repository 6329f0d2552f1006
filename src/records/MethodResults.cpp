#include "records/MethodResults.h"

namespace mirado {

namespace {

MethodResults ResultsOf(CPressureAnalysis& record, int16_t heartRate, int16_t ownValue) {
    MethodResults results;
    results.code = record.GetPressures(results.sbpRaw, results.mbpRaw, results.dbpRaw);
    record.GetMarkers(results.markerS, results.markerM, results.markerD);
    results.heartRate = heartRate;
    results.flagText = ResultFlagText(results.code);
    const int16_t* beats = record.GetBeatPositions();
    results.beats.assign(beats, beats + BeatCount(beats));
    results.fittedSpan = record.GetFittedSpan();
    results.ownValue = ownValue;
    return results;
}

} // namespace

int BeatCount(const int16_t* beats) {
    int count = 0;
    while (count < kBeatCapacity && beats[count] != 0)
        ++count;
    return count;
}

MethodResults MethodAResults(AnalysisRecords& records) {
    const int16_t opticalBase = records.recordA.GetOpticalBase();
    return ResultsOf(records.recordA, records.methodA.GetHeartRate(), opticalBase);
}

MethodResults MethodEResults(AnalysisRecords& records) {
    return ResultsOf(records.recordE, records.recordE.GetHeartRate(),
                     records.recordE.GetFallPerBeat());
}

} // namespace mirado
