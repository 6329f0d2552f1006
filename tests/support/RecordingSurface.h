#pragma once
// Test double for IDrawingSurface: records every call with its arguments so tests can
// check the exact lines, texts and rectangles a pane or page draws.

#include "platform/DrawingSurface.h"

#include <optional>

namespace mirado {

class RecordingSurface : public IDrawingSurface {
public:
    struct Line {
        Point from, to;
        Pen pen;
        RasterMode mode;
        bool inDevicePixels = false; // drawn while device coordinates were on
    };
    struct PolylineCall {
        std::vector<Point> points;
        Pen pen;
        bool inDevicePixels = false;
    };
    struct Text {
        Point at;
        std::string text;
        FontSpec font;
        Colour colour;
        Colour background;
    };
    struct Fill {
        Rect rect;
        Colour colour;
    };
    struct Frame {
        Rect rect;
        Colour colour;
    };
    struct Invert {
        Rect rect;
    };

    // Fixed metrics so geometry that depends on the font is predictable in tests.
    explicit RecordingSurface(int dpi = 96, FontMetrics metrics = {12, 10, 0, 6})
        : dpi_(dpi), metrics_(metrics) {}

    std::vector<Line> lines;
    std::vector<PolylineCall> polylines;
    std::vector<Text> texts;
    std::vector<Fill> fills;
    std::vector<Frame> frames;
    std::vector<Invert> inverts;
    std::vector<FontSpec> fontsSelected;
    bool failFontCreation = false;
    std::optional<Rect> clipBox; // what GetClipBox reports
    int devicePixelRatio = 1;    // what DevicePixelRatio reports
    int deviceCoordinateSwitches = 0;

    std::optional<Rect> GetClipBox() const override { return clipBox; }
    void SetPen(const Pen& pen) override { pen_ = pen; }
    void SetRasterMode(RasterMode mode) override { mode_ = mode; }
    void MoveTo(int x, int y) override { position_ = {x, y}; }
    void LineTo(int x, int y) override {
        lines.push_back({position_, {x, y}, pen_, mode_, inDevicePixels_});
        position_ = {x, y};
    }
    void Polyline(const std::vector<Point>& points) override {
        polylines.push_back({points, pen_, inDevicePixels_});
    }

    bool SetFont(const FontSpec& font) override {
        if (failFontCreation)
            return false;
        font_ = font;
        fontsSelected.push_back(font);
        return true;
    }
    void SelectSystemFont() override { font_ = FontSpec{"System", 100, 0, 400}; }
    FontMetrics GetFontMetrics() const override { return metrics_; }
    int TextWidth(const std::string& utf8) const override {
        // Narrowed fonts are narrower by their percentage, rounded down.
        return static_cast<int>(utf8.size()) * metrics_.averageCharWidth * font_.widthPercent / 100;
    }
    void SetTextColour(Colour colour) override { textColour_ = colour; }
    void SetTextBackground(Colour colour) override { textBackground_ = colour; }
    void SetBackgroundMode(BackgroundMode) override {}
    void TextOut(int x, int y, const std::string& utf8) override {
        texts.push_back({{x, y}, utf8, font_, textColour_, textBackground_});
    }

    void FillRect(const Rect& rect, Colour colour) override { fills.push_back({rect, colour}); }
    void FrameRect(const Rect& rect, Colour colour) override { frames.push_back({rect, colour}); }
    void InvertRect(const Rect& rect) override { inverts.push_back({rect}); }

    int DevicePixelRatio() const override { return devicePixelRatio; }
    void UseDeviceCoordinates(bool on) override {
        if (on != inDevicePixels_)
            ++deviceCoordinateSwitches;
        inDevicePixels_ = on;
    }
    bool InDevicePixels() const { return inDevicePixels_; }

    int DpiX() const override { return dpi_; }
    int DpiY() const override { return dpi_; }

    const Pen& CurrentPen() const { return pen_; }
    const FontSpec& CurrentFont() const { return font_; }

private:
    int dpi_;
    FontMetrics metrics_;
    Pen pen_;
    RasterMode mode_ = RasterMode::CopyPen;
    Point position_;
    FontSpec font_;
    Colour textColour_ = 0;
    Colour textBackground_ = 0xFFFFFF;
    bool inDevicePixels_ = false;
};

} // namespace mirado
