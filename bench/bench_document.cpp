// The document's export run and file list at scale.
// Targets: exporting 10,000 recordings through the export run takes at most 1.5 s and at
// most 10 times reading the same files' bytes (BM_ExportDominant against
// BM_ReadFileBytes); a file list of 100,000 entries adds at most 50 MB
// (BM_FileList100k, counter list_MB).

#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "files/FileAccess.h"
#include "records/synth/RecordingGenerator.h"
#include "support/TempFolder.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <string>
#include <vector>

namespace {

constexpr int kExportFileCount = 10000;
constexpr int kListEntryCount = 100000;
constexpr double kBytesPerMegabyte = 1024.0 * 1024.0;

// 10,000 synthetic recordings in a temporary folder, made once per run.
class RecordingFolder {
public:
    RecordingFolder() {
        for (int i = 0; i < kExportFileCount; ++i) {
            mirado::SynthOptions options;
            options.seed = static_cast<uint64_t>(i + 1);
            const std::string path = folder_.File("rec" + std::to_string(i) + ".01");
            if (mirado::WriteRecording(path, options).ok())
                paths_.push_back(path);
        }
    }
    const std::vector<std::string>& Paths() const { return paths_; }
    std::string Output() const { return folder_.File("export.txt"); }

private:
    mirado::test::TempFolder folder_;
    std::vector<std::string> paths_;
};

const RecordingFolder& Recordings() {
    static const RecordingFolder folder;
    return folder;
}

void RunExport(benchmark::State& state, mirado::ExportMode mode) {
    const RecordingFolder& recordings = Recordings();
    for (auto _ : state) {
        const mirado::ExportResult result =
            mirado::ExportFiles(recordings.Paths(), mode, recordings.Output(), 1);
        if (!result.written)
            state.SkipWithError(result.error.c_str());
    }
    state.counters["files"] = static_cast<double>(recordings.Paths().size());
}

void BM_ExportDominant(benchmark::State& state) {
    RunExport(state, mirado::ExportMode::Dominant);
}
void BM_ExportMean(benchmark::State& state) {
    RunExport(state, mirado::ExportMode::Mean);
}

void BM_ReadFileBytes(benchmark::State& state) {
    const RecordingFolder& recordings = Recordings();
    for (auto _ : state) {
        for (const std::string& path : recordings.Paths()) {
            const auto read = mirado::ReadWholeFile(path, mirado::kMaxRecordFileSize);
            benchmark::DoNotOptimize(read.value().data());
        }
    }
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

void BM_FileList100k(benchmark::State& state) {
    std::vector<std::string> paths;
    paths.reserve(kListEntryCount);
    for (int i = 0; i < kListEntryCount; ++i)
        paths.push_back("/home/laboratory/Documents/measurements/2024-01-02/mouse-group-7/rec" +
                        std::to_string(i) + ".01");
    double megabytes = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        mirado::CMiradoDoc doc{mirado::DocumentServices{}};
        doc.SetFileList(paths);
        megabytes = static_cast<double>(HeapInUse() - before) / kBytesPerMegabyte;
        benchmark::DoNotOptimize(doc.GetFileCount());
    }
    state.counters["list_MB"] = megabytes;
}

} // namespace

BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportDominant)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExportMean)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_FileList100k)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
