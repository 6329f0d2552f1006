#include "records/AnalysisSequence.h"

#include "records/AdData.h"

#include <cctype>
#include <cstdio>

namespace mirado {

namespace {

void FeedRecord(const CAdData& data, CPressureAnalysis& record) {
    record.SetWaves(data.GetChannel1(), data.GetChannel2());
    record.SetSampleInterval(Wrap16(data.GetSampleInterval()));
}

void RunMethodA(const CAdData& data, CMethodA& methodA) {
    methodA.Run(data.GetChannel1(), data.GetChannel2(), Wrap16(data.GetSampleInterval()));
}

} // namespace

bool UsesVariantE(int modelCode) {
    return modelCode == kModelCodeB || modelCode == kModelCodeD;
}

int ModelCodeWithFileName(int modelLetterCode, const std::string& path) {
    if (modelLetterCode != kModelCodeUnknown)
        return modelLetterCode;
    const size_t separator = path.find_last_of('/');
    const size_t first = separator == std::string::npos ? 0 : separator + 1;
    if (first >= path.size())
        return modelLetterCode;
    switch (std::toupper(static_cast<unsigned char>(path[first]))) {
    case 'A':
        return kModelCodeA;
    case 'B':
        return kModelCodeB;
    default:
        return modelLetterCode;
    }
}

void AnalyzeRecording(const CAdData& data, CPressureAnalysis& record, CMethodA& methodA) {
    FeedRecord(data, record);
    RunMethodA(data, methodA);
    record.Analyze();
}

CPressureAnalysis& AnalysisRecords::RecordFor(int modelCode) {
    if (UsesVariantE(modelCode))
        return recordE;
    return recordA;
}

CPressureAnalysis& AnalysisRecords::Analyze(const CAdData& data, int modelCode) {
    CPressureAnalysis& record = RecordFor(modelCode);
    AnalyzeRecording(data, record, methodA);
    return record;
}

void AnalysisRecords::AnalyzeBoth(const CAdData& data) {
    FeedRecord(data, recordA);
    FeedRecord(data, recordE);
    RunMethodA(data, methodA);
    recordA.Analyze();
    recordE.Analyze();
}

std::string ResultFlagText(int resultCode) {
    switch (resultCode) {
    case kResultOk:
        return "";
    case kResultLo:
        return "Lo";
    case kResultHi:
        return "Hi";
    case kResultAir:
        return "Air";
    default: {
        char text[16];
        std::snprintf(text, sizeof text, "Err%01d", resultCode);
        return text;
    }
    }
}

} // namespace mirado
