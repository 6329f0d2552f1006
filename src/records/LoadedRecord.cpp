#include "records/LoadedRecord.h"

#include "files/FileAccess.h"

namespace mirado {

namespace {

LoadedRecord FreshRecord(const std::string& path) {
    LoadedRecord record;
    record.path = path;
    record.data = std::make_unique<CAdData>();
    return record;
}

void TakeOutcome(LoadedRecord& record, const Result<void>& load, LoadStatus failure) {
    record.status = load.ok() ? LoadStatus::Loaded : failure;
    record.message = load.error();
}

} // namespace

LoadedRecord LoadRecord(const std::string& path) {
    if (const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
        read.ok())
        return LoadRecordFromBytes(path, read.value());
    LoadedRecord record = FreshRecord(path);
    // Load from the path, so the message is exactly the one the viewer shows.
    const Result<void> load = record.data->Load(path, record.modelCode, nullptr);
    TakeOutcome(record, load, LoadStatus::Unreadable);
    return record;
}

LoadedRecord LoadRecordFromBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    LoadedRecord record = FreshRecord(path);
    const Result<void> load =
        record.data->LoadFromBytes(path, bytes.data(), bytes.size(), record.modelCode, nullptr);
    TakeOutcome(record, load, LoadStatus::Damaged);
    return record;
}

} // namespace mirado
