#pragma once
// The study's part of the exclusion report, over the groups and each animal's session
// means of its accepted readings: the group levels (n = animals), the group charts, the
// ANOVA with the animals it left out, and each group against the control group per
// session. As pages (added to a printed report) and as data (the CSV or JSON Lines
// report's last parts).
//
// Use:
//   AddStudyToReport(report, study, control);   then print with a drawer of each
//   figure's measure (MeasureNamed(figure.key)).

#include "document/PrintedReport.h"
#include "stats/StudyStatistics.h"

#include <optional>
#include <string>

namespace mirado {

// Adds to the report a line naming the groups with their animals and the control group;
// per measure a table of the group levels (n, mean, SD, SEM, min, max per group and
// session); after those tables one figure per measure, keyed by its name ("sbp", ...), for
// its group chart; then the ANOVA, the animals it left out and the comparisons.
void AddStudyToReport(PrintedReport& report, const StudyData& data, size_t control);

// The group levels and the tests as the CSV report's last two parts, each after an empty
// line, or as JSON Lines whose objects start with "table": "groups" or "tests".
std::string StudyReportCsv(const StudyData& data, size_t control);
std::string StudyReportJsonLines(const StudyData& data, size_t control);

// The measure whose MeasureName is name.
std::optional<Measure> MeasureNamed(const std::string& name);

} // namespace mirado
