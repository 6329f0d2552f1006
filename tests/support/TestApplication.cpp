#include "support/TestApplication.h"

#include <QApplication>

namespace mirado::test {

QApplication& EnsureQtApp() {
    if (qApp == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "mirado_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
    return *qApp;
}

} // namespace mirado::test
