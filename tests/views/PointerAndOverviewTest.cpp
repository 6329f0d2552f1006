// The wave view and the overview rendered offscreen: the readout under the pointer, the
// scale labels' pixels, the overview's shaded span and clicks, the wheel and the keys.

#include "document/MiradoDoc.h"
#include "drawing/WholeDrawing.h"
#include "platform/qtcore/UserEvents.h"
#include "records/RecordLayout.h"
#include "records/synth/RecordingGenerator.h"
#include "support/NamedChild.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "views/WaveView.h"
#include "views/WholeView.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>

namespace mirado {
namespace {

QColor ColourOf(Colour c) {
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
}

class PointerAndOverviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        doc = std::make_unique<CMiradoDoc>(DocumentServices{});
        wave = std::make_unique<CWaveView>(doc.get());
        whole = std::make_unique<CWholeView>(doc.get());
        wave->resize(800, 400);
        whole->resize(800, 96);
        wave->OnInitialUpdate();
        whole->OnInitialUpdate();
        whole->SetNavigatedView(wave.get());
        QObject::connect(wave.get(), &CWaveView::PointerReadoutChanged,
                         [this](const QString& text) { readout = text; });
        QObject::connect(whole.get(), &CWaveView::PointerReadoutChanged,
                         [this](const QString& text) { readout = text; });
    }

    // A generated recording whose sample interval byte is set to `sampling`.
    void Open(int sampling = 0) {
        SynthOptions options;
        options.seed = 11;
        const QString path = QString::fromStdString(dir.File("A0002.001"));
        const Result<void> written = WriteRecording(path.toStdString(), options);
        ASSERT_TRUE(written.ok()) << written.error();
        if (sampling != 0) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.seek(static_cast<qint64>(kOffsetSampleInterval)));
            const char byte = static_cast<char>(sampling);
            ASSERT_EQ(file.write(&byte, 1), 1);
        }
        doc->SetFileList({path.toStdString()});
        doc->OpenFileAt(0);
        ASSERT_TRUE(doc->IsLoaded());
        ASSERT_TRUE(doc->IsCurrentRecordUsable());
    }

    static QImage Render(QWidget& view) {
        return view.grab().toImage().convertToFormat(QImage::Format_RGB32);
    }

    static void MoveTo(QWidget& view, int x, Qt::MouseButtons buttons = Qt::NoButton) {
        const QPointF at(x, 20);
        QMouseEvent move(QEvent::MouseMove, at, view.mapToGlobal(at), Qt::NoButton, buttons,
                         Qt::NoModifier);
        QApplication::sendEvent(&view, &move);
    }

    static void Press(QWidget& view, int x) {
        const QPointF at(x, 20);
        QMouseEvent press(QEvent::MouseButtonPress, at, view.mapToGlobal(at), Qt::LeftButton,
                          Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&view, &press);
    }

    static void Leave(QWidget& view) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(&view, &leave);
    }

    void Wheel(int angle, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        const QPointF at(100, 100);
        QWheelEvent event(at, at, QPoint(), QPoint(0, angle), Qt::NoButton, modifiers,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(wave.get(), &event);
    }

    void PressKey(int key, bool autoRepeat = false) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier, QString(), autoRepeat);
        QApplication::sendEvent(wave.get(), &event);
    }

    // The readout as computed here from the samples: time, index, cuff mmHg, optical.
    std::string ExpectedReadout(int sample, int sampling, bool wavePane) const {
        std::string text;
        char part[64];
        const int milliseconds = (sample * sampling + 5) / 10;
        std::snprintf(part, sizeof part, "%d.%03d s   sample %d", milliseconds / 1000,
                      milliseconds % 1000, sample);
        text = part;
        if (!wavePane)
            return text;
        const int16_t* cuff = doc->GetPressureSamples();
        if (sample <= 3996) {
            const int mean =
                (cuff[sample] + cuff[sample + 1] + cuff[sample + 2] + cuff[sample + 3]) / 4;
            const int mmHg = mean >= 0 ? (mean + 1) / 2 : -((1 - mean) / 2);
            std::snprintf(part, sizeof part, "   %d mmHg", mmHg);
            text += part;
        }
        std::snprintf(part, sizeof part, "   optical %d", doc->GetPulseSamples()[sample]);
        return text + part;
    }

    int Width() const { return wave->WaveClientRect().Width(); }

    test::TempFolder dir;
    std::unique_ptr<CMiradoDoc> doc;
    std::unique_ptr<CWaveView> wave;
    std::unique_ptr<CWholeView> whole;
    QString readout;
};

