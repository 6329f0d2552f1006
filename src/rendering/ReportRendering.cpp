#include "rendering/ReportRendering.h"

#include "drawing/ReportPages.h"
#include "rendering/PageRendering.h"
#include "rendering/QtPainterSurface.h"

#include <QBuffer>
#include <QPainter>
#include <QRect>

#include <memory>

namespace mirado {

namespace {

// The figure drawer of the pages: the pages are drawn on a QtPainterSurface, whose
// painter the figure painter paints with.
FigureDrawer PainterFigures(const ReportFigurePainter& paintFigure) {
    if (!paintFigure)
        return {};
    return [paintFigure](IDrawingSurface& surface, const Rect& room, const ReportFigure& figure) {
        if (auto* painterSurface = dynamic_cast<QtPainterSurface*>(&surface)) {
            QPainter& painter = painterSurface->Painter();
            painter.save();
            paintFigure(painter, QRect(room.left, room.top, room.Width(), room.Height()), figure);
            painter.restore();
        }
    };
}

} // namespace

std::optional<QByteArray> ReportPdf(const PrintedReport& report, int dpi,
                                    const ReportFigurePainter& paintFigure) {
    const QRect sheet = LandscapeA4Layout().fullRectPixels(dpi);
    const auto pages =
        std::make_shared<CReportPages>(report, Rect{0, 0, sheet.width(), sheet.height()}, dpi);
    const PageJob job{[pages] { return pages->PageCount(); },
                      [pages, figures = PainterFigures(paintFigure)](IDrawingSurface& surface,
                                                                     const Rect&, int page) {
                          pages->DrawPage(surface, page, figures);
                      }};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!RenderJobToPdf(job, buffer, dpi))
        return std::nullopt;
    return buffer.data();
}

} // namespace mirado
