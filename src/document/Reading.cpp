#include "document/Reading.h"

#include "platform/OrderedPrefetch.h"
#include "records/AdData.h"
#include "records/AnalysisSequence.h"

#include <memory>

namespace mirado {

namespace {

// The model code a document holds before its first open; Load replaces it.
constexpr int kModelCodeBeforeLoad = 1;

} // namespace

bool IsCompleteReading(bool loaded, const CExportFields& values, ValueSource source) {
    if (!loaded || values.sbp == 0)
        return false;
    return source == ValueSource::AnalysisS || values.mbp != 0;
}

Reading ReadRecording(const std::string& path, ValueSource source) {
    Reading reading;
    reading.path = path;
    auto data = std::make_unique<CAdData>();
    int modelCode = kModelCodeBeforeLoad;
    reading.loaded = data->Load(path, modelCode, nullptr) == 0;
    reading.error = data->GetLastError();
    CPressureAnalysis* analysis = nullptr;
    std::unique_ptr<AnalysisRecords> records;
    if (reading.loaded && source != ValueSource::Stored) {
        records = std::make_unique<AnalysisRecords>();
        analysis = &records->Analyze(*data, ModelCodeWithFileName(modelCode, path));
    }
    reading.values = ExportFieldsFor(*data, reading.loaded, analysis, source);
    reading.complete = IsCompleteReading(reading.loaded, reading.values, source);
    return reading;
}

std::vector<Reading> ReadRecordings(const std::vector<std::string>& paths, ValueSource source,
                                    unsigned jobs, const ReadingProgress& progress) {
    const unsigned workers = jobs > 1 ? jobs : 0;
    COrderedPrefetch<Reading> prefetch(
        paths.size(), workers, kReadAheadPerJob * jobs,
        [&](size_t index) { return ReadRecording(paths[index], source); });
    std::vector<Reading> readings;
    readings.reserve(paths.size());
    while (prefetch.HasNext()) {
        readings.push_back(prefetch.Next());
        if (progress && !progress(readings.size()))
            break;
    }
    return readings;
}

} // namespace mirado
