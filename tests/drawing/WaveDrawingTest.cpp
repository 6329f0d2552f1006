#include "drawing/WaveDrawing.h"
#include "drawing/ColumnEnvelope.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <vector>

namespace mirado {
namespace {

constexpr int kCount = 4000;

struct Recording {
    std::array<int16_t, kCount> pulse{};
    std::array<int16_t, kCount> pressure{};
    std::array<int16_t, kCount> curve{};
};

WaveScene SceneOf(const Recording& r, int width = 800, int height = 400) {
    WaveScene scene;
    scene.client = {0, 0, width, height};
    scene.sampling = 20;
    scene.pulse = r.pulse.data();
    scene.pressure = r.pressure.data();
    scene.fittedCurve = r.curve.data();
    scene.markerS = 1000;
    scene.markerM = 2000;
    scene.markerMValid = true;
    return scene;
}

std::vector<RecordingSurface::Line> LinesIn(const RecordingSurface& s, const Pen& pen) {
    std::vector<RecordingSurface::Line> out;
    std::copy_if(s.lines.begin(), s.lines.end(), std::back_inserter(out),
                 [&](const auto& line) { return line.pen == pen; });
    return out;
}

std::vector<int> XsOf(const std::vector<RecordingSurface::Line>& lines) {
    std::vector<int> xs;
    for (const auto& line : lines)
        xs.push_back(line.from.x);
    return xs;
}

TEST(WaveBaselines, PulseWaveAtSeventyOrEightyPercentPressureAtHalf) {
    EXPECT_EQ(ComputeBaselines(400, 1).wave, 280);
    EXPECT_EQ(ComputeBaselines(400, 0).wave, 320);
    EXPECT_EQ(ComputeBaselines(400, 4).wave, 320);
    EXPECT_EQ(ComputeBaselines(400, 1).pressure, 200);
    EXPECT_EQ(ComputeBaselines(401, 2).pressure, 200);
}

TEST(WaveGrid, FiveLevelLinesFiftyApartFromTheWaveBaselineUp) {
    Recording r;
    WaveScene scene = SceneOf(r);
    scene.deviceTypeCode = 1;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawFullGrid();
    const auto levels = LinesIn(surface, pens.levelLine);
    ASSERT_EQ(levels.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(levels[static_cast<size_t>(k)].from, (Point{0, 280 - 50 * k}));
        EXPECT_EQ(levels[static_cast<size_t>(k)].to, (Point{800, 280 - 50 * k}));
    }
}

TEST(WaveGrid, TimeLinesEverySecondTheEighthOnTheRightEdge) {
    Recording r;
    const WaveScene scene = SceneOf(r);
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawFullGrid();
    const auto times = LinesIn(surface, pens.timeLine);
    EXPECT_EQ(XsOf(times), (std::vector<int>{100, 200, 300, 400, 500, 600, 700, 800}));
    EXPECT_EQ(times.front().to, (Point{100, 400}));
    EXPECT_EQ(pens.timeLine.style, PenStyle::Dotted);
}

TEST(WaveGrid, NoTimeLinesWhenASecondIsLongerThanTheRecordingOrTheStepIsNotPositive) {
    Recording r;
    const WavePens pens;
    for (int sampling : {1, 2, 0, -10, -128}) {
        WaveScene scene = SceneOf(r);
        scene.sampling = sampling;
        for (int zoom : {0, 3}) {
            scene.zoomIndex = zoom;
            RecordingSurface surface;
            CWaveDrawing(surface, scene, pens).Draw();
            EXPECT_TRUE(LinesIn(surface, pens.timeLine).empty()) << sampling << " " << zoom;
        }
    }
}

TEST(WaveGrid, ZoomedTimeLinesCountFromTheLeftEdgeWhateverTheScrollOffset) {
    Recording r;
    WaveScene scene = SceneOf(r);
    scene.zoomIndex = 1;
    scene.scrollOffset = 777;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawZoomGrid();
    EXPECT_EQ(XsOf(LinesIn(surface, pens.timeLine)), (std::vector<int>{200, 400, 600, 800}));
}

TEST(WaveTraces, FullViewDrawsOneEnvelopePerChannelWithItsPen) {
    Recording r;
    r.pulse.fill(400);    // 100 pixels at view scale 5
    r.pressure.fill(200); // 50 pixels
    const WaveScene scene = SceneOf(r);
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawFullTraces();
    const auto wave = LinesIn(surface, pens.wave);
    const auto pressure = LinesIn(surface, pens.pressure);
    ASSERT_EQ(wave.size(), 799u);
    ASSERT_EQ(pressure.size(), 799u);
    EXPECT_EQ(wave.front().from, (Point{0, 320 - 100}));
    EXPECT_EQ(pressure.front().from, (Point{0, 200 - 50}));
}

TEST(WaveTraces, FullViewWiderThanTheRecordingSpansThePane) {
    Recording r;
    const WaveScene scene = SceneOf(r, 5000);
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawFullTraces();
    ASSERT_EQ(surface.polylines.size(), 2u);
    EXPECT_EQ(surface.polylines[0].points.size(), 4000u);
    EXPECT_EQ(surface.polylines[0].points.back().x, 5000 * 3999 / 4000);
    EXPECT_EQ(surface.polylines[1].pen, pens.pressure);
}

TEST(WaveTraces, ZoomedViewWiderThanItsSamplesDrawsAPointPerSample) {
    Recording r;
    for (int k = 0; k < kCount; ++k)
        r.pulse[static_cast<size_t>(k)] = static_cast<int16_t>(k);
    WaveScene scene = SceneOf(r);
    scene.client = {10, 20, 810, 420};
    scene.zoomIndex = 3; // 500 samples across 800 pixels
    scene.scrollOffset = 1000;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawZoomTraces();
    ASSERT_EQ(surface.polylines.size(), 2u);
    const auto& points = surface.polylines[0].points;
    ASSERT_EQ(points.size(), 500u);
    EXPECT_EQ(points.front(), (Point{10, 20 + 320 - 1000 / 4}));
    EXPECT_EQ(points[1], (Point{10 + 800 * 8 / 4000, 20 + 320 - 1001 / 4}));
    EXPECT_EQ(points.back().x, 10 + 800 * 8 * 499 / 4000);
}

TEST(WaveTraces, ZoomedViewNarrowerThanItsSamplesUsesTheEnvelopeFromTheOffset) {
    Recording r;
    r.pulse[1500] = 400;
    WaveScene scene = SceneOf(r, 500);
    scene.zoomIndex = 1; // 2000 samples across 500 pixels
    scene.scrollOffset = 1000;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawZoomTraces();
    const auto wave = LinesIn(surface, pens.wave);
    EXPECT_EQ(wave.size(), 499u);
    EXPECT_TRUE(surface.polylines.empty());
    // Sample 1500 is the 500th shown: column 500 * 2 * 500 / 4000 = 125, drawn at 124.
    EXPECT_EQ(wave[124].to.y, 320 - 100 - 1);
}

TEST(WaveTraces, ScrollOffsetBeyondItsRangeNeverReadsPastTheChannel) {
    Recording r;
    WaveScene scene = SceneOf(r, 500);
    scene.zoomIndex = 3;
    scene.scrollOffset = 100000;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).Draw();
    EXPECT_FALSE(LinesIn(surface, pens.wave).empty());
}

TEST(WaveFittedCurve, DrawnOnlyWhenShownInFullAndZoomedViews) {
    Recording r;
    r.curve.fill(kUndefinedCurveValue);
    for (int k = 1000; k < 3000; ++k)
        r.curve[static_cast<size_t>(k)] = 800;
    const WavePens pens;
    for (int zoom : {0, 1, 3}) {
        WaveScene scene = SceneOf(r);
        scene.zoomIndex = zoom;
        scene.scrollOffset = 1000;
        RecordingSurface hidden;
        CWaveDrawing(hidden, scene, pens).Draw();
        scene.fittedCurveShown = true;
        RecordingSurface shown;
        CWaveDrawing(shown, scene, pens).Draw();
        EXPECT_GT(shown.lines.size() + shown.polylines.size(),
                  hidden.lines.size() + hidden.polylines.size())
            << zoom;
    }
}

TEST(WaveFittedCurve, GapsBreakTheLineInAWideZoomedView) {
    Recording r;
    r.curve.fill(400);
    for (int k = 1100; k < 1200; ++k)
        r.curve[static_cast<size_t>(k)] = kUndefinedCurveValue;
    WaveScene scene = SceneOf(r);
    scene.zoomIndex = 3;
    scene.scrollOffset = 1000;
    scene.fittedCurveShown = true;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawZoomFittedCurve();
    ASSERT_EQ(surface.polylines.size(), 2u);
    EXPECT_EQ(surface.polylines[0].points.size(), 100u);
    EXPECT_EQ(surface.polylines[1].points.front().x, 800 * 8 * 200 / 4000);
}

TEST(WaveMarkers, FullViewDrawsSAndAValidMFromTheBottomToTheWaveBaseline) {
    Recording r;
    WaveScene scene = SceneOf(r);
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).DrawFullMarkers();
    ASSERT_EQ(surface.lines.size(), 2u);
    EXPECT_EQ(surface.lines[0].pen, pens.markerS);
    EXPECT_EQ(surface.lines[0].from, (Point{200, 400}));
    EXPECT_EQ(surface.lines[0].to, (Point{200, 320}));
    EXPECT_EQ(surface.lines[1].pen, pens.markerM);
    EXPECT_EQ(surface.lines[1].from.x, 400);

