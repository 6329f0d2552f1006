#pragma once
// One field of a comma-separated file as RFC 4180 writes it: as it is, or in double
// quotes with each double quote doubled when it holds a comma, a quote or a line break.

#include <string>

namespace mirado {

std::string CsvField(const std::string& text);

} // namespace mirado
