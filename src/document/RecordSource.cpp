#include "document/RecordSource.h"

#include "document/MiradoDoc.h"

namespace mirado {

CRecordPrefetch::CRecordPrefetch(std::vector<std::string> paths, unsigned jobs)
    : paths_(std::move(paths)),
      prefetch_(paths_.size(), WorkersBesideCaller(jobs), OrderedWindow(jobs),
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
