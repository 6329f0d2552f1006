#pragma once
// The "View(&V)" menu between "Display(&D)" and "Help(&H)": the switches of how the
// recording is shown that are the program's own. Each item is added by a function of
// its own below, so that the menu grows without the frame changing.

class QMenu;

namespace mirado {

class CMainFrame;

// Builds the menu into the frame's menu bar, before the Help menu.
QMenu* AddViewMenu(CMainFrame& frame);

// "Scale Labels": seconds at the time lines and the cuff's mmHg scale, checked while
// shown; the choice is stored in the settings at once and every pane redraws.
void AddScaleLabelsItem(QMenu& menu, CMainFrame& frame);

// "Language": English or 日本語 for the window's texts, each named in its own language.
// The choice is stored in the settings and takes effect at the next start, which the
// status bar says.
void AddLanguageItems(QMenu& menu, CMainFrame& frame);

// The commands of the toolbar that no other menu holds, in groups: zoom, amplitude,
// the fitted curve, the value sources (one checked) and the automatic stepping. The
// items are the toolbar's own actions, so they act, enable and check alike.
void AddToolBarCommandItems(QMenu& menu, CMainFrame& frame);

} // namespace mirado
