#pragma once
// Whole-file reading with a size limit and atomic whole-file replacement, for the
// measurement files. Errors come back as short English texts for the user.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// Measurement files are about 10 KiB; anything beyond this is not one of them.
inline constexpr size_t kMaxRecordFileSize = 16u * 1024u * 1024u;

enum class ReadStatus { Ok, Unreadable, TooLarge };

// Reads a regular file whole into bytes. On failure `error` describes why.
ReadStatus ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                         std::string& error);

// Replaces the file at path by bytes without ever leaving it half-written: writes a
// hidden, short-named temporary file in the same folder, flushes it to disk and renames it over the
// target, keeping an existing target's permissions. A target the caller may not write is refused.
// On failure the target is untouched, the temporary file is gone and `error` says why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

// True when both paths name the same file (same device and inode, following symbolic
// links), however they are spelled. False when either does not exist.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace mirado
