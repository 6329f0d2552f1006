#pragma once
// Rendering of printed pages on Qt paint devices: a printer (printing and print
// preview), a PDF file or an image. One function draws the pages of a job on any paged
// device, so print, preview and PDF output show the same pages. A page drawer receives
// the surface, the page's drawing rectangle in device units and the page number.

#include "drawing/SelectedFilesPage.h"
#include "platform/DrawingSurface.h"

#include <QPageLayout>
#include <QString>

#include <functional>

class QIODevice;
class QPagedPaintDevice;
class QPainter;

namespace mirado {

class CMiradoDoc;
class IUserPrompts;

inline constexpr int kDefaultRenderDpi = 600;

using PageDrawer = std::function<void(IDrawingSurface& surface, const Rect& drawingRect, int page)>;

// A print job: how many pages and how each is drawn (pages counted from 1).
struct PageJob {
    std::function<int()> pageCount;
    PageDrawer draw;
};

// The current file: one page, with scale labels when the options ask for them.
PageJob CurrentFileJob(const CMiradoDoc& doc, IUserPrompts& prompts,
                       const ScaleLabelOptions& scaleLabels = {});
// The selected files: one page per selected file in list order, each first made current.
// With nothing selected the job still has one page, which reports the logical error.
PageJob SelectedFilesJob(const CMiradoDoc& doc, IUserPrompts& prompts,
                         CSelectedFilesPage::MakeCurrent makeCurrent);

// Landscape A4 with no margins: the whole sheet is the drawing rectangle.
QPageLayout LandscapeA4Layout();

// Draws pages first..last of the job on an active painter whose device is paged,
// starting a new sheet before every page but the first. The drawing rectangle is the
// device's printable area, whose top-left is the painter's origin.
void RenderJobPages(QPainter& painter, QPagedPaintDevice& device, const PageJob& job, int first,
                    int last);

// The largest resolution of a PNG sheet (keeps the image below about 600 MB).
inline constexpr int kLargestImageDpi = 1200;

// Writes every page of the job as PDF at the given resolution to an open device; false
// when the device cannot be written.
bool RenderJobToPdf(const PageJob& job, QIODevice& device, int dpi);
// Writes the job's first page as a PNG image of a landscape A4 sheet at the given
// resolution (1 to kLargestImageDpi) to an open device; false when the resolution is
// outside that range or the image cannot be made or written.
bool RenderFirstPageToPng(const PageJob& job, QIODevice& device, int dpi);

} // namespace mirado
