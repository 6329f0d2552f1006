#pragma once
// The one way a measurement file is loaded for its values: the document's opens, the
// readings of the exports and the summary, and the batch tool all take a LoadedRecord,
// so each shows the same record and the same message for the same file.

#include "records/AdData.h"
#include "records/RecordLayout.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace mirado {

enum class LoadStatus {
    Loaded,     // read and decoded
    Damaged,    // read, but not a recording that decodes
    Unreadable, // no byte could be read (missing, not a regular file, too large, ...)
};

struct LoadedRecord {
    std::string path;
    // Never null. After a failure it holds what was read; DiskBytes() are the file's
    // bytes once it loaded.
    std::unique_ptr<CAdData> data;
    int modelCode = kModelCodeUnknown; // as Load reports it, before the file-name rule
    LoadStatus status = LoadStatus::Unreadable;
    std::string message; // the load message as shown after the path; empty when loaded

    bool Loaded() const { return status == LoadStatus::Loaded; }
    bool AnythingRead() const { return status != LoadStatus::Unreadable; }
};

// Loads the file into a fresh record without showing anything.
LoadedRecord LoadRecord(const std::string& path);
// The same for a file whose bytes were already read whole.
LoadedRecord LoadRecordFromBytes(const std::string& path, const std::vector<uint8_t>& bytes);

} // namespace mirado
