#include "charts/ReportCharts.h"

#include "charts/GroupChart.h"
#include "rendering/ReportRendering.h"
#include "stats/StudyReport.h"

namespace mirado {

std::optional<QByteArray> ReportPdfWithStudy(PrintedReport report, const StudyData* study,
                                             size_t control) {
    if (study == nullptr)
        return ReportPdf(report);
    AddStudyToReport(report, *study, control);
    const std::vector<GroupLevels> levels = ComputeLevels(*study);
    const auto paintChart = [&](QPainter& painter, const QRect& room, const ReportFigure& figure) {
        if (const std::optional<Measure> measure = MeasureNamed(figure.key))
            PaintGroupChart(painter, room, kReportDpi,
                            GroupChartFromStudy(*study, levels, *measure, std::nullopt),
                            GroupChartOptions{});
    };
    return ReportPdf(report, kReportDpi, paintChart);
}

} // namespace mirado