    scene.markerMValid = false;
    RecordingSurface withoutM;
    CWaveDrawing(withoutM, scene, pens).DrawFullMarkers();
    EXPECT_EQ(withoutM.lines.size(), 1u);
}

TEST(WaveMarkers, ZoomedViewDrawsOnlyMarkersAmongTheVisibleSamples) {
    Recording r;
    WaveScene scene = SceneOf(r);
    scene.zoomIndex = 1; // 2000 samples
    scene.scrollOffset = 1000;
    const WavePens pens;
    auto drawnAt = [&](int marker) {
        scene.markerS = marker;
        scene.markerMValid = false;
        RecordingSurface surface;
        CWaveDrawing(surface, scene, pens).DrawZoomMarkers();
        return surface.lines.empty() ? -1 : surface.lines[0].from.x;
    };
    EXPECT_EQ(drawnAt(1000), 0);
    EXPECT_EQ(drawnAt(2000), 400);
    EXPECT_EQ(drawnAt(2999), 800 * 1999 / 2000);
    EXPECT_EQ(drawnAt(999), -1);
    EXPECT_EQ(drawnAt(998), -1);
    EXPECT_EQ(drawnAt(3000), -1);
}

TEST(DamagedFile, TextIsBlackOnWhiteAndWhiteOnBlackAtHalfHeight) {
    for (const auto& [background, ink] : {std::pair{kWhite, kBlack}, std::pair{kBlack, kWhite}}) {
        RecordingSurface surface;
        DrawDamagedFileText(surface, {0, 0, 800, 401}, "File format Error.", background);
        ASSERT_EQ(surface.texts.size(), 1u);
        EXPECT_EQ(surface.texts[0].at, (Point{20, 200}));
        EXPECT_EQ(surface.texts[0].colour, ink);
        EXPECT_EQ(surface.texts[0].background, background);
        EXPECT_EQ(surface.texts[0].font.pointSizeTenths, 140);
        EXPECT_EQ(surface.CurrentFont().face, "System");
    }
}

