#include "document/Reading.h"

#include "platform/OrderedPrefetch.h"
#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"

#include <memory>
#include <utility>

namespace mirado {

bool IsCompleteReading(bool loaded, const CExportFields& values, ValueSource source) {
    if (!loaded || values.sbp == 0)
        return false;
    return source == ValueSource::AnalysisS || values.mbp != 0;
}

Reading ReadRecording(const std::string& path, ValueSource source) {
    Reading reading;
    reading.path = path;
    const LoadedRecord record = LoadRecord(path);
    reading.loaded = record.Loaded();
    reading.error = record.message;
    reading.headerRead = reading.loaded || record.data->HasWriterMark();
    CPressureAnalysis* analysis = nullptr;
    std::unique_ptr<AnalysisRecords> records;
    if (reading.loaded && source != ValueSource::Stored) {
        records = std::make_unique<AnalysisRecords>();
        analysis = &records->Analyze(*record.data, ModelCodeWithFileName(record.modelCode, path));
    }
    reading.values = ExportFieldsFor(*record.data, reading.loaded, analysis, source);
    reading.complete = IsCompleteReading(reading.loaded, reading.values, source);
    return reading;
}

void ForEachReading(const std::vector<std::string>& paths, ValueSource source, unsigned jobs,
                    const std::function<bool(Reading&&)>& take) {
    ForEachInOrder(
        paths.size(), jobs, [&](size_t index) { return ReadRecording(paths[index], source); },
        [&](size_t, Reading&& reading) { return take(std::move(reading)); });
}

std::vector<Reading> ReadRecordings(const std::vector<std::string>& paths, ValueSource source,
                                    unsigned jobs, const ReadingProgress& progress) {
    std::vector<Reading> readings;
    readings.reserve(paths.size());
    ForEachReading(paths, source, jobs, [&](Reading&& reading) {
        readings.push_back(std::move(reading));
        return !progress || progress(readings.size());
    });
    return readings;
}

} // namespace mirado
