#include "app/Printing.h"

#include <QGuiApplication>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScreen>

#include <algorithm>

namespace mirado {

namespace {

QPrinter* MakeLandscapePrinter() {
    auto* printer = new QPrinter(QPrinter::HighResolution);
    if (QPrinterInfo::defaultPrinter().isNull())
        printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Landscape);
    return printer;
}

// The preview's share of the screen it opens on, in each direction.
constexpr int kPreviewScreenPercent = 80;

} // namespace

// The preview opens at most of the screen, the page fitting the window's width, so that
// the page can be read without first enlarging the window.
void CPrinting::FitPreview(QPrintPreviewDialog& dialog, const QWidget* parent) {
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QSize available = screen->availableGeometry().size();
        dialog.resize(available.width() * kPreviewScreenPercent / 100,
                      available.height() * kPreviewScreenPercent / 100);
    }
    if (auto* preview = dialog.findChild<QPrintPreviewWidget*>())
        preview->setZoomMode(QPrintPreviewWidget::FitToWidth);
}

QPrinter& CPrinting::Printer() {
    // Lives for the whole session, like the platform's default printer setting.
    static QPrinter* printer = MakeLandscapePrinter();
    return *printer;
}

void CPrinting::PrintSetup(QWidget* parent) {
    QPageSetupDialog dialog(&Printer(), parent);
    dialog.exec();
}

bool CPrinting::PrintPages(const PageJob& job, int first, int last) {
    QPrinter& printer = Printer();
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    RenderJobPages(painter, printer, job, first, last);
    return painter.end();
}

bool CPrinting::Print(QWidget* parent, const PageJob& job) {
    QPrinter& printer = Printer();
    const int count = job.pageCount();
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, count > 1);
    dialog.setMinMax(1, count);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    int first = 1;
    int last = count;
    if (printer.printRange() == QPrinter::PageRange) {
        first = std::clamp(printer.fromPage(), 1, count);
        last = std::clamp(printer.toPage(), first, count);
    }
    return PrintPages(job, first, last);
}

void CPrinting::Preview(QWidget* parent, const PageJob& job) {
    QPrintPreviewDialog dialog(&Printer(), parent);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&job](QPrinter* printer) {
                         QPainter painter;
                         if (!painter.begin(printer))
                             return;
                         RenderJobPages(painter, *printer, job, 1, job.pageCount());
                         painter.end();
                     });
    FitPreview(dialog, parent);
    dialog.exec();
}

} // namespace mirado
