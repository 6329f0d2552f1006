#include "Recording.h"

#include "records/PressureAnalysis.h"

#include <memory>

namespace mirado::python {

Recording ReadRecording(const std::string& path) {
    Recording recording;
    recording.file = LoadRecord(path);
    if (!recording.file.Loaded())
        return recording;
    recording.model = ModelCodeWithFileName(recording.file.modelCode, path);
    const auto records = std::make_unique<AnalysisRecords>();
    records->AnalyzeBoth(*recording.file.data);
    recording.methodA = MethodAResults(*records);
    recording.methodE = MethodEResults(*records);
    const CPressureAnalysis& shown = records->RecordFor(recording.model);
    recording.inflationPressure = shown.GetInflationPressure();
    recording.cuffMmHg.reserve(kSampleCount);
    for (int sample = 0; sample < kSampleCount; ++sample)
        recording.cuffMmHg.push_back(CuffReadoutMmHg(shown, sample));
    return recording;
}

} // namespace mirado::python
