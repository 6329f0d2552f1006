#include "review/PrintedExclusionReport.h"

#include "document/FileList.h"
#include "platform/Utf8.h"
#include "records/TextEncoding.h"

#include <cstdio>

namespace mirado {

namespace {

const char* SourceText(ValueSource source) {
    switch (source) {
    case ValueSource::AnalysisS:
        return "Analysis S";
    case ValueSource::AnalysisSM:
        return "Analysis S-M";
    default:
        return "Stored values";
    }
}

// A rule's value as the profile gives it: a whole number without a decimal point.
std::string RuleValue(const nlohmann::json& value) {
    if (value.is_number_float()) {
        const double number = value.get<double>();
        char text[32];
        std::snprintf(text, sizeof text, "%g", number);
        return text;
    }
    return value.dump();
}

std::vector<std::string> ProfileLines(const AcceptanceProfile& profile, ValueSource source,
                                      const ReviewResult& review) {
    std::vector<std::string> lines = {"Profile: " + WithInvalidUtf8Replaced(profile.name)};
    if (!profile.description.empty())
        lines.push_back(WithInvalidUtf8Replaced(profile.description));
    std::string rules;
    const nlohmann::json parameters = ProfileParameters(profile);
    for (const auto& [key, value] : parameters.items())
        rules += (rules.empty() ? "" : ", ") + key + " = " + RuleValue(value);
    lines.push_back("Rules: " +
                    (rules.empty() ? "none (every complete reading is accepted)" : rules));
    int accepted = 0;
    for (const ReadingReview& reading : review.readings)
        accepted += reading.status == ReadingStatus::Accepted ? 1 : 0;
    lines.push_back("Values: " + std::string(SourceText(source)) +
                    ". Files: " + std::to_string(review.readings.size()) +
                    ", sessions: " + std::to_string(review.sessions.size()) +
                    ", readings accepted: " + std::to_string(accepted) + ".");
    return lines;
}

std::vector<std::string> SessionKey(const SessionReview& session) {
    return {Cp932ToUtf8(session.studyNo), Cp932ToUtf8(session.animalNo), Cp932ToUtf8(session.date)};
}

const char* const kStatusTitles[kReadingStatusCount] = {
    "Damaged",   "Incomplete", "Training",         "Acclimation", "Out of range",
    "Deviation", "Rejected",   "Session rejected", "Accepted"};

ReportTable CountsTable(const ReviewResult& review) {
    ReportTable table;
    table.title = "Readings by session: recorded = each exclusion + accepted";
    table.columns = {"Study", "Animal", "Date", "Recorded"};
    table.columns.insert(table.columns.end(), std::begin(kStatusTitles), std::end(kStatusTitles));
    table.rightAligned = RightAlignedAfter(3, table.columns.size());
    table.emptyText = "No session.";
    for (const SessionReview& session : review.sessions) {
        std::vector<std::string> row = SessionKey(session);
        row.push_back(std::to_string(session.counts.recorded));
        for (int count : session.counts.byStatus)
            row.push_back(std::to_string(count));
        table.rows.push_back(std::move(row));
    }
    return table;
}

std::vector<std::string> ExcludedRow(const Reading& reading, const ReadingReview& review) {
    const CExportFields& values = reading.values;
    const bool inSession = review.session >= 0;
    const auto sessionText = [&](const std::string& text) {
        return inSession ? Cp932ToUtf8(text) : std::string();
    };
    return {WithInvalidUtf8Replaced(FileNameOfPath(reading.path)),
            sessionText(values.exNo),
            sessionText(values.animalNo),
            sessionText(values.date),
            sessionText(values.time),
            reading.loaded ? std::to_string(values.sbp) : "",
            reading.loaded ? std::to_string(values.hr) : "",
            ReadingStatusName(review.status),
            ReasonText(review),
            review.manual ? "manual" : "rule",
            WithInvalidUtf8Replaced(review.note),
            WithInvalidUtf8Replaced(review.user),
            WithInvalidUtf8Replaced(review.time)};
}

ReportTable ExcludedTable(const std::vector<Reading>& readings, const ReviewResult& review) {
    ReportTable table;
    table.title = "Readings not accepted";
    table.columns = {"File",   "Study",  "Animal", "Date", "Time", "SBP", "HR",
                     "Status", "Reason", "By",     "Note", "User", "When"};
    table.rightAligned = {false, false, false, false, false, true, true};
    table.emptyText = "Every reading is accepted.";
    const auto add = [&](size_t index) {
        if (review.readings[index].status != ReadingStatus::Accepted)
            table.rows.push_back(ExcludedRow(readings[index], review.readings[index]));
    };
    for (const SessionReview& session : review.sessions)
        for (size_t index : session.readings)
            add(index);
    for (size_t index = 0; index < review.readings.size(); ++index)
        if (review.readings[index].session < 0)
            add(index);
    return table;
}

std::string Number(const std::optional<double>& value) {
    if (!value)
        return {};
    char text[32];
    std::snprintf(text, sizeof text, "%.1f", *value);
    return text;
}

ReportTable SummaryTable(const ReviewResult& review) {
    ReportTable table;
    table.title = "Summary of the accepted readings";
    table.columns = {"Study",    "Animal", "Date",     "n",      "SBP mean", "SBP SD", "SBP CV %",
                     "MBP mean", "MBP SD", "DBP mean", "DBP SD", "HR mean",  "HR SD"};
    table.rightAligned = RightAlignedAfter(3, table.columns.size());
    table.emptyText = "No session.";
    for (const SessionReview& session : review.sessions) {
        std::vector<std::string> row = SessionKey(session);
        row.push_back(std::to_string(session.counts.Of(ReadingStatus::Accepted)));
        row.insert(row.end(), {Number(session.sbp.values.mean), Number(session.sbp.values.sd),
                               Number(session.sbp.cv), Number(session.mbp.values.mean),
                               Number(session.mbp.values.sd), Number(session.dbp.values.mean),
                               Number(session.dbp.values.sd), Number(session.hr.values.mean),
                               Number(session.hr.values.sd)});
        table.rows.push_back(std::move(row));
    }
    return table;
}

} // namespace

PrintedReport PrintedExclusionReport(const AcceptanceProfile& profile,
                                     const std::vector<Reading>& readings,
                                     const ReviewResult& review, ValueSource source) {
    PrintedReport report;
    report.title = kExclusionReportTitle;
    report.lines = ProfileLines(profile, source, review);
    report.tables = {CountsTable(review), ExcludedTable(readings, review), SummaryTable(review)};
    return report;
}

} // namespace mirado
