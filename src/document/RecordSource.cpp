#include "document/RecordSource.h"

#include "document/MiradoDoc.h"

namespace mirado {

namespace {

// The model code a record holds before Load sets it.
constexpr int kModelCodeBeforeLoad = 1;

} // namespace

LoadedRecord LoadRecord(const std::string& path) {
    LoadedRecord record;
    record.data = std::make_unique<CAdData>();
    record.modelCode = kModelCodeBeforeLoad;
    record.decoded = record.data->Load(path, record.modelCode, nullptr) == 0;
    return record;
}

CRecordPrefetch::CRecordPrefetch(std::vector<std::string> paths, unsigned jobs)
    : paths_(std::move(paths)),
      prefetch_(paths_.size(), WorkersBesideCaller(jobs), kRecordsAheadPerJob * jobs,
                [this](size_t index) { return LoadRecord(paths_[index]); }) {}

LoadedRecord CRecordPrefetch::Take(const std::string& path) {
    if (prefetch_.HasNext() && paths_[prefetch_.NextIndex()] == path)
        return prefetch_.Next();
    return LoadRecord(path);
}

std::vector<std::string> ListedPaths(const CMiradoDoc& doc) {
    std::vector<std::string> paths;
    for (int index = 0; index < doc.GetFileCount(); ++index)
        paths.push_back(doc.GetPathAt(index));
    return paths;
}

} // namespace mirado
