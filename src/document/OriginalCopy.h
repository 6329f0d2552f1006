#pragma once
// The original copy of a measurement file: before a file is overwritten for the first
// time, its bytes as the instrument wrote them are kept in the hidden folder
// ".mirado-originals" beside it, under the same name. A copy once made is never
// overwritten, so it always holds the first bytes seen.
//
// Beside the copy, ".mirado-originals/.mirado-saved/<name>" holds the SHA-256 digests of
// the file's bytes before and after the last save or revert. A file on disk whose bytes
// are neither is not a descendant of its copy (another recording took the name): the
// next save sets the copy aside in ".mirado-originals/.mirado-older/<name>.<n>" and keeps
// the new original, and a revert refuses.

#include "files/Result.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

class IChangeJournal;
class IUserPrompts;

inline constexpr const char* kOriginalsFolder = ".mirado-originals";
inline constexpr const char* kSavedDigestsFolder = ".mirado-saved";
inline constexpr const char* kOlderCopiesFolder = ".mirado-older";

inline constexpr const char* kNoOriginalText = "There is no original copy of this file.";
inline constexpr const char* kCopyNotRegularText =
    "The name of its original copy is taken by something that is not a regular file: ";
inline constexpr const char* kCopyNotRecordingText =
    "The original copy is not a readable recording: ";
inline constexpr const char* kNotDescendantText =
    "This file is not the recording its original copy was kept from.";

// Where the original copy of the file at path is (or would be) kept.
std::string OriginalCopyPath(const std::string& path);
// Where the digests of the file's last save are kept.
std::string SavedDigestsPath(const std::string& path);
// Whether a regular file (not a link) is at the copy's name.
bool HasOriginalCopy(const std::string& path);
// Whether anything at all (a link, a folder) is at the copy's name.
bool IsOriginalCopyNameTaken(const std::string& path);

// Before a save replaces the file at path, whose bytes are now `current` (null when no
// file is there), by `after`; the caller holds the file's lock. Makes the original copy
// unless one exists already, sets aside a copy of another recording, and records the
// digests of both. Fails with the reason when anything at the copy's name is not a
// regular file or the copy or the digests cannot be written; the save must then not go
// ahead. Nothing is left half-written.
Result<void> KeepOriginal(const std::string& path, const std::vector<uint8_t>* current,
                          std::string_view after);
// Replaces the file by its original copy atomically, under the file's lock; the copy
// stays. Refuses, with the reason, when there is no copy, the copy is not a regular file
// (a link included) or not a readable recording, or the file is not its descendant. A
// restore is recorded in journal (when given), whose failure prompts show as a warning.
Result<void> RestoreOriginal(const std::string& path, IChangeJournal* journal = nullptr,
                             IUserPrompts* prompts = nullptr);
// Forgets the digests of the file's saves (the file went to the trash with its copy).
void ForgetSavedDigests(const std::string& path);

} // namespace mirado
