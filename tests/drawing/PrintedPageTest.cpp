// Geometry of the printed recording page, checked on the recording surface.

#include "drawing/PrintedPage.h"
#include "drawing/ColumnEnvelope.h"
#include "drawing/PageStyles.h"

#include "support/RecordingSurface.h"
#include "support/ScriptedUserPrompts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace mirado {
namespace {

// A4 landscape drawing rectangle at a given resolution.
Rect A4Landscape(int dpi) {
    return {0, 0, 1169 * dpi / 100, 827 * dpi / 100};
}

struct Channels {
    std::array<int16_t, kSampleCount> pressure{};
    std::array<int16_t, kSampleCount> pulse{};
    std::array<int16_t, kSampleCount> fitted{};
};

PrintedRecording MakeRecording(Channels& channels) {
    for (int k = 0; k < kSampleCount; ++k) {
        channels.pressure[k] = static_cast<int16_t>(400 - k / 10);
        channels.pulse[k] = static_cast<int16_t>((k % 100) - 50);
        channels.fitted[k] = k < 1000 ? kUndefinedCurveValue : static_cast<int16_t>(k / 100);
    }
    PrintedRecording r;
    r.drawable = true;
    r.sampling = 20;
    r.pressureSamples = channels.pressure.data();
    r.pulseSamples = channels.pulse.data();
    r.viewScale = 5;
    r.markerS = 1000;
    r.markerM = 2000;
    r.valid = true;
    r.sense = 3;
    r.sbp = 121;
    r.dbp = 80;
    r.mbp = 95;
    r.heartRate = 72;
    r.date = "24/01/31";
    r.time = "10:20:30";
    return r;
}

std::vector<RecordingSurface::Line> LinesWithPen(const RecordingSurface& s, const Pen& pen) {
    std::vector<RecordingSurface::Line> out;
    std::copy_if(s.lines.begin(), s.lines.end(), std::back_inserter(out),
                 [&](const auto& l) { return l.pen == pen; });
    return out;
}

const RecordingSurface::Text* FindText(const RecordingSurface& s, const std::string& text) {
    for (const auto& t : s.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

const PagePens kPens = CurrentFilePageStyle(0xFF0000, 0x00FF00).pens;

TEST(CurrentFilePageGeometry, At600DpiMatchesTheDesignExample) {
    const PageStyle style = CurrentFilePageStyle(0xFF0000, 0x00FF00);
    const PageGeometry g = ComputePageGeometry(A4Landscape(600), 600, 600, style);
    EXPECT_EQ(g.margin, 426);
    EXPECT_EQ(g.Width(), 4722);
    EXPECT_EQ(g.Height(), 2832);
    EXPECT_EQ(g.graph.left, 426);
    EXPECT_EQ(g.graph.top, 948);
    EXPECT_EQ(g.waveBaseline, 948 + 2478);
    EXPECT_EQ(g.pressureBaseline, 948 + 2124);
}

TEST(CurrentFilePageGeometry, GraphHeightFollowsEachPagesResolution) {
    // A printer with a finer vertical resolution: the current-file page converts the
    // height with it, the selected-files page with the horizontal one.
    const Rect page{0, 0, 7000, 9900};
    EXPECT_EQ(ComputePageGeometry(page, 600, 1200, CurrentFilePageStyle(0, 0)).Height(), 5664);
    EXPECT_EQ(ComputePageGeometry(page, 600, 1200, SelectedFilesPageStyle()).Height(), 2832);
    EXPECT_EQ(ComputePageGeometry(page, 600, 1200, SelectedFilesPageStyle()).graph.top, 1656);
}

TEST(CurrentFilePage, At600DpiDrawsPolylinesWithTheWhiteFill) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    r.fittedCurve = channels.fitted.data();
    RecordingSurface surface(600);
    ScriptedUserPrompts prompts;
    DrawRecordingPage(surface, A4Landscape(600), r, CurrentFilePageStyle(0xFF0000, 0x00FF00),
                      "heading", prompts);

    // Frame, then five level lines 354 apart from the wave baseline upward.
    const auto frame = LinesWithPen(surface, kPens.frame);
    ASSERT_EQ(frame.size(), 4u);
    EXPECT_EQ(frame[0].from, (Point{426, 948}));
    EXPECT_EQ(frame[1].from, (Point{5148, 948}));
    EXPECT_EQ(frame[2].to, (Point{426, 3780}));
    const auto levels = LinesWithPen(surface, kPens.levelLine);
    ASSERT_EQ(levels.size(), 5u);
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(levels[k].from, (Point{426, 3426 - 354 * k}));
        EXPECT_EQ(levels[k].to, (Point{5148, 3426 - 354 * k}));
    }

    // Pulse wave, pressure and the fitted curve from its first defined entry.
    ASSERT_EQ(surface.polylines.size(), 3u);
    EXPECT_EQ(surface.polylines[0].points.size(), 4000u);
    EXPECT_EQ(surface.polylines[0].points[0], (Point{426, 3426 - ((-50 * 32) >> 5)}));
    EXPECT_EQ(surface.polylines[1].pen, kPens.pressure);
    EXPECT_EQ(surface.polylines[1].points[0], (Point{426, 3072 - 400 * 2832 / 1600}));
    EXPECT_EQ(surface.polylines[1].points[3999].x, 426 + 4722 * 3999 / 4000);
    EXPECT_EQ(surface.polylines[2].points.size(), 3000u);
    EXPECT_EQ(surface.polylines[2].points[0].x, 426 + 4722 * 1000 / 4000);

    // The white fill covers everything above the graph up to the shrunk page's right edge.
    ASSERT_EQ(surface.fills.size(), 1u);
    EXPECT_EQ(surface.fills[0].rect, (Rect{0, 0, 7014 - 426, 948 - 5}));
    EXPECT_EQ(surface.fills[0].colour, 0xFFFFFFu);

    // Marker lines from the bottom of the graph up to the wave baseline.
    const auto s = LinesWithPen(surface, kPens.markerS);
    ASSERT_EQ(s.size(), 1u);
    EXPECT_EQ(s[0].from, (Point{426 + 4722 / 4, 3780}));
    EXPECT_EQ(s[0].to, (Point{426 + 4722 / 4, 3426}));
}

TEST(CurrentFilePage, At300DpiDrawsEnvelopesAndNoFill) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    r.fittedCurve = channels.fitted.data();
    RecordingSurface surface(300);
    ScriptedUserPrompts prompts;
    DrawRecordingPage(surface, A4Landscape(300), r, CurrentFilePageStyle(0xFF0000, 0x00FF00),
                      "heading", prompts);
    const PageGeometry g =
        ComputePageGeometry(A4Landscape(300), 300, 300, CurrentFilePageStyle(0, 0));
    EXPECT_EQ(g.Width(), 2361);
    EXPECT_TRUE(surface.polylines.empty());
    EXPECT_TRUE(surface.fills.empty());
    // One segment per column for each trace, drawn at the running column count.
    const auto pulse = LinesWithPen(surface, kPens.pulseWave);
    const int traceColumns = 2360; // the last column still being gathered is dropped
    // The fitted curve's gap moves the column count to c(999); its first segment stands there.
    const int fittedStart = 2361 * 999 / 4000;
    const int fittedColumns = 1 + 2360 - 2361 * 1000 / 4000;
    EXPECT_EQ(static_cast<int>(pulse.size()), traceColumns + fittedColumns);
    EXPECT_EQ(pulse[0].from.x, 213);
    EXPECT_EQ(pulse[traceColumns - 1].from.x, 213 + traceColumns - 1);
    EXPECT_EQ(pulse[traceColumns].from.x, 213 + fittedStart);
    EXPECT_EQ(static_cast<int>(LinesWithPen(surface, kPens.pressure).size()), traceColumns);
}

