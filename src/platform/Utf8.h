#pragma once
// UTF-8 validity, the replacement of bytes that are not UTF-8 and bytes in hexadecimal:
// what the JSON output, the console messages and the exports share about text whose bytes
// came from a file or a file name.

#include <cstddef>
#include <string>
#include <string_view>

namespace mirado {

// U+FFFD REPLACEMENT CHARACTER in UTF-8.
inline constexpr std::string_view kUtf8Replacement = "\xEF\xBF\xBD";

// Length of the valid UTF-8 sequence that starts at text[at], 0 when none does (overlong
// forms, surrogates and code points above U+10FFFF are not valid).
size_t ValidUtf8SequenceLength(std::string_view text, size_t at);
bool IsValidUtf8(std::string_view text);
// The text with U+FFFD in place of each byte that is not part of a valid UTF-8 sequence;
// valid UTF-8 keeps its bytes.
std::string WithInvalidUtf8Replaced(std::string_view text);
// The bytes in lower-case hexadecimal, two digits each.
std::string HexBytes(std::string_view bytes);

} // namespace mirado
