#pragma once
// A PrintedReport as PDF: landscape A4 sheets (as the printed pages), cut into pages by
// CReportPages at the given resolution.

#include "document/PrintedReport.h"

#include <QByteArray>

#include <optional>

namespace mirado {

inline constexpr int kReportDpi = 300;

// The report's PDF bytes; nothing when the PDF could not be made.
std::optional<QByteArray> ReportPdf(const PrintedReport& report, int dpi = kReportDpi);

} // namespace mirado