TEST(CurrentFilePage, TimeLinesEverySecondAndSamplingText) {
    for (int sampling : {20, 25}) {
        Channels channels;
        PrintedRecording r = MakeRecording(channels);
        r.sampling = sampling;
        RecordingSurface surface(600);
        ScriptedUserPrompts prompts;
        DrawRecordingPage(surface, A4Landscape(600), r, CurrentFilePageStyle(0, 0x00FF00), "h",
                          prompts);
        const auto times = LinesWithPen(surface, kPens.timeLine);
        const int step = 10000 / sampling;
        const size_t expected = sampling == 20 ? 7u : 9u;
        ASSERT_EQ(times.size(), expected) << sampling;
        EXPECT_EQ(times[0].from, (Point{426 + step * 4722 / 4000, 948}));
        EXPECT_EQ(times[0].to, (Point{426 + step * 4722 / 4000, 3780}));
        EXPECT_NE(FindText(surface, "2ms"), nullptr) << sampling;
    }
}

TEST(CurrentFilePage, TimeLineStepEndsForEveryInterval) {
    EXPECT_EQ(TimeLineStep(20), 500);
    EXPECT_EQ(TimeLineStep(1), 0); // a step of 10000 samples: no line
    EXPECT_EQ(TimeLineStep(0), 0);
    EXPECT_EQ(TimeLineStep(-56), 0);
    EXPECT_EQ(TimeLineStep(3), 3333);
}

