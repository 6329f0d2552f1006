#include "cli/OffscreenApplication.h"

#include "rendering/FontSubstitutions.h"

#include <QApplication>
#include <QHashSeed>
#include <QLatin1StringView>

namespace mirado {

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// Without a desktop session (a root shell, a container) Qt notes on every start that it
// has no runtime folder. The drawing commands use none, so on the batch tool's standard
// error the note is only noise; every other message of Qt still shows.
void DropRuntimeFolderNote(QtMsgType type, const QMessageLogContext& context,
                           const QString& message) {
    if (type == QtWarningMsg &&
        message.startsWith(QLatin1StringView("QStandardPaths: XDG_RUNTIME_DIR not set")))
        return;
    qtDefaultHandler(type, context, message);
}

} // namespace

void EnsureOffscreenApplication() {
    if (QCoreApplication::instance() != nullptr)
        return;
    static int argc = 3;
    static char name[] = "mirado-cli";
    static char option[] = "-platform";
    static char platform[] = "offscreen";
    static char* argv[] = {name, option, platform, nullptr};
    QHashSeed::setDeterministicGlobalSeed();
    qtDefaultHandler = qInstallMessageHandler(DropRuntimeFolderNote);
    static QApplication application(argc, argv);
    // The same faces as the program's pages.
    InstallFontSubstitutions();
}

} // namespace mirado
