#include "review/ExclusionReport.h"

#include "document/CsvField.h"
#include "records/TextEncoding.h"

#include <sstream>

namespace mirado {

namespace {

constexpr const char* kLineEnd = "\n";

const char* const kExcludedColumns[] = {"path", "study_no", "animal_no", "date",   "time",
                                        "sbp",  "hr",       "status",    "reason", "decided_by",
                                        "note", "user",     "decided_at"};

nlohmann::ordered_json SessionJson(const SessionReview& session) {
    nlohmann::ordered_json json = {{"study_no", Cp932ToUtf8(session.studyNo)},
                                   {"animal_no", Cp932ToUtf8(session.animalNo)},
                                   {"date", Cp932ToUtf8(session.date)}};
    json.update(StatusCountsJson(session.counts));
    return json;
}

// The readings that are not accepted, in the sessions' order, then those in no session.
std::vector<size_t> ExcludedInReportOrder(const ReviewResult& review) {
    std::vector<size_t> excluded;
    for (const SessionReview& session : review.sessions) {
        for (size_t index : session.readings) {
            if (review.readings[index].status != ReadingStatus::Accepted)
                excluded.push_back(index);
        }
    }
    for (size_t index = 0; index < review.readings.size(); ++index) {
        if (review.readings[index].session < 0)
            excluded.push_back(index);
    }
    return excluded;
}

// The fields of an excluded reading's row, in kExcludedColumns' order.
std::vector<std::string> ExcludedFields(const Reading& reading, const ReadingReview& review) {
    const CExportFields& values = reading.values;
    const bool inSession = review.session >= 0;
    return {WithInvalidUtf8Replaced(reading.path),
            inSession ? Cp932ToUtf8(values.exNo) : "",
            inSession ? Cp932ToUtf8(values.animalNo) : "",
            inSession ? Cp932ToUtf8(values.date) : "",
            inSession ? Cp932ToUtf8(values.time) : "",
            reading.loaded ? std::to_string(values.sbp) : "",
            reading.loaded ? std::to_string(values.hr) : "",
            ReadingStatusName(review.status),
            WithInvalidUtf8Replaced(review.reason),
            review.manual ? "manual" : "rule",
            WithInvalidUtf8Replaced(review.note),
            WithInvalidUtf8Replaced(review.user),
            WithInvalidUtf8Replaced(review.time)};
}

std::string PathBytes(const std::string& path) {
    return IsValidUtf8(path) ? std::string() : HexBytes(path);
}

std::string Dump(const nlohmann::ordered_json& json) {
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + kLineEnd;
}

// Each JSON line of lines with "table": name put first.
std::string Tagged(const std::string& name, const std::string& lines) {
    std::string text;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);) {
        nlohmann::ordered_json tagged = {{"table", name}};
        tagged.update(nlohmann::ordered_json::parse(line));
        text += Dump(tagged);
    }
    return text;
}

} // namespace

std::string ExclusionReportCsv(const AcceptanceProfile& profile,
                               const std::vector<Reading>& readings, const ReviewResult& review) {
    return "# profile: " + Dump(ProfileJson(profile)) + kLineEnd + SessionCountsCsv(review) +
           kLineEnd + ExcludedReadingsCsv(readings, review);
}

std::string ExclusionReportJsonLines(const AcceptanceProfile& profile,
                                     const std::vector<Reading>& readings,
                                     const ReviewResult& review) {
    nlohmann::ordered_json tagged = {{"table", "profile"}};
    tagged.update(ProfileJson(profile));
    return Dump(tagged) + Tagged("sessions", SessionCountsJsonLines(review)) +
           Tagged("excluded", ExcludedReadingsJsonLines(readings, review));
}

std::string SessionCountsCsv(const ReviewResult& review) {
    std::string text = "study_no,animal_no,date,recorded";
    for (size_t status = 0; status < kReadingStatusCount; ++status)
        text += std::string(",") + ReadingStatusName(static_cast<ReadingStatus>(status));
    text += kLineEnd;
    for (const SessionReview& session : review.sessions) {
        text += CsvField(Cp932ToUtf8(session.studyNo)) + ',' +
                CsvField(Cp932ToUtf8(session.animalNo)) + ',' +
                CsvField(Cp932ToUtf8(session.date)) + ',' + std::to_string(session.counts.recorded);
        for (int count : session.counts.byStatus)
            text += ',' + std::to_string(count);
        text += kLineEnd;
    }
    return text;
}

std::string SessionCountsJsonLines(const ReviewResult& review) {
    std::string text;
    for (const SessionReview& session : review.sessions)
        text += Dump(SessionJson(session));
    return text;
}

std::string ExcludedReadingsCsv(const std::vector<Reading>& readings, const ReviewResult& review) {
    std::string text;
    for (const char* column : kExcludedColumns)
        text += std::string(column) + ',';
    text += "path_bytes";
    text += kLineEnd;
    for (size_t index : ExcludedInReportOrder(review)) {
        for (const std::string& field : ExcludedFields(readings[index], review.readings[index]))
            text += CsvField(field) + ',';
        text += PathBytes(readings[index].path) + kLineEnd;
    }
    return text;
}

std::string ExcludedReadingsJsonLines(const std::vector<Reading>& readings,
                                      const ReviewResult& review) {
    std::string text;
    for (size_t index : ExcludedInReportOrder(review)) {
        const std::vector<std::string> fields =
            ExcludedFields(readings[index], review.readings[index]);
        nlohmann::ordered_json json = nlohmann::ordered_json::object();
        for (size_t i = 0; i < fields.size(); ++i) {
            if (!fields[i].empty())
                json[kExcludedColumns[i]] = fields[i];
        }
        if (json.contains("sbp")) { // numbers in JSON
            json["sbp"] = readings[index].values.sbp;
            json["hr"] = readings[index].values.hr;
        }
        if (const std::string bytes = PathBytes(readings[index].path); !bytes.empty())
            json["path_bytes"] = bytes;
        text += Dump(json);
    }
    return text;
}

} // namespace mirado
