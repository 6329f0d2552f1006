// Saves pictures of the overview band and the wave view in their usual states, shown in
// a real window: the full view, each zoom, the fitted curve, a carried marker and a
// damaged file. Usage: views_screenshots OUTPUT_FOLDER

#include "document/MiradoDoc.h"
#include "platform/qtcore/UserEvents.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"
#include "views/WaveView.h"
#include "views/WholeView.h"

#include <QApplication>
#include <QPixmap>
#include <QWidget>

#include <cstdio>
#include <string>

namespace {

using namespace mirado;

constexpr int kWidth = 1000;
constexpr int kWaveHeight = 460;

std::string WriteSample(const mirado::test::TempFolder& dir, const char* name, Damage damage) {
    SynthOptions options;
    options.seed = 5;
    options.species = Species::Rat;
    options.comment = "screenshot";
    options.damage = damage;
    const std::string path = dir.File(name);
    if (const auto written = WriteRecording(path, options); !written.ok())
        std::fprintf(stderr, "%s\n", written.error().c_str());
    return path;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: views_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    mirado::test::TempFolder dir;
    CMiradoDoc doc{DocumentServices{}};
    doc.SetFileList({WriteSample(dir, "A0001.001", Damage::None),
                     WriteSample(dir, "A0002.001", Damage::Truncated)});
    doc.OpenFileAt(0);

    QWidget window;
    window.resize(kWidth, kOverviewBandHeight + kWaveHeight);
    CWholeView whole(&doc, &window);
    CWaveView wave(&doc, &window);
    whole.setGeometry(0, 0, kWidth, kOverviewBandHeight);
    wave.setGeometry(0, kOverviewBandHeight, kWidth, kWaveHeight);
    whole.OnInitialUpdate();
    wave.OnInitialUpdate();
    window.show();

    auto save = [&](const char* name) {
        QApplication::processEvents();
        window.grab().save(out + "/" + name + ".png");
    };
    save("wave-full");
    doc.SetFittedCurveShown(true);
    doc.UpdateAllViews();
    save("wave-full-fitted");
    for (const char* name : {"wave-zoom2", "wave-zoom4", "wave-zoom8"}) {
        SendUserMessage(&wave, WM_ZOOM_IN);
        wave.OnHScroll(ScrollRequest::ThumbTrack, 1200);
        save(name);
    }
    for (int i = 0; i < 3; ++i)
        SendUserMessage(&wave, WM_ZOOM_OUT);
    int s = 0, m = 0, d = 0;
    doc.GetMarkers(s, m, d);
    const int width = wave.WaveClientRect().Width();
    wave.OnLButtonDown(width * s / kSampleCount);
    wave.OnMouseMove(width * (s + 250) / kSampleCount);
    save("wave-marker-drag");
    constexpr int kCursorMagnification = 8;
    const QPixmap cursor = wave.DragCursor().pixmap();
    cursor.scaled(cursor.size() * kCursorMagnification).save(out + "/hand-cursor.png");
    wave.OnRButtonDown();
    doc.OpenFileAt(1);
    doc.UpdateAllViews();
    save("wave-damaged");
    return 0;
}
