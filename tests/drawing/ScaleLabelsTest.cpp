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

    // Ticks every 25 pixels up from the cuff's zero line at half height; each number
    // stands on its tick (font height 12), so that the tick cannot read as a minus sign;
    // the top one, below the seconds' row, with the unit.
    const auto ticks = LinesWithPen(labelled, Pen{PenStyle::Solid, 1, kScreenLabelColour});
    ASSERT_EQ(ticks.size(), 7u);
    EXPECT_EQ(ticks[0].from, (Point{0, 200}));
    EXPECT_EQ(ticks[0].to, (Point{4, 200}));
    EXPECT_EQ(ticks[6].from, (Point{0, 50}));
    ASSERT_NE(FindText(labelled, "0"), nullptr);
    EXPECT_EQ(FindText(labelled, "0")->at, (Point{2, 188}));
    EXPECT_EQ(FindText(labelled, "50")->at, (Point{2, 163}));
    EXPECT_EQ(FindText(labelled, "300 mmHg")->at, (Point{2, 38}));
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

    // The mmHg scale stops below the row of the seconds: a second at the left edge is
    // written whatever the pane's height.
    scene.client.bottom = 420; // zero line at 210; 400 mmHg would stand at y 10
    RecordingSurface tall;
    CWaveDrawing(tall, scene, pens).Draw();
    EXPECT_EQ(FindText(tall, "400 mmHg"), nullptr);
    EXPECT_NE(FindText(tall, "350 mmHg"), nullptr);
    EXPECT_NE(FindText(tall, "2 s"), nullptr);

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
    EXPECT_NE(FindText(surface, "300 Torr"), nullptr);
}

// The box of every text drawn, with the recording surface's metrics (12 pixels high,
// 6 a character).
std::vector<LabelBox> TextBoxes(const RecordingSurface& s) {
    std::vector<LabelBox> boxes;
    for (const auto& t : s.texts)
        boxes.push_back(
            {t.at.x, t.at.y, t.at.x + static_cast<int>(t.text.size()) * 6, t.at.y + 12});
    return boxes;
}

bool IsSecondLabel(const std::string& text) {
    return text.size() > 2 && text.compare(text.size() - 2, 2, " s") == 0;
}

TEST(ScaleMarks, SecondLabelsStandOneTwoOrFiveDecadesApart) {
    EXPECT_EQ(SecondLabelStride(100, 18, 4), 1);
    EXPECT_EQ(SecondLabelStride(20, 24, 4), 2);
    EXPECT_EQ(SecondLabelStride(10, 24, 4), 5);
    EXPECT_EQ(SecondLabelStride(2, 24, 4), 20);
    EXPECT_GT(SecondLabelStride(0, 24, 4), 4000) << "a pane without width labels nothing";
}

struct LabelCase {
    int sampling; // 0.1 ms
    int zoom;
    int width;
    int height = 400;
};

class LabelsNeverOverlap : public ::testing::TestWithParam<LabelCase> {};

// Seconds, mmHg numbers and marker letters: no two boxes share a pixel, every mmHg number
// stands on its tick (a tick left of it would read as a minus sign), and the seconds are
// thinned rather than dropped.
TEST_P(LabelsNeverOverlap, OnEveryRecordingZoomAndWidth) {
    const LabelCase& c = GetParam();
    Channels channels;
    WaveScene scene = LabelledScene(channels, true);
    scene.sampling = c.sampling;
    scene.zoomIndex = c.zoom;
    scene.client.right = c.width;
    scene.client.bottom = c.height;
    scene.markerS = 100;
    scene.markerM = 104;
    scene.markerMValid = true;
    const WavePens pens;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).Draw();

    const std::vector<LabelBox> boxes = TextBoxes(surface);
    for (size_t i = 0; i < boxes.size(); ++i)
        for (size_t j = i + 1; j < boxes.size(); ++j)
            EXPECT_FALSE(boxes[i].Overlaps(boxes[j]))
                << surface.texts[i].text << " and " << surface.texts[j].text;

    const auto ticks = LinesWithPen(surface, Pen{PenStyle::Solid, 1, kScreenLabelColour});
    int seconds = 0;
    for (size_t i = 0; i < surface.texts.size(); ++i) {
        const std::string& text = surface.texts[i].text;
        seconds += IsSecondLabel(text) ? 1 : 0;
        if (IsSecondLabel(text) || text == kMarkerSLabel || text == kMarkerMLabel)
            continue;
        EXPECT_TRUE(std::any_of(ticks.begin(), ticks.end(),
                                [&](const auto& tick) { return tick.from.y == boxes[i].bottom; }))
            << text << " stands on no tick";
        EXPECT_NE(text.front(), '-');
    }
    if (c.zoom == 0) {
        EXPECT_GE(seconds, 3);
    }
}

INSTANTIATE_TEST_SUITE_P(Recordings, LabelsNeverOverlap,
                         ::testing::Values(LabelCase{100, 0, 800}, LabelCase{100, 0, 400},
                                           LabelCase{100, 1, 800}, LabelCase{100, 3, 1200},
                                           LabelCase{20, 0, 800}, LabelCase{40, 0, 300},
                                           LabelCase{20, 3, 800}, LabelCase{100, 0, 2000},
                                           LabelCase{100, 0, 300, 60}));

TEST(MarkerLabels, LettersAtTheFootOfTheLinesFacingAwayFromEachOther) {
    Channels c;
    const WavePens pens;
    WaveScene scene = LabelledScene(c, true); // 800 x 400
    scene.markerS = 1000;                     // x 200
    scene.markerM = 1001;                     // the same column
    scene.markerMValid = true;
    RecordingSurface surface;
    CWaveDrawing(surface, scene, pens).Draw();
    const auto* s = FindText(surface, kMarkerSLabel);
    const auto* m = FindText(surface, kMarkerMLabel);
    ASSERT_NE(s, nullptr);
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(s->at, (Point{192, 386})); // left of its line, 2 above the bottom
    EXPECT_EQ(m->at, (Point{202, 386})); // right of its line
    EXPECT_EQ(s->colour, pens.markerS.colour);
    EXPECT_EQ(m->colour, pens.markerM.colour);

    // M before S: the letters swap sides; a letter that would leave the pane turns round.
    scene.markerS = 2000;
    scene.markerM = 0;
    RecordingSurface swapped;
    CWaveDrawing(swapped, scene, pens).Draw();
    EXPECT_EQ(FindText(swapped, kMarkerSLabel)->at.x, 402);
    EXPECT_EQ(FindText(swapped, kMarkerMLabel)->at.x, 2);

    // Zoomed away from marker M, and without valid values, only S is named.
    scene.markerMValid = false;
    RecordingSurface onlyS;
    CWaveDrawing(onlyS, scene, pens).Draw();
    EXPECT_NE(FindText(onlyS, kMarkerSLabel), nullptr);
    EXPECT_EQ(FindText(onlyS, kMarkerMLabel), nullptr);

    scene.scaleLabels.shown = false;
    RecordingSurface plain;
    CWaveDrawing(plain, scene, pens).Draw();
    EXPECT_TRUE(plain.texts.empty());
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
