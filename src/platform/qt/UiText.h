#pragma once
// UiText: one of the program's own window texts in the language the window is shown in.
// The code holds the English text, which is also the key of its translation in the
// catalogue's context "Mirado"; without a translation the English text is shown as is.

#include <QCoreApplication>
#include <QString>

#include <string>

namespace mirado {

inline constexpr const char* kUiTextContext = "Mirado";

inline QString UiText(const char* english) {
    return QCoreApplication::translate(kUiTextContext, english);
}

inline QString UiText(const std::string& english) {
    return UiText(english.c_str());
}

} // namespace mirado
