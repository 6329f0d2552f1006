#include "stats/StudyReport.h"

#include "records/TextEncoding.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace mirado {

namespace {

std::string MeasureTitle(Measure measure) {
    return std::string(MeasureLabel(measure)) +
           (measure == Measure::Hr ? " (beats/min)" : " (mmHg)");
}

std::string Fixed(double value, int decimals) {
    if (!std::isfinite(value))
        return {};
    char text[48];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

// Degrees of freedom: whole ones as such, corrected ones to two decimals.
std::string DegreesOfFreedom(double value) {
    return std::isfinite(value) && value == std::round(value) ? Fixed(value, 0) : Fixed(value, 2);
}

std::string PValue(double p) {
    if (std::isfinite(p) && p < 0.0001)
        return "<0.0001";
    return Fixed(p, 4);
}

std::string SessionText(const StudyData& data, size_t session) {
    return Cp932ToUtf8(data.sessions[session].date);
}

std::string GroupsLine(const StudyData& data, size_t control) {
    std::vector<int> animals(data.groups.size(), 0);
    for (const StudyAnimal& animal : data.animals)
        ++animals[animal.group];
    std::string line = "Groups (n = animals):";
    for (size_t group = 0; group < data.groups.size(); ++group)
        line += (group == 0 ? " " : ", ") + data.groups[group] + " (" +
                std::to_string(animals[group]) + (group == control ? ", control" : "") + ")";
    return line + ". Each animal's value in a session is the mean of its accepted readings.";
}

ReportTable LevelsTable(const StudyData& data, const std::vector<GroupLevels>& levels,
                        size_t measure) {
    ReportTable table;
    table.title = "Groups per session: " + MeasureTitle(kMeasures[measure]);
    table.columns = {"Group", "Date", "n", "Mean", "SD", "SEM", "Min", "Max"};
    table.rightAligned = RightAlignedAfter(2, table.columns.size());
    table.emptyText = "No session.";
    for (const GroupLevels& row : levels) {
        const LevelStatistic& s = row.measures[measure];
        table.rows.push_back({data.groups[row.group], SessionText(data, row.session),
                              std::to_string(s.n), Fixed(s.mean, 1), Fixed(s.sd, 2),
                              Fixed(s.sem, 2), Fixed(s.min, 1), Fixed(s.max, 1)});
    }
    return table;
}

ReportTable AnovaTable(const StudyTests& tests) {
    ReportTable table;
    table.title = "Repeated-measures ANOVA (type III; Greenhouse-Geisser and Huynh-Feldt "
                  "corrections for the terms within animals)";
    table.columns = {"Measure", "Term", "df1",    "df2",  "F",      "p",
                     "ges",     "GG ε", "p (GG)", "HF ε", "p (HF)", "Animals"};
    table.rightAligned = RightAlignedAfter(2, table.columns.size());
    table.emptyText = "No measure has values.";
    for (const MeasureAnova& anova : tests.anovas)
        for (const AnovaTerm& term : anova.terms)
            table.rows.push_back(
                {MeasureName(anova.measure), term.term, DegreesOfFreedom(term.dfNum),
                 DegreesOfFreedom(term.dfDen), Fixed(term.F, 3), PValue(term.p), Fixed(term.ges, 3),
                 Fixed(term.ggEpsilon, 3), PValue(term.pGg), Fixed(term.hfEpsilon, 3),
                 PValue(term.pHf), std::to_string(anova.animalsUsed)});
    return table;
}

ReportTable LeftOutTable(const StudyData& data, const StudyTests& tests) {
    ReportTable table;
    table.title = "Left out of the ANOVA";
    table.columns = {"Measure", "Study", "Animal", "Group", "Without a value on"};
    table.emptyText = "No animal: every animal has a value in every session.";
    for (const MeasureAnova& anova : tests.anovas) {
        for (const LeftOutAnimal& left : anova.leftOut) {
            const StudyAnimal& animal = data.animals[left.animal];
            std::string dates;
            for (size_t session : left.missingSessions)
                dates += (dates.empty() ? "" : ", ") + SessionText(data, session);
            table.rows.push_back({MeasureName(anova.measure), Cp932ToUtf8(animal.animal.studyNo),
                                  Cp932ToUtf8(animal.animal.animalNo), data.groups[animal.group],
                                  dates});
        }
        if (!anova.problem.empty())
            table.rows.push_back(
                {MeasureName(anova.measure), "", "", "", "no ANOVA: " + anova.problem});
    }
    return table;
}

ReportTable ComparisonsTable(const StudyData& data, const StudyTests& tests) {
    ReportTable table;
    table.title = "Each group against the control per session (Welch's t, Holm's adjustment "
                  "over each measure)";
    table.columns = {"Measure",   "Date", "Group", "Control", "n",
                     "n control", "t",    "df",    "p",       "p (Holm)"};
    table.rightAligned = RightAlignedAfter(4, table.columns.size());
    table.emptyText = "No comparison: the study has one group.";
    for (const WelchComparison& c : tests.comparisons)
        table.rows.push_back({MeasureName(c.measure), SessionText(data, c.session),
                              data.groups[c.group], data.groups[c.control], std::to_string(c.n),
                              std::to_string(c.nControl), Fixed(c.t, 3), Fixed(c.df, 2),
                              PValue(c.p), PValue(c.pHolm)});
    return table;
}

// Each JSON line of lines with "table": name put first.
std::string Tagged(const std::string& name, const std::string& lines) {
    std::string text;
    std::istringstream in(lines);
    for (std::string line; std::getline(in, line);)
        text += "{\"table\":\"" + name + "\"," + line.substr(1) + '\n';
    return text;
}

} // namespace

void AddStudyToReport(PrintedReport& report, const StudyData& data, size_t control) {
    const std::vector<GroupLevels> levels = ComputeLevels(data);
    const StudyTests tests = ComputeStudyTests(data, control);
    report.lines.push_back(GroupsLine(data, control));
    for (size_t measure = 0; measure < kMeasureCount; ++measure)
        report.tables.push_back(LevelsTable(data, levels, measure));
    for (Measure measure : kMeasures)
        report.figures.push_back({"Group mean ± SEM per session: " + MeasureTitle(measure),
                                  MeasureName(measure), report.tables.size()});
    report.tables.push_back(AnovaTable(tests));
    report.tables.push_back(LeftOutTable(data, tests));
    report.tables.push_back(ComparisonsTable(data, tests));
}

std::string StudyReportCsv(const StudyData& data, size_t control) {
    std::string csv(1, '\n');
    csv += LevelsCsv(data, ComputeLevels(data));
    csv += '\n';
    csv += StudyTestsCsv(data, ComputeStudyTests(data, control));
    return csv;
}

std::string StudyReportJsonLines(const StudyData& data, size_t control) {
    return Tagged("groups", LevelsJsonLines(data, ComputeLevels(data))) +
           Tagged("tests", StudyTestsJsonLines(data, ComputeStudyTests(data, control)));
}

std::optional<Measure> MeasureNamed(const std::string& name) {
    for (Measure measure : kMeasures)
        if (name == MeasureName(measure))
            return measure;
    return std::nullopt;
}

} // namespace mirado
