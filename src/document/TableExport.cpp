#include "document/TableExport.h"

#include "document/CsvField.h"
#include "document/Reading.h"
#include "platform/OrderedPrefetch.h"
#include "records/AnalysisSequence.h"
#include "records/LoadedRecord.h"
#include "records/PaneTexts.h"
#include "records/RecordUnits.h"
#include "records/TextEncoding.h"

#include <memory>
#include <utility>

namespace mirado {

namespace {

std::string FileNameOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

const char* SourceName(ValueSource source, int modelCode) {
    if (source == ValueSource::Stored)
        return "stored";
    return UsesVariantE(modelCode) ? "method_e" : "method_a";
}

// Whether the viewer shows MBP, DBP, marker M and the S-M interval for the source.
bool ShowsValidValues(const CAdData& data, ValueSource source) {
    switch (source) {
    case ValueSource::Stored:
        return data.IsValid();
    case ValueSource::AnalysisS:
        return false;
    case ValueSource::AnalysisSM:
        return true;
    }
    return false;
}

// The sample interval in milliseconds with one decimal (25 gives "2.5").
std::string MillisecondsText(int sampleInterval) {
    return std::to_string(sampleInterval / kIntervalUnitsPerMs) + '.' +
           std::to_string(sampleInterval % kIntervalUnitsPerMs);
}

class CTableLine {
public:
    void Add(const std::string& field) { fields_.push_back(WithInvalidUtf8Replaced(field)); }
    void Add(int number) { Add(std::to_string(number)); }
    void AddEmpty(int count) {
        for (int i = 0; i < count; ++i)
            Add(std::string());
    }
    std::vector<std::string> Finish() { return std::move(fields_); }

private:
    std::vector<std::string> fields_;
};

// Columns from date to complete for a file that loaded.
void AddLoadedColumns(CTableLine& line, const CAdData& data, int modelCode, ValueSource source) {
    AnalysisRecords records;
    CPressureAnalysis& analysis = records.Analyze(data, modelCode);
    const CExportFields fields =
        ExportFieldsFor(data, true, source == ValueSource::Stored ? nullptr : &analysis, source);
    const bool valid = ShowsValidValues(data, source);
    int16_t s = 0, m = 0, d = 0;
    if (source == ValueSource::Stored)
        data.GetStoredMarkers(s, m, d);
    else
        analysis.GetMarkers(s, m, d);
    const int interval =
        source == ValueSource::Stored ? data.GetMarkerInterval() : analysis.GetMarkerInterval();

    for (const std::string& text :
         {data.GetDate(), data.GetTime(), data.GetAnimalNo(), data.GetStudyNo(), data.GetWeight(),
          data.GetSexAge(), data.GetComment()})
        line.Add(Cp932ToUtf8(text));
    line.Add(SpeciesText(modelCode, data.GetSampleInterval()));
    line.Add(MillisecondsText(data.GetSampleInterval()));
    line.Add(analysis.GetInflationPressure());
    line.Add(fields.sbp);
    line.Add(fields.mbp);
    line.Add(fields.dbp);
    line.Add(fields.hr);
    line.Add(s);
    valid ? line.Add(m) : line.AddEmpty(1);
    valid ? line.Add(interval) : line.AddEmpty(1);
    line.Add(SourceName(source, modelCode));
    line.Add(analysis.GetResultCode());
    line.Add(ResultFlagText(ShownResultCode(analysis.GetResultCode(), valid)));
    line.Add(IsCompleteReading(true, fields, source) ? 1 : 0);
}

// Columns from date to complete for a file that failed: the values are unknown, and so
// is the method, which the file's model would choose; only "stored" is certain.
void AddFailedColumns(CTableLine& line, ValueSource source) {
    constexpr int kColumnsBeforeSource = 17;
    constexpr int kColumnsAfterSource = 3;
    line.AddEmpty(kColumnsBeforeSource);
    line.Add(source == ValueSource::Stored ? SourceName(source, 0) : "");
    line.AddEmpty(kColumnsAfterSource);
}

} // namespace

TableRow ReadTableRow(const std::string& path, ValueSource source) {
    const LoadedRecord record = LoadRecord(path);
    CTableLine line;
    line.Add(path);
    line.Add(FileNameOf(path));
    if (record.Loaded())
        AddLoadedColumns(line, *record.data, ModelCodeWithFileName(record.modelCode, path), source);
    else
        AddFailedColumns(line, source);
    line.Add(record.message);
    line.Add(IsValidUtf8(path) ? std::string() : HexBytes(path));
    return {line.Finish(), record.message};
}

std::string TableRowText(const TableRow& row) {
    std::string text;
    for (size_t i = 0; i < row.fields.size(); ++i) {
        if (i > 0)
            text += ',';
        text += CsvField(row.fields[i]);
    }
    return text + '\n';
}

TableLine ReadTableLine(const std::string& path, ValueSource source) {
    TableRow row = ReadTableRow(path, source);
    return {TableRowText(row), std::move(row.error)};
}

std::string BuildTableText(const std::vector<std::string>& paths, ValueSource source, unsigned jobs,
                           const TableProgress& progress) {
    std::string text = kTableExportHeader;
    bool stopped = false;
    ForEachInOrder(
        paths.size(), jobs, [&](size_t index) { return ReadTableLine(paths[index], source); },
        [&](size_t index, TableLine&& line) {
            text += line.text;
            stopped = progress && !progress(index + 1, line);
            return !stopped;
        });
    return stopped ? std::string() : text;
}

} // namespace mirado
