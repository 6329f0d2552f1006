#pragma once
// One recording as the module hands it out: loaded by the one loader and analysed by both
// methods with fresh records, as the batch tool's info does for each file.

#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"
#include "records/MethodResults.h"

#include <optional>
#include <string>
#include <vector>

namespace mirado::python {

struct Recording {
    LoadedRecord file;
    int model = kModelCodeUnknown; // after the file-name rule
    MethodResults methodA, methodE;
    int inflationPressure = 0;
    std::vector<std::optional<int>> cuffMmHg; // the viewer's readout at each sample
};

// Loads and analyses the file; the record is not loaded when the load failed.
Recording ReadRecording(const std::string& path);

} // namespace mirado::python
