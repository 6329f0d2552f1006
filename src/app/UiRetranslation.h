#pragma once
// Puts the texts of every open window into the language just installed, without building
// the windows again: each text that was made by UiText is found by what it shows (the
// map from ShownUiTextSources, taken before the language changed) and asked for anew.
// A menu item's text keeps its key after the tab, and a tool tip "Name (Key)" its key.
// Where one shown text could come from several English texts, the one the object was
// given at the last change of language is taken. Texts drawn by the panes follow at
// their next paint.

#include <QHash>
#include <QString>

namespace mirado {

using UiTextSources = QMultiHash<QString, QString>;

// Every top-level window's title, labels, buttons, group boxes, tabs, menus, actions and
// tool tips.
void RetranslateWindows(const UiTextSources& sources);

} // namespace mirado
