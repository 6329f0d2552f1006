#include "platform/ProfileValue.h"

#include <charconv>

namespace mirado {

namespace {
constexpr const char* kBlanks = " \t\r\n";
}

std::optional<int> ParseProfileInt(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return std::nullopt;
    const size_t last = text.find_last_not_of(kBlanks);
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    // from_chars takes a minus sign but no plus sign; a plus sign must lead digits.
    if (*begin == '+' && begin + 1 != end && begin[1] >= '0' && begin[1] <= '9')
        ++begin;
    int value = 0;
    const auto [stop, error] = std::from_chars(begin, end, value);
    if (error != std::errc() || stop != end || begin == end)
        return std::nullopt;
    return value;
}

} // namespace mirado
