#include "cli/OffscreenApplication.h"

#include "rendering/FontSubstitutions.h"

#include <QApplication>
#include <QHashSeed>

namespace mirado {

void EnsureOffscreenApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 3;
    static char name[] = "mirado-cli";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    QHashSeed::setDeterministicGlobalSeed();
    static QApplication application(argc, argv);
    // The same faces as the program's pages.
    InstallFontSubstitutions();
}

} // namespace mirado
