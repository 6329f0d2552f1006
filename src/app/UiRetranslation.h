#pragma once
// Puts the texts of every open window into the language just installed, without building
// the windows again: each text that was made by UiText is found by what it shows (the
// map from ShownUiTextSources, taken before the language changed) and asked for anew.
// A menu item's text keeps its key after the tab, and a tool tip "Name (Key)" its key.
// Texts drawn by the panes follow at their next paint.

#include <QHash>
#include <QString>

namespace mirado {

// The text in the language installed now for one shown in the language before; a text
// that UiText did not make is returned as it is.
QString RetranslatedText(const QString& shown, const QHash<QString, QString>& sources);

// Every top-level window's title, labels, buttons, group boxes, tabs, menus, actions and
// tool tips.
void RetranslateWindows(const QHash<QString, QString>& sources);

} // namespace mirado
