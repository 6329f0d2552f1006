#include "platform/ProfileValue.h"

#include <algorithm>
#include <charconv>
#include <string_view>
#include <vector>

namespace mirado {

namespace {

constexpr const char* kBlanks = " \t\r\n";
constexpr char kCommentStart = ';';
// A UTF-8 byte-order mark some editors put before the first line.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

size_t ByteOrderMarkLength(const std::string& text) {
    return text.compare(0, kByteOrderMark.size(), kByteOrderMark) == 0 ? kByteOrderMark.size() : 0;
}

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(const std::string& a, const std::string& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

// One line of the text without its line break, and where it starts and ends.
struct IniLine {
    size_t begin = 0;
    size_t end = 0; // before "\r\n" or "\n"
    std::string text;
};

// The lines after a byte-order mark, which belongs to no line and keeps its place.
std::vector<IniLine> SplitLines(const std::string& text) {
    std::vector<IniLine> lines;
    size_t begin = ByteOrderMarkLength(text);
    while (begin < text.size()) {
        size_t next = text.find('\n', begin);
        const size_t stop = next == std::string::npos ? text.size() : next;
        size_t end = stop;
        if (end > begin && text[end - 1] == '\r')
            --end;
        lines.push_back({begin, end, text.substr(begin, end - begin)});
        begin = next == std::string::npos ? text.size() : next + 1;
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string> SectionOf(const std::string& line) {
    const std::string trimmed = Trimmed(line);
    if (trimmed.size() < 2 || trimmed.front() != '[')
        return std::nullopt;
    const size_t close = trimmed.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return Trimmed(trimmed.substr(1, close - 1));
}

// True when line is "key=value" (blanks allowed around both).
bool IsValueLine(const std::string& line, const std::string& key, std::string* value) {
    const std::string trimmed = Trimmed(line);
    if (trimmed.empty() || trimmed.front() == kCommentStart)
        return false;
    const size_t equals = trimmed.find('=');
    if (equals == std::string::npos || !SameName(Trimmed(trimmed.substr(0, equals)), key))
        return false;
    if (value != nullptr)
        *value = Trimmed(trimmed.substr(equals + 1));
    return true;
}

// Where a section's lines are: the index of its header and of its last line that is not
// blank (the header itself while the section holds nothing).
struct SectionSpan {
    size_t header = 0;
    size_t lastValue = 0;
};

std::optional<SectionSpan> FindSection(const std::vector<IniLine>& lines,
                                       const std::string& section) {
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::string> name = SectionOf(lines[i].text);
        if (!name || !SameName(*name, section))
            continue;
        SectionSpan span{i, i};
        for (size_t j = i + 1; j < lines.size() && !SectionOf(lines[j].text); ++j)
            if (!Trimmed(lines[j].text).empty())
                span.lastValue = j;
        return span;
    }
    return std::nullopt;
}

// A value the reader would change (blanks at either end, or enclosing quotes) is written
// inside quotes, which the reader takes off again.
std::string StoredForm(const std::string& value) {
    const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
    if (quoted || Trimmed(value) != value)
        return '"' + value + '"';
    return value;
}

} // namespace

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

std::optional<std::string> FindProfileValue(const std::string& iniText, const std::string& section,
                                            const std::string& key) {
    const std::vector<IniLine> lines = SplitLines(iniText);
    const std::optional<SectionSpan> span = FindSection(lines, section);
    if (!span)
        return std::nullopt;
    std::string value;
    for (size_t i = span->header + 1; i <= span->lastValue; ++i) {
        if (!IsValueLine(lines[i].text, key, &value))
            continue;
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        return value;
    }
    return std::nullopt;
}

std::optional<std::string> WithProfileValue(const std::string& iniText, const std::string& section,
                                            const std::string& key, const std::string& value) {
    if (value.find_first_of("\r\n") != std::string::npos)
        return std::nullopt;
    const std::string line = key + "=" + StoredForm(value);
    const std::vector<IniLine> lines = SplitLines(iniText);
    const std::optional<SectionSpan> span = FindSection(lines, section);
    if (!span) {
        std::string text = iniText;
        if (text.size() > ByteOrderMarkLength(text) && text.back() != '\n')
            text += '\n';
        return text + "[" + section + "]\n" + line + "\n";
    }
    for (size_t i = span->header + 1; i <= span->lastValue; ++i)
        if (IsValueLine(lines[i].text, key, nullptr))
            return iniText.substr(0, lines[i].begin) + line + iniText.substr(lines[i].end);
    // A new line after the section's last one, ended the way that line is ended.
    const size_t lineBreak = iniText.find('\n', lines[span->lastValue].end);
    if (lineBreak == std::string::npos)
        return iniText + "\n" + line + "\n";
    const bool crlf = lineBreak > 0 && iniText[lineBreak - 1] == '\r';
    const size_t after = lineBreak + 1;
    return iniText.substr(0, after) + line + (crlf ? "\r\n" : "\n") + iniText.substr(after);
}

} // namespace mirado
