#include "Study.h"

#include "Columns.h"
#include "Tables.h"
#include "document/Reading.h"
#include "platform/Utf8.h"
#include "records/TextEncoding.h"
#include "review/ReadingReview.h"
#include "review/ReviewLog.h"
#include "stats/ReadingLevel.h"
#include "stats/StudyStatistics.h"

#include <cmath>

namespace py = pybind11;

namespace mirado::python {

namespace {

std::optional<double> Finite(double value) {
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

// Each animal's values per session: the means of its complete readings, or under a
// profile of its accepted ones.
std::vector<SessionValues> ReadSessionValues(const std::vector<std::string>& paths,
                                             ValueSource source, unsigned jobs,
                                             const std::optional<AcceptanceProfile>& profile,
                                             std::vector<std::string>& warnings) {
    const std::vector<Reading> readings = ReadRecordings(paths, source, jobs);
    if (profile) {
        const auto decisions = LoadManualDecisions(paths, warnings);
        return SessionValuesFromReview(ReviewReadings(readings, source, *profile, decisions));
    }
    return SessionValuesFromSummary(SummarizeReadings(readings, source).sessions);
}

// The study over the groups table: the named one, or else the one beside the recordings,
// or else none. A groups file that cannot be read raises ValueError.
StudyData ReadStudyData(const std::vector<std::string>& paths, ValueSource source, unsigned jobs,
                        const std::optional<AcceptanceProfile>& profile,
                        const std::optional<std::string>& groupsPath,
                        std::vector<std::string>& warnings) {
    std::optional<std::string> failure;
    StudyData data;
    {
        py::gil_scoped_release released;
        const std::vector<SessionValues> values =
            ReadSessionValues(paths, source, jobs, profile, warnings);
        const Result<GroupsTable> groups =
            ReadStudyGroups(values, paths, groupsPath.value_or(""), warnings);
        if (groups.ok())
            data = CollectStudyData(values, groups.value());
        else
            failure = groups.error();
    }
    if (failure)
        throw py::value_error("groups: " + WithInvalidUtf8Replaced(*failure));
    return data;
}

std::optional<int64_t> SessionDays(const StudyData& data, size_t session) {
    return DateTextDays(data.sessions[session].date);
}

std::vector<CColumn> LevelColumns(const StudyData& data, const std::vector<GroupLevels>& rows) {
    std::vector<CColumn> columns;
    columns.emplace_back("group", ColumnKind::Text, rows.size());
    columns.emplace_back("date", ColumnKind::Date, rows.size());
    for (Measure measure : kMeasures) {
        const std::string name = MeasureName(measure);
        columns.emplace_back(name + "_n", ColumnKind::Integer, rows.size());
        for (const char* field : {"_mean", "_sd", "_sem", "_min", "_max"})
            columns.emplace_back(name + field, ColumnKind::Real, rows.size());
    }
    for (const GroupLevels& row : rows) {
        columns[0].AddText(data.groups[row.group]);
        columns[1].AddDate(SessionDays(data, row.session));
        size_t next = 2;
        for (const LevelStatistic& statistic : row.measures) {
            columns[next++].AddInteger(statistic.n);
            for (double value :
                 {statistic.mean, statistic.sd, statistic.sem, statistic.min, statistic.max})
                columns[next++].AddReal(Finite(value));
        }
    }
    return columns;
}

// The columns of the tests: the ANOVA rows, then the comparisons.
class CTestColumns {
public:
    explicit CTestColumns(size_t rows) {
        for (const char* name : {"measure", "test", "term", "session", "group", "control"})
            columns_.emplace_back(
                name, name == std::string("session") ? ColumnKind::Date : ColumnKind::Text, rows);
        for (const char* name : {"n", "n_control"})
            columns_.emplace_back(name, ColumnKind::Integer, rows);
        for (const char* name : {"df_num", "df_den", "F", "t", "df", "p", "ges", "gg_epsilon",
                                 "p_gg", "hf_epsilon", "p_hf", "p_holm"})
            columns_.emplace_back(name, ColumnKind::Real, rows);
    }

    void AddAnova(Measure measure, const AnovaTerm& term) {
        AddTexts(MeasureName(measure), "anova", term.term, std::nullopt, std::nullopt,
                 std::nullopt);
        AddIntegers(std::nullopt, std::nullopt);
        AddReals({term.dfNum, term.dfDen, term.F, NAN, NAN, term.p, term.ges, term.ggEpsilon,
                  term.pGg, term.hfEpsilon, term.pHf, NAN});
    }

    void AddComparison(const StudyData& data, const WelchComparison& c) {
        AddTexts(MeasureName(c.measure), "welch", std::nullopt, SessionDays(data, c.session),
                 data.groups[c.group], data.groups[c.control]);
        AddIntegers(c.n, c.nControl);
        AddReals({NAN, NAN, NAN, c.t, c.df, c.p, NAN, NAN, NAN, NAN, NAN, c.pHolm});
    }

    const std::vector<CColumn>& Columns() const { return columns_; }

private:
    void AddTexts(const std::string& measure, const std::string& test,
                  const std::optional<std::string>& term, std::optional<int64_t> session,
                  const std::optional<std::string>& group,
                  const std::optional<std::string>& control) {
        columns_[0].AddText(measure);
        columns_[1].AddText(test);
        columns_[2].AddText(term);
        columns_[3].AddDate(session);
        columns_[4].AddText(group);
        columns_[5].AddText(control);
    }
    void AddIntegers(std::optional<int64_t> n, std::optional<int64_t> nControl) {
        columns_[6].AddInteger(n);
        columns_[7].AddInteger(nControl);
    }
    void AddReals(const std::vector<double>& values) {
        for (size_t i = 0; i < values.size(); ++i)
            columns_[8 + i].AddReal(Finite(values[i]));
    }

    std::vector<CColumn> columns_;
};

// What the batch tool's stats tells on standard error: animals left out of an ANOVA and
// ANOVAs that cannot be computed.
void AddLeftOutWarnings(const StudyData& data, const StudyTests& tests,
                        std::vector<std::string>& warnings) {
    for (const MeasureAnova& anova : tests.anovas) {
        const std::string prefix = std::string(MeasureName(anova.measure)) + ": ";
        for (const LeftOutAnimal& animal : anova.leftOut) {
            std::string dates;
            for (size_t session : animal.missingSessions)
                dates += (dates.empty() ? "" : ", ") + Cp932ToUtf8(data.sessions[session].date);
            const AnimalKey& key = data.animals[animal.animal].animal;
            warnings.push_back(prefix + "study " + Cp932ToUtf8(key.studyNo) + ", animal " +
                               Cp932ToUtf8(key.animalNo) + " left out of the ANOVA: no value on " +
                               dates);
        }
        if (!anova.problem.empty())
            warnings.push_back(prefix + "the ANOVA cannot be computed: " + anova.problem);
    }
}

std::vector<Measure> MeasuresNamed(const std::optional<std::string>& name) {
    if (!name)
        return {kMeasures.begin(), kMeasures.end()};
    for (Measure measure : kMeasures) {
        if (*name == MeasureName(measure))
            return {measure};
    }
    throw py::value_error("measure must be \"sbp\", \"mbp\", \"dbp\" or \"hr\", not \"" + *name +
                          "\"");
}

std::string JoinedNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names)
        joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

} // namespace

py::tuple GroupLevelColumns(const std::vector<std::string>& paths, const std::string& source,
                            const std::optional<std::string>& profile,
                            const std::optional<std::string>& groups,
                            const std::optional<std::string>& baseline, unsigned jobs) {
    std::vector<std::string> warnings;
    const StudyData data = ReadStudyData(paths, SourceNamed(source), JobCount(jobs),
                                         ProfileIfNamed(profile), groups, warnings);
    std::vector<GroupLevels> rows = ComputeLevels(data);
    if (baseline) {
        if (data.sessions.empty())
            throw py::value_error("no sessions: no recording was read");
        std::optional<size_t> session = baseline->empty() ? 0 : FindSession(data, *baseline);
        if (!session)
            throw py::value_error("baseline: no session on " + *baseline);
        ChangeFromBaseline change = ComputeChangeFromBaseline(data, *session);
        for (const LeftOutAnimal& animal : change.leftOut) {
            const AnimalKey& key = data.animals[animal.animal].animal;
            warnings.push_back(std::string(MeasureName(animal.measure)) + ": study " +
                               Cp932ToUtf8(key.studyNo) + ", animal " + Cp932ToUtf8(key.animalNo) +
                               " left out: no value in the baseline session");
        }
        rows = std::move(change.rows);
    }
    return py::make_tuple(ColumnsToPython(LevelColumns(data, rows)), WarningsToPython(warnings));
}

namespace {

std::vector<CColumn> ReadingLevelToColumns(const std::vector<ReadingLevelRow>& rows) {
    const size_t count = rows.size();
    std::vector<CColumn> columns;
    for (const char* name : {"path", "study_no", "animal_no", "group"})
        columns.emplace_back(name, ColumnKind::Text, count);
    columns.emplace_back("date", ColumnKind::Date, count);
    columns.emplace_back("time", ColumnKind::Text, count);
    for (const char* name : {"sbp", "mbp", "dbp", "hr"})
        columns.emplace_back(name, ColumnKind::Integer, count);
    for (const char* name : {"status", "reason", "path_bytes"})
        columns.emplace_back(name, ColumnKind::Text, count);
    for (const ReadingLevelRow& row : rows) {
        size_t c = 0;
        columns[c++].AddText(WithInvalidUtf8Replaced(row.path));
        for (const std::string* text : {&row.studyNo, &row.animalNo, &row.group})
            columns[c++].AddField(*text);
        columns[c++].AddDate(DateTextDays(row.date));
        columns[c++].AddField(row.time);
        for (const std::optional<int>& value : row.values)
            columns[c++].AddInteger(value);
        columns[c++].AddText(row.status);
        columns[c++].AddField(row.reason);
        columns[c++].AddField(IsValidUtf8(row.path) ? std::string() : HexBytes(row.path));
    }
    return columns;
}

} // namespace

py::tuple ReadingLevelColumns(const std::vector<std::string>& paths, const std::string& source,
                              const std::optional<std::string>& profile,
                              const std::optional<std::string>& groups, unsigned jobs) {
    const ValueSource valueSource = SourceNamed(source);
    const std::optional<AcceptanceProfile> chosen = ProfileIfNamed(profile);
    std::vector<std::string> warnings;
    std::vector<ReadingLevelRow> rows;
    std::optional<std::string> failure;
    {
        py::gil_scoped_release released;
        const std::vector<Reading> readings = ReadRecordings(paths, valueSource, JobCount(jobs));
        const ReviewResult review = chosen
                                        ? ReviewReadings(readings, valueSource, *chosen,
                                                         LoadManualDecisions(paths, warnings))
                                        : ReviewReadings(readings, valueSource, DefaultProfile());
        const Result<GroupsTable> table =
            ReadStudyGroups(SessionValuesFromReview(review), paths, groups.value_or(""), warnings);
        if (table.ok())
            rows = ReadingLevelRows(readings, review, table.value(), valueSource);
        else
            failure = table.error();
    }
    if (failure)
        throw py::value_error("groups: " + WithInvalidUtf8Replaced(*failure));
    return py::make_tuple(ColumnsToPython(ReadingLevelToColumns(rows)), WarningsToPython(warnings));
}

py::tuple StatsColumns(const std::vector<std::string>& paths, const std::string& source,
                       const std::optional<std::string>& profile,
                       const std::optional<std::string>& groups,
                       const std::optional<std::string>& control,
                       const std::optional<std::string>& measure, unsigned jobs) {
    const std::vector<Measure> measures = MeasuresNamed(measure);
    std::vector<std::string> warnings;
    const StudyData data = ReadStudyData(paths, SourceNamed(source), JobCount(jobs),
                                         ProfileIfNamed(profile), groups, warnings);
    if (data.groups.empty())
        throw py::value_error("no groups: no animal was read");
    const std::optional<size_t> controlGroup = control ? FindGroup(data, *control) : 0;
    if (!controlGroup)
        throw py::value_error("control: no group \"" + *control + "\"; the groups are " +
                              JoinedNames(data.groups));
    const StudyTests tests = ComputeStudyTests(data, *controlGroup, measures);
    AddLeftOutWarnings(data, tests, warnings);
    size_t rows = tests.comparisons.size();
    for (const MeasureAnova& anova : tests.anovas)
        rows += anova.terms.size();
    CTestColumns columns(rows);
    for (const MeasureAnova& anova : tests.anovas) {
        for (const AnovaTerm& term : anova.terms)
            columns.AddAnova(anova.measure, term);
    }
    for (const WelchComparison& comparison : tests.comparisons)
        columns.AddComparison(data, comparison);
    return py::make_tuple(ColumnsToPython(columns.Columns()), WarningsToPython(warnings));
}

} // namespace mirado::python
