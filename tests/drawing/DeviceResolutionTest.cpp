// Traces drawn at the device's resolution on a screen with two device pixels per unit,
// and the unchanged drawing at one.

#include "drawing/ColumnEnvelope.h"
#include "drawing/WaveDrawing.h"
#include "drawing/WholeDrawing.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace mirado {
namespace {

struct Channels {
    std::array<int16_t, kSampleCount> pulse{};
    std::array<int16_t, kSampleCount> pressure{};
};

Channels Waves() {
    Channels c;
    for (int k = 0; k < kSampleCount; ++k) {
        c.pulse[static_cast<size_t>(k)] = static_cast<int16_t>(300 * std::sin(k / 37.0));
        c.pressure[static_cast<size_t>(k)] = static_cast<int16_t>(1200 - k / 4);
    }
    return c;
}

WaveScene SceneOf(const Channels& c, int zoom = 0) {
    WaveScene scene;
    scene.client = {0, 0, 400, 300};
    scene.zoomIndex = zoom;
    scene.sampling = 20;
    scene.pulse = c.pulse.data();
    scene.pressure = c.pressure.data();
    scene.markerS = 1000;
    return scene;
}

std::vector<RecordingSurface::Line> Lines(const RecordingSurface& s, bool inDevicePixels,
                                          Colour colour) {
    std::vector<RecordingSurface::Line> out;
    for (const auto& line : s.lines)
        if (line.inDevicePixels == inDevicePixels && line.pen.colour == colour)
            out.push_back(line);
    return out;
}

TEST(DeviceResolution, OneDevicePixelPerUnitDrawsTheUnitsPicture) {
    const Channels c = Waves();
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, SceneOf(c), pens).Draw();
    EXPECT_EQ(surface.deviceCoordinateSwitches, 0);
    // One segment a column; the last column, still being gathered, is not drawn.
    EXPECT_EQ(Lines(surface, false, pens.wave.colour).size(), 399u);
}

// With two device pixels per unit every device column gets its own segment: the trace
// is the unit picture's within a device pixel or two, with its steps halved.
TEST(DeviceResolution, TwoDevicePixelsPerUnitDrawTheTracesInDevicePixels) {
    const Channels c = Waves();
    const WavePens pens;
    RecordingSurface unit;
    CWaveDrawing(unit, SceneOf(c), pens).Draw();
    RecordingSurface fine;
    fine.devicePixelRatio = 2;
    CWaveDrawing(fine, SceneOf(c), pens).Draw();
    EXPECT_FALSE(fine.InDevicePixels()) << "device coordinates end with the traces";

    // Grid and markers stay in units, line for line.
    ASSERT_EQ(Lines(fine, false, pens.markerS.colour).size(), 1u);
    EXPECT_EQ(Lines(fine, false, kGridColour).size(), Lines(unit, false, kGridColour).size());
    EXPECT_TRUE(Lines(fine, false, pens.wave.colour).empty());

    const auto unitWave = Lines(unit, false, pens.wave.colour);
    const auto fineWave = Lines(fine, true, pens.wave.colour);
    ASSERT_EQ(fineWave.size(), 2 * unitWave.size() + 1);
    // Each unit column's reach, up and down, is that of its two device columns.
    std::map<int, std::pair<int, int>> unitReach;
    std::map<int, std::pair<int, int>> fineReach;
    const auto widen = [](std::map<int, std::pair<int, int>>& reach, int column,
                          const RecordingSurface::Line& line) {
        const int low = std::min(line.from.y, line.to.y);
        const int high = std::max(line.from.y, line.to.y);
        const auto [it, added] = reach.try_emplace(column, low, high);
        it->second = {std::min(it->second.first, low), std::max(it->second.second, high)};
    };
    for (const auto& line : unitWave)
        widen(unitReach, line.from.x, line);
    bool halfSteps = false;
    for (const auto& line : fineWave) {
        EXPECT_EQ(line.pen.width, 2);
        widen(fineReach, line.from.x / 2, line);
        halfSteps = halfSteps || line.from.y % 2 != 0;
    }
    for (const auto& [column, reach] : unitReach) {
        ASSERT_TRUE(fineReach.count(column)) << column;
        EXPECT_NEAR(fineReach[column].first, 2 * reach.first, 4) << column;
        EXPECT_NEAR(fineReach[column].second, 2 * reach.second, 4) << column;
    }
    EXPECT_TRUE(halfSteps) << "the device pixels between the units are used";
    EXPECT_EQ(Lines(fine, true, pens.pressure.colour).size(), 799u);
}

TEST(DeviceResolution, APartialRepaintDrawsTheSameColumnsInDevicePixels) {
    const Channels c = Waves();
    const WavePens pens;
    RecordingSurface fine;
    fine.devicePixelRatio = 2;
    fine.clipBox = Rect{100, 0, 110, 300};
    CWaveDrawing(fine, SceneOf(c), pens).Draw();
    const auto wave = Lines(fine, true, pens.wave.colour);
    ASSERT_FALSE(wave.empty());
    for (const auto& line : wave) {
        EXPECT_GE(line.from.x, 2 * 99);
        EXPECT_LE(line.from.x, 2 * 110 + 1);
    }
}

// Zoomed in far enough, the pane is wider in device pixels than the samples shown: a line
// through every sample, in device pixels.
TEST(DeviceResolution, ZoomedTracesAreLinesThroughTheSamples) {
    const Channels c = Waves();
    RecordingSurface fine;
    fine.devicePixelRatio = 2;
    CWaveDrawing(fine, SceneOf(c, 3), WavePens{}).Draw(); // 500 samples over 800 pixels
    ASSERT_EQ(fine.polylines.size(), 2u);
    EXPECT_TRUE(fine.polylines[0].inDevicePixels);
    EXPECT_EQ(fine.polylines[0].points.size(), 500u);
    EXPECT_EQ(fine.polylines[0].points.back().x, 800 * 499 / 500);
}

TEST(DeviceResolution, TheOverviewTraceFollowsButNotItsBeatTicks) {
    const Channels c = Waves();
    const std::array<int16_t, 3> beats{100, 900, 0};
    const Pen tick{PenStyle::Solid, 1, kBlue};
    RecordingSurface fine;
    fine.devicePixelRatio = 2;
    DrawWholeRecording(fine, {0, 0, 400, 100}, c.pulse.data(), beats.data(), tick);
    EXPECT_EQ(Lines(fine, true, kBlack).size(), 799u);
    EXPECT_EQ(Lines(fine, false, kBlue).size(), 2u);
    EXPECT_FALSE(fine.InDevicePixels());
}

TEST(DeviceResolution, AWindowCountsTheDevicePixelsOfItsColumns) {
    const ColumnWindow scaled = ScaledWindow({10, 20}, 2);
    EXPECT_EQ(scaled.first, 20);
    EXPECT_EQ(scaled.last, 41);
    const ColumnWindow whole = ScaledWindow({}, 2);
    EXPECT_TRUE(whole.Contains(-100000));
    EXPECT_TRUE(whole.Contains(100000));
}

} // namespace
} // namespace mirado
