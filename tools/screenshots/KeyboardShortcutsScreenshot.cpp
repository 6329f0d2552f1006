// Saves a picture of the "Keyboard Shortcuts" window for the documentation.
// Usage: keyboard_shortcuts_screenshot OUTPUT.png (offscreen or under a display)

#include "app/KeyboardShortcuts.h"

#include <QApplication>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: keyboard_shortcuts_screenshot OUTPUT.png\n");
        return 2;
    }
    mirado::CKeyboardShortcutsWindow window;
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(QString::fromLocal8Bit(argv[1]))) {
        std::fprintf(stderr, "cannot save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
