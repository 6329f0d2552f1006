#include "support/GuiTestSupport.h"

#include "drawing/InformationDrawing.h"
#include "platform/qtcore/UserEvents.h"
#include "records/AnalysisSequence.h"
#include "records/PaneTexts.h"
#include "records/RecordUnits.h"
#include "rendering/QtPainterSurface.h"
#include "support/RecordingSurface.h"
#include "views/InformationView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <algorithm>

namespace mirado {
namespace {

constexpr Colour kFace = Rgb(240, 240, 240);
// Value-font line height L = 12, so lines sit L / 3 = 4 below a box top.
const FontMetrics kMetrics{12, 10, 0, 6};

InformationValues ValidValues() {
    InformationValues v;
    v.sense = 3;
    v.opticalBase = 17;
    v.inflationPressure = 200;
    v.deviceTypeCode = 0;
    v.sampling = 40;
    v.animalNo = "R-12";
    v.heartRate = 420;
    v.sbp = 241;
    v.mbp = 200;
    v.dbp = -3;
    v.valid = true;
    v.markerInterval = 812;
    return v;
}

RecordingSurface DrawLines(const InformationValues& values) {
    RecordingSurface surface(96, kMetrics);
    CInformationDrawing(kFace).DrawLines(surface, values);
    return surface;
}

const RecordingSurface::Text* TextAt(const RecordingSurface& s, int x, int y) {
    const auto it = std::find_if(s.texts.begin(), s.texts.end(),
                                 [&](const auto& t) { return t.at.x == x && t.at.y == y; });
    return it == s.texts.end() ? nullptr : &*it;
}

std::string TextInBox(const RecordingSurface& s, int box) {
    const Rect& r = CInformationDrawing::Boxes()[static_cast<size_t>(box - 1)];
    const auto* t = TextAt(s, r.left + 8, r.top + 4);
    return t == nullptr ? std::string() : t->text;
}

TEST(InformationDrawing, ValidValuesFillEveryBoxWithItsFormat) {
    const RecordingSurface s = DrawLines(ValidValues());
    EXPECT_EQ(TextInBox(s, 1), "Sense   3");
    EXPECT_EQ(TextInBox(s, 2), "Base   17");
    EXPECT_EQ(TextInBox(s, 3), "Press 200");
    EXPECT_EQ(TextInBox(s, 4), "RAT");
    EXPECT_EQ(TextInBox(s, 5), "R-12");
    EXPECT_EQ(TextInBox(s, 6), "HR   420");
    EXPECT_EQ(TextInBox(s, 7), "SBP  121"); // 241 half mmHg
    EXPECT_EQ(TextInBox(s, 8), "MBP  100");
    EXPECT_EQ(TextInBox(s, 9), "DBP   -2"); // halves go away from zero
    const auto* interval = TextAt(s, 12, 374);
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(interval->text, "M-S:812");
    EXPECT_EQ(interval->font.pointSizeTenths, 90);
    EXPECT_EQ(TextAt(s, 12, 404), nullptr); // no flag
    EXPECT_EQ(s.texts[0].colour, Rgb(0, 0, 0));
    EXPECT_EQ(s.texts[0].background, kFace);
}

TEST(InformationDrawing, SpeciesFollowsDeviceTypeAndSampleInterval) {
    EXPECT_EQ(SpeciesText(0, 40), "RAT");
    EXPECT_EQ(SpeciesText(2, 20), "MOUSE");
    EXPECT_EQ(SpeciesText(1, 40), "DOG");
    EXPECT_EQ(SpeciesText(3, 20), "RABBIT/MONKEY");
    for (int code = 0; code < 4; ++code)
        EXPECT_EQ(SpeciesText(code, 100), "Other");
    EXPECT_EQ(SpeciesText(4, 20), "MS  2");
    EXPECT_EQ(SpeciesText(9, 100), "MS  10");
}

TEST(InformationDrawing, InvalidValuesLeaveMeanAndDiastolicEmptyAndFilterFlags) {
    InformationValues v = ValidValues();
    v.valid = false;
    v.resultCode = 17;
    RecordingSurface s = DrawLines(v);
    EXPECT_EQ(TextInBox(s, 7), "SBP  121");
    EXPECT_EQ(TextInBox(s, 8), "");
    EXPECT_EQ(TextInBox(s, 9), "");
    const auto* interval = TextAt(s, 12, 374);
    ASSERT_NE(interval, nullptr);
    EXPECT_EQ(interval->text, "   ");
    EXPECT_EQ(TextAt(s, 12, 404), nullptr); // "Hi" is not flagged for invalid values

    v.resultCode = 16;
    s = DrawLines(v);
    const auto* flag = TextAt(s, 12, 404);
    ASSERT_NE(flag, nullptr);
    EXPECT_EQ(flag->text, "Lo");
    EXPECT_EQ(flag->colour, Rgb(255, 96, 96));
    EXPECT_EQ(flag->font.pointSizeTenths, 140);
}

TEST(InformationDrawing, ResultCodesPassTheFilterByValidity) {
    for (int code : {1, 4, 5, 16})
        EXPECT_EQ(ShownResultCode(code, false), code);
    for (int code : {2, 3, 17})
        EXPECT_EQ(ShownResultCode(code, false), 0);
    EXPECT_EQ(ShownResultCode(3, true), 3);
    EXPECT_EQ(ShownResultCode(0, true), 0);
    EXPECT_EQ(ResultFlagText(3), "Err3");
    EXPECT_EQ(ResultFlagText(5), "Air");
    EXPECT_EQ(ResultFlagText(17), "Hi");
}

TEST(InformationDrawing, OwnAnalysisValuesAreBlue) {
    InformationValues v = ValidValues();
    v.analysisSource = true;
    const RecordingSurface s = DrawLines(v);
    for (const auto& t : s.texts) {
        if (t.text.rfind("SBP", 0) == 0 || t.text.rfind("HR", 0) == 0) {
            EXPECT_EQ(t.colour, Rgb(0, 0, 246)) << t.text;
        } else if (t.text == "RAT") {
            EXPECT_EQ(t.colour, Rgb(0, 0, 0));
        }
    }
}

TEST(InformationDrawing, DeviceTypeFourAddsTheSevenLineLegend) {
    InformationValues v = ValidValues();
    v.deviceTypeCode = 4;
    v.sampling = 20;
    const RecordingSurface s = DrawLines(v);
    EXPECT_EQ(TextInBox(s, 4), "MS  2");
    std::vector<const RecordingSurface::Text*> legend;
    for (const auto& t : s.texts)
        if (t.at.x == 12 && t.at.y >= 400 + 24)
            legend.push_back(&t);
    ASSERT_EQ(legend.size(), 7u);
    EXPECT_EQ(legend[0]->text, "LumicA(MS):");
    EXPECT_EQ(legend[0]->at.y, 424);
    EXPECT_EQ(legend[0]->colour, Rgb(255, 0, 0));
    EXPECT_EQ(legend[1]->colour, Rgb(0, 0, 0));
    EXPECT_EQ(legend[3]->text, "LumicE(MS):");
    EXPECT_EQ(legend[3]->colour, Rgb(255, 0, 0));
    EXPECT_EQ(legend[6]->text, "Other=10");
    EXPECT_EQ(legend[6]->at.y, 424 + 6 * 12);
}

TEST(InformationDrawing, ALineWiderThanItsBoxIsNarrowedToFitAndTheOthersAreNot) {
    // Ten pixels a character: "RABBIT/MONKEY" takes 130 of the 100 left of the box's
    // edge (x 18 to 118); the other lines fit.
    InformationValues v = ValidValues();
    v.deviceTypeCode = 3;
    v.sampling = 20;
    RecordingSurface s(96, FontMetrics{12, 10, 0, 10});
    CInformationDrawing(kFace).DrawLines(s, v);
    const RecordingSurface::Text* species = nullptr;
    for (const auto& t : s.texts)
        if (t.text == "RABBIT/MONKEY")
            species = &t;
    ASSERT_NE(species, nullptr);
    EXPECT_EQ(species->at, (Point{18, 119 + 4}));
    EXPECT_EQ(species->font.charWidth, 10);
    EXPECT_LT(species->font.widthPercent, 100);
    EXPECT_LE(13 * 10 * species->font.widthPercent / 100, 100);
    EXPECT_GE(species->font.widthPercent, 75); // no narrower than needed
    for (const auto& t : s.texts) {
        if (&t != species && t.font.face == "Courier New" && t.font.pointSizeTenths == 120) {
            EXPECT_EQ(t.font.widthPercent, 100) << t.text;
        }
    }
}

TEST(InformationDrawing, NarrowedLineStaysInsideItsBoxOnScreen) {
    test::EnsureQtApp();
    InformationValues v = ValidValues();
    v.deviceTypeCode = 3;
    v.sampling = 20;
    const Rect client{0, 0, 130, 420};
    QImage background(130, 420, QImage::Format_RGB32);
    {
        QPainter painter(&background);
        QtPainterSurface surface(painter);
        CInformationDrawing(kFace).DrawBackground(surface, client);
        // The line is wider than the box with the plain font.
        surface.SetFont(FontSpec{"Courier New", 120, 10, 500});
        ASSERT_GT(surface.TextWidth("RABBIT/MONKEY"), 100);
    }
    QImage lines = background.copy();
    {
        QPainter painter(&lines);
        QtPainterSurface surface(painter);
        CInformationDrawing(kFace).DrawLines(surface, v);
    }
    const Rect box = CInformationDrawing::Boxes()[3];
    int changedInside = 0;
    for (int y = box.top + 1; y < box.bottom; ++y) {
        for (int x = box.left + 1; x < 130; ++x) {
            const bool changed = background.pixel(x, y) != lines.pixel(x, y);
            if (x >= box.right - 2)
                EXPECT_FALSE(changed) << x << "," << y;
            else
                changedInside += changed ? 1 : 0;
        }
    }
    EXPECT_GT(changedInside, 100);
}

TEST(InformationDrawing, BackgroundIsSunkenWithRaisedBoxesAndCaptions) {
    RecordingSurface s(96, kMetrics);
    CInformationDrawing(kFace).DrawBackground(s, Rect{0, 0, 130, 500});
    ASSERT_EQ(s.fills.size(), 1u);
    EXPECT_EQ(s.fills[0].colour, kFace);
    // Client edge and nine boxes, two lines each, in both pens.
    ASSERT_EQ(s.lines.size(), 2u * 2u * 10u);
    EXPECT_EQ(s.lines[0].pen.colour, Rgb(255, 255, 255));
    EXPECT_EQ(s.lines[0].from, (Point{-1, 499}));
    EXPECT_EQ(s.lines.back().pen.colour, Rgb(16, 16, 16));
    EXPECT_EQ(s.lines.back().to, (Point{120, 332})); // box 9: bottom edge, then right edge up
    ASSERT_EQ(s.texts.size(), 3u);
    EXPECT_EQ(s.texts[0].text, "Condition");
    EXPECT_EQ(s.texts[0].at, (Point{4, 12}));
    EXPECT_EQ(s.texts[1].at, (Point{4, 169}));
    EXPECT_EQ(s.texts[2].text, "Measurement");
    EXPECT_EQ(s.texts[2].at, (Point{4, 225}));
}

TEST(InformationDrawing, CaptionsAndConditionNamesComeInTheWindowsLanguage) {
    InformationLabels japanese;
    japanese.condition = "測定条件";
    japanese.sense = "感度";
    japanese.base = "ベース";
    japanese.press = "圧力";
    CInformationDrawing drawing(kFace);
    drawing.SetLabels(japanese);
    RecordingSurface background(96, kMetrics);
    drawing.DrawBackground(background, Rect{0, 0, 130, 500});
    EXPECT_EQ(background.texts[0].text, "測定条件");
    EXPECT_EQ(background.texts[1].text, "Animal No.");
    RecordingSurface lines(96, kMetrics);
    drawing.DrawLines(lines, ValidValues());
    EXPECT_EQ(TextInBox(lines, 1), "感度   3");
    EXPECT_EQ(TextInBox(lines, 2), "ベース   17");
    EXPECT_EQ(TextInBox(lines, 3), "圧力 200");
}

// The tool tips: the condition lines' boxes, the M-S line and the flag's row; the flag's
// tip explains the flag shown.
TEST(InformationView, ToolTipsExplainConditionsIntervalAndTheShownFlag) {
    EXPECT_EQ(CInformationDrawing::ItemAt({50, 40}), InformationItem::Sense);
    EXPECT_EQ(CInformationDrawing::ItemAt({50, 70}), InformationItem::Base);
    EXPECT_EQ(CInformationDrawing::ItemAt({50, 100}), InformationItem::Press);
    EXPECT_EQ(CInformationDrawing::ItemAt({50, 130}), InformationItem::None); // the species
    EXPECT_EQ(CInformationDrawing::ItemAt({5, 40}), InformationItem::None);   // beside the box
    EXPECT_EQ(CInformationDrawing::ItemAt({20, 375}), InformationItem::MarkerInterval);
    EXPECT_EQ(CInformationDrawing::ItemAt({20, 410}), InformationItem::ResultFlag);

    EXPECT_TRUE(ResultFlagExplanation(kResultLo).startsWith("Lo:"));
    EXPECT_TRUE(ResultFlagExplanation(kResultHi).startsWith("Hi:"));
    for (int code = 1; code <= 4; ++code)
        EXPECT_TRUE(ResultFlagExplanation(code).startsWith(QStringLiteral("Err%1:").arg(code)));
    EXPECT_TRUE(ResultFlagExplanation(kResultOk).isEmpty());

    test::EnsureQtApp();
    test::ScriptedDocument scripted;
    CInformationView view(scripted.doc.get());
    EXPECT_TRUE(view.ToolTipAt({50, 40}).startsWith("Sense:"));
    EXPECT_TRUE(view.ToolTipAt({20, 375}).startsWith("M-S:"));
    EXPECT_TRUE(view.ToolTipAt({20, 410}).isEmpty()) << "nothing loaded, no flag";
    EXPECT_TRUE(view.ToolTipAt({50, 200}).isEmpty());
}

TEST(InformationView, LiveMarkerValueReplacesItsLineUntilTheNextPaint) {
    test::EnsureQtApp();
    test::ScriptedDocument scripted;
    CInformationView view(scripted.doc.get());
    SendUserMessage(&view, WM_MARKER_VALUE, 1, -3);
    RecordingSurface first(96, kMetrics);
    view.OnDraw(first);
    ASSERT_EQ(first.texts.size(), 1u);
    EXPECT_EQ(first.texts[0].text, "SBP   -2");
    EXPECT_EQ(first.texts[0].colour, Rgb(255, 0, 0));
    EXPECT_EQ(first.texts[0].at, (Point{18, 278}));
    RecordingSurface second(96, kMetrics);
    view.OnDraw(second);
    EXPECT_TRUE(second.texts.empty());
    SendUserMessage(&view, WM_MARKER_VALUE, 2, 201);
    RecordingSurface third(96, kMetrics);
    view.OnDraw(third);
    ASSERT_EQ(third.texts.size(), 1u);
    EXPECT_EQ(third.texts[0].text, "MBP  101");
}

TEST(InformationView, NothingLoadedOrDamagedShowsNoLines) {
    test::EnsureQtApp();
    test::ScriptedDocument scripted;
    CInformationView view(scripted.doc.get());
    RecordingSurface empty(96, kMetrics);
    view.OnDraw(empty);
    EXPECT_TRUE(empty.texts.empty());
    scripted.doc->SetFileList({"/nonexistent/broken.001"});
    scripted.doc->OpenFileAt(0);
    ASSERT_TRUE(scripted.doc->IsLoaded());
    RecordingSurface damaged(96, kMetrics);
    view.OnDraw(damaged);
    EXPECT_TRUE(damaged.texts.empty());
}

} // namespace
} // namespace mirado
