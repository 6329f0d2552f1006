#include "rendering/PageRendering.h"

#include "drawing/CurrentFilePage.h"
#include "rendering/QtPainterSurface.h"

#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <memory>
#include <utility>

namespace mirado {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr Colour kPaper = 0xFFFFFF;

Rect DeviceRect(const QPaintDevice& device) {
    return {0, 0, device.width(), device.height()};
}

void DrawOnePage(QPainter& painter, const PageJob& job, int page) {
    painter.save();
    QtPainterSurface surface(painter);
    job.draw(surface, DeviceRect(*painter.device()), page);
    painter.restore();
}

} // namespace

PageJob CurrentFileJob(const CMiradoDoc& doc, IUserPrompts& prompts,
                       const ScaleLabelOptions& scaleLabels) {
    return {[] { return 1; },
            [&doc, &prompts, scaleLabels](IDrawingSurface& surface, const Rect& rect, int) {
                CCurrentFilePage(doc, prompts, scaleLabels).Draw(surface, rect);
            }};
}

PageJob SelectedFilesJob(const CMiradoDoc& doc, IUserPrompts& prompts,
                         CSelectedFilesPage::MakeCurrent makeCurrent) {
    const auto page = std::make_shared<CSelectedFilesPage>(doc, prompts, std::move(makeCurrent));
    return {[page] { return std::max(page->PageCount(), 1); },
            [page](IDrawingSurface& surface, const Rect& rect, int n) {
                page->Draw(surface, rect, n);
            }};
}

QPageLayout LandscapeA4Layout() {
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0));
}

void RenderJobPages(QPainter& painter, QPagedPaintDevice& device, const PageJob& job, int first,
                    int last) {
    for (int page = first; page <= last; ++page) {
        if (page != first)
            device.newPage();
        DrawOnePage(painter, job, page);
    }
}

bool RenderJobToPdf(const PageJob& job, QIODevice& device, int dpi) {
    QPdfWriter writer(&device);
    writer.setResolution(dpi);
    writer.setPageLayout(LandscapeA4Layout());
    writer.setCreator(QStringLiteral("Mirado"));
    QPainter painter;
    if (!painter.begin(&writer))
        return false;
    RenderJobPages(painter, writer, job, 1, job.pageCount());
    return painter.end();
}

bool RenderFirstPageToPng(const PageJob& job, QIODevice& device, int dpi) {
    if (dpi < 1 || dpi > kLargestImageDpi)
        return false;
    const QSize size = LandscapeA4Layout().fullRectPixels(dpi).size();
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return false;
    const int dotsPerMetre = static_cast<int>(std::lround(dpi / kMetresPerInch));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    image.fill(QtPainterSurface::ToQColor(kPaper));
    {
        QPainter painter(&image);
        DrawOnePage(painter, job, 1);
    }
    return image.save(&device, "PNG");
}

} // namespace mirado
