#pragma once
// The original copy of a measurement file: before a file is overwritten for the first
// time, its bytes as the instrument wrote them are kept in the hidden folder
// ".mirado-originals" beside it, under the same name. A copy once made is never
// overwritten, so it always holds the first bytes seen.

#include <string>

namespace mirado {

inline constexpr const char* kOriginalsFolder = ".mirado-originals";

// Where the original copy of the file at path is (or would be) kept.
std::string OriginalCopyPath(const std::string& path);
bool HasOriginalCopy(const std::string& path);
// Makes the original copy unless one exists already (or the file itself does not
// exist: then there is nothing to keep). False with the reason in `error` when the
// copy cannot be made; nothing is left half-written.
bool KeepOriginal(const std::string& path, std::string& error);
// Replaces the file by its original copy atomically; the copy stays. False with the
// reason when there is no copy or the file cannot be replaced.
bool RestoreOriginal(const std::string& path, std::string& error);

} // namespace mirado
