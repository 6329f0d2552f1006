// Saves a picture of the open File menu with its "Recent Files" submenu for the
// documentation, taken from the screen. Three file sets are opened first, so the submenu
// lists them newest first. A second argument "ja" shows the window in Japanese and adds
// "-ja" to the file name.
// Usage (under a display with a window manager): recent_files_screenshot OUTPUT_FOLDER [ja]

#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "records/synth/RecordingGenerator.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace mirado;

constexpr int kSettleMs = 800;

void SaveScreenArea(const QRect& area, const QString& path) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    if (!shot.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// The recordings of one session, named as the recorder names them.
std::vector<std::string> WriteSession(const QTemporaryDir& dir, const char* prefix, int count) {
    std::vector<std::string> paths;
    for (int i = 1; i <= count; ++i) {
        SynthOptions options;
        options.seed = static_cast<uint64_t>(i) * 7 + static_cast<uint64_t>(prefix[0]);
        options.species = Species::Rat;
        const std::string path =
            dir.filePath(QStringLiteral("%1.%2").arg(prefix).arg(i, 3, 10, QLatin1Char('0')))
                .toStdString();
        if (const auto written = WriteRecording(path, options); !written.ok())
            std::fprintf(stderr, "%s\n", written.error().c_str());
        paths.push_back(path);
    }
    return paths;
}

} // namespace

int main(int argc, char** argv) {
    QApplication qt(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: recent_files_screenshot OUTPUT_FOLDER [ja]\n");
        return 2;
    }
    const bool japanese = argc > 2 && std::strcmp(argv[2], "ja") == 0;
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir home;
    QTemporaryDir data;
    FixedDocumentsFolder documents(home.path().toStdString() + "/");
    ScriptedUserPrompts prompts;
    ScriptedOpenFileDialog openDialog;
    AppServices services;
    services.documentsFolder = &documents;
    services.prompts = &prompts;
    services.openDialog = &openDialog;

    CMiradoApp app(services);
    if (japanese)
        app.SetLanguage(UiLanguage::Japanese);
    if (!app.InitInstance({}))
        return 1;
    CMainFrame& frame = *app.GetMainFrame();
    frame.resize(1000, 700);
    frame.move(20, 20);
    for (const auto& [prefix, count] : {std::pair{"RT0415", 3}, {"MS0412", 1}, {"DG0511", 6}})
        frame.OpenPaths(WriteSession(data, prefix, count));
    QTest::qWait(kSettleMs);

    QMenu* file = frame.menuBar()->actions()[0]->menu();
    const QRect title = frame.menuBar()->actionGeometry(frame.menuBar()->actions()[0]);
    file->popup(frame.menuBar()->mapToGlobal(title.bottomLeft()));
    QTest::qWait(kSettleMs);
    QMenu* recent = frame.findChild<QMenu*>(QStringLiteral("recentFilesMenu"));
    file->setActiveAction(recent->menuAction());
    recent->popup(file->mapToGlobal(file->actionGeometry(recent->menuAction()).topRight()));
    QTest::qWait(kSettleMs);
    // From the window's top left corner, so its title and menu bar show, to beyond both menus.
    const QRect menus = file->geometry().united(recent->geometry());
    const QRect area(frame.frameGeometry().topLeft(), menus.bottomRight() + QPoint(20, 20));
    SaveScreenArea(area, out + (japanese ? QStringLiteral("/recent-files-menu-ja.png")
                                         : QStringLiteral("/recent-files-menu.png")));
    recent->close();
    file->close();
    return 0;
}
