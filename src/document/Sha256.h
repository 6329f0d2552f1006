#pragma once
// SHA-256 digests of a recording's bytes: the kept originals' digests and the review log.

#include "files/Result.h"

#include <string>
#include <string_view>

namespace mirado {

// The digest of bytes as 64 lower-case hexadecimal digits.
std::string Sha256Hex(std::string_view bytes);

// The digest of the file's bytes now; fails with the reason when it cannot be read (a
// file that is not a regular one is not read).
Result<std::string> FileSha256Hex(const std::string& path);

} // namespace mirado
