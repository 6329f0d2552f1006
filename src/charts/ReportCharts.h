#pragma once
// The exclusion report as PDF, with a study's part when there is one (StudyReport.h): the
// report's figures keyed by a measure's name ("sbp", ...) are painted as that measure's
// group chart (each group's mean ± SEM per session, sessions at their dates).

#include "document/PrintedReport.h"
#include "stats/StudyStatistics.h"

#include <QByteArray>

#include <optional>

namespace mirado {

// The report's PDF bytes (ReportPdf), with the study's tables and group charts added when
// study is given (the comparisons against the control group); nothing when the PDF could
// not be made.
std::optional<QByteArray> ReportPdfWithStudy(PrintedReport report, const StudyData* study,
                                             size_t control);

} // namespace mirado
