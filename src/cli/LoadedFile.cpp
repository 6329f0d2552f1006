#include "cli/LoadedFile.h"

#include "records/FileAccess.h"

#include <vector>

namespace mirado {

std::unique_ptr<LoadedFile> LoadMeasurementFile(const std::string& path) {
    auto file = std::make_unique<LoadedFile>();
    file->path = path;
    std::vector<uint8_t> bytes;
    std::string readError;
    file->anythingRead =
        ReadWholeFile(path, kMaxRecordFileSize, bytes, readError) == ReadStatus::Ok;
    if (file->anythingRead) {
        file->ok = file->record.LoadFromBytes(path, bytes.data(), bytes.size(),
                                              file->modelLetterCode, nullptr) == 0;
    } else {
        // Load again so the message is exactly the one the viewer would show.
        file->ok = file->record.Load(path, file->modelLetterCode, nullptr) == 0;
        file->anythingRead = file->ok;
    }
    if (!file->ok)
        file->error = file->record.GetLastError();
    return file;
}

const char* VariantName(int model) {
    return model == 1 || model == 3 ? "E" : "A";
}

} // namespace mirado
