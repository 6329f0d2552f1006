#include "document/OriginalCopy.h"

#include "document/Sha256.h"

#include "files/FileAccess.h"
#include "records/AdData.h"

#include <algorithm>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace mirado {

namespace fs = std::filesystem;

namespace {

// A digests file holds two lines of 64 hexadecimal digits.
constexpr size_t kMaxDigestsFileSize = 4096;
constexpr int kMaxOlderCopies = 10000;

std::string_view AsText(const std::vector<uint8_t>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

fs::path OriginalsFolderOf(const std::string& path) {
    return fs::path(path).parent_path() / kOriginalsFolder;
}

// Makes folder (and its parents up to the originals folder) unless it is there.
bool EnsureFolder(const fs::path& folder, std::string& error) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder))
        return true;
    error = folder.string() + ": " + (ec ? ec.message() : "not a folder");
    return false;
}

// The digests recorded for the file; empty when none were (a copy kept before digests
// were recorded, or the file was never saved with originals kept).
std::vector<std::string> ReadSavedDigests(const std::string& path) {
    const Result<std::vector<uint8_t>> read =
        ReadWholeFile(SavedDigestsPath(path), kMaxDigestsFileSize, Links::Refuse);
    if (!read.ok())
        return {};
    const std::vector<uint8_t>& bytes = read.value();
    std::vector<std::string> digests;
    std::string line;
    for (const uint8_t byte : bytes) {
        if (byte == '\n') {
            digests.push_back(line);
            line.clear();
        } else {
            line += static_cast<char>(byte);
        }
    }
    return digests;
}

bool WriteSavedDigests(const std::string& path, const std::vector<uint8_t>* before,
                       std::string_view after, std::string& error) {
    const fs::path file = SavedDigestsPath(path);
    if (!EnsureFolder(file.parent_path(), error))
        return false;
    std::string text = before != nullptr ? Sha256Hex(AsText(*before)) + "\n" : std::string();
    text += Sha256Hex(after) + "\n";
    return Succeeded(WriteFileAtomically(file.string(), text), error);
}

// Whether the bytes on disk come from the copy through our own saves (or are the copy).
bool IsDescendant(const std::string& path, const std::vector<uint8_t>& current,
                  const std::vector<uint8_t>& copy) {
    const std::vector<std::string> digests = ReadSavedDigests(path);
    if (digests.empty() || current == copy)
        return true; // nothing recorded: the copy predates the digests and is trusted
    return std::find(digests.begin(), digests.end(), Sha256Hex(AsText(current))) != digests.end();
}

// Moves the copy of another recording to the first free numbered name among the older
// copies; it is never overwritten there either.
bool SetCopyAside(const std::string& path, const std::vector<uint8_t>& copy, std::string& error) {
    const fs::path folder = OriginalsFolderOf(path) / kOlderCopiesFolder;
    if (!EnsureFolder(folder, error))
        return false;
    const std::string name = fs::path(path).filename().string();
    for (int number = 1; number <= kMaxOlderCopies; ++number) {
        bool taken = false;
        const std::string older = (folder / (name + "." + std::to_string(number))).string();
        if (CreateFileExclusively(older, AsText(copy), taken, error)) {
            std::error_code ec;
            if (fs::remove(OriginalCopyPath(path), ec))
                return true;
            error = OriginalCopyPath(path) + ": " + ec.message();
            return false;
        }
        if (!taken)
            return false;
    }
    error = folder.string() + ": too many older copies";
    return false;
}

// Reads the copy, refusing anything at its name that is not a regular file. False with
// `missing` set when nothing is there.
bool ReadCopy(const std::string& path, std::vector<uint8_t>& copy, bool& missing,
              std::string& error) {
    const std::string copyPath = OriginalCopyPath(path);
    struct stat info {};
    missing = ::lstat(copyPath.c_str(), &info) != 0 && errno == ENOENT;
    if (missing)
        return false;
    if (!S_ISREG(info.st_mode)) {
        error = kCopyNotRegularText + copyPath;
        return false;
    }
    Result<std::vector<uint8_t>> read = ReadWholeFile(copyPath, kMaxRecordFileSize, Links::Refuse);
    if (!read.ok()) {
        error = read.error();
        return false;
    }
    copy = std::move(read).value();
    return true;
}

bool LoadsAsRecording(const std::vector<uint8_t>& bytes, const std::string& path,
                      std::string& error) {
    CAdData record;
    int modelCode = 0;
    if (record.LoadFromBytes(path, bytes.data(), bytes.size(), modelCode, nullptr).ok())
        return true;
    error = kCopyNotRecordingText + path + record.GetLastError();
    return false;
}

} // namespace

std::string OriginalCopyPath(const std::string& path) {
    return (OriginalsFolderOf(path) / fs::path(path).filename()).string();
}

std::string SavedDigestsPath(const std::string& path) {
    return (OriginalsFolderOf(path) / kSavedDigestsFolder / fs::path(path).filename()).string();
}

bool HasOriginalCopy(const std::string& path) {
    struct stat info {};
    return ::lstat(OriginalCopyPath(path).c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

bool IsOriginalCopyNameTaken(const std::string& path) {
    struct stat info {};
    return ::lstat(OriginalCopyPath(path).c_str(), &info) == 0;
}

bool KeepOriginal(const std::string& path, const std::vector<uint8_t>* current,
                  std::string_view after, std::string& error) {
    std::vector<uint8_t> copy;
    bool missing = false;
    const bool copyRead = ReadCopy(path, copy, missing, error);
    if (!copyRead && !missing)
        return false;
    if (current != nullptr && copyRead && !IsDescendant(path, *current, copy)) {
        if (!SetCopyAside(path, copy, error))
            return false;
        missing = true;
    }
    if (current != nullptr && missing) {
        if (!EnsureFolder(OriginalsFolderOf(path), error))
            return false;
        bool taken = false;
        if (!CreateFileExclusively(OriginalCopyPath(path), AsText(*current), taken, error) &&
            !taken)
            return false;
    }
    return WriteSavedDigests(path, current, after, error);
}

bool RestoreOriginal(const std::string& path, std::string& error) {
    const CFileLock lock(path);
    if (lock.GetState() == CFileLock::State::Failed) {
        error = lock.Error();
        return false;
    }
    std::vector<uint8_t> copy;
    bool missing = false;
    if (!ReadCopy(path, copy, missing, error)) {
        if (missing)
            error = kNoOriginalText;
        return false;
    }
    if (!LoadsAsRecording(copy, OriginalCopyPath(path), error))
        return false;
    std::vector<uint8_t> current;
    const bool exists = lock.GetState() == CFileLock::State::Locked;
    if (exists) {
        Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxRecordFileSize);
        if (!read.ok()) {
            error = read.error();
            return false;
        }
        current = std::move(read).value();
    }
    if (exists && !IsDescendant(path, current, copy)) {
        error = kNotDescendantText;
        return false;
    }
    return WriteSavedDigests(path, exists ? &current : nullptr, AsText(copy), error) &&
           Succeeded(WriteFileAtomically(path, AsText(copy)), error);
}

void ForgetSavedDigests(const std::string& path) {
    std::error_code ec;
    fs::remove(SavedDigestsPath(path), ec);
}

} // namespace mirado
