#include "Tables.h"

#include "Columns.h"
#include "document/StudySummary.h"
#include "document/TableExport.h"
#include "platform/OrderedPrefetch.h"
#include "records/TextEncoding.h"
#include "review/ReadingReview.h"
#include "review/ReviewLog.h"

#include <map>
#include <stdexcept>

namespace py = pybind11;

namespace mirado::python {

namespace {

// The kinds of the table export's columns that are not text.
ColumnKind TableColumnKind(const std::string& name) {
    static const std::map<std::string, ColumnKind> kinds = {
        {"date", ColumnKind::Date},
        {"sampling_ms", ColumnKind::Real},
        {"inflation_mmhg", ColumnKind::Integer},
        {"sbp", ColumnKind::Integer},
        {"mbp", ColumnKind::Integer},
        {"dbp", ColumnKind::Integer},
        {"hr", ColumnKind::Integer},
        {"marker_s", ColumnKind::Integer},
        {"marker_m", ColumnKind::Integer},
        {"marker_interval_ms", ColumnKind::Integer},
        {"code", ColumnKind::Integer},
        {"complete", ColumnKind::Boolean},
    };
    const auto found = kinds.find(name);
    return found == kinds.end() ? ColumnKind::Text : found->second;
}

std::vector<std::string> TableHeaderNames() {
    std::vector<std::string> names;
    std::string header = kTableExportHeader;
    header.pop_back(); // the line end
    size_t start = 0;
    for (size_t comma = header.find(','); comma != std::string::npos;
         start = comma + 1, comma = header.find(',', start))
        names.push_back(header.substr(start, comma - start));
    names.push_back(header.substr(start));
    return names;
}

// Reads the rows on up to jobs threads into the columns, in the files' order.
void ReadTableRows(const std::vector<std::string>& paths, ValueSource source, unsigned jobs,
                   std::vector<CColumn>& columns) {
    ForEachInOrder(
        paths.size(), jobs, [&](size_t index) { return ReadTableRow(paths[index], source); },
        [&](size_t, TableRow&& row) {
            for (size_t i = 0; i < columns.size(); ++i)
                columns[i].AddField(row.fields[i]);
            return true;
        });
}

ReviewResult ReviewFiles(const std::vector<std::string>& paths, ValueSource source,
                         const AcceptanceProfile& profile, unsigned jobs,
                         std::vector<std::string>& warnings) {
    const std::vector<Reading> readings = ReadRecordings(paths, source, jobs);
    const auto decisions = LoadManualDecisions(paths, warnings);
    return ReviewReadings(readings, source, profile, decisions);
}

void AddStatisticColumns(std::vector<CColumn>& columns, const char* name,
                         const std::vector<const SummaryStatistic*>& statistics) {
    const std::string prefix = std::string(name) + '_';
    const size_t rows = statistics.size();
    CColumn n(prefix + "n", ColumnKind::Integer, rows),
        mean(prefix + "mean", ColumnKind::Real, rows), sd(prefix + "sd", ColumnKind::Real, rows),
        se(prefix + "se", ColumnKind::Real, rows), min(prefix + "min", ColumnKind::Integer, rows),
        max(prefix + "max", ColumnKind::Integer, rows);
    for (const SummaryStatistic* statistic : statistics) {
        n.AddInteger(statistic->n);
        mean.AddReal(statistic->mean);
        sd.AddReal(statistic->sd);
        se.AddReal(statistic->se);
        min.AddInteger(statistic->min ? std::optional<int64_t>(*statistic->min) : std::nullopt);
        max.AddInteger(statistic->max ? std::optional<int64_t>(*statistic->max) : std::nullopt);
    }
    for (CColumn* column : {&n, &mean, &sd, &se, &min, &max})
        columns.push_back(std::move(*column));
}

std::vector<CColumn> SummaryRowColumns(const std::vector<SummaryRow>& rows) {
    CColumn study("study_no", ColumnKind::Text, rows.size()),
        animal("animal_no", ColumnKind::Text, rows.size()),
        date("date", ColumnKind::Date, rows.size()), n("n", ColumnKind::Integer, rows.size()),
        complete("n_complete", ColumnKind::Integer, rows.size());
    for (const SummaryRow& row : rows) {
        study.AddText(Cp932ToUtf8(row.studyNo));
        animal.AddText(Cp932ToUtf8(row.animalNo));
        date.AddDate(row.date ? DateTextDays(*row.date) : std::nullopt);
        n.AddInteger(row.n);
        complete.AddInteger(row.nComplete);
    }
    std::vector<CColumn> columns;
    for (CColumn* column : {&study, &animal, &date, &n, &complete})
        columns.push_back(std::move(*column));
    const std::pair<const char*, SummaryStatistic SummaryRow::*> statistics[] = {
        {"sbp", &SummaryRow::sbp},
        {"mbp", &SummaryRow::mbp},
        {"dbp", &SummaryRow::dbp},
        {"hr", &SummaryRow::hr}};
    for (const auto& [name, member] : statistics) {
        std::vector<const SummaryStatistic*> values;
        for (const SummaryRow& row : rows)
            values.push_back(&(row.*member));
        AddStatisticColumns(columns, name, values);
    }
    return columns;
}

} // namespace

ValueSource SourceNamed(const std::string& name) {
    if (name == "stored")
        return ValueSource::Stored;
    if (name == "s")
        return ValueSource::AnalysisS;
    if (name == "sm")
        return ValueSource::AnalysisSM;
    throw py::value_error("source must be \"stored\", \"s\" or \"sm\", not \"" + name + "\"");
}

unsigned JobCount(unsigned jobs) {
    return jobs == 0 ? DefaultJobCount() : jobs;
}

std::optional<AcceptanceProfile> ProfileIfNamed(const std::optional<std::string>& name) {
    if (!name)
        return std::nullopt;
    Result<AcceptanceProfile> found = FindProfile(*name, {});
    if (!found.ok())
        throw py::value_error("profile: " + found.error());
    return std::move(found).value();
}

py::list WarningsToPython(const std::vector<std::string>& texts) {
    py::list list;
    for (const std::string& text : texts)
        list.append(py::str(WithInvalidUtf8Replaced(text)));
    return list;
}

py::list ColumnsToPython(const std::vector<CColumn>& columns) {
    py::list list;
    for (const CColumn& column : columns)
        list.append(column.ToPython());
    return list;
}

py::tuple TableColumns(const std::vector<std::string>& paths, const std::string& sourceName,
                       const std::optional<std::string>& profileName, unsigned jobs) {
    const ValueSource source = SourceNamed(sourceName);
    const std::optional<AcceptanceProfile> profile = ProfileIfNamed(profileName);
    std::vector<CColumn> columns;
    for (const std::string& name : TableHeaderNames())
        columns.emplace_back(name, TableColumnKind(name), paths.size());
    std::optional<ReviewResult> review;
    std::vector<std::string> warnings;
    {
        py::gil_scoped_release released;
        ReadTableRows(paths, source, JobCount(jobs), columns);
        if (profile)
            review = ReviewFiles(paths, source, *profile, JobCount(jobs), warnings);
    }
    if (review) {
        CColumn status("status", ColumnKind::Text, paths.size());
        CColumn reason("reason", ColumnKind::Text, paths.size());
        for (const ReadingReview& reading : review->readings) {
            status.AddText(std::string(ReadingStatusName(reading.status)));
            reason.AddField(WithInvalidUtf8Replaced(reading.reason));
        }
        columns.push_back(std::move(status));
        columns.push_back(std::move(reason));
    }
    return py::make_tuple(ColumnsToPython(columns), WarningsToPython(warnings));
}

py::tuple SummaryColumns(const std::vector<std::string>& paths, const std::string& sourceName,
                         const std::optional<std::string>& profileName, const std::string& level,
                         unsigned jobs) {
    const ValueSource source = SourceNamed(sourceName);
    if (level != "session" && level != "animal")
        throw py::value_error("level must be \"session\" or \"animal\", not \"" + level + "\"");
    const std::optional<AcceptanceProfile> profile = ProfileIfNamed(profileName);
    StudySummary summary;
    std::vector<std::string> warnings;
    {
        py::gil_scoped_release released;
        std::vector<Reading> readings = ReadRecordings(paths, source, JobCount(jobs));
        if (profile) {
            // A reading the review does not accept counts in n but in no statistic.
            const auto decisions = LoadManualDecisions(paths, warnings);
            const ReviewResult review = ReviewReadings(readings, source, *profile, decisions);
            for (size_t i = 0; i < readings.size(); ++i) {
                if (review.readings[i].status != ReadingStatus::Accepted)
                    readings[i].complete = false;
            }
        }
        summary = SummarizeReadings(readings, source);
    }
    const std::vector<SummaryRow>& rows = level == "animal" ? summary.animals : summary.sessions;
    return py::make_tuple(ColumnsToPython(SummaryRowColumns(rows)), WarningsToPython(warnings));
}

} // namespace mirado::python
