#pragma once
// The one sequence that drives an analysis record after a recording was loaded, shared
// by the document, the batch tool and the tests, plus a holder for the two records and
// the method-A instance they share.

#include "records/MethodA.h"
#include "records/PressureAnalysisA.h"
#include "records/PressureAnalysisE.h"

#include <string>

namespace mirado {

class CAdData;

// Record variant for a model code: 1 and 3 select variant E, every other code variant A.
bool UsesVariantE(int modelCode);

// The model code after the file-name rule: a file whose model letter gave no code (4)
// gets 0 when its file name (after the last '/') starts with "A" or "a" and 1 with
// "B" or "b"; any other name keeps 4.
int ModelCodeWithFileName(int modelLetterCode, const std::string& path);

// After a successful load: SetWaves and SetSampleInterval on the record, method
// A's steps on copies of the channels, then the record's Analyze.
void AnalyzeRecording(const CAdData& data, CPressureAnalysis& record, CMethodA& methodA);

// The two records and the method-A instance, created once and reused file after file
// (the document keeps one set for its life; the batch tool may make a fresh set per file).
struct AnalysisRecords {
    CMethodA methodA;
    CPressureAnalysisA recordA{methodA};
    CPressureAnalysisE recordE;

    CPressureAnalysis& RecordFor(int modelCode);
    // The sequence on the record the model code selects; returns that record.
    CPressureAnalysis& Analyze(const CAdData& data, int modelCode);
    // Both records analysed from the same load (method A runs once, as for either one).
    void AnalyzeBoth(const CAdData& data);
};

// The information pane's text for a result code: "" for 0, "Lo", "Hi", "Air" or "Err%01d".
std::string ResultFlagText(int resultCode);

} // namespace mirado
