// Cost of one printed page of the current file written as PDF. Target: one page at
// 600 dpi (polyline traces, fitted curve, text block) within 100 ms.

#include "drawing/ColumnEnvelope.h"
#include "drawing/PageStyles.h"
#include "drawing/PrintedPage.h"
#include "platform/UserPrompts.h"
#include "rendering/QtPainterSurface.h"
#include "support/TestApplication.h"

#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>

namespace {

using namespace mirado;

constexpr double kPi = 3.14159265358979;
constexpr int kBeatPeriod = 60;

struct Recording {
    std::array<int16_t, kSampleCount> cuff{};
    std::array<int16_t, kSampleCount> pulse{};
    std::array<int16_t, kSampleCount> fitted{};
    PrintedRecording page;

    Recording() {
        for (int k = 0; k < kSampleCount; ++k) {
            cuff[k] = static_cast<int16_t>(360 - k * 300 / kSampleCount);
            const double beat = std::sin(2 * kPi * k / kBeatPeriod);
            pulse[k] =
                static_cast<int16_t>(400 * beat * std::exp(-std::pow((k - 2000) / 900.0, 2)));
            fitted[k] = k < 500 ? kUndefinedCurveValue : static_cast<int16_t>(std::abs(pulse[k]));
        }
        page.drawable = true;
        page.sampling = 20;
        page.pressureSamples = cuff.data();
        page.pulseSamples = pulse.data();
        page.fittedCurve = fitted.data();
        page.viewScale = 5;
        page.markerS = 1500;
        page.markerM = 2100;
        page.valid = true;
        page.sense = 3;
        page.sbp = 121;
        page.dbp = 80;
        page.mbp = 95;
        page.heartRate = 400;
        page.date = "24/05/01";
        page.time = "13:45:07";
        page.animalNo = "A-001";
    }
};

class SilentPrompts : public IUserPrompts {
public:
    MessageAnswer ShowMessage(const std::string&, const std::string&, MessageIcon,
                              MessageButtons) override {
        return MessageAnswer::Ok;
    }
};

void RenderPdfPage(benchmark::State& state) {
    const int dpi = static_cast<int>(state.range(0));
    const Recording recording;
    const PageStyle style = CurrentFilePageStyle(Rgb(0, 0, 255), Rgb(128, 128, 128));
    SilentPrompts prompts;
    for (auto _ : state) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setResolution(dpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF()));
        QPainter painter(&writer);
        QtPainterSurface surface(painter);
        DrawRecordingPage(surface, {0, 0, writer.width(), writer.height()}, recording.page, style,
                          "LumicA Blood Pressure Recording 3", prompts);
        painter.end();
        benchmark::DoNotOptimize(buffer.size());
    }
}
BENCHMARK(RenderPdfPage)->Arg(600)->Arg(300)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    mirado::test::EnsureQtApp();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
