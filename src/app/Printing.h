#pragma once
// CPrinting: the program's print flow on Qt Print Support. It keeps the one printer
// setting of the session (landscape from start-up, A4 unless the default printer says
// otherwise) and runs printer setup, the print dialog, direct printing and print
// preview for a page job. The print dialog always offers printing to a PDF file, which
// on a machine without printers is the only destination.

#include "rendering/PageRendering.h"

class QPrintPreviewDialog;
class QPrinter;
class QWidget;

namespace mirado {

class CPrinting {
public:
    // The session's printer setting, made landscape when first used.
    static QPrinter& Printer();

    // "Printer Setting...": the page setup dialog on the session's printer.
    static void PrintSetup(QWidget* parent);
    // The print dialog, then the chosen pages; false when cancelled or not printed.
    static bool Print(QWidget* parent, const PageJob& job);
    // The preview dialog; it draws the pages again whenever it needs them.
    static void Preview(QWidget* parent, const PageJob& job);
    // Sizes a preview to most of its screen with the page fitting its width.
    static void FitPreview(QPrintPreviewDialog& dialog, const QWidget* parent);

private:
    static bool PrintPages(const PageJob& job, int first, int last);
};

} // namespace mirado
