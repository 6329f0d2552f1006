// Scale labels, the overview's visible span and travelling, on the recording surface.

#include "drawing/ScaleLabels.h"
#include "drawing/PointerReadout.h"
#include "drawing/WaveDrawing.h"
#include "drawing/WaveNavigation.h"
#include "drawing/WholeDrawing.h"
#include "support/RecordingSurface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace mirado {
namespace {

struct Channels {
    std::array<int16_t, kSampleCount> pulse{};
    std::array<int16_t, kSampleCount> pressure{};
};

WaveScene LabelledScene(const Channels& c, bool labels) {
    WaveScene scene;
    scene.client = {0, 0, 800, 400};
    scene.sampling = 20; // one second is 500 samples
    scene.pulse = c.pulse.data();
    scene.pressure = c.pressure.data();
    scene.markerS = 1000;
    scene.scaleLabels.shown = labels;
    return scene;
}

std::vector<RecordingSurface::Line> LinesWithPen(const RecordingSurface& s, const Pen& pen) {
    std::vector<RecordingSurface::Line> out;
    std::copy_if(s.lines.begin(), s.lines.end(), std::back_inserter(out),
                 [&](const auto& line) { return line.pen == pen; });
    return out;
}

std::vector<int> Xs(const std::vector<RecordingSurface::Line>& lines) {
    std::vector<int> xs;
    for (const auto& line : lines)
        xs.push_back(line.from.x);
    return xs;
}

const RecordingSurface::Text* FindText(const RecordingSurface& s, const std::string& text) {
    for (const auto& t : s.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

TEST(ScaleMarks, TimeMarksStandAtWholeSecondsWithinTheRange) {
    EXPECT_EQ(TimeMarksBetween(500, 0, 4000).size(), 8u);
    EXPECT_EQ(TimeMarksBetween(500, 0, 4000).front(), (TimeMark{500, 1}));
    EXPECT_EQ(TimeMarksBetween(500, 250, 2250),
              (std::vector<TimeMark>{{500, 1}, {1000, 2}, {1500, 3}, {2000, 4}}));
    EXPECT_EQ(TimeMarksBetween(500, 1000, 1499), (std::vector<TimeMark>{{1000, 2}}));
    EXPECT_EQ(TimeMarksBetween(303, 600, 1000),
              (std::vector<TimeMark>{{606, 2}, {909, 3}})); // sample interval 33
    EXPECT_TRUE(TimeMarksBetween(0, 0, 4000).empty());
    EXPECT_TRUE(TimeMarksBetween(-78, 0, 4000).empty());
    EXPECT_TRUE(TimeMarksBetween(10000, 0, 4000).empty());
}

TEST(ScaleMarks, PressureMarksFollowTheScaleThatDrawsTheTrace) {
    // Screen: s >> 2 of half millimetres, so 50 mmHg is 25 pixels.
    const auto screen = PressureMarks(200, 0, 50, PressureScale());
    ASSERT_EQ(screen.size(), 9u);
    EXPECT_EQ(screen[0], (PressureMark{200, 0}));
    EXPECT_EQ(screen[1], (PressureMark{175, 50}));
    EXPECT_EQ(screen[8], (PressureMark{0, 400}));
    // Paper: 1600 raw units span the graph, so 100 mmHg is an eighth of it.
    const auto paper = PressureMarks(3072, 948, 100, {2832, 0, 1600});
    ASSERT_EQ(paper.size(), 7u);
    EXPECT_EQ(paper[1], (PressureMark{3072 - 354, 100}));
    EXPECT_EQ(paper[6], (PressureMark{3072 - 2124, 600}));
}

TEST(WaveScaleLabels, FullViewWritesTheSecondsAndTheCuffScaleOnTheSpecifiedGrid) {
    Channels c;
    WavePens pens;
    pens.pressure.colour = kBlack; // told apart from the grey scale ticks
    RecordingSurface plain;
    CWaveDrawing(plain, LabelledScene(c, false), pens).Draw();
    EXPECT_TRUE(plain.texts.empty());

    RecordingSurface labelled;
    CWaveDrawing(labelled, LabelledScene(c, true), pens).Draw();
    // The grid, traces and markers are those of the plain picture.
    EXPECT_EQ(Xs(LinesWithPen(labelled, pens.timeLine)), Xs(LinesWithPen(plain, pens.timeLine)));
    EXPECT_EQ(LinesWithPen(labelled, pens.markerS).size(), 1u);
    EXPECT_EQ(labelled.polylines.size(), plain.polylines.size());

    const auto* first = FindText(labelled, "1 s");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->at, (Point{102, 2}));
    EXPECT_EQ(first->colour, kScreenLabelColour);
    EXPECT_EQ(first->font, ScreenLabelFont());
    EXPECT_NE(FindText(labelled, "7 s"), nullptr);
    EXPECT_EQ(FindText(labelled, "8 s"), nullptr) << "no room right of the pane's edge";

    // Ticks every 25 pixels up from the cuff's zero line at half height; numbers beside
    // them, centred on the tick (font height 12); the top one with the unit.
    const auto ticks = LinesWithPen(labelled, Pen{PenStyle::Solid, 1, kScreenLabelColour});
    ASSERT_EQ(ticks.size(), 8u);
    EXPECT_EQ(ticks[0].from, (Point{0, 200}));
    EXPECT_EQ(ticks[0].to, (Point{4, 200}));
    EXPECT_EQ(ticks[7].from, (Point{0, 25}));
    ASSERT_NE(FindText(labelled, "0"), nullptr);
    EXPECT_EQ(FindText(labelled, "0")->at, (Point{6, 194}));
    EXPECT_EQ(FindText(labelled, "50")->at, (Point{6, 169}));
    EXPECT_EQ(FindText(labelled, "350 mmHg")->at, (Point{6, 19}));
}

TEST(WaveScaleLabels, ZoomedTimeLinesFollowTheScrollOffsetOntoWholeSeconds) {
    Channels c;
    const WavePens pens;
    WaveScene scene = LabelledScene(c, true);
    scene.zoomIndex = 1; // 2000 samples across 800 pixels
    scene.scrollOffset = 250;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).Draw();
    // Seconds 1 to 4 are samples 500, 1000, 1500 and 2000: x = 800 * (t - 250) / 2000.
    EXPECT_EQ(Xs(LinesWithPen(surface, pens.timeLine)), (std::vector<int>{100, 300, 500, 700}));
    EXPECT_EQ(FindText(surface, "1 s")->at, (Point{102, 2}));
    EXPECT_EQ(FindText(surface, "4 s")->at, (Point{702, 2}));

    scene.scrollOffset = 1000; // a second at the very left edge
    RecordingSurface atSecond;
    CWaveDrawing(atSecond, scene, pens).Draw();
    EXPECT_EQ(Xs(LinesWithPen(atSecond, pens.timeLine)), (std::vector<int>{0, 200, 400, 600, 800}));
    EXPECT_NE(FindText(atSecond, "2 s"), nullptr);

    // A pane whose top mmHg number reaches into the row of the seconds keeps the second
    // at its left edge from writing over it.
    scene.client.bottom = 420; // zero line at 210, the top mark (400 mmHg) at y 10
    RecordingSurface tall;
    CWaveDrawing(tall, scene, pens).Draw();
    ASSERT_NE(FindText(tall, "400 mmHg"), nullptr);
    EXPECT_EQ(FindText(tall, "2 s"), nullptr);
    EXPECT_NE(FindText(tall, "3 s"), nullptr);

    // Without labels the specified lines, counted from the pane's edge, stay.
    scene.scaleLabels.shown = false;
    scene.scrollOffset = 250;
    RecordingSurface plain;
    CWaveDrawing(plain, scene, pens).Draw();
    EXPECT_EQ(Xs(LinesWithPen(plain, pens.timeLine)), (std::vector<int>{200, 400, 600, 800}));
    EXPECT_TRUE(plain.texts.empty());
}

TEST(WaveScaleLabels, UnitsComeFromTheOptions) {
    Channels c;
    WaveScene scene = LabelledScene(c, true);
    scene.scaleLabels.secondsUnit = "sec";
    scene.scaleLabels.pressureUnit = "Torr";
    RecordingSurface surface;
    CWaveDrawing(surface, scene, WavePens{}).Draw();
    EXPECT_NE(FindText(surface, "3 sec"), nullptr);
    EXPECT_NE(FindText(surface, "350 Torr"), nullptr);
}

TEST(Readout, TimeIsIndexTimesIntervalInMillisecondsRoundedHalfUp) {
    EXPECT_EQ(SampleTimeMilliseconds(617, 20), 1234);
    EXPECT_EQ(SampleTimeMilliseconds(1, 25), 3);  // 2.5 ms
    EXPECT_EQ(SampleTimeMilliseconds(3, 33), 10); // 9.9 ms
    EXPECT_EQ(SampleTimeMilliseconds(7, 33), 23); // 23.1 ms
    EXPECT_EQ(SampleTimeMilliseconds(3999, 127), 50787);
    EXPECT_EQ(SampleTimeMilliseconds(0, 100), 0);
    EXPECT_FALSE(SampleTimeMilliseconds(10, 0).has_value());
    EXPECT_FALSE(SampleTimeMilliseconds(10, -20).has_value());
    EXPECT_EQ(FormatSeconds(1234), "1.234");
    EXPECT_EQ(FormatSeconds(3), "0.003");
    EXPECT_EQ(FormatSeconds(50787), "50.787");
}

TEST(Travel, ATenthOfTheVisibleSpanAndCentringClampedToTheRange) {
    EXPECT_EQ(TravelStep(0), 0);
    EXPECT_EQ(TravelStep(1), 200);
    EXPECT_EQ(TravelStep(3), 50);
    EXPECT_EQ(CentredOffset(2000, 1), 1000);
    EXPECT_EQ(CentredOffset(100, 2), 0);
    EXPECT_EQ(CentredOffset(3990, 3), 3500);
    EXPECT_EQ(CentredOffset(2000, 0), 0);
}

TEST(OverviewSpan, ShadesTheColumnsOfTheVisibleSamples) {
    RecordingSurface surface;
    DrawVisibleSpan(surface, {0, 0, 800, 96}, 1000, 1000);
    ASSERT_EQ(surface.fills.size(), 1u);
    EXPECT_EQ(surface.fills[0].rect, (Rect{200, 0, 400, 96}));
    EXPECT_EQ(surface.fills[0].colour, kVisibleSpanShade);
}

} // namespace
} // namespace mirado
