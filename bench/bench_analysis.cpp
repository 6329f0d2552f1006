// Cost of analysing one recording: loading its bytes from memory and running both
// pressure-determination methods (the batch tool's per-file work).
// Target: load plus both methods at most 50 microseconds per recording.

#include "../tests/analysis/TestSignals.h"
#include "records/AdData.h"
#include "records/AnalysisSequence.h"
#include "records/WaveCodec.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

using namespace mirado;

constexpr int kSampleIntervalTenths = 20;

std::vector<uint8_t> RecordingBytes() {
    const test::Recording r = test::MakeRecording(test::RecordingShape{});
    std::vector<uint8_t> bytes(kOffsetChannels, 0);
    bytes[kOffsetSampleInterval] = kSampleIntervalTenths;
    bytes[kOffsetModelLetter] = 'A';
    CWaveCodec codec;
    for (const auto* channel : {&r.cuff, &r.optical}) {
        std::vector<uint8_t> block(kPackedCapacity);
        block.resize(static_cast<size_t>(codec.Pack(kSampleCount, block.data(), channel->data())));
        bytes.insert(bytes.end(), block.begin(), block.end());
    }
    return bytes;
}

void BM_LoadAndAnalyzeBoth(benchmark::State& state) {
    const std::vector<uint8_t> bytes = RecordingBytes();
    auto records = std::make_unique<AnalysisRecords>();
    auto data = std::make_unique<CAdData>();
    for (auto _ : state) {
        int modelCode = 4;
        data->LoadFromBytes("bench", bytes.data(), bytes.size(), modelCode, nullptr);
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
