#include "dialogs/ColourPreview.h"

#include "platform/qtcore/UiText.h"

#include "rendering/QtPainterSurface.h"

#include <QPainter>

namespace mirado {

namespace {
constexpr Colour kOutlineColour = Rgb(0, 0, 0);
constexpr Colour kCaptionColour = Rgb(0, 0, 0);
constexpr Colour kWhiteInterior = Rgb(255, 255, 255);
constexpr Colour kBlackInterior = Rgb(0, 0, 0);
constexpr Point kPressFrom{270, 73};
constexpr Point kPressTo{440, 115};
constexpr Point kZigzag[] = {{270, 157}, {312, 115}, {355, 157}, {397, 115}, {440, 157}};

// The widget shows the part of the dialog's client area that holds the preview: this
// corner of it lands on the widget's top-left, with a margin around the drawing.
constexpr int kWidgetMargin = 10;
constexpr Point kWidgetOrigin{kPreviewFrame.left - kWidgetMargin,
                              kPreviewCaptionAt.y - kWidgetMargin};
} // namespace

void DrawColourPreview(IDrawingSurface& surface, const PreviewColours& colours) {
    surface.SelectSystemFont();
    surface.SetBackgroundMode(BackgroundMode::Opaque);
    surface.SetTextColour(kCaptionColour);
    surface.SetTextBackground(colours.buttonFace);
    surface.TextOut(kPreviewCaptionAt.x, kPreviewCaptionAt.y,
                    UiText(kPreviewCaption).toStdString());

    surface.FillRect(kPreviewFrame, colours.blackBackground ? kBlackInterior : kWhiteInterior);
    surface.FrameRect(kPreviewFrame, kOutlineColour);

    surface.SetRasterMode(RasterMode::CopyPen);
    surface.SetPen({PenStyle::Solid, 1, colours.press});
    surface.MoveTo(kPressFrom.x, kPressFrom.y);
    surface.LineTo(kPressTo.x, kPressTo.y);

    surface.SetPen({PenStyle::Solid, 1, colours.optical});
    surface.Polyline({std::begin(kZigzag), std::end(kZigzag)});
}

CColourPreview::CColourPreview(ColourSource source, QWidget* parent)
    : QWidget(parent), source_(std::move(source)) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize CColourPreview::sizeHint() const {
    return {kPreviewFrame.right + kWidgetMargin - kWidgetOrigin.x,
            kPreviewFrame.bottom + kWidgetMargin - kWidgetOrigin.y};
}

void CColourPreview::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.translate(-kWidgetOrigin.x, -kWidgetOrigin.y);
    QtPainterSurface surface(painter);
    DrawColourPreview(surface, source_());
}

} // namespace mirado
