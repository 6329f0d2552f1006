#include "document/ErrorTexts.h"

namespace mirado {

CErrorTextTable::CErrorTextTable() {
    // Language 0 is Japanese (UTF-8 here), 1 and 2 English.
    entries_.push_back({"ファイルが破損しています。読み込むことができませんでした",
                        "File format Error.", "File format Error."});
}

std::string CErrorTextTable::GetText(int code) const {
    if (code < 0 || code >= static_cast<int>(entries_.size()))
        return {};
    const std::vector<std::string>& texts = entries_[static_cast<size_t>(code)];
    if (language_ < 0 || language_ >= static_cast<int>(texts.size()))
        return {};
    return texts[static_cast<size_t>(language_)];
}

} // namespace mirado
