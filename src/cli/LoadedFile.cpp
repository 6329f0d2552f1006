#include "cli/LoadedFile.h"

#include "records/FileAccess.h"

#include <cctype>
#include <vector>

namespace mirado {

namespace {

constexpr int kModelFromA = 0;
constexpr int kModelFromB = 1;

} // namespace

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

int ModelFromFileName(int modelLetterCode, const std::string& path) {
    if (modelLetterCode != kModelUnknownCode)
        return modelLetterCode;
    const size_t slash = path.find_last_of("/\\");
    const size_t first = slash == std::string::npos ? 0 : slash + 1;
    if (first >= path.size())
        return modelLetterCode;
    const int letter = std::toupper(static_cast<unsigned char>(path[first]));
    if (letter == 'A')
        return kModelFromA;
    if (letter == 'B')
        return kModelFromB;
    return modelLetterCode;
}

const char* VariantName(int model) {
    return model == 1 || model == 3 ? "E" : "A";
}

} // namespace mirado
