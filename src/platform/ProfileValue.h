#pragma once
// Values of the settings file as text: the INI layout (a section in square brackets, then
// one "name=value" line per value) and the integers stored in it. Shared by every
// profile implementation so that they agree on what a file means. A UTF-8 byte-order mark
// before the first line is no part of it and stays where it is.

#include <optional>
#include <string>

namespace mirado {

// The int written in text (optional blanks around, optional sign, decimal digits only),
// or nothing when text is not such a number or does not fit an int.
std::optional<int> ParseProfileInt(const std::string& text);

// The value of key in section of an INI text, blanks around it removed and one pair of
// enclosing double quotes taken off; nothing when the text has no such value. Section
// and key names compare without regard to ASCII case; lines starting with ';' are
// comments.
std::optional<std::string> FindProfileValue(const std::string& iniText, const std::string& section,
                                            const std::string& key);

// The INI text with key set to value in section: an existing line is replaced, a new one
// goes after the section's last value, a missing section is added at the end. Every other
// line keeps its bytes. Nothing when value holds a line break, which no line can hold.
std::optional<std::string> WithProfileValue(const std::string& iniText, const std::string& section,
                                            const std::string& key, const std::string& value);

} // namespace mirado
