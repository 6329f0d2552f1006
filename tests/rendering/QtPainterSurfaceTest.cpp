#include "support/GuiTestSupport.h"

#include "rendering/QtPainterSurface.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace mirado {
namespace {

constexpr int kSize = 20;
const QRgb kWhitePixel = qRgb(255, 255, 255);
const QRgb kBlackPixel = qRgb(0, 0, 0);

class QtPainterSurfaceTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        image = QImage(kSize, kSize, QImage::Format_RGB32);
        image.fill(Qt::white);
    }

    template <typename Draw> void Paint(Draw draw) {
        QPainter painter(&image);
        QtPainterSurface surface(painter);
        surface.SetPen(Pen{PenStyle::Solid, 1, Rgb(0, 0, 0)});
        draw(surface);
    }

    bool Black(int x, int y) const { return image.pixel(x, y) == kBlackPixel; }

    QImage image;
};

TEST_F(QtPainterSurfaceTest, LinesLeaveOutTheirLastPixel) {
    Paint([](IDrawingSurface& s) {
        s.MoveTo(2, 3);
        s.LineTo(8, 3); // horizontal
        s.MoveTo(2, 6);
        s.LineTo(2, 12); // vertical
        s.MoveTo(10, 10);
        s.LineTo(14, 14); // diagonal
    });
    EXPECT_TRUE(Black(2, 3));
    EXPECT_TRUE(Black(7, 3));
    EXPECT_FALSE(Black(8, 3));
    EXPECT_TRUE(Black(2, 11));
    EXPECT_FALSE(Black(2, 12));
    EXPECT_TRUE(Black(13, 13));
    EXPECT_FALSE(Black(14, 14));
}

TEST_F(QtPainterSurfaceTest, PolylineJoinsPointsWithoutTheFinalPixel) {
    Paint([](IDrawingSurface& s) { s.Polyline({{1, 1}, {6, 1}, {6, 6}}); });
    EXPECT_TRUE(Black(1, 1));
    EXPECT_TRUE(Black(6, 1));
    EXPECT_TRUE(Black(6, 5));
    EXPECT_FALSE(Black(6, 6));
}

TEST_F(QtPainterSurfaceTest, RectanglesFillFrameAndInvertWithExclusiveEdges) {
    Paint([](IDrawingSurface& s) {
        s.FillRect(Rect{0, 0, 4, 4}, Rgb(0, 0, 0));
        s.FrameRect(Rect{10, 10, 15, 15}, Rgb(0, 0, 0));
        s.InvertRect(Rect{2, 2, 6, 6});
    });
    EXPECT_TRUE(Black(1, 1));                  // filled
    EXPECT_EQ(image.pixel(3, 3), kWhitePixel); // filled, then inverted
    EXPECT_TRUE(Black(5, 5));                  // white, inverted
    EXPECT_FALSE(Black(6, 6));
    EXPECT_TRUE(Black(10, 10));
    EXPECT_TRUE(Black(14, 14));
    EXPECT_FALSE(Black(15, 15));
    EXPECT_FALSE(Black(12, 12)); // the frame's inside stays
}

TEST_F(QtPainterSurfaceTest, NotXorModeDrawnTwiceRestoresThePicture) {
    const QImage before = image;
    Paint([](IDrawingSurface& s) {
        s.SetRasterMode(RasterMode::NotXorPen);
        for (int pass = 0; pass < 2; ++pass) {
            s.MoveTo(5, 0);
            s.LineTo(5, kSize);
        }
    });
    EXPECT_EQ(image, before);
    Paint([](IDrawingSurface& s) {
        s.SetRasterMode(RasterMode::NotXorPen);
        s.MoveTo(5, 0);
        s.LineTo(5, kSize);
    });
    EXPECT_TRUE(Black(5, 4)); // black pen on white: NOT (black XOR white) = black
}

TEST_F(QtPainterSurfaceTest, TextIsPlacedByItsTopLeftCornerWithMetrics) {
    FontMetrics metrics;
    Paint([&](IDrawingSurface& s) {
        ASSERT_TRUE(s.SetFont(FontSpec{"Courier New", 120, 10, 500}));
        metrics = s.GetFontMetrics();
        s.SetTextBackground(Rgb(0, 0, 0));
        s.TextOut(3, 4, "M");
    });
    EXPECT_GT(metrics.height, 10);
    EXPECT_GE(metrics.externalLeading, 0);
    EXPECT_TRUE(Black(3, 4)); // the opaque background starts at the given corner
    EXPECT_FALSE(Black(2, 4));
    EXPECT_FALSE(Black(3, 3));
}

} // namespace
} // namespace mirado
