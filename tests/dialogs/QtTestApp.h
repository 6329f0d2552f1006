#pragma once
// One QApplication for the whole test executable, created on first use (the tests run
// with the offscreen platform, so nothing appears on a screen).

#include <QApplication>

namespace mirado::test {

inline QApplication& EnsureQtApp() {
    static int argc = 1;
    static char name[] = "dialogs_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = qApp ? nullptr : new QApplication(argc, argv);
    (void)app;
    return *qApp;
}

} // namespace mirado::test
