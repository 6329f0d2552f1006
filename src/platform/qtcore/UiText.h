#pragma once
// UiText: one of the program's own window texts in the language the window is shown in.
// The code holds the English text, which is also the key of its translation in the
// catalogue's context "Mirado"; without a translation the English text is shown as is.
// Every English text asked for is noted, so that a change of language can find the texts
// on screen again (ShownUiTextSources).

#include <QCoreApplication>
#include <QHash>
#include <QString>

#include <string>

namespace mirado {

inline constexpr const char* kUiTextContext = "Mirado";

QString UiText(const char* english);

inline QString UiText(const std::string& english) {
    return UiText(english.c_str());
}

// The texts asked for so far, each in the language installed now, with its English text
// (several English texts may share one translation).
QMultiHash<QString, QString> ShownUiTextSources();

} // namespace mirado
