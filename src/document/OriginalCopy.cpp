#include "document/OriginalCopy.h"

#include "records/FileAccess.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace mirado {

namespace fs = std::filesystem;

namespace {

inline constexpr const char* kNoOriginalText = "There is no original copy of this file.";

std::string_view AsText(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

} // namespace

std::string OriginalCopyPath(const std::string& path) {
    const fs::path file(path);
    return (file.parent_path() / kOriginalsFolder / file.filename()).string();
}

bool HasOriginalCopy(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(OriginalCopyPath(path), ec);
}

bool KeepOriginal(const std::string& path, std::string& error) {
    std::error_code ec;
    const std::string copy = OriginalCopyPath(path);
    if (fs::exists(fs::symlink_status(copy, ec)) || !fs::exists(path, ec))
        return true;
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(path, kMaxRecordFileSize, bytes, error) != ReadStatus::Ok)
        return false;
    const fs::path folder = fs::path(copy).parent_path();
    fs::create_directory(folder, ec);
    if (ec && !fs::is_directory(folder)) {
        error = ec.message();
        return false;
    }
    return WriteFileAtomically(copy, AsText(bytes), error);
}

bool RestoreOriginal(const std::string& path, std::string& error) {
    if (!HasOriginalCopy(path)) {
        error = kNoOriginalText;
        return false;
    }
    std::vector<uint8_t> bytes;
    if (ReadWholeFile(OriginalCopyPath(path), kMaxRecordFileSize, bytes, error) != ReadStatus::Ok)
        return false;
    return WriteFileAtomically(path, AsText(bytes), error);
}

} // namespace mirado