TEST_F(PointerAndOverviewTest, ReadoutOverTheWaveViewWithAnOddSampleInterval) {
    Open(33);
    ASSERT_EQ(doc->GetSampling(), 33);
    for (const int x : {0, 1, 333, Width() / 2, Width() - 1}) {
        MoveTo(*wave, x);
        const int sample = x * 4000 / Width();
        EXPECT_EQ(readout.toStdString(), ExpectedReadout(sample, 33, true)) << x;
    }
    // Zoomed to its end, the last samples read no cuff pressure.
    for (int i = 0; i < 3; ++i)
        SendUserMessage(wave.get(), WM_ZOOM_IN);
    wave->OnHScroll(ScrollRequest::RightEnd, 0);
    MoveTo(*wave, Width() - 1);
    const int last = (Width() - 1) * 500 / Width() + 3500;
    ASSERT_GT(last, 3996);
    EXPECT_EQ(readout.toStdString(), ExpectedReadout(last, 33, true));
    EXPECT_EQ(readout.indexOf(QStringLiteral("mmHg")), -1);
    Leave(*wave);
    EXPECT_TRUE(readout.isEmpty());
}

TEST_F(PointerAndOverviewTest, ReadoutFollowsScrollingAndTheOverviewShowsTimeAndIndex) {
    Open(20);
    SendUserMessage(wave.get(), WM_ZOOM_IN);
    MoveTo(*wave, 400);
    EXPECT_EQ(readout.toStdString(), ExpectedReadout(1000, 20, true));
    wave->ScrollTo(300);
    EXPECT_EQ(readout.toStdString(), ExpectedReadout(1300, 20, true));
    Leave(*wave);
    MoveTo(*whole, 200);
    EXPECT_EQ(readout.toStdString(), ExpectedReadout(1000, 20, false));
    Leave(*whole);
    EXPECT_TRUE(readout.isEmpty());
}

TEST_F(PointerAndOverviewTest, NoReadoutWithoutAFileShown) {
    MoveTo(*wave, 100);
    EXPECT_TRUE(readout.isEmpty());
}

// Labels only add pixels near the top (seconds), at the left edge (mmHg scale) and at the
// foot of the marker lines ("S" and "M").
TEST_F(PointerAndOverviewTest, ScaleLabelsAddOnlyTheirOwnPixels) {
    Open(20);
    doc->GetMiradoSettings().SetScaleLabels(false);
    const QImage plain = Render(*wave);
    doc->GetMiradoSettings().SetScaleLabels(true);
    const QImage labelled = Render(*wave);
    const int foot = wave->WaveClientRect().bottom - 20;
    int top = 0;
    int left = 0;
    int markers = 0;
    for (int y = 0; y < plain.height(); ++y) {
        for (int x = 0; x < plain.width(); ++x) {
            if (plain.pixel(x, y) == labelled.pixel(x, y))
                continue;
            ASSERT_TRUE(y < 24 || x < 90 || y >= foot) << x << "," << y;
            (y < 24 ? top : y >= foot ? markers : left) += 1;
        }
    }
    EXPECT_GT(top, 50);
    EXPECT_GT(left, 50);
    EXPECT_GT(markers, 5);
}

TEST_F(PointerAndOverviewTest, LabelledZoomedTimeLinesStandAtWholeSecondsWhenScrolled) {
    Open(20); // a second is 500 samples
    SendUserMessage(wave.get(), WM_ZOOM_IN);
    wave->ScrollTo(250);
    const QImage image = Render(*wave);
    const auto gridPixels = [&](int x) {
        int count = 0;
        for (int y = 20; y < wave->WaveClientRect().bottom; ++y)
            count += image.pixelColor(x, y) == ColourOf(kGridColour) ? 1 : 0;
        return count;
    };
    EXPECT_GT(gridPixels(Width() * 250 / 2000), 100) << "second 1, sample 500";
    EXPECT_LT(gridPixels(Width() / 4), 10) << "sample 750 is no whole second";
}

