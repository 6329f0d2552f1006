#pragma once
// A PrintedReport as PDF: landscape A4 sheets (as the printed pages), cut into pages by
// CReportPages at the given resolution. The report's figures are painted by the caller's
// figure painter into their rooms on the sheet (in the sheet's pixels at that resolution).

#include "document/PrintedReport.h"

#include <QByteArray>
#include <QRect>

#include <functional>
#include <optional>

class QPainter;

namespace mirado {

inline constexpr int kReportDpi = 300;

using ReportFigurePainter =
    std::function<void(QPainter& painter, const QRect& room, const ReportFigure& figure)>;

// The report's PDF bytes; nothing when the PDF could not be made. Without a figure
// painter the figures' rooms stay empty.
std::optional<QByteArray> ReportPdf(const PrintedReport& report, int dpi = kReportDpi,
                                    const ReportFigurePainter& paintFigure = {});

} // namespace mirado
