#include "views/WaveView.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/UserEvents.h"
#include "records/synth/RecordingGenerator.h"
#include "rendering/QtPainterSurface.h"
#include "support/NamedChild.h"
#include "support/RecordingSurface.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "views/WholeView.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// The system's font configuration library keeps a cache it never frees; the leak
// checker of sanitized builds is told to ignore it.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

namespace mirado {
namespace {

// Stands in for the information pane: keeps every WM_MARKER_VALUE it receives.
class MarkerValueSink : public QObject {
public:
    struct Value {
        intptr_t marker;
        intptr_t value;
    };
    std::vector<Value> values;
    bool event(QEvent* event) override {
        if (event->type() != static_cast<QEvent::Type>(WM_MARKER_VALUE))
            return QObject::event(event);
        auto* message = static_cast<CUserEvent*>(event);
        values.push_back({message->WParam(), message->LParam()});
        return true;
    }
};

QColor ColourOf(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

class WaveViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        doc = std::make_unique<CMiradoDoc>(DocumentServices{});
        wave = std::make_unique<CWaveView>(doc.get());
        whole = std::make_unique<CWholeView>(doc.get());
        wave->SetMarkerValueReceiver(&sink);
        wave->resize(800, 400);
        whole->resize(800, 96);
        wave->OnInitialUpdate();
        whole->OnInitialUpdate();
    }

    void Open(Damage damage = Damage::None) {
        SynthOptions options;
        options.seed = 7;
        options.damage = damage;
        const std::string path = dir.File("A0001.001");
        const Result<void> written = WriteRecording(path, options);
        ASSERT_TRUE(written.ok()) << written.error();
        doc->SetFileList({path});
        doc->OpenFileAt(0);
        ASSERT_TRUE(doc->IsLoaded());
    }