// A repaint of a few columns (the drag line moving) draws the traces there and in one
// column on each side only; the grid and the markers are left to the surface's clip.
TEST(WavePartialRepaint, EnvelopesStayWithinTheClipBoxAndOneColumnEachSide) {
    Recording r;
    for (int k = 0; k < kCount; ++k) {
        r.pulse[static_cast<size_t>(k)] = static_cast<int16_t>(k % 97);
        r.pressure[static_cast<size_t>(k)] = static_cast<int16_t>(k % 53);
        r.curve[static_cast<size_t>(k)] = static_cast<int16_t>(k % 31);
    }
    WaveScene scene = SceneOf(r);
    scene.fittedCurveShown = true;
    scene.markerMValid = false; // its pen is the pressure trace's
    const WavePens pens;
    RecordingSurface full;
    CWaveDrawing(full, scene, pens).Draw();
    RecordingSurface part;
    part.clipBox = Rect{300, 0, 305, 400};
    CWaveDrawing(part, scene, pens).Draw();
    for (const Pen& pen : {pens.wave, pens.pressure}) {
        const std::vector<int> xs = XsOf(LinesIn(part, pen));
        std::vector<int> expected;
        for (const int x : XsOf(LinesIn(full, pen)))
            if (x >= 299 && x <= 305)
                expected.push_back(x);
        EXPECT_EQ(xs, expected);
    }
    EXPECT_EQ(LinesIn(part, pens.levelLine).size(), LinesIn(full, pens.levelLine).size());
    EXPECT_EQ(LinesIn(part, pens.markerS).size(), 1u);
}

TEST(WavePartialRepaint, PolylinesKeepTheSegmentsThatCrossTheClipBox) {
    Recording r;
    for (int k = 0; k < kCount; ++k)
        r.pulse[static_cast<size_t>(k)] = static_cast<int16_t>(k % 89);
    WaveScene scene = SceneOf(r);
    scene.zoomIndex = 3; // 500 samples across 800 pixels: a point every 1.6 columns
    scene.scrollOffset = 1000;
    const WavePens pens;
    RecordingSurface full;
    CWaveDrawing(full, scene, pens).DrawZoomTraces();
    RecordingSurface part;
    part.clipBox = Rect{400, 0, 402, 400};
    CWaveDrawing(part, scene, pens).DrawZoomTraces();
    ASSERT_EQ(part.polylines.size(), 2u);
    const auto& all = full.polylines[0].points;
    const auto& kept = part.polylines[0].points;
    ASSERT_GE(kept.size(), 2u);
    EXPECT_LT(kept.front().x, 399);
    EXPECT_GT(kept.back().x, 402);
    const auto start = std::find(all.begin(), all.end(), kept.front());
    ASSERT_NE(start, all.end());
    ASSERT_GE(static_cast<size_t>(all.end() - start), kept.size());
    EXPECT_TRUE(std::equal(kept.begin(), kept.end(), start));
    // Exactly one point on each side of the window.
    EXPECT_GE((start + 1)->x, 399);
    EXPECT_LE((kept.end() - 2)->x, 402);
}

} // namespace
} // namespace mirado
