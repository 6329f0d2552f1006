#include "stats/ReadingLevel.h"

#include "document/CsvField.h"
#include "platform/JsonWriter.h"
#include "platform/Utf8.h"
#include "records/TextEncoding.h"

namespace mirado {

namespace {

constexpr const char* kColumns = "path,study_no,animal_no,group,date,time,sbp,mbp,dbp,hr,status,"
                                 "reason,path_bytes\n";
constexpr std::array<const char*, 4> kValueKeys = {"sbp", "mbp", "dbp", "hr"};

ReadingLevelRow RowOf(const Reading& reading, const ReadingReview& review,
                      const GroupsTable& groups, ValueSource source) {
    ReadingLevelRow row;
    row.path = reading.path;
    const CExportFields& values = reading.values;
    if (review.session >= 0) {
        row.studyNo = Cp932ToUtf8(values.exNo);
        row.animalNo = Cp932ToUtf8(values.animalNo);
        row.group = groups.GroupOf({values.exNo, values.animalNo});
        row.date = Cp932ToUtf8(values.date);
        row.time = Cp932ToUtf8(values.time);
    }
    if (reading.complete) {
        const bool mean = source != ValueSource::AnalysisS;
        row.values = {values.sbp, mean ? std::optional<int>(values.mbp) : std::nullopt,
                      mean ? std::optional<int>(values.dbp) : std::nullopt, values.hr};
    }
    row.status = ReadingStatusName(review.status);
    row.reason = ReasonText(review);
    return row;
}

std::string CsvLine(const ReadingLevelRow& row) {
    std::string line = CsvField(WithInvalidUtf8Replaced(row.path));
    for (const std::string* text : {&row.studyNo, &row.animalNo, &row.group, &row.date, &row.time})
        line += ',' + CsvField(*text);
    for (const std::optional<int>& value : row.values)
        line += ',' + (value ? std::to_string(*value) : std::string());
    line += ',' + CsvField(row.status) + ',' + CsvField(row.reason) + ',';
    if (!IsValidUtf8(row.path))
        line += HexBytes(row.path);
    return line + '\n';
}

std::string JsonLine(const ReadingLevelRow& row) {
    CJsonWriter json;
    json.BeginObject();
    WritePath(json, row.path);
    json.Key("study_no").String(row.studyNo).Key("animal_no").String(row.animalNo);
    json.Key("group").String(row.group).Key("date").String(row.date).Key("time").String(row.time);
    for (size_t i = 0; i < row.values.size(); ++i) {
        json.Key(kValueKeys[i]);
        if (row.values[i])
            json.Int(*row.values[i]);
        else
            json.Null();
    }
    json.Key("status").String(row.status).Key("reason").String(row.reason);
    return json.EndObject().Text() + '\n';
}

template <typename Line>
std::string Lines(const std::vector<ReadingLevelRow>& rows, const Line& line) {
    std::string text;
    for (const ReadingLevelRow& row : rows)
        text += line(row);
    return text;
}

} // namespace

std::vector<ReadingLevelRow> ReadingLevelRows(const std::vector<Reading>& readings,
                                              const ReviewResult& review, const GroupsTable& groups,
                                              ValueSource source) {
    std::vector<ReadingLevelRow> rows;
    for (size_t i = 0; i < readings.size() && i < review.readings.size(); ++i)
        rows.push_back(RowOf(readings[i], review.readings[i], groups, source));
    return rows;
}

std::string ReadingLevelCsv(const std::vector<Reading>& readings, const ReviewResult& review,
                            const GroupsTable& groups, ValueSource source) {
    return kColumns + Lines(ReadingLevelRows(readings, review, groups, source), CsvLine);
}

std::string ReadingLevelJsonLines(const std::vector<Reading>& readings, const ReviewResult& review,
                                  const GroupsTable& groups, ValueSource source) {
    return Lines(ReadingLevelRows(readings, review, groups, source), JsonLine);
}

} // namespace mirado
