#include "records/TextEncoding.h"
#include "stats/StudyStatistics.h"

#include <algorithm>
#include <map>
#include <set>
#include <tuple>

namespace mirado {

namespace {

std::optional<double> MeanOf(const SummaryStatistic& statistic) {
    return statistic.n > 0 ? statistic.mean : std::nullopt;
}

// Real dates first by date, then unreadable texts by their bytes (the summary's order).
using SessionOrder = std::tuple<bool, int, std::string>;

SessionOrder OrderOf(const std::string& date, const std::optional<SessionDate>& sessionDate) {
    if (!sessionDate)
        return {true, 0, date};
    return {false, sessionDate->year * 10000 + sessionDate->month * 100 + sessionDate->day, date};
}

// A date given on the command line: YY/MM/DD, YYYY/MM/DD or YYYY-MM-DD.
std::optional<SessionDate> ReadGivenDate(const std::string& text) {
    const bool longForm = text.size() == 10 && text.compare(0, 2, "20") == 0 &&
                          (text[4] == '-' || text[4] == '/') && text[7] == text[4];
    if (!longForm)
        return ReadSessionDate(text);
    std::string shortText = text.substr(2);
    shortText[2] = shortText[5] = '/';
    return ReadSessionDate(shortText);
}

} // namespace

namespace {

// Each measure's name in data and its label in charts and printed tables, in the order of
// Measure.
struct MeasureTexts {
    const char* name;
    const char* label;
};
constexpr MeasureTexts kMeasureTexts[kMeasureCount] = {
    {"sbp", "SBP"}, {"mbp", "MBP"}, {"dbp", "DBP"}, {"hr", "HR"}};

} // namespace

const char* MeasureName(Measure measure) {
    return kMeasureTexts[static_cast<size_t>(measure)].name;
}

const char* MeasureLabel(Measure measure) {
    return kMeasureTexts[static_cast<size_t>(measure)].label;
}

std::vector<SessionValues> SessionValuesFromSummary(const std::vector<SummaryRow>& sessions) {
    std::vector<SessionValues> values;
    for (const SummaryRow& row : sessions)
        values.push_back({{row.studyNo, row.animalNo},
                          row.date.value_or(std::string()),
                          row.sessionDate,
                          {MeanOf(row.sbp), MeanOf(row.mbp), MeanOf(row.dbp), MeanOf(row.hr)}});
    return values;
}

std::vector<SessionValues> SessionValuesFromReview(const ReviewResult& review) {
    std::vector<SessionValues> values;
    for (const SessionReview& session : review.sessions)
        values.push_back({{session.studyNo, session.animalNo},
                          session.date,
                          session.sessionDate,
                          {MeanOf(session.sbp.values), MeanOf(session.mbp.values),
                           MeanOf(session.dbp.values), MeanOf(session.hr.values)}});
    return values;
}

StudyData CollectStudyData(const std::vector<SessionValues>& values, const GroupsTable& groups) {
    StudyData data;
    std::map<SessionOrder, StudySession> sessions;
    std::set<AnimalKey> animals;
    for (const SessionValues& value : values) {
        sessions.emplace(OrderOf(value.date, value.sessionDate),
                         StudySession{value.date, value.sessionDate});
        animals.insert(value.animal);
    }
    std::map<std::string, size_t> sessionIndex;
    for (const auto& [order, session] : sessions) {
        sessionIndex[session.date] = data.sessions.size();
        data.sessions.push_back(session);
    }
    data.groups = groups.GroupNames();
    std::map<AnimalKey, size_t> animalIndex;
    for (const AnimalKey& animal : animals) {
        const std::string group = groups.GroupOf(animal);
        auto found = std::find(data.groups.begin(), data.groups.end(), group);
        if (found == data.groups.end())
            found = data.groups.insert(data.groups.end(), group);
        animalIndex[animal] = data.animals.size();
        data.animals.push_back({animal, static_cast<size_t>(found - data.groups.begin()),
                                std::vector<MeasureValues>(data.sessions.size())});
    }
    for (const SessionValues& value : values) {
        MeasureValues& target =
            data.animals[animalIndex.at(value.animal)].values[sessionIndex.at(value.date)];
        // Two recordings of one animal on one day under different date texts cannot
        // happen (the date text is the session); the first value stands.
        for (size_t m = 0; m < kMeasureCount; ++m)
            if (!target[m])
                target[m] = value.values[m];
    }
    return data;
}

std::optional<size_t> FindSession(const StudyData& data, const std::string& date) {
    for (size_t i = 0; i < data.sessions.size(); ++i)
        if (data.sessions[i].date == date)
            return i;
    const std::optional<SessionDate> given = ReadGivenDate(date);
    if (!given)
        return std::nullopt;
    for (size_t i = 0; i < data.sessions.size(); ++i) {
        const std::optional<SessionDate>& d = data.sessions[i].sessionDate;
        if (d && d->year == given->year && d->month == given->month && d->day == given->day)
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> FindGroup(const StudyData& data, const std::string& name) {
    const auto found = std::find(data.groups.begin(), data.groups.end(), name);
    if (found == data.groups.end())
        return std::nullopt;
    return static_cast<size_t>(found - data.groups.begin());
}

Result<GroupsTable> ReadStudyGroups(const std::vector<SessionValues>& values,
                                    const std::vector<std::string>& recordingPaths,
                                    const std::string& groupsPath,
                                    std::vector<std::string>& warnings) {
    const std::string path = groupsPath.empty() ? FindGroupsFile(recordingPaths) : groupsPath;
    if (path.empty())
        return GroupsTable{};
    std::set<AnimalKey> animals;
    for (const SessionValues& value : values)
        animals.insert(value.animal);
    const std::vector<AnimalKey> known(animals.begin(), animals.end());
    Result<GroupsRead> table = ReadGroupsFile(path, &known);
    if (!table.ok())
        return Fail(table.error());
    for (const std::string& warning : table.value().warnings)
        warnings.push_back(path + ": " + warning);
    return std::move(table.value().table);
}

} // namespace mirado
