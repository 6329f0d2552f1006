// Scale labels on the printed page of the current file, on the recording surface.

#include "drawing/PageStyles.h"
#include "drawing/PrintedPage.h"

#include "support/RecordingSurface.h"
#include "support/ScriptedUserPrompts.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace mirado {
namespace {

struct Channels {
    std::array<int16_t, kSampleCount> pressure{};
    std::array<int16_t, kSampleCount> pulse{};
};

PrintedRecording MakeRecording(Channels& channels) {
    for (int k = 0; k < kSampleCount; ++k) {
        channels.pressure[k] = static_cast<int16_t>(400 - k / 10);
        channels.pulse[k] = static_cast<int16_t>((k % 100) - 50);
    }
    PrintedRecording r;
    r.drawable = true;
    r.sampling = 20;
    r.pressureSamples = channels.pressure.data();
    r.pulseSamples = channels.pulse.data();
    r.viewScale = 5;
    r.markerS = 1000;
    return r;
}

const Rect kA4At600{0, 0, 1169 * 6, 827 * 6};

RecordingSurface DrawPage(bool labels) {
    Channels channels;
    const PrintedRecording r = MakeRecording(channels);
    PageStyle style = CurrentFilePageStyle(0xFF0000, 0x00FF00);
    style.scaleLabels.shown = labels;
    RecordingSurface surface(600);
    ScriptedUserPrompts prompts;
    DrawRecordingPage(surface, kA4At600, r, style, "heading", prompts);
    return surface;
}

const RecordingSurface::Text* FindText(const RecordingSurface& s, const std::string& text) {
    for (const auto& t : s.texts)
        if (t.text == text)
            return &t;
    return nullptr;
}

// At 600 dpi the graph is x 426..5148, y 948..3780 (d = 2832); the cuff's zero line is
// three quarters down at y 3072, and 100 mmHg (200 raw units) is d / 8 = 354 pixels.
TEST(PageScaleLabels, SecondsUnderTheTimeLinesAndTheCuffScaleLeftOfTheFrame) {
    const RecordingSurface page = DrawPage(true);
    // Seconds centred under their lines (text width 6 per character), a twentieth of an
    // inch below the frame; the line at the frame's right edge is not drawn, nor its label.
    const auto* first = FindText(page, "1 s");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->at, (Point{426 + 500 * 4722 / 4000 - 9, 3780 + 30}));
    EXPECT_NE(FindText(page, "7 s"), nullptr);
    EXPECT_EQ(FindText(page, "8 s"), nullptr);

    // The scale: every 100 mmHg from the zero line up to the frame's top, numbers right-
    // aligned a tenth of an inch left of the frame, centred on their ticks (height 12),
    // the unit on a line of its own above the top number.
    EXPECT_EQ(FindText(page, "0")->at, (Point{426 - 60 - 6, 3072 - 6}));
    EXPECT_EQ(FindText(page, "100")->at, (Point{426 - 60 - 18, 3072 - 354 - 6}));
    EXPECT_EQ(FindText(page, "600")->at, (Point{426 - 60 - 18, 948 - 6}));
    EXPECT_EQ(FindText(page, "mmHg")->at, (Point{426 - 60 - 24, 948 - 6 - 12})) << "above it";
    EXPECT_EQ(FindText(page, "700"), nullptr);
    int ticks = 0;
    for (const auto& line : page.lines)
        ticks += line.from.x == 426 - 30 && line.to.x == 426 ? 1 : 0;
    EXPECT_EQ(ticks, 7);
}

// A 10 ms recording has 40 seconds across the graph: with characters 40 pixels wide a
// second's label is wider than a second, so every second second is labelled.
TEST(PageScaleLabels, SecondsThatWouldRunTogetherAreThinned) {
    Channels channels;
    PrintedRecording r = MakeRecording(channels);
    r.sampling = 100;
    PageStyle style = CurrentFilePageStyle(0xFF0000, 0x00FF00);
    style.scaleLabels.shown = true;
    RecordingSurface page(600, FontMetrics{12, 10, 0, 40});
    ScriptedUserPrompts prompts;
    DrawRecordingPage(page, kA4At600, r, style, "heading", prompts);
    std::vector<const RecordingSurface::Text*> seconds;
    for (const auto& t : page.texts)
        if (t.text.size() > 2 && t.text.compare(t.text.size() - 2, 2, " s") == 0)
            seconds.push_back(&t);
    ASSERT_FALSE(seconds.empty());
    EXPECT_EQ(seconds.front()->text, "2 s");
    EXPECT_EQ(FindText(page, "3 s"), nullptr);
    EXPECT_NE(FindText(page, "38 s"), nullptr);
    for (size_t i = 1; i < seconds.size(); ++i)
        EXPECT_GT(seconds[i]->at.x,
                  seconds[i - 1]->at.x + static_cast<int>(seconds[i - 1]->text.size()) * 40)
            << seconds[i]->text;
}

TEST(PageScaleLabels, LabelsOnlyAddToThePage) {
    const RecordingSurface plain = DrawPage(false);
    const RecordingSurface labelled = DrawPage(true);
    // Everything of the plain page is drawn, in the same order, before the labels.
    ASSERT_EQ(labelled.polylines.size(), plain.polylines.size());
    for (size_t i = 0; i < plain.polylines.size(); ++i)
        EXPECT_EQ(labelled.polylines[i].points, plain.polylines[i].points);
    ASSERT_EQ(labelled.lines.size(), plain.lines.size() + 7);
    for (size_t i = 0; i < plain.lines.size(); ++i)
        EXPECT_EQ(labelled.lines[i].from, plain.lines[i].from) << i;
    EXPECT_EQ(labelled.fills.size(), plain.fills.size());
    EXPECT_EQ(labelled.texts.size(), plain.texts.size() + 7 + 7 + 1);
    EXPECT_EQ(FindText(plain, "1 s"), nullptr);
}

} // namespace
} // namespace mirado
