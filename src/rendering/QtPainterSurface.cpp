#include "rendering/QtPainterSurface.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QPaintDevice>
#include <QPen>

#include <algorithm>
#include <cmath>
#include <optional>

namespace mirado {

namespace {

constexpr double kTenthsPerPoint = 10.0;
constexpr int kPercent = 100;
constexpr int kMinStretch = 1;
constexpr int kMaxStretch = 4000;
// A dotted pen alternates one pixel on and one off.
const QList<qreal> kDotPattern = {1.0, 1.0};

QRect ToQRect(const Rect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}

} // namespace

QtPainterSurface::QtPainterSurface(QPainter& painter)
    : painter_(painter), font_(QGuiApplication::font()) {
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    SetPen(pen_);
}

QColor QtPainterSurface::ToQColor(Colour colour) {
    return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

void QtPainterSurface::SetPen(const Pen& pen) {
    pen_ = pen;
    QPen qpen(ToQColor(pen.colour));
    qpen.setWidth(std::max(pen.width, 1));
    qpen.setCapStyle(Qt::FlatCap);
    qpen.setJoinStyle(Qt::MiterJoin);
    if (pen.style == PenStyle::Dotted)
        qpen.setDashPattern(kDotPattern);
    painter_.setPen(qpen);
}

void QtPainterSurface::SetRasterMode(RasterMode mode) {
    mode_ = mode;
}

void QtPainterSurface::ApplyCompositionForPen() {
    painter_.setCompositionMode(mode_ == RasterMode::NotXorPen
                                    ? QPainter::RasterOp_NotSourceXorDestination
                                    : QPainter::CompositionMode_SourceOver);
}

void QtPainterSurface::MoveTo(int x, int y) {
    position_ = {x, y};
}

void QtPainterSurface::LineTo(int x, int y) {
    ApplyCompositionForPen();
    // A pen with flat caps leaves out the end pixel, as the panes' geometry expects.
    if (Point{x, y} != position_)
        painter_.drawLine(position_.x, position_.y, x, y);
    position_ = {x, y};
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void QtPainterSurface::Polyline(const std::vector<Point>& points) {
    if (points.size() < 2)
        return;
    QPolygon polygon;
    polygon.reserve(static_cast<int>(points.size()));
    for (const Point& p : points)
        polygon << QPoint(p.x, p.y);
    ApplyCompositionForPen();
    painter_.drawPolyline(polygon);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

QFont QtPainterSurface::MakeFont(const FontSpec& spec, QPaintDevice* device) {
    QFont font(QString::fromStdString(spec.face));
    font.setPointSizeF(spec.pointSizeTenths / kTenthsPerPoint);
    font.setWeight(static_cast<QFont::Weight>(std::clamp(spec.weight, 100, 900)));
    font.setStyleStrategy(QFont::PreferAntialias);
    std::optional<int> stretch;
    if (spec.charWidth > 0) {
        // The requested average character width becomes a horizontal stretch of the face.
        const QFont resolved = device != nullptr ? QFont(font, device) : font;
        const int natural = QFontMetrics(resolved).averageCharWidth();
        if (natural > 0)
            stretch = spec.charWidth * kPercent / natural;
    }
    if (spec.widthPercent != kPercent)
        stretch = stretch.value_or(kPercent) * spec.widthPercent / kPercent;
    if (stretch.has_value())
        font.setStretch(std::clamp(*stretch, kMinStretch, kMaxStretch));
    return font;
}

bool QtPainterSurface::SetFont(const FontSpec& font) {
    if (font.face.empty() || font.pointSizeTenths <= 0)
        return false;
    font_ = MakeFont(font, painter_.device());
    painter_.setFont(font_);
    return true;
}

void QtPainterSurface::SelectSystemFont() {
    font_ = QGuiApplication::font();
    painter_.setFont(font_);
}

FontMetrics QtPainterSurface::GetFontMetrics() const {
    const QFontMetrics metrics(font_, painter_.device());
    FontMetrics result;
    result.height = metrics.height();
    result.ascent = metrics.ascent();
    result.externalLeading = std::max(metrics.leading(), 0);
    result.averageCharWidth = metrics.averageCharWidth();
    return result;
}

int QtPainterSurface::TextWidth(const std::string& utf8) const {
    return QFontMetrics(font_, painter_.device()).horizontalAdvance(QString::fromStdString(utf8));
}

void QtPainterSurface::SetTextColour(Colour colour) {
    textColour_ = colour;
}
void QtPainterSurface::SetTextBackground(Colour colour) {
    textBackground_ = colour;
}
void QtPainterSurface::SetBackgroundMode(BackgroundMode mode) {
    backgroundMode_ = mode;
}

void QtPainterSurface::TextOut(int x, int y, const std::string& utf8) {
    const QString text = QString::fromStdString(utf8);
    const QFontMetrics metrics(font_, painter_.device());
    if (backgroundMode_ == BackgroundMode::Opaque)
        painter_.fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                          ToQColor(textBackground_));
    const QPen saved = painter_.pen();
    painter_.setPen(ToQColor(textColour_));
    painter_.drawText(x, y + metrics.ascent(), text);
    painter_.setPen(saved);
}

void QtPainterSurface::FillRect(const Rect& rect, Colour colour) {
    painter_.fillRect(ToQRect(rect), ToQColor(colour));
}

void QtPainterSurface::FrameRect(const Rect& rect, Colour colour) {
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    const QColor c = ToQColor(colour);
    painter_.fillRect(QRect(rect.left, rect.top, rect.Width(), 1), c);
    painter_.fillRect(QRect(rect.left, rect.bottom - 1, rect.Width(), 1), c);
    painter_.fillRect(QRect(rect.left, rect.top, 1, rect.Height()), c);
    painter_.fillRect(QRect(rect.right - 1, rect.top, 1, rect.Height()), c);
}

void QtPainterSurface::InvertRect(const Rect& rect) {
    painter_.setCompositionMode(QPainter::RasterOp_NotDestination);
    painter_.fillRect(ToQRect(rect), Qt::black);
    painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
}

int QtPainterSurface::DevicePixelRatio() const {
    return std::max(1, static_cast<int>(std::lround(painter_.device()->devicePixelRatio())));
}

void QtPainterSurface::UseDeviceCoordinates(bool on) {
    if (on == unitTransform_.has_value())
        return;
    if (on) {
        unitTransform_ = painter_.transform();
        const qreal unit = 1.0 / DevicePixelRatio();
        painter_.scale(unit, unit);
    } else {
        painter_.setTransform(*unitTransform_);
        unitTransform_.reset();
    }
}

int QtPainterSurface::DpiX() const {
    return painter_.device()->logicalDpiX();
}
int QtPainterSurface::DpiY() const {
    return painter_.device()->logicalDpiY();
}

std::optional<Rect> QtPainterSurface::GetClipBox() const {
    if (!painter_.hasClipping())
        return std::nullopt;
    const QRect box = painter_.clipBoundingRect().toAlignedRect();
    return Rect{box.left(), box.top(), box.left() + box.width(), box.top() + box.height()};
}

} // namespace mirado
