#pragma once
// CErrorTextTable: the texts the panes show for an error code, one text per message
// language. Code 0 is the text drawn in place of a file that could not be read.

#include <string>
#include <vector>

namespace mirado {

inline constexpr int kErrorFileFormat = 0;
inline constexpr int kDefaultMessageLanguage = 1;
inline constexpr int kJapaneseMessageLanguage = 0;

class CErrorTextTable {
public:
    CErrorTextTable();
    // Text of code in the current language; "" for an unknown code.
    std::string GetText(int code) const;
    int GetLanguage() const { return language_; }
    void SetLanguage(int language) { language_ = language; }

private:
    std::vector<std::vector<std::string>> entries_;
    int language_ = kDefaultMessageLanguage;
};

} // namespace mirado