    QImage Render(QWidget& view) {
        return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    int MarkerS() const {
        int s = 0, m = 0, d = 0;
        doc->GetMarkers(s, m, d);
        return s;
    }

    int Width() const { return wave->WaveClientRect().Width(); }
    int XOfSample(int sample) const { return Width() * sample / 4000; }

    test::TempFolder dir;
    MarkerValueSink sink;
    std::unique_ptr<CMiradoDoc> doc;
    std::unique_ptr<CWaveView> wave;
    std::unique_ptr<CWholeView> whole;
};

TEST_F(WaveViewTest, PanesTakeTheirPlaceInTheFreeArea) {
    const QRect area(0, 30, 1000, 600);
    EXPECT_EQ(wave->CalcWindowRect(area), QRect(130, 130, 740, 500));
    EXPECT_EQ(whole->CalcWindowRect(area), QRect(130, 30, 740, 100));
}

TEST_F(WaveViewTest, AnEmptyWindowSaysHowToStart) {
    RecordingSurface empty;
    wave->OnDraw(empty);
    ASSERT_EQ(empty.texts.size(), 4u);
    EXPECT_EQ(empty.texts[0].text, "No recordings are open.");
    EXPECT_NE(empty.texts[1].text.find("Ctrl+O"), std::string::npos);
    Open();
    RecordingSurface loaded;
    wave->OnDraw(loaded);
    for (const auto& text : loaded.texts)
        EXPECT_NE(text.text, "No recordings are open.");
}

// At two device pixels per unit the trace is drawn on the device's own grid: it is not
// made of two-by-two blocks as the unit picture scaled up would be.
TEST_F(WaveViewTest, AtTwoDevicePixelsPerUnitTheTraceUsesTheFinerGrid) {
    Open();
    QImage fine(wave->size() * 2, QImage::Format_RGB32);
    fine.setDevicePixelRatio(2);
    wave->render(&fine);
    const QColor blue = ColourOf(kBlue);
    int blocks = 0;
    int split = 0;
    for (int y = 0; y + 1 < fine.height(); y += 2)
        for (int x = 0; x + 1 < fine.width(); x += 2) {
            const int inked =
                (fine.pixelColor(x, y) == blue) + (fine.pixelColor(x + 1, y) == blue) +
                (fine.pixelColor(x, y + 1) == blue) + (fine.pixelColor(x + 1, y + 1) == blue);
            blocks += inked == 4 ? 1 : 0;
            split += inked > 0 && inked < 4 ? 1 : 0;
        }
    EXPECT_GT(split, blocks / 4) << "blocks " << blocks << ", split " << split;

    QImage unit(wave->size(), QImage::Format_RGB32);
    wave->render(&unit);
    EXPECT_EQ(unit, Render(*wave)) << "one device pixel per unit draws the unit picture";
}

TEST_F(WaveViewTest, MarkerSLineIsRedAtItsColumn) {
    Open();
    const QImage image = Render(*wave);
    const int x = XOfSample(MarkerS());
    const int bottom = wave->WaveClientRect().bottom;
    int red = 0;
    for (int y = wave->Baselines().wave; y < bottom; ++y)
        red += image.pixelColor(x, y) == ColourOf(kRed) ? 1 : 0;
    EXPECT_GT(red, (bottom - wave->Baselines().wave) / 2);
}

TEST_F(WaveViewTest, BackgroundFollowsTheSettingsWhileTheOverviewStaysLightGrey) {
    Open();
    EXPECT_EQ(Render(*wave).pixelColor(2, 2), ColourOf(kWhite));
    const QImage overviewBefore = Render(*whole);
    doc->GetSettings().SetBkColor(1);
    doc->GetSettings().SetWaveColor(3);
    wave->ApplyColourSettings();
    EXPECT_EQ(Render(*wave).pixelColor(2, 2), ColourOf(kBlack));
    const QImage overviewAfter = Render(*whole);
    EXPECT_EQ(overviewAfter.pixelColor(2, 2), ColourOf(kOverviewBackground));
    EXPECT_EQ(overviewBefore, overviewAfter);
}

TEST_F(WaveViewTest, OverviewIgnoresViewScaleZoomAndClicks) {
    Open();
    const QImage before = Render(*whole);
    EXPECT_GT(whole->TickCount(), 0);
    SendUserMessage(wave.get(), WM_AMPLITUDE_UP);
    SendUserMessage(wave.get(), WM_ZOOM_IN);
    whole->OnLButtonDown(0);
    EXPECT_EQ(doc->GetViewScale(), 4);
    EXPECT_EQ(Render(*whole), before);
    EXPECT_TRUE(test::NamedChild<QScrollBar>(*whole, "waveScrollBar")->isHidden());
}

TEST_F(WaveViewTest, DamagedFileShowsItsTextAndIgnoresClicks) {
    Open(Damage::Truncated);
    ASSERT_FALSE(doc->IsCurrentRecordUsable());
    const QImage image = Render(*wave);
    const int middle = wave->WaveClientRect().Height() / 2;
    int ink = 0;
    for (int y = middle; y < middle + 20; ++y)
        for (int x = 20; x < 200; ++x)
            ink += image.pixelColor(x, y) == ColourOf(kBlack) ? 1 : 0;
    EXPECT_GT(ink, 50);
    wave->OnLButtonDown(XOfSample(MarkerS()));
    EXPECT_EQ(wave->CarriedMarker(), 0);
    const QImage overview = Render(*whole);
    EXPECT_EQ(overview.pixelColor(400, 48), ColourOf(kOverviewBackground));
    EXPECT_EQ(whole->TickCount(), 0);
}

TEST_F(WaveViewTest, DamagedFileTextIsVisibleOnTheBlackBackground) {
    doc->GetSettings().SetBkColor(1);
    wave->ApplyColourSettings();
    Open(Damage::Truncated);
    const QImage image = Render(*wave);
    const int middle = wave->WaveClientRect().Height() / 2;
    int ink = 0;
    for (int y = middle; y < middle + 20; ++y)
        for (int x = 20; x < 200; ++x)
            ink += image.pixelColor(x, y) == ColourOf(kWhite) ? 1 : 0;
    EXPECT_GT(ink, 50);
    EXPECT_EQ(image.pixelColor(5, 5), ColourOf(kBlack));
}

TEST_F(WaveViewTest, AmplitudeStopsAtItsLimits) {
    Open();
    doc->SetViewScale(0);
    SendUserMessage(wave.get(), WM_AMPLITUDE_UP);
    EXPECT_EQ(doc->GetViewScale(), 0);
    doc->SetViewScale(10);
    SendUserMessage(wave.get(), WM_AMPLITUDE_DOWN);
    EXPECT_EQ(doc->GetViewScale(), 10);
    SendUserMessage(wave.get(), WM_AMPLITUDE_UP);
    EXPECT_EQ(doc->GetViewScale(), 9);
}

TEST_F(WaveViewTest, ZoomKeepsTheOffsetWithinTheNewRangeAndTheThumbShowsIt) {
    Open();
    QScrollBar* bar = test::NamedChild<QScrollBar>(*wave, "waveScrollBar");
    for (int i = 0; i < 5; ++i)
        SendUserMessage(wave.get(), WM_ZOOM_IN);
    EXPECT_EQ(wave->ZoomIndex(), 3);
    EXPECT_EQ(bar->maximum(), 3500);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(wave->ScrollOffset(), 3500);
    SendUserMessage(wave.get(), WM_ZOOM_OUT);
    EXPECT_EQ(wave->ScrollOffset(), 3000);
    EXPECT_EQ(bar->value(), 3000);
    SendUserMessage(wave.get(), WM_ZOOM_OUT);
    EXPECT_EQ(wave->ScrollOffset(), 2000);
    for (int i = 0; i < 3; ++i)
        SendUserMessage(wave.get(), WM_ZOOM_OUT);
    EXPECT_EQ(wave->ZoomIndex(), 0);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_FALSE(bar->isHidden());
}

TEST_F(WaveViewTest, ScrollBarRequestsMoveTheOffset) {
    Open();
    SendUserMessage(wave.get(), WM_ZOOM_IN);
    QScrollBar* bar = test::NamedChild<QScrollBar>(*wave, "waveScrollBar");
    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_EQ(wave->ScrollOffset(), 1);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(wave->ScrollOffset(), 11);
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(wave->ScrollOffset(), 10);
    bar->triggerAction(QAbstractSlider::SliderToMinimum);
    EXPECT_EQ(wave->ScrollOffset(), 0);
    bar->triggerAction(QAbstractSlider::SliderPageStepSub);
    EXPECT_EQ(wave->ScrollOffset(), 0);
    wave->OnHScroll(ScrollRequest::ThumbTrack, 1500);
    EXPECT_EQ(bar->value(), 1500);
    EXPECT_EQ(wave->ScrollOffset(), 1500);
}

TEST_F(WaveViewTest, WheelScrollsAZoomedViewByATenthOfTheSpan) {
    Open();
    const QPointF at(100, 100);
    QWheelEvent down(at, at, QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                     Qt::NoScrollPhase, false);
    QApplication::sendEvent(wave.get(), &down);
    EXPECT_EQ(wave->ScrollOffset(), 0);
    SendUserMessage(wave.get(), WM_ZOOM_IN);
    QApplication::sendEvent(wave.get(), &down);
    EXPECT_EQ(wave->ScrollOffset(), 200);
}

TEST_F(WaveViewTest, CarryingMarkerSSendsTheLiveValueAndDropsIt) {
    Open();
    Render(*wave);
    const int s = MarkerS();
    wave->OnLButtonDown(XOfSample(s));
    ASSERT_EQ(wave->CarriedMarker(), 1);
    const int x = XOfSample(1200);
    wave->OnMouseMove(x);
    ASSERT_EQ(sink.values.size(), 1u);
    EXPECT_EQ(sink.values[0].marker, 1);
    EXPECT_EQ(sink.values[0].value, doc->GetPressureAt(wave->SampleAtX(x)));

    const QImage image = Render(*wave);
    EXPECT_EQ(image.pixelColor(x, 2), ColourOf(kBlack)) << "the drag line inverts white";

    wave->OnLButtonDown(x);
    EXPECT_EQ(wave->CarriedMarker(), 0);
    EXPECT_EQ(MarkerS(), wave->SampleAtX(x));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(WaveViewTest, DraggingAMarkerFartherThanTheDragDistanceDropsItOnRelease) {
    Open();
    Render(*wave);
    const int press = XOfSample(MarkerS());
    // A release near the press keeps the marker carried: click to pick up, click to drop.
    wave->OnLButtonDown(press);
    wave->OnLButtonUp(press + QApplication::startDragDistance() - 1);
    EXPECT_EQ(wave->CarriedMarker(), 1);
    wave->OnRButtonDown();
    EXPECT_FALSE(doc->IsModified());

    QMouseEvent down(QEvent::MouseButtonPress, QPointF(press, 50), QPointF(press, 50),
                     Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(wave.get(), &down);
    const int x = press + 3 * QApplication::startDragDistance();
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 60), QPointF(x, 60), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(wave.get(), &move);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(x, 60), QPointF(x, 60), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(wave.get(), &up);
    EXPECT_EQ(wave->CarriedMarker(), 0);
    EXPECT_EQ(MarkerS(), wave->SampleAtX(x));
    EXPECT_TRUE(doc->IsModified());
}

TEST_F(WaveViewTest, KeysNudgeTheCarriedMarkerEnterDropsAndEscapeCancels) {
    Open();
    Render(*wave);
    const int start = MarkerS();
    const auto press = [&](int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QApplication::sendEvent(wave.get(), &event);
        return event.isAccepted();
    };
    EXPECT_FALSE(wave->OnMarkerKey(Qt::Key_Return, false)); // nothing carried

    wave->OnLButtonDown(XOfSample(start));
    const int picked = wave->CarriedSample();
    press(Qt::Key_Right);
    press(Qt::Key_Right, Qt::ShiftModifier);
    press(Qt::Key_Left);
    EXPECT_EQ(wave->CarriedSample(), picked + 10);
    ASSERT_EQ(sink.values.size(), 3u);
    EXPECT_EQ(sink.values.back().value, doc->GetPressureAt(picked + 10));
    EXPECT_EQ(wave->DragLineX(), mirado::XOfSample(picked + 10, Width(), 0, 0));
    press(Qt::Key_Escape);
    EXPECT_EQ(wave->CarriedMarker(), 0);
    EXPECT_EQ(MarkerS(), start);

    wave->OnLButtonDown(XOfSample(start));
    for (int i = 0; i < 3; ++i)
        press(Qt::Key_Left, Qt::ShiftModifier);
    press(Qt::Key_Enter);
    EXPECT_EQ(wave->CarriedMarker(), 0);
    EXPECT_EQ(MarkerS(), wave->SampleAtX(XOfSample(start)) - 30);
    EXPECT_TRUE(doc->IsModified());

    // Never beyond the channel.
    wave->OnLButtonDown(XOfSample(MarkerS()));
    for (int i = 0; i < 500; ++i)
        wave->OnMarkerKey(Qt::Key_Left, true);
    EXPECT_EQ(wave->CarriedSample(), 0);
}

TEST_F(WaveViewTest, ValueBeyondSample3996IsZeroAtTheEndOfAZoomedView) {
    Open();
    doc->MoveMarker({MovableMarker::S, 3990});
    for (int i = 0; i < 3; ++i)
        SendUserMessage(wave.get(), WM_ZOOM_IN);
    wave->OnHScroll(ScrollRequest::RightEnd, 0);
    Render(*wave);
    wave->OnLButtonDown(Width() * (3990 - 3500) / 500);
    ASSERT_EQ(wave->CarriedMarker(), 1);
    wave->OnMouseMove(Width() - 1);
    EXPECT_GT(wave->SampleAtX(Width() - 1), 3996);
    wave->OnMouseMove(0);
    ASSERT_EQ(sink.values.size(), 2u);
    EXPECT_EQ(sink.values[0].value, 0);
    EXPECT_EQ(sink.values[1].value, doc->GetPressureAt(3500));
}

TEST_F(WaveViewTest, RightClickCancelsWithoutChange) {
    Open();
    Render(*wave);
    const int s = MarkerS();
    wave->OnLButtonDown(XOfSample(s));
    ASSERT_EQ(wave->CarriedMarker(), 1);
    wave->OnMouseMove(XOfSample(3000));
    wave->OnRButtonDown();
    EXPECT_EQ(wave->CarriedMarker(), 0);
    EXPECT_EQ(MarkerS(), s);
    EXPECT_FALSE(doc->IsModified());
}

TEST_F(WaveViewTest, StatusTextIsDateTimeAndComment) {
    Open();
    QString status;
    QObject::connect(wave.get(), &CWaveView::StatusTextChanged,
                     [&](const QString& text) { status = text; });
    Render(*wave);
    EXPECT_EQ(status.toStdString(),
              doc->GetDate() + " " + doc->GetTime() + "  " + doc->GetComment());
}

// What a repaint of a few columns shows there is what a full repaint shows, at every
// zoom and with the fitted curve, while marker S is carried across the pane.
TEST_F(WaveViewTest, PartialRepaintShowsTheSamePixelsAsAFullOne) {
    Open();
    doc->SetFittedCurveShown(true);
    wave->OnLButtonDown(XOfSample(MarkerS()));
    ASSERT_EQ(wave->CarriedMarker(), kMarkerS);
    const int width = Width();
    const std::vector<std::vector<int>> columnSets = {
        {0}, {1, 8}, {width / 2}, {width / 3, width / 3 + 1}, {57, width - 40}, {width - 1}};
    for (int zoom = 0; zoom < 4; ++zoom) {
        if (zoom > 0)
            SendUserMessage(wave.get(), WM_ZOOM_IN);
        wave->OnHScroll(ScrollRequest::ThumbTrack, 333);
        wave->OnMouseMove(width / 2);
        QImage full(wave->size(), QImage::Format_RGB32);
        full.fill(Qt::magenta);
        wave->render(&full, QPoint(), QRegion(), QWidget::DrawChildren);
        for (const auto& columns : columnSets) {
            QRegion dirty;
            for (const int x : columns)
                dirty += QRect(x, 0, 1, wave->height());
            QImage part(wave->size(), QImage::Format_RGB32);
            part.fill(Qt::magenta);
            // The region's top-left corner is drawn at the offset given.
            wave->render(&part, dirty.boundingRect().topLeft(), dirty, QWidget::DrawChildren);
            for (const int x : columns) {
                for (int y = 0; y < wave->height(); ++y) {
                    ASSERT_EQ(part.pixel(x, y), full.pixel(x, y))
                        << "zoom " << zoom << " at " << x << "," << y;
                }
            }
        }
    }
}

TEST(PainterSurfaceClipBox, IsThePaintersClipWhenItHasOne) {
    test::EnsureQtApp();
    QImage image(200, 100, QImage::Format_RGB32);
    QPainter painter(&image);
    EXPECT_FALSE(QtPainterSurface(painter).GetClipBox().has_value());
    painter.setClipRegion(QRegion(10, 0, 1, 100) + QRegion(30, 5, 2, 20));
    EXPECT_EQ(QtPainterSurface(painter).GetClipBox(), (Rect{10, 0, 32, 100}));
}

} // namespace
} // namespace mirado
