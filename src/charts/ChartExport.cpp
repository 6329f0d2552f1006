#include "charts/ChartExport.h"

#include "platform/qtcore/UiText.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <qcustomplot.h>

#include <cmath>

namespace mirado {

namespace {

constexpr double kMmPerInch = 25.4;

int Dots(double mm, double dpi) {
    return static_cast<int>(std::lround(mm / kMmPerInch * dpi));
}

bool DrawOn(QPaintDevice& device, QCustomPlot& plot, const QSize& layout, double scale,
            bool vector) {
    QCPPainter painter;
    if (!painter.begin(&device))
        return false;
    if (vector) {
        painter.setMode(QCPPainter::pmVectorized);
        painter.setMode(QCPPainter::pmNoCaching);
    } else {
        painter.setMode(QCPPainter::pmNonCosmetic);
        painter.setRenderHint(QPainter::Antialiasing);
    }
    painter.scale(scale, scale);
    plot.toPainter(&painter, layout.width(), layout.height());
    return painter.end();
}

bool RenderPdf(QCustomPlot& plot, const PrintSize& size, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setCreator(QStringLiteral("Mirado"));
    writer.setTitle(UiText("Study summary"));
    writer.setResolution(static_cast<int>(kLayoutDpi));
    writer.setPageLayout(
        QPageLayout(QPageSize(QSizeF(size.widthMm, size.heightMm), QPageSize::Millimeter, QString(),
                              QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    const QSize layout = LayoutSize(size);
    // The page holds the layout exactly; what rounding to 1/96 inch left over is scaled.
    const double scale = writer.width() / static_cast<double>(layout.width());
    return DrawOn(writer, plot, layout, scale, true) && !bytes.isEmpty();
}

bool RenderSvg(QCustomPlot& plot, const PrintSize& size, QByteArray& bytes) {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const QSize layout = LayoutSize(size);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setResolution(static_cast<int>(kLayoutDpi));
    generator.setSize(layout);
    generator.setViewBox(QRect(QPoint(0, 0), layout));
    generator.setTitle(UiText("Study summary"));
    return DrawOn(generator, plot, layout, 1.0, true) && !bytes.isEmpty();
}

bool RenderPng(QCustomPlot& plot, const PrintSize& size, QByteArray& bytes) {
    const QImage image = RenderPrintedImage(plot, size);
    if (image.isNull())
        return false;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    return image.save(&buffer, "PNG") && !bytes.isEmpty();
}

} // namespace

QImage RenderPrintedImage(QCustomPlot& plot, const PrintSize& size) {
    const QSize pixels = PixelSize(size);
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return image;
    image.fill(Qt::white);
    const QSize layout = LayoutSize(size);
    if (!DrawOn(image, plot, layout, pixels.width() / static_cast<double>(layout.width()), false))
        return QImage();
    // The resolution is recorded after drawing: drawn with it, the fonts would grow twice.
    const int dotsPerMetre = static_cast<int>(std::lround(size.dpi / kMmPerInch * 1000.0));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

Result<void> CheckPrintSize(const PrintSize& size) {
    const auto inside = [](double value, double low, double high) {
        return std::isfinite(value) && value >= low && value <= high;
    };
    if (!inside(size.widthMm, kMinPrintMm, kMaxPrintMm) ||
        !inside(size.heightMm, kMinPrintMm, kMaxPrintMm))
        return Fail(UiText("The chart's width and height must be %1 to %2 mm.")
                        .arg(kMinPrintMm)
                        .arg(kMaxPrintMm)
                        .toStdString());
    if (size.dpi < kMinPrintDpi || size.dpi > kMaxPrintDpi)
        return Fail(UiText("The chart's resolution must be %1 to %2 dpi.")
                        .arg(kMinPrintDpi)
                        .arg(kMaxPrintDpi)
                        .toStdString());
    const QSize pixels = PixelSize(size);
    if (std::max(pixels.width(), pixels.height()) > kMaxPrintPixels)
        return Fail(UiText("The chart would be %1 x %2 pixels; at most %3 are drawn along a side.")
                        .arg(pixels.width())
                        .arg(pixels.height())
                        .arg(kMaxPrintPixels)
                        .toStdString());
    return Ok();
}

QSize LayoutSize(const PrintSize& size) {
    return {Dots(size.widthMm, kLayoutDpi), Dots(size.heightMm, kLayoutDpi)};
}

QSize PixelSize(const PrintSize& size) {
    return {Dots(size.widthMm, size.dpi), Dots(size.heightMm, size.dpi)};
}

bool RenderPrinted(QCustomPlot& plot, const PrintSize& size, ChartFormat format,
                   QByteArray& bytes) {
    switch (format) {
    case ChartFormat::Pdf:
        return RenderPdf(plot, size, bytes);
    case ChartFormat::Svg:
        return RenderSvg(plot, size, bytes);
    case ChartFormat::Png:
        break;
    }
    return RenderPng(plot, size, bytes);
}

} // namespace mirado
