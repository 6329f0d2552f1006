// Cost of analysing one recording: loading its bytes from memory and running both
// pressure-determination methods (the batch tool's per-file work).
// Target: load plus both methods at most 50 microseconds per recording.

#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "support/RecordBuilder.h"
#include "support/TestSignals.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace mirado;

constexpr int kSampleIntervalTenths = 20;

std::vector<uint8_t> RecordingBytes() {
    const test::Recording r = test::MakeRecording(test::RecordingShape{});
    test::RecordBuilder builder = test::RecordBuilder::Zeroed();
    builder.fixed[kOffsetSampleInterval] = kSampleIntervalTenths;
    builder.fixed[kOffsetModelLetter] = 'A';
    builder.channel1 = r.cuff;
    builder.channel2 = r.optical;
    return builder.Bytes();
}

void BM_LoadAndAnalyzeBoth(benchmark::State& state) {
    const std::vector<uint8_t> bytes = RecordingBytes();
    auto records = std::make_unique<AnalysisRecords>();
    auto data = std::make_unique<CAdData>();
    for (auto _ : state) {
        int modelCode = 4;
        benchmark::DoNotOptimize(
            data->LoadFromBytes("bench", bytes.data(), bytes.size(), modelCode, nullptr));
        records->AnalyzeBoth(*data);
        benchmark::DoNotOptimize(records->recordE.GetResultCode());
    }
}
BENCHMARK(BM_LoadAndAnalyzeBoth)->Unit(benchmark::kMicrosecond);

void BM_MethodA(benchmark::State& state) {
    const test::Recording r = test::MakeRecording(test::RecordingShape{});
    auto method = std::make_unique<CMethodA>();
    for (auto _ : state) {
        method->Run(r.cuff.data(), r.optical.data(), kSampleIntervalTenths);
        benchmark::DoNotOptimize(method->GetResultCode());
    }
}
BENCHMARK(BM_MethodA)->Unit(benchmark::kMicrosecond);

void BM_MethodE(benchmark::State& state) {
    const test::Recording r = test::MakeRecording(test::RecordingShape{});
    auto record = std::make_unique<CPressureAnalysisE>();
    for (auto _ : state) {
        record->SetWaves(r.cuff.data(), r.optical.data());
        record->SetSampleInterval(kSampleIntervalTenths);
        record->Analyze();
        benchmark::DoNotOptimize(record->GetResultCode());
    }
}
BENCHMARK(BM_MethodE)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
