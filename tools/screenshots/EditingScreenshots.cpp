// Saves pictures of safe editing for the documentation, taken from the screen so that
// the window manager's title bar shows: the window with the modified mark in its title
// and the "Modified" pane, the open Edit menu naming the step to undo, and the list with
// two files marked as unsaved under the question that closing the window asks.
// Usage (under a display with a window manager): editing_screenshots OUTPUT_FOLDER

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "platform/widgets/QtUserPrompts.h"
#include "records/synth/RecordingGenerator.h"
#include "views/WaveView.h"

#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <string>

namespace {

using namespace mirado;

constexpr int kSettleMs = 800;
constexpr int kMarkerShift = 60; // pixels the marker is moved by

void SaveScreenArea(const QRect& area, const QString& path) {
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(),
                                                                      area.width(), area.height());
    if (!shot.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// Writes a generated rat recording; empty on failure.
std::string WriteRat(const QTemporaryDir& dir, const QString& name, uint32_t seed) {
    SynthOptions options;
    options.seed = seed;
    options.species = Species::Rat;
    options.comment = "screenshot";
    const std::string path = dir.filePath(name).toStdString();
    if (const auto written = WriteRecording(path, options); !written.ok()) {
        std::fprintf(stderr, "%s\n", written.error().c_str());
        return {};
    }
    return path;
}

void MoveMarkerS(CMiradoDoc& document, CWaveView& wave) {
    int s = 0, m = 0, d = 0;
    document.GetMarkers(s, m, d);
    const int x = s * wave.WaveClientRect().Width() / kSampleCount;
    wave.OnLButtonDown(x);
    wave.OnLButtonDown(x + kMarkerShift);
}

// Corrects the first and the last of three files, shows the second, then asks to close:
// the picture shows the marked list below the question, which is then cancelled.
void ShootUnsavedFiles(CMainFrame& frame, const QTemporaryDir& dir, const QString& out) {
    std::vector<std::string> paths;
    for (uint32_t i = 0; i < 3; ++i)
        paths.push_back(WriteRat(dir, QStringLiteral("RAT02%1.001").arg(i + 10), 7 + i));
    frame.OpenPaths(paths);
    CMiradoDoc& document = *frame.GetDocument();
    MoveMarkerS(document, *frame.GetWaveView());
    frame.OnLastFile();
    MoveMarkerS(document, *frame.GetWaveView());
    frame.OnFirstFile();
    frame.OnNextFile();
    QTest::qWait(kSettleMs);
    QTimer::singleShot(kSettleMs, [&frame, out] {
        QWidget* question = QApplication::activeModalWidget();
        const QRect area = question != nullptr
                               ? frame.frameGeometry().united(question->frameGeometry())
                               : frame.frameGeometry();
        SaveScreenArea(area, out + QStringLiteral("/unsaved-files-exit-question.png"));
        if (question != nullptr)
            question->close();
    });
    frame.close();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: editing_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    SynthOptions options;
    options.seed = 5;
    options.species = Species::Rat;
    options.comment = "screenshot";
    const std::string path = dir.filePath(QStringLiteral("RAT0105.001")).toStdString();
    if (const auto written = WriteRecording(path, options); !written.ok()) {
        std::fprintf(stderr, "%s\n", written.error().c_str());
        return 1;
    }
    CQtUserPrompts prompts;
    DocumentServices services;
    services.prompts = &prompts;
    CMiradoDoc document{services};
    CMainFrame frame(&document);
    prompts.SetOwner(&frame);
    frame.resize(1000, 640);
    frame.move(20, 20);
    frame.show();
    frame.OpenPaths({path});
    QTest::qWait(kSettleMs);

    CWaveView& wave = *frame.GetWaveView();
    int s = 0, m = 0, d = 0;
    document.GetMarkers(s, m, d);
    const int x = s * wave.WaveClientRect().Width() / kSampleCount;
    wave.OnLButtonDown(x);
    wave.OnLButtonDown(x + kMarkerShift);
    QTest::qWait(kSettleMs);
    SaveScreenArea(frame.frameGeometry(), out + QStringLiteral("/edit-modified-title.png"));

    QMenu* edit = frame.menuBar()->actions()[1]->menu();
    const QRect item = frame.menuBar()->actionGeometry(frame.menuBar()->actions()[1]);
    edit->popup(frame.menuBar()->mapToGlobal(item.bottomLeft()));
    QTest::qWait(kSettleMs);
    const QRect menuArea = edit->geometry().united(frame.geometry().adjusted(0, -30, 0, 0));
    SaveScreenArea(QRect(menuArea.topLeft(), QSize(menuArea.width(), 260)),
                   out + QStringLiteral("/edit-menu-undo.png"));
    edit->close();

    document.SaveCurrentFile(); // the first picture's edit is not part of the next one
    ShootUnsavedFiles(frame, dir, out);
    return 0;
}
