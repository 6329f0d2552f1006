// Cost of decoding measurement files against the cost of merely reading their bytes.
// Target: loading a file with both channels decoded costs at most 3 times reading it
// from the page cache (BM_LoadFile against BM_ReadFileBytes).

#include "files/FileAccess.h"
#include "records/AdData.h"
#include "records/RecordLayout.h"
#include "support/RecordBuilder.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <memory>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using mirado::kSampleCount;
using mirado::test::Channel;

constexpr double kPi = 3.14159265358979;
constexpr int kBeatPeriod = 60; // samples

// A deflating cuff with a little noise and a pulse signal with beats, like a recording.
void MakeChannels(Channel& cuff, Channel& pulse) {
    std::mt19937 random(42);
    std::normal_distribution<double> noise(0.0, 1.5);
    for (int i = 0; i < kSampleCount; ++i) {
        cuff[i] = static_cast<int16_t>(320.0 - 0.07 * i + noise(random));
        const double phase = (i % kBeatPeriod) / static_cast<double>(kBeatPeriod);
        const double beat =
            phase < 0.15 ? std::sin(phase / 0.15 * kPi / 2) : std::exp(-(phase - 0.15) * 5);
        pulse[i] = static_cast<int16_t>(600.0 + 250.0 * beat + 3 * noise(random));
    }
}

std::vector<uint8_t> MakeFile() {
    mirado::test::RecordBuilder builder = mirado::test::RecordBuilder::Zeroed();
    MakeChannels(builder.channel1, builder.channel2);
    builder.fixed[mirado::kOffsetSampleInterval] = 20;
    builder.fixed[mirado::kOffsetModelLetter] = 'A';
    return builder.Bytes();
}

const std::vector<uint8_t>& FileBytes() {
    static const std::vector<uint8_t> bytes = MakeFile();
    return bytes;
}

// The file written once to the temporary folder, so later reads come from the page
// cache; removed at exit.
struct TemporaryFile {
    std::string path = "/tmp/bench_records-" + std::to_string(getpid()) + ".001";
    TemporaryFile() {
        FILE* out = std::fopen(path.c_str(), "wb");
        std::fwrite(FileBytes().data(), 1, FileBytes().size(), out);
        std::fclose(out);
    }
    ~TemporaryFile() { std::remove(path.c_str()); }
};

const std::string& FilePath() {
    static const TemporaryFile file;
    return file.path;
}

void BM_UnpackChannel(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = FileBytes();
    const uint8_t* packed = bytes.data() + mirado::kOffsetChannels;
    const size_t size = bytes.size() - mirado::kOffsetChannels;
    Channel out;
    for (auto _ : state) {
        mirado::CWaveCodec codec;
        benchmark::DoNotOptimize(codec.Unpack(out.data(), packed, size, 0));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSampleCount);
}
BENCHMARK(BM_UnpackChannel);

void BM_UnpackBothChannels(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = FileBytes();
    const uint8_t* packed = bytes.data() + mirado::kOffsetChannels;
    const size_t size = bytes.size() - mirado::kOffsetChannels;
    Channel out1, out2;
    for (auto _ : state) {
        mirado::CWaveCodec codec;
        benchmark::DoNotOptimize(codec.Unpack(out1.data(), packed, size, 0));
        benchmark::DoNotOptimize(codec.Unpack(out2.data(), packed, size, 1));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 2 * kSampleCount);
}
BENCHMARK(BM_UnpackBothChannels);

void BM_PackChannel(benchmark::State& state) {
    Channel cuff, pulse;
    MakeChannels(cuff, pulse);
    std::array<uint8_t, mirado::kPackedCapacity> block;
    for (auto _ : state) {
        mirado::CWaveCodec codec;
        benchmark::DoNotOptimize(codec.Pack(kSampleCount, block.data(), pulse.data()));
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kSampleCount);
}
BENCHMARK(BM_PackChannel);

void BM_LoadFromMemory(benchmark::State& state) {
    const std::vector<uint8_t>& bytes = FileBytes();
    auto data = std::make_unique<mirado::CAdData>();
    int modelCode = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            data->LoadFromBytes("bench", bytes.data(), bytes.size(), modelCode, nullptr));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadFromMemory);

void BM_ReadFileBytes(benchmark::State& state) {
    const std::string& path = FilePath();
    for (auto _ : state) {
        benchmark::DoNotOptimize(mirado::ReadWholeFile(path, mirado::kMaxRecordFileSize));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes().size()));
}
BENCHMARK(BM_ReadFileBytes);

void BM_LoadFile(benchmark::State& state) {
    const std::string& path = FilePath();
    auto data = std::make_unique<mirado::CAdData>();
    int modelCode = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(data->Load(path, modelCode, nullptr));
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(FileBytes().size()));
}
BENCHMARK(BM_LoadFile);

} // namespace

BENCHMARK_MAIN();
