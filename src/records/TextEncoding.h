#pragma once
// The files' texts are code page 932 bytes; everything shown, edited or exported is UTF-8.
// Conversions go through the C library's iconv.

#include "platform/Utf8.h" // the UTF-8 checks, for the callers of the conversions

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mirado {

// CP932 bytes to UTF-8; every byte that cannot be converted becomes U+FFFD.
std::string Cp932ToUtf8(std::string_view cp932);
// UTF-8 to CP932 bytes; nullopt when some character has no CP932 code (or the
// input is not valid UTF-8).
std::optional<std::string> Utf8ToCp932(std::string_view utf8);
// Whether Utf8ToCp932 would succeed.
bool CanConvertToCp932(std::string_view utf8);
// Length of the text in CP932 bytes (what the fields' width limits count); nullopt when
// the text cannot be converted.
std::optional<size_t> Cp932ByteLength(std::string_view utf8);

} // namespace mirado