TEST_F(PointerAndOverviewTest, OverviewShadesTheVisibleSpanOnlyWhenZoomed) {
    Open();
    const QImage full = Render(*whole);
    for (int x = 0; x < full.width(); ++x)
        ASSERT_NE(full.pixelColor(x, 1), ColourOf(kVisibleSpanShade));
    whole->SetNavigatedView(nullptr);
    EXPECT_EQ(Render(*whole), full) << "at zoom factor 1 the band is the plain overview";
    whole->SetNavigatedView(wave.get());

    SendUserMessage(wave.get(), WM_ZOOM_IN);
    wave->ScrollTo(1000);
    const QImage zoomed = Render(*whole);
    EXPECT_EQ(zoomed.pixelColor(800 * 1500 / 4000, 1), ColourOf(kVisibleSpanShade));
    EXPECT_EQ(zoomed.pixelColor(800 * 1000 / 4000, 1), ColourOf(kVisibleSpanShade));
    EXPECT_EQ(zoomed.pixelColor(800 * 3000 / 4000 + 1, 1), ColourOf(kOverviewBackground));
    EXPECT_EQ(zoomed.pixelColor(800 * 500 / 4000, 1), ColourOf(kOverviewBackground));
}

TEST_F(PointerAndOverviewTest, ClickAndDragInTheOverviewCentreTheVisibleSpan) {
    Open();
    Press(*whole, 400); // sample 2000 at zoom factor 1: nothing
    EXPECT_EQ(wave->ScrollOffset(), 0);
    SendUserMessage(wave.get(), WM_ZOOM_IN); // 2000 samples visible
    Press(*whole, 400);
    EXPECT_EQ(wave->ScrollOffset(), 1000);
    EXPECT_EQ(test::NamedChild<QScrollBar>(*wave, "waveScrollBar")->value(), 1000);
    MoveTo(*whole, 799, Qt::LeftButton);
    EXPECT_EQ(wave->ScrollOffset(), 2000) << "clamped to 4000 - n";
    MoveTo(*whole, 20, Qt::LeftButton);
    EXPECT_EQ(wave->ScrollOffset(), 0);
    MoveTo(*whole, 400); // no button held: only the readout
    EXPECT_EQ(wave->ScrollOffset(), 0);
}

TEST_F(PointerAndOverviewTest, WheelTravelsAndCtrlWheelZooms) {
    Open();
    Wheel(120, Qt::ControlModifier);
    EXPECT_EQ(wave->ZoomIndex(), 1);
    EXPECT_EQ(test::NamedChild<QScrollBar>(*wave, "waveScrollBar")->pageStep(), 2000)
        << "the thumb shows the span";
    Wheel(-120);
    EXPECT_EQ(wave->ScrollOffset(), 200);
    Wheel(-60);
    EXPECT_EQ(wave->ScrollOffset(), 200) << "half a notch waits for the other half";
    Wheel(-60);
    EXPECT_EQ(wave->ScrollOffset(), 400);
    Wheel(240);
    EXPECT_EQ(wave->ScrollOffset(), 0);
    Wheel(240, Qt::ControlModifier);
    EXPECT_EQ(wave->ZoomIndex(), 3);
    Wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(wave->ZoomIndex(), 2);
}

TEST_F(PointerAndOverviewTest, LeftAndRightTravelATenthOfTheSpanWhileNoMarkerIsCarried) {
    Open();
    PressKey(Qt::Key_Right);
    EXPECT_EQ(wave->ScrollOffset(), 0) << "nothing at zoom factor 1";
    SendUserMessage(wave.get(), WM_ZOOM_IN);
    SendUserMessage(wave.get(), WM_ZOOM_IN); // 1000 samples visible
    PressKey(Qt::Key_Right);
    PressKey(Qt::Key_Right, true);
    EXPECT_EQ(wave->ScrollOffset(), 200);
    PressKey(Qt::Key_Left);
    EXPECT_EQ(wave->ScrollOffset(), 100);
    EXPECT_EQ(test::NamedChild<QScrollBar>(*wave, "waveScrollBar")->value(), 100);

    int s = 0, m = 0, d = 0;
    doc->GetMarkers(s, m, d);
    wave->ScrollTo(std::max(0, s - 500));
    Render(*wave);
    wave->OnLButtonDown((s - wave->ScrollOffset()) * Width() / 1000);
    ASSERT_NE(wave->CarriedMarker(), kNoMarker);
    const int before = wave->ScrollOffset();
    PressKey(Qt::Key_Right);
    EXPECT_EQ(wave->ScrollOffset(), before) << "the keys belong to the carried marker";
}

} // namespace
} // namespace mirado
