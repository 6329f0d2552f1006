// Cost of the wave view's drawing. Targets: one full repaint (background and picture)
// of the pane within 2 ms at 1920 x 1080, and one move of a carried marker (the handler
// plus the repaint of the two columns it invalidates) within 1 ms.

#include "document/MiradoDoc.h"
#include "platform/qtcore/UserEvents.h"
#include "records/synth/RecordingGenerator.h"
#include "rendering/QtPainterSurface.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "views/WaveView.h"

#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace mirado;

// The main window's free area less the side columns, the overview band and the bars.
constexpr int kSideColumns = 2 * kSideColumnWidth;
constexpr int kBarsHeight = 60;

struct LoadedView {
    mirado::test::TempFolder dir;
    std::unique_ptr<CMiradoDoc> doc;
    std::unique_ptr<CWaveView> view;
    QImage image;

    LoadedView(int screenWidth, int screenHeight, bool fittedCurve) {
        mirado::test::EnsureQtApp();
        SynthOptions options;
        options.seed = 11;
        const std::string path = dir.File("A0001.001");
        // A failed write shows as a recording that does not load.
        static_cast<void>(WriteRecording(path, options));
        doc = std::make_unique<CMiradoDoc>(DocumentServices{});
        doc->SetFileList({path});
        doc->OpenFileAt(0);
        doc->SetFittedCurveShown(fittedCurve);
        view = std::make_unique<CWaveView>(doc.get());
        view->resize(screenWidth - kSideColumns, screenHeight - kOverviewBandHeight - kBarsHeight);
        view->OnInitialUpdate();
        image = QImage(view->size(), QImage::Format_ARGB32_Premultiplied);
    }

    void Paint(const QRegion* clip = nullptr) {
        QPainter painter(&image);
        if (clip != nullptr)
            painter.setClipRegion(*clip);
        QtPainterSurface surface(painter);
        view->OnEraseBackground(surface);
        view->OnDraw(surface);
    }
};

void BM_FullRepaint(benchmark::State& state) {
    LoadedView loaded(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)),
                      state.range(2) != 0);
    loaded.doc->GetMiradoSettings().SetScaleLabels(state.range(3) != 0);
    for (auto _ : state) {
        loaded.Paint();
        benchmark::ClobberMemory();
    }
}
// Arguments: screen width and height, fitted curve, scale labels.
BENCHMARK(BM_FullRepaint)
    ->Args({1920, 1080, 0, 0})
    ->Args({1920, 1080, 0, 1})
    ->Args({1920, 1080, 1, 1})
    ->Args({3840, 2160, 0, 1})
    ->Args({3840, 2160, 1, 1})
    ->Unit(benchmark::kMicrosecond);

void BM_ZoomedRepaint(benchmark::State& state) {
    LoadedView loaded(1920, 1080, true);
    for (int i = 0; i < state.range(0); ++i)
        SendUserMessage(loaded.view.get(), WM_ZOOM_IN);
    for (auto _ : state) {
        loaded.Paint();
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_ZoomedRepaint)->DenseRange(1, 3)->Unit(benchmark::kMicrosecond);

// One pointer move while marker S is carried: the handler, then the repaint of the old
// and the new drag-line columns.
void BM_DragMove(benchmark::State& state) {
    LoadedView loaded(1920, 1080, true);
    loaded.Paint();
    int s = 0, m = 0, d = 0;
    loaded.doc->GetMarkers(s, m, d);
    const int width = loaded.view->WaveClientRect().Width();
    loaded.view->OnLButtonDown(width * s / kSampleCount);
    int x = 0;
    for (auto _ : state) {
        const int previous = loaded.view->DragLineX();
        x = (x + 7) % width;
        loaded.view->OnMouseMove(x);
        const QRegion dirty = QRegion(previous, 0, 1, loaded.image.height()) +
                              QRegion(x, 0, 1, loaded.image.height());
        loaded.Paint(&dirty);
        benchmark::ClobberMemory();
    }
    state.counters["carried"] = loaded.view->CarriedMarker();
}
BENCHMARK(BM_DragMove)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
