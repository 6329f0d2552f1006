#pragma once
// The natural order of file names: runs of digits compare by their value, every other
// byte by its value, so "BP2" comes before "BP10". Files picked together or dropped
// together are listed in this order.

#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// Negative, zero or positive as a is before, equal to or after b in the natural order.
// Digit runs of equal value ("07", "7") compare equal.
int CompareNaturally(std::string_view a, std::string_view b);

// True when path a's file name is before path b's in the natural order; names that
// compare equal are ordered by the full paths' bytes.
bool IsBeforeByNaturalName(const std::string& a, const std::string& b);

// Sorts paths by their file names in the natural order.
void SortByNaturalName(std::vector<std::string>& paths);

} // namespace mirado
