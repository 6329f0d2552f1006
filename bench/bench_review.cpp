// The window's review of readings on 10,000 recordings (50 animals, 10 sessions of 20
// readings each). Targets: the session pane shows a decision within 20 ms of the key
// (the log's append, the new review of the animal and the pane's redraw), and the
// readings table is filled within 1 s of the list being opened, with the window's event
// loop never held up for long meanwhile (counter max_stall_ms).

#include "records/synth/RecordingGenerator.h"
#include "review/ReviewLog.h"
#include "reviewui/ReadingsDock.h"
#include "reviewui/ReadingsTableModel.h"
#include "reviewui/ReviewState.h"
#include "reviewui/SessionPane.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace mirado;

constexpr int kAnimals = 50;
constexpr int kSessions = 10;
constexpr int kReadingsPerSession = 20;

// The recordings, written once into a temporary folder.
const std::vector<std::string>& Recordings() {
    static mirado::test::TempFolder dir;
    static std::vector<std::string> paths;
    if (!paths.empty())
        return paths;
    char text[32];
    for (int animal = 0; animal < kAnimals; ++animal)
        for (int session = 0; session < kSessions; ++session)
            for (int reading = 0; reading < kReadingsPerSession; ++reading) {
                SynthOptions options;
                options.seed = static_cast<uint64_t>(paths.size() + 1);
                options.studyNo = "ST1";
                std::snprintf(text, sizeof text, "M%03d", animal);
                options.animalNo = text;
                std::snprintf(text, sizeof text, "26/03/%02d", session + 1);
                options.date = text;
                std::snprintf(text, sizeof text, "10:%02d", reading);
                options.time = text;
                std::snprintf(text, sizeof text, "R%05zu.001", paths.size());
                paths.push_back(dir.File(text));
                if (!WriteRecording(paths.back(), options).ok())
                    return paths;
            }
    return paths;
}

unsigned Jobs() {
    return std::max(std::thread::hardware_concurrency(), 1u);
}

void WaitFilled(CReviewState& state) {
    if (state.IsFilled())
        return;
    QEventLoop loop;
    QObject::connect(&state, &CReviewState::Filled, &loop, &QEventLoop::quit);
    loop.exec();
}

void BM_SessionPaneAfterDecision(benchmark::State& bench) {
    mirado::test::EnsureQtApp();
    CReviewState state(Jobs());
    Result<AcceptanceProfile> profile = FindProfile("acclimation-2sd", {});
    state.SetProfile(profile.ok() ? profile.value() : DefaultProfile());
    CSessionPane pane(state);
    pane.resize(400, 500);
    pane.show();
    state.SetFiles(Recordings());
    WaitFilled(state);
    size_t index = 0;
    bool reject = true;
    for (auto _ : bench) {
        pane.ShowSessionOf(static_cast<int>(index));
        const Result<void> decided = state.Decide(
            index, reject ? ReviewAction::Reject : ReviewAction::Accept, "movement", "");
        if (!decided.ok()) {
            bench.SkipWithError(decided.error().c_str());
            break;
        }
        pane.repaint();
        index = (index + 997) % state.Paths().size();
        reject = !reject;
    }
    bench.counters["recordings"] = static_cast<double>(state.Paths().size());
}
BENCHMARK(BM_SessionPaneAfterDecision)->Unit(benchmark::kMillisecond)->Iterations(200);

void BM_ReadingsTableFill(benchmark::State& bench) {
    mirado::test::EnsureQtApp();
    const std::vector<std::string>& paths = Recordings();
    double maxStallMs = 0;
    for (auto _ : bench) {
        CReviewState state(Jobs());
        CReadingsDock dock(state);
        dock.resize(900, 600);
        dock.show();
        // A timer due every 5 ms tells how long the event loop is held up at most.
        QElapsedTimer sinceTick;
        QTimer ticker;
        ticker.setInterval(5);
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            maxStallMs = std::max(maxStallMs, static_cast<double>(sinceTick.restart()));
        });
        sinceTick.start();
        ticker.start();
        state.SetFiles(paths);
        WaitFilled(state);
        dock.repaint(); // the first rows drawn with their values
        ticker.stop();
    }
    bench.counters["recordings"] = static_cast<double>(paths.size());
    bench.counters["max_stall_ms"] = maxStallMs;
}
BENCHMARK(BM_ReadingsTableFill)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
