#include "rendering/ReportRendering.h"

#include "drawing/ReportPages.h"
#include "rendering/PageRendering.h"

#include <QBuffer>
#include <QRect>

#include <memory>

namespace mirado {

std::optional<QByteArray> ReportPdf(const PrintedReport& report, int dpi) {
    const QRect sheet = LandscapeA4Layout().fullRectPixels(dpi);
    const auto pages =
        std::make_shared<CReportPages>(report, Rect{0, 0, sheet.width(), sheet.height()}, dpi);
    const PageJob job{[pages] { return pages->PageCount(); },
                      [pages](IDrawingSurface& surface, const Rect&, int page) {
                          pages->DrawPage(surface, page);
                      }};
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    if (!RenderJobToPdf(job, buffer, dpi))
        return std::nullopt;
    return buffer.data();
}

} // namespace mirado
