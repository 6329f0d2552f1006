#pragma once
// The drawing surface every pane and printed page draws on. Geometry is computed
// against this interface so that tests can record the calls and check exact
// coordinates; the Qt painter (screen, printer, PDF) is one implementation.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

// Colours are 0x00BBGGRR, as stored in the settings.
using Colour = uint32_t;
constexpr Colour Rgb(int r, int g, int b) {
    return static_cast<Colour>(r & 0xFF) | (static_cast<Colour>(g & 0xFF) << 8) |
           (static_cast<Colour>(b & 0xFF) << 16);
}
constexpr int RedOf(Colour c) {
    return static_cast<int>(c & 0xFF);
}
constexpr int GreenOf(Colour c) {
    return static_cast<int>((c >> 8) & 0xFF);
}
constexpr int BlueOf(Colour c) {
    return static_cast<int>((c >> 16) & 0xFF);
}

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
};

// Right and bottom are exclusive, as in the window system's rectangles.
struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

enum class PenStyle { Solid, Dotted };
enum class RasterMode { CopyPen, NotXorPen };
enum class BackgroundMode { Opaque, Transparent };

struct Pen {
    PenStyle style = PenStyle::Solid;
    int width = 1;
    Colour colour = 0;
    bool operator==(const Pen&) const = default;
};

// A logical font: face name (UTF-8), height in tenths of a point, average character
// width in device units (0 = the face's own), weight 100-900, and a horizontal scale in
// percent applied on top of the character width (a text narrowed to fit its box).
struct FontSpec {
    std::string face;
    int pointSizeTenths = 90;
    int charWidth = 0;
    int weight = 400;
    int widthPercent = 100;
    bool operator==(const FontSpec&) const = default;
};

struct FontMetrics {
    int height = 0; // ascent + descent
    int ascent = 0;
    int externalLeading = 0; // extra space between rows the font asks for
    int averageCharWidth = 0;
};

class IDrawingSurface {
public:
    virtual ~IDrawingSurface() = default;

    virtual void SetPen(const Pen& pen) = 0;
    virtual void SetRasterMode(RasterMode mode) = 0;
    virtual void MoveTo(int x, int y) = 0;
    // Draws from the current position to (x, y) without its last pixel; (x, y) becomes current.
    virtual void LineTo(int x, int y) = 0;
    // Joins the points in order; the last point's pixel is not drawn.
    virtual void Polyline(const std::vector<Point>& points) = 0;

    // Selects a font; false when it cannot be created (the previous font stays).
    virtual bool SetFont(const FontSpec& font) = 0;
    virtual void SelectSystemFont() = 0;
    virtual FontMetrics GetFontMetrics() const = 0;
    virtual int TextWidth(const std::string& utf8) const = 0;
    virtual void SetTextColour(Colour colour) = 0;
    virtual void SetTextBackground(Colour colour) = 0;
    virtual void SetBackgroundMode(BackgroundMode mode) = 0;
    // Text with its top-left corner at (x, y).
    virtual void TextOut(int x, int y, const std::string& utf8) = 0;

    virtual void FillRect(const Rect& rect, Colour colour) = 0;
    virtual void FrameRect(const Rect& rect, Colour colour) = 0;
    virtual void InvertRect(const Rect& rect) = 0;

    // Device resolution in dots per inch (screen 96; a printer its own).
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;

    // Device pixels per unit of the drawing's coordinates, as a whole number: 2 on a
    // screen that shows each unit as two by two pixels, 1 on ordinary screens, printers
    // and images.
    virtual int DevicePixelRatio() const { return 1; }
    // While on, coordinates, pen widths and the clip box count device pixels, so that a
    // fine trace can be drawn at the device's own resolution.
    virtual void UseDeviceCoordinates(bool /*on*/) {}

    // The smallest rectangle holding every pixel the drawing can still change, when a
    // repaint covers only part of the surface; none when everything may change. Drawing
    // code may leave out what lies wholly outside it.
    virtual std::optional<Rect> GetClipBox() const { return std::nullopt; }
};

} // namespace mirado
