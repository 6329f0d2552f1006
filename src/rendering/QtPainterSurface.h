#pragma once
// IDrawingSurface on a QPainter: the panes draw on the screen through it, and the
// printed and exported pages on a printer or PDF device. Lines leave out their last
// pixel, fonts are sized in points for the painter's device, text is placed by its
// top-left corner, and the NOT-XOR mode and rectangle inversion use raster operations.

#include "platform/DrawingSurface.h"

#include <QFont>
#include <QPainter>
#include <QTransform>

#include <optional>

namespace mirado {

class QtPainterSurface : public IDrawingSurface {
public:
    // The painter must be active on its device for the surface's whole life.
    explicit QtPainterSurface(QPainter& painter);

    void SetPen(const Pen& pen) override;
    void SetRasterMode(RasterMode mode) override;
    void MoveTo(int x, int y) override;
    void LineTo(int x, int y) override;
    void Polyline(const std::vector<Point>& points) override;

    bool SetFont(const FontSpec& font) override;
    void SelectSystemFont() override;
    FontMetrics GetFontMetrics() const override;
    int TextWidth(const std::string& utf8) const override;
    void SetTextColour(Colour colour) override;
    void SetTextBackground(Colour colour) override;
    void SetBackgroundMode(BackgroundMode mode) override;
    void TextOut(int x, int y, const std::string& utf8) override;

    void FillRect(const Rect& rect, Colour colour) override;
    void FrameRect(const Rect& rect, Colour colour) override;
    void InvertRect(const Rect& rect) override;

    // The painter's device's pixel ratio, rounded to a whole number.
    int DevicePixelRatio() const override;
    void UseDeviceCoordinates(bool on) override;

    int DpiX() const override;
    int DpiY() const override;
    // The painter's clip, when it has one, in the painter's coordinates.
    std::optional<Rect> GetClipBox() const override;

    // The QFont a logical font description gives on the painter's device.
    static QFont MakeFont(const FontSpec& spec, QPaintDevice* device);
    static QColor ToQColor(Colour colour);

    // The painter, for what is drawn beside the surface's own calls (a chart in a report).
    QPainter& Painter() const { return painter_; }

private:
    void ApplyCompositionForPen();

    QPainter& painter_;
    Pen pen_;
    RasterMode mode_ = RasterMode::CopyPen;
    Point position_;
    QFont font_;
    Colour textColour_ = 0;
    Colour textBackground_ = 0xFFFFFF;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    std::optional<QTransform> unitTransform_; // kept while device coordinates are on
};

} // namespace mirado
