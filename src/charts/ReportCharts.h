#pragma once
// The exclusion report with a study as PDF: the report's figures keyed by a measure's name
// ("sbp", ...) are painted as that measure's group chart (each group's mean ± SEM per
// session, sessions at their dates).

#include "document/PrintedReport.h"
#include "stats/StudyStatistics.h"

#include <QByteArray>

#include <optional>

namespace mirado {

// The report's PDF bytes (ReportPdf) with the study's group charts; nothing when the PDF
// could not be made.
std::optional<QByteArray> ReportPdfWithGroupCharts(const PrintedReport& report,
                                                   const StudyData& study);

} // namespace mirado
