#include "document/NaturalOrder.h"

#include "document/FileList.h"

#include <algorithm>

namespace mirado {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// The run of digits starting at pos.
std::string_view DigitRun(std::string_view text, size_t pos) {
    size_t end = pos;
    while (end < text.size() && IsDigit(text[end]))
        ++end;
    return text.substr(pos, end - pos);
}

// Compares two digit runs by value, of any length: without leading zeros the longer
// run is the larger number, runs of one length compare as bytes.
int CompareDigitRuns(std::string_view a, std::string_view b) {
    const auto withoutLeadingZeros = [](std::string_view run) {
        const size_t first = run.find_first_not_of('0');
        return first == std::string_view::npos ? std::string_view() : run.substr(first);
    };
    a = withoutLeadingZeros(a);
    b = withoutLeadingZeros(b);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

int CompareBytes(char a, char b) {
    const auto ua = static_cast<unsigned char>(a);
    const auto ub = static_cast<unsigned char>(b);
    return ua == ub ? 0 : (ua < ub ? -1 : 1);
}

} // namespace

int CompareNaturally(std::string_view a, std::string_view b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view runA = DigitRun(a, i);
            const std::string_view runB = DigitRun(b, j);
            if (const int order = CompareDigitRuns(runA, runB); order != 0)
                return order;
            i += runA.size();
            j += runB.size();
            continue;
        }
        if (const int order = CompareBytes(a[i], b[j]); order != 0)
            return order;
        ++i;
        ++j;
    }
    const bool aLeft = i < a.size();
    const bool bLeft = j < b.size();
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}

bool IsBeforeByNaturalName(const std::string& a, const std::string& b) {
    const int order = CompareNaturally(FileNameOfPath(a), FileNameOfPath(b));
    return order != 0 ? order < 0 : a < b;
}

void SortByNaturalName(std::vector<std::string>& paths) {
    std::sort(paths.begin(), paths.end(), IsBeforeByNaturalName);
}

} // namespace mirado
