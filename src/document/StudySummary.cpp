#include "document/StudySummary.h"

#include "document/CsvField.h"
#include "platform/JsonWriter.h"
#include "records/TextEncoding.h"

#include <algorithm>
#include <cmath>

namespace mirado {

namespace {

constexpr size_t kSessionDateLength = 8; // YY/MM/DD
constexpr int kFirstYear = 2000;
constexpr int kMonthsPerYear = 12;
constexpr int kLeapFebruary = 29;
constexpr int kDaysInMonth[kMonthsPerYear] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
constexpr const char* kLineEnd = "\n";

bool ReadTwoDigits(const std::string& text, size_t at, int& value) {
    const char high = text[at], low = text[at + 1];
    if (high < '0' || high > '9' || low < '0' || low > '9')
        return false;
    value = (high - '0') * 10 + (low - '0');
    return true;
}

int DaysInMonth(int year, int month) {
    if (month == 2 && year % 4 == 0) // every fourth year in 2000 to 2099 is a leap year
        return kLeapFebruary;
    return kDaysInMonth[month - 1];
}

std::vector<int> Collect(const std::vector<const int*>& values) {
    std::vector<int> out;
    out.reserve(values.size());
    for (const int* value : values)
        out.push_back(*value);
    return out;
}

// --- Writers ---------------------------------------------------------------------------

template <typename T> std::string OptionalNumber(const std::optional<T>& value) {
    if (!value)
        return {};
    if constexpr (std::is_same_v<T, double>)
        return ShortestDecimal(*value);
    else
        return std::to_string(*value);
}

void AppendCsvStatistic(std::string& line, const SummaryStatistic& statistic) {
    line += ',' + std::to_string(statistic.n);
    for (const std::string& field : {OptionalNumber(statistic.mean), OptionalNumber(statistic.sd),
                                     OptionalNumber(statistic.se), OptionalNumber(statistic.min),
                                     OptionalNumber(statistic.max)})
        line += ',' + field;
}

const char* const kMeasureNames[] = {"sbp", "mbp", "dbp", "hr"};
const char* const kStatisticNames[] = {"n", "mean", "sd", "se", "min", "max"};

std::string CsvHeader() {
    std::string header = "study_no,animal_no,date,n,n_complete";
    for (const char* measure : kMeasureNames) {
        for (const char* statistic : kStatisticNames)
            header += std::string(",") + measure + "_" + statistic;
    }
    return header + kLineEnd;
}

// Empty statistics are null; the texts are valid UTF-8 (Cp932ToUtf8), written with every
// control character as \u00XX as the summary always has.
template <typename T> void WriteOptional(CJsonWriter& json, const std::optional<T>& value) {
    if (!value)
        json.Null();
    else if constexpr (std::is_same_v<T, double>)
        json.Double(*value);
    else
        json.Int(*value);
}

void WriteStatistic(CJsonWriter& json, const char* key, const SummaryStatistic& statistic) {
    json.Key(key).BeginObject().Key("n").Int(statistic.n);
    json.Key("mean");
    WriteOptional(json, statistic.mean);
    json.Key("sd");
    WriteOptional(json, statistic.sd);
    json.Key("se");
    WriteOptional(json, statistic.se);
    json.Key("min");
    WriteOptional(json, statistic.min);
    json.Key("max");
    WriteOptional(json, statistic.max);
    json.EndObject();
}

std::string SummaryJsonLine(const SummaryRow& row) {
    CJsonWriter json(Escapes::JsonStringNumeric);
    json.BeginObject();
    json.Key("study_no").String(Cp932ToUtf8(row.studyNo));
    json.Key("animal_no").String(Cp932ToUtf8(row.animalNo));
    json.Key("date");
    if (row.date)
        json.String(Cp932ToUtf8(*row.date));
    else
        json.Null();
    json.Key("n").Int(row.n).Key("n_complete").Int(row.nComplete);
    const SummaryStatistic* statistics[] = {&row.sbp, &row.mbp, &row.dbp, &row.hr};
    for (size_t i = 0; i < std::size(statistics); ++i)
        WriteStatistic(json, kMeasureNames[i], *statistics[i]);
    json.EndObject();
    return json.Text();
}

} // namespace

std::optional<SessionDate> ReadSessionDate(const std::string& dateText) {
    if (dateText.size() != kSessionDateLength || dateText[2] != '/' || dateText[5] != '/')
        return std::nullopt;
    SessionDate date;
    if (!ReadTwoDigits(dateText, 0, date.year) || !ReadTwoDigits(dateText, 3, date.month) ||
        !ReadTwoDigits(dateText, 6, date.day))
        return std::nullopt;
    date.year += kFirstYear;
    if (date.month < 1 || date.month > kMonthsPerYear || date.day < 1 ||
        date.day > DaysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
}

SummaryStatistic ComputeStatistic(const std::vector<int>& values) {
    SummaryStatistic statistic;
    statistic.n = static_cast<int>(values.size());
    if (values.empty())
        return statistic;
    double sum = 0;
    for (int value : values)
        sum += value;
    const double count = static_cast<double>(values.size());
    const double mean = sum / count;
    statistic.mean = mean;
    const auto [lowest, highest] = std::minmax_element(values.begin(), values.end());
    statistic.min = *lowest;
    statistic.max = *highest;
    if (values.size() < 2)
        return statistic;
    double squares = 0;
    for (int value : values)
        squares += (value - mean) * (value - mean);
    const double variance = squares / (count - 1);
    statistic.sd = std::sqrt(variance);
    statistic.se = std::sqrt(variance / count);
    return statistic;
}

void CStudySummaryBuilder::Add(const Reading& reading) {
    // Texts read from random bytes, an empty or a vanished file name no study nor animal.
    if (!reading.headerRead)
        return;
    const CExportFields& v = reading.values;
    const std::optional<SessionDate> date = ReadSessionDate(v.date);
    const int dayNumber = date ? (date->year * 100 + date->month) * 100 + date->day : 0;
    GroupKey key{v.exNo, v.animalNo, !date.has_value(), dayNumber, v.date};
    groups_[std::move(key)].push_back(Values{v.sbp, v.mbp, v.dbp, v.hr, reading.complete});
}

SummaryRow CStudySummaryBuilder::MakeRow(const std::string& studyNo, const std::string& animalNo,
                                         const std::vector<const Values*>& values) const {
    SummaryRow row;
    row.studyNo = studyNo;
    row.animalNo = animalNo;
    row.n = static_cast<int>(values.size());
    std::vector<const int*> sbp, mbp, dbp, hr;
    for (const Values* value : values) {
        if (!value->complete)
            continue;
        ++row.nComplete;
        sbp.push_back(&value->sbp);
        mbp.push_back(&value->mbp);
        dbp.push_back(&value->dbp);
        if (value->hr > 0)
            hr.push_back(&value->hr);
    }
    row.sbp = ComputeStatistic(Collect(sbp));
    if (source_ != ValueSource::AnalysisS) {
        row.mbp = ComputeStatistic(Collect(mbp));
        row.dbp = ComputeStatistic(Collect(dbp));
    }
    row.hr = ComputeStatistic(Collect(hr));
    return row;
}

StudySummary CStudySummaryBuilder::Build() const {
    StudySummary summary;
    summary.source = source_;
    std::vector<const Values*> animalValues;
    for (auto group = groups_.begin(); group != groups_.end(); ++group) {
        const auto& [studyNo, animalNo, unreadable, dayNumber, dateText] = group->first;
        std::vector<const Values*> sessionValues;
        for (const Values& value : group->second)
            sessionValues.push_back(&value);
        SummaryRow session = MakeRow(studyNo, animalNo, sessionValues);
        session.date = dateText;
        session.sessionDate = ReadSessionDate(dateText);
        summary.sessions.push_back(std::move(session));
        animalValues.insert(animalValues.end(), sessionValues.begin(), sessionValues.end());
        const auto next = std::next(group);
        const bool lastOfAnimal = next == groups_.end() || std::get<0>(next->first) != studyNo ||
                                  std::get<1>(next->first) != animalNo;
        if (lastOfAnimal) {
            summary.animals.push_back(MakeRow(studyNo, animalNo, animalValues));
            animalValues.clear();
        }
    }
    return summary;
}

StudySummary SummarizeReadings(const std::vector<Reading>& readings, ValueSource source) {
    CStudySummaryBuilder builder(source);
    for (const Reading& reading : readings)
        builder.Add(reading);
    return builder.Build();
}

std::string SummaryCsv(const std::vector<SummaryRow>& rows) {
    std::string text = CsvHeader();
    for (const SummaryRow& row : rows) {
        std::string line = CsvField(Cp932ToUtf8(row.studyNo)) + ',' +
                           CsvField(Cp932ToUtf8(row.animalNo)) + ',' +
                           (row.date ? CsvField(Cp932ToUtf8(*row.date)) : std::string()) + ',' +
                           std::to_string(row.n) + ',' + std::to_string(row.nComplete);
        for (const SummaryStatistic* statistic : {&row.sbp, &row.mbp, &row.dbp, &row.hr})
            AppendCsvStatistic(line, *statistic);
        text += line + kLineEnd;
    }
    return text;
}

std::string SummaryJsonLines(const std::vector<SummaryRow>& rows) {
    std::string text;
    for (const SummaryRow& row : rows)
        text += SummaryJsonLine(row) + kLineEnd;
    return text;
}

} // namespace mirado
