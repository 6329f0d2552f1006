// The main window's speed. Targets: stepping to the next file and repainting all four
// panes of a 1920 x 1080 window within 10 ms (so automatic stepping at its fastest
// period of 100 ms never lags), and start-up to the first painted window within 0.5 s.

#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "document/MiradoDoc.h"
#include "records/synth/SampleSet.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QDir>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace mirado;

constexpr int kScreenWidth = 1920;
constexpr int kScreenHeight = 1080;

// The bundled sample recordings, written once into a temporary folder.
const std::vector<std::string>& Samples() {
    static mirado::test::TempFolder dir;
    static std::vector<std::string> paths;
    if (paths.empty()) {
        if (!WriteBundledSamples(dir.Path()).ok())
            return paths;
        for (const QString& name :
             QDir(QString::fromStdString(dir.Path())).entryList(QDir::Files, QDir::Name))
            paths.push_back(dir.File(name.toStdString()));
    }
    return paths;
}

void BM_NextFileAndRepaint(benchmark::State& state) {
    mirado::test::EnsureQtApp();
    ScriptedUserPrompts prompts;
    DocumentServices services;
    services.prompts = &prompts;
    CMiradoDoc doc(services);
    CMainFrame frame(&doc);
    frame.resize(kScreenWidth, kScreenHeight);
    frame.show();
    frame.OpenPaths(Samples());
    QApplication::processEvents();
    for (auto _ : state) {
        if (doc.GetCurrentIndex() == doc.LastIndex())
            frame.OnFirstFile();
        else
            frame.OnNextFile();
        frame.repaint(); // every pane, synchronously
    }
    state.counters["files"] = doc.GetFileCount();
}
BENCHMARK(BM_NextFileAndRepaint)->Unit(benchmark::kMillisecond);

// From the application object's construction to the window painted with the samples
// open; the QApplication itself exists already.
void BM_StartUpToFirstPaint(benchmark::State& state) {
    mirado::test::EnsureQtApp();
    mirado::test::TempFolder home;
    FixedDocumentsFolder documents(home.Path() + "/");
    ScriptedUserPrompts prompts;
    ScriptedOpenFileDialog dialog;
    AppServices services;
    services.documentsFolder = &documents;
    services.prompts = &prompts;
    services.openDialog = &dialog;
    for (auto _ : state) {
        CMiradoApp app(services);
        app.InitInstance(Samples());
        app.GetMainFrame()->repaint();
        state.PauseTiming();
        QApplication::processEvents(); // the deferred printer check
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartUpToFirstPaint)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
