#pragma once
// The "Keyboard Shortcuts" window of the Help menu: every key of the program in one table,
// the main window's keys first, then those of the wave view, the file list and the
// summary window. It is a window of its own that stays open beside the main window.

#include <QDialog>

#include <vector>

namespace mirado {

// One row: the key (not translated) and what it does (English, translated when shown).
struct ShortcutRow {
    const char* key;
    const char* action;
};

// Every key the program knows, in the order the window lists them.
const std::vector<ShortcutRow>& KeyboardShortcutRows();

class CKeyboardShortcutsWindow : public QDialog {
    Q_OBJECT
public:
    explicit CKeyboardShortcutsWindow(QWidget* parent = nullptr);

    // Adds "Keyboard Shortcuts" to the Help menu (object name "helpMenu") of the window.
    static void AddToHelpMenu(QWidget& window);
};

} // namespace mirado
