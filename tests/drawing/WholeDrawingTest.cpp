#include "drawing/WholeDrawing.h"
#include "drawing/WaveDrawing.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>

namespace mirado {
namespace {

const Rect kBand{0, 0, 800, 96};

std::vector<RecordingSurface::Line> Ticks(const RecordingSurface& s) {
    std::vector<RecordingSurface::Line> out;
    for (const auto& line : s.lines)
        if (line.pen.colour == kBlue)
            out.push_back(line);
    return out;
}

TEST(WholeRecording, BlackEnvelopeAtOneThirtySecondOnTheThreeQuarterBaseline) {
    std::array<int16_t, 4000> pulse{};
    pulse.fill(320); // 10 pixels at 1/32
    RecordingSurface surface;
    DrawWholeRecording(surface, kBand, pulse.data(), nullptr, WavePens{}.tick);
    ASSERT_EQ(surface.lines.size(), 799u);
    EXPECT_EQ(OverviewBaseline(96), 72);
    EXPECT_EQ(surface.lines[0].from, (Point{0, 72 - 10}));
    EXPECT_EQ(surface.lines[0].pen, (Pen{PenStyle::Solid, 1, kBlack}));
}

TEST(WholeRecording, AFullListDrawsExactlyOneHundredTicks) {
    std::array<int16_t, 120> beats{};
    for (size_t i = 0; i < beats.size(); ++i)
        beats[i] = static_cast<int16_t>(30 * (i + 1));
    RecordingSurface surface;
    EXPECT_EQ(DrawWholeRecording(surface, kBand, nullptr, beats.data(), WavePens{}.tick), 100);
    const auto ticks = Ticks(surface);
    ASSERT_EQ(ticks.size(), 100u);
    EXPECT_EQ(ticks[0].from, (Point{800 * 30 / 4000, 96}));
    EXPECT_EQ(ticks[0].to, (Point{800 * 30 / 4000, 96 - 12}));
}

TEST(WholeRecording, TickAtPosition4000StandsOnTheRightEdge) {
    std::array<int16_t, 100> beats{};
    beats[0] = 4000;
    RecordingSurface surface;
    EXPECT_EQ(DrawWholeRecording(surface, kBand, nullptr, beats.data(), WavePens{}.tick), 1);
    EXPECT_EQ(Ticks(surface)[0].from, (Point{800, 96}));
}

TEST(WholeRecording, AListStartingWithZeroHasNoTicks) {
    std::array<int16_t, 100> beats{};
    beats[1] = 500; // after the end mark: ignored
    std::array<int16_t, 4000> pulse{};
    RecordingSurface surface;
    EXPECT_EQ(DrawWholeRecording(surface, kBand, pulse.data(), beats.data(), WavePens{}.tick), 0);
    EXPECT_TRUE(Ticks(surface).empty());
    EXPECT_FALSE(surface.lines.empty());
}

TEST(WholeRecording, WiderThanTheRecordingTheTraceSpansTheBand) {
    std::array<int16_t, 4000> pulse{};
    RecordingSurface surface;
    DrawWholeRecording(surface, {0, 0, 6000, 96}, pulse.data(), nullptr, WavePens{}.tick);
    ASSERT_EQ(surface.polylines.size(), 1u);
    EXPECT_EQ(surface.polylines[0].points.back().x, 6000 * 3999 / 4000);
}

} // namespace
} // namespace mirado
