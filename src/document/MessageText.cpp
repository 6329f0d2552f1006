#include "document/MessageText.h"

namespace mirado {

std::string ReplacePlaceholder(const std::string& format, const std::string& placeholder,
                               const std::string& text) {
    const size_t at = format.find(placeholder);
    if (at == std::string::npos)
        return format;
    return format.substr(0, at).append(text).append(format, at + placeholder.size());
}

} // namespace mirado
