#pragma once
// A chart drawn into a file at a size on paper: width and height in millimetres and a
// resolution in dots per inch. The plot is laid out at that size in units of 1/96 inch,
// so its fonts (in points) come out at their size on paper, then drawn as PDF (the page
// that size, vector), SVG (width and height in millimetres, vector) or PNG (the pixels
// of that size at the resolution, which the file records).

#include "files/Result.h"

#include <QByteArray>
#include <QImage>
#include <QSize>

class QCustomPlot;

namespace mirado {

struct PrintSize {
    double widthMm = 85; // one journal column
    double heightMm = 60;
    int dpi = 300;
    bool operator==(const PrintSize&) const = default;
};

enum class ChartFormat { Pdf, Png, Svg };

inline constexpr double kLayoutDpi = 96.0;
inline constexpr double kMinPrintMm = 20.0;
inline constexpr double kMaxPrintMm = 1000.0;
inline constexpr int kMinPrintDpi = 50;
inline constexpr int kMaxPrintDpi = 2400;
inline constexpr int kMaxPrintPixels = 20000; // along either side of a PNG

// Fails, saying why, for a size or resolution outside the limits above or a PNG larger
// than kMaxPrintPixels along a side.
Result<void> CheckPrintSize(const PrintSize& size);
// The plot's layout size in 1/96 inch.
QSize LayoutSize(const PrintSize& size);
// The PNG's size in pixels.
QSize PixelSize(const PrintSize& size);

// The plot (laid out at LayoutSize) drawn as an image of PixelSize on white, the resolution
// recorded; a null image when it cannot be drawn.
QImage RenderPrintedImage(QCustomPlot& plot, const PrintSize& size);

// Draws the plot (laid out at LayoutSize) in the format; false when it cannot be drawn.
bool RenderPrinted(QCustomPlot& plot, const PrintSize& size, ChartFormat format, QByteArray& bytes);

} // namespace mirado
