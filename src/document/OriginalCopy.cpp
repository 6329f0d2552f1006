#include "document/OriginalCopy.h"

#include "document/ChangeJournal.h"
#include "document/Sha256.h"

#include "files/FileAccess.h"
#include "records/AdData.h"

#include <algorithm>
#include <filesystem>
#include <optional>
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
Result<void> EnsureFolder(const fs::path& folder) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    if (fs::is_directory(folder))
        return Ok();
    return Fail(folder.string() + ": " + (ec ? ec.message() : "not a folder"));
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

Result<void> WriteSavedDigests(const std::string& path, const std::vector<uint8_t>* before,
                               std::string_view after) {
    const fs::path file = SavedDigestsPath(path);
    if (Result<void> folder = EnsureFolder(file.parent_path()); !folder.ok())
        return folder;
    std::string text = before != nullptr ? Sha256Hex(AsText(*before)) + "\n" : std::string();
    text += Sha256Hex(after) + "\n";
    return WriteFileAtomically(file.string(), text);
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
Result<void> SetCopyAside(const std::string& path, const std::vector<uint8_t>& copy) {
    const fs::path folder = OriginalsFolderOf(path) / kOlderCopiesFolder;
    if (Result<void> made = EnsureFolder(folder); !made.ok())
        return made;
    const std::string name = fs::path(path).filename().string();
    for (int number = 1; number <= kMaxOlderCopies; ++number) {
        const std::string older = (folder / (name + "." + std::to_string(number))).string();
        const Result<Creation> created = CreateFileExclusively(older, AsText(copy));
        if (!created.ok())
            return Fail(created.error());
        if (created.value() == Creation::Created) {
            std::error_code ec;
            if (fs::remove(OriginalCopyPath(path), ec))
                return Ok();
            return Fail(OriginalCopyPath(path) + ": " + ec.message());
        }
    }
    return Fail(folder.string() + ": too many older copies");
}

// Reads the copy, refusing anything at its name that is not a regular file; nothing
// when nothing is there.
Result<std::optional<std::vector<uint8_t>>> ReadCopy(const std::string& path) {
    const std::string copyPath = OriginalCopyPath(path);
    struct stat info {};
    if (::lstat(copyPath.c_str(), &info) != 0 && errno == ENOENT)
        return std::optional<std::vector<uint8_t>>();
    if (!S_ISREG(info.st_mode))
        return Fail(kCopyNotRegularText + copyPath);
    Result<std::vector<uint8_t>> read = ReadWholeFile(copyPath, kMaxRecordFileSize, Links::Refuse);
    if (!read.ok())
        return Fail(read.error());
    return std::optional<std::vector<uint8_t>>(std::move(read).value());
}

Result<void> LoadsAsRecording(const std::vector<uint8_t>& bytes, const std::string& path) {
    CAdData record;
    int modelCode = 0;
    if (record.LoadFromBytes(path, bytes.data(), bytes.size(), modelCode, nullptr).ok())
        return Ok();
    return Fail(kCopyNotRecordingText + path + record.GetLastError());
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

Result<void> KeepOriginal(const std::string& path, const std::vector<uint8_t>* current,
                          std::string_view after) {
    Result<std::optional<std::vector<uint8_t>>> copy = ReadCopy(path);
    if (!copy.ok())
        return Fail(copy.error());
    bool missing = !copy.value().has_value();
    if (current != nullptr && !missing && !IsDescendant(path, *current, *copy.value())) {
        if (Result<void> setAside = SetCopyAside(path, *copy.value()); !setAside.ok())
            return setAside;
        missing = true;
    }
    if (current != nullptr && missing) {
        if (Result<void> folder = EnsureFolder(OriginalsFolderOf(path)); !folder.ok())
            return folder;
        const Result<Creation> created =
            CreateFileExclusively(OriginalCopyPath(path), AsText(*current));
        if (!created.ok())
            return Fail(created.error());
    }
    return WriteSavedDigests(path, current, after);
}

Result<void> RestoreOriginal(const std::string& path, IChangeJournal* journal,
                             IUserPrompts* prompts) {
    const CFileLock lock(path);
    if (lock.GetState() == CFileLock::State::Failed)
        return Fail(lock.Error());
    Result<std::optional<std::vector<uint8_t>>> read = ReadCopy(path);
    if (!read.ok())
        return Fail(read.error());
    if (!read.value().has_value())
        return Fail(kNoOriginalText);
    const std::vector<uint8_t>& copy = *read.value();
    if (Result<void> loads = LoadsAsRecording(copy, OriginalCopyPath(path)); !loads.ok())
        return loads;
    std::vector<uint8_t> current;
    const bool exists = lock.GetState() == CFileLock::State::Locked;
    if (exists) {
        Result<std::vector<uint8_t>> bytes = ReadWholeFile(path, kMaxRecordFileSize);
        if (!bytes.ok())
            return Fail(bytes.error());
        current = std::move(bytes).value();
    }
    if (exists && !IsDescendant(path, current, copy))
        return Fail(kNotDescendantText);
    if (Result<void> digests = WriteSavedDigests(path, exists ? &current : nullptr, AsText(copy));
        !digests.ok())
        return digests;
    if (Result<void> written = WriteFileAtomically(path, AsText(copy)); !written.ok())
        return written;
    JournalChange(journal, prompts, RecordChangeKind::Revert, path, exists ? &current : nullptr,
                  AsText(copy));
    return Ok();
}

void ForgetSavedDigests(const std::string& path) {
    std::error_code ec;
    fs::remove(SavedDigestsPath(path), ec);
}

} // namespace mirado
