#pragma once
// Filling a message text: the one place a placeholder in a fixed text is replaced.

#include <string>

namespace mirado {

// The format with its first placeholder replaced by text; a format without the
// placeholder is returned as it is.
std::string ReplacePlaceholder(const std::string& format, const std::string& placeholder,
                               const std::string& text);

} // namespace mirado
