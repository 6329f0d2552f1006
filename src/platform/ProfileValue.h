#pragma once
// Reading integers stored as text in the settings file. Shared by every profile
// implementation so that they agree on what counts as a number.

#include <optional>
#include <string>

namespace mirado {

// The int written in text (optional blanks around, optional sign, decimal digits only),
// or nothing when text is not such a number or does not fit an int.
std::optional<int> ParseProfileInt(const std::string& text);

} // namespace mirado