TEST(CurrentFilePage, TextBlockColumnsRowsAndInvalidValues) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    r.valid = false;
    r.dbp = 0;
    r.mbp = 0;
    RecordingSurface surface(600, {100, 80, 4, 50});
    ScriptedUserPrompts prompts;
    DrawRecordingPage(surface, A4Landscape(600), r, CurrentFilePageStyle(0, 0x00FF00),
                      FormatPageHeading(CurrentFileTitle(0), 3), prompts);
    // h = 104 + 104 / 16 = 110; heading at top + h, rows from top + 2h.
    const auto* heading = FindText(surface, CurrentFileTitle(0) + " 3");
    ASSERT_NE(heading, nullptr);
    EXPECT_EQ(heading->at, (Point{426, 110}));
    EXPECT_EQ(heading->font.face, "ＭＳ ゴシック");
    EXPECT_EQ(heading->font.pointSizeTenths, 120);
    const auto* date = FindText(surface, "24/01/31");
    ASSERT_NE(date, nullptr);
    EXPECT_EQ(date->at, (Point{426 + 600 + 150, 220}));
    const auto* hr = FindText(surface, "HR");
    ASSERT_NE(hr, nullptr);
    EXPECT_EQ(hr->at, (Point{426 + 3306, 220}));
    EXPECT_NE(FindText(surface, " 72"), nullptr);
    const auto* sbp = FindText(surface, "121");
    ASSERT_NE(sbp, nullptr);
    EXPECT_EQ(sbp->at, (Point{426 + 3780 + 150, 330}));
    // DBP and MBP print as 0 right-aligned in three places, each with its unit.
    int zeros = 0;
    int units = 0;
    for (const auto& t : surface.texts) {
        zeros += t.text == "  0";
        if (t.text == "mmHg") {
            ++units;
            EXPECT_EQ(t.at.x, 426 + 4254);
        }
    }
    EXPECT_EQ(zeros, 2);
    EXPECT_EQ(units, 3);
    const auto* sampling = FindText(surface, "SAMPLING");
    ASSERT_NE(sampling, nullptr);
    EXPECT_EQ(sampling->at.y, 220 + 4 * 110);
    // No M line when the values are not valid.
    EXPECT_TRUE(LinesWithPen(surface, kPens.markerM).empty());
    EXPECT_EQ(LinesWithPen(surface, kPens.markerS).size(), 1u);
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST(CurrentFilePage, FontFailureIsReportedAndThePageStillDrawn) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    RecordingSurface surface(600);
    surface.failFontCreation = true;
    ScriptedUserPrompts prompts;
    DrawRecordingPage(surface, A4Landscape(600), r, CurrentFilePageStyle(0, 0x00FF00), "h",
                      prompts);
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0].text, "Error in Font Create");
    EXPECT_EQ(prompts.Shown()[1].text, "Error in OnPrint() Font set");
    EXPECT_NE(FindText(surface, "DATE"), nullptr);
    EXPECT_EQ(surface.polylines.size(), 2u);
}

TEST(CurrentFilePage, NothingDrawnForAnUndrawableRecording) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    r.drawable = false;
    RecordingSurface surface(600);
    ScriptedUserPrompts prompts;
    DrawRecordingPage(surface, A4Landscape(600), r, CurrentFilePageStyle(0, 0), "h", prompts);
    EXPECT_TRUE(surface.lines.empty());
    EXPECT_TRUE(surface.texts.empty());
}

TEST(CurrentFilePage, HeadingTextsByDeviceTypeCode) {
    EXPECT_EQ(CurrentFileTitle(0).rfind("LumicA Blood Pressure Recording", 0), 0u);
    EXPECT_EQ(CurrentFileTitle(2), CurrentFileTitle(0));
    EXPECT_EQ(CurrentFileTitle(1).rfind("LumicE Blood Pressure Recording", 0), 0u);
    EXPECT_EQ(CurrentFileTitle(3), CurrentFileTitle(1));
    EXPECT_EQ(CurrentFileTitle(4).rfind("Blood Pressure Recording", 0), 0u);
    EXPECT_EQ(CurrentFileTitle(-1), CurrentFileTitle(4));
    EXPECT_EQ(SelectedFilesTitle(), CurrentFileTitle(4));
    EXPECT_EQ(FormatPageHeading("T", -1), "T -1");
}

TEST(SelectedFilesPage, At300DpiOneBaselineNoFillFixedPens) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    RecordingSurface surface(300);
    ScriptedUserPrompts prompts;
    const PageStyle style = SelectedFilesPageStyle();
    DrawRecordingPage(surface, A4Landscape(300), r, style, "t", prompts);
    const PageGeometry g = ComputePageGeometry(A4Landscape(300), 300, 300, style);
    EXPECT_EQ(g.Width(), 2361);
    EXPECT_EQ(g.Height(), 1416);
    EXPECT_EQ(g.graph.top, 414);
    EXPECT_EQ(g.pressureBaseline, g.waveBaseline);
    EXPECT_TRUE(surface.fills.empty());
    EXPECT_EQ(style.pens.pulseWave.colour, Rgb(0, 0, 255));
    EXPECT_EQ(style.pens.markerS.colour, Rgb(255, 0, 0));
    EXPECT_EQ(style.pens.timeLine.style, PenStyle::Dotted);
    EXPECT_EQ(surface.texts.front().font.face, "Courier New");
    // The first pressure column (samples 0 and 1, raw 400) stands on the shared zero line.
    const auto pressure = LinesWithPen(surface, style.pens.pressure);
    ASSERT_FALSE(pressure.empty());
    EXPECT_EQ(pressure[0].from.y, g.waveBaseline - 400 * 1416 / 1600);
}

} // namespace
} // namespace mirado
