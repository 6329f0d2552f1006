#include "cli/LoadedFile.h"

#include "files/FileAccess.h"

#include <vector>

namespace mirado {

std::unique_ptr<LoadedFile> LoadMeasurementFile(const std::string& path) {
    std::vector<uint8_t> bytes;
    std::string readError;
    if (ReadWholeFile(path, kMaxRecordFileSize, bytes, readError) == ReadStatus::Ok)
        return LoadMeasurementBytes(path, bytes);
    auto file = std::make_unique<LoadedFile>();
    file->path = path;
    // Load again so the message is exactly the one the viewer would show.
    file->ok = file->record.Load(path, file->modelLetterCode, nullptr) == 0;
    file->anythingRead = file->ok;
    if (!file->ok)
        file->error = file->record.GetLastError();
    return file;
}

std::unique_ptr<LoadedFile> LoadMeasurementBytes(const std::string& path,
                                                 const std::vector<uint8_t>& bytes) {
    auto file = std::make_unique<LoadedFile>();
    file->path = path;
    file->anythingRead = true;
    file->ok = file->record.LoadFromBytes(path, bytes.data(), bytes.size(), file->modelLetterCode,
                                          nullptr) == 0;
    if (!file->ok)
        file->error = file->record.GetLastError();
    return file;
}

const char* VariantName(int model) {
    return model == 1 || model == 3 ? "E" : "A";
}

} // namespace mirado
