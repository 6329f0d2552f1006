// Saves pictures of the review of readings for the documentation: the main window with the
// readings table filtered to one session and the session pane beside it, the session pane
// alone, and a rejection with its reason list open. Two rats are measured in two sessions
// of ten readings each; the profile is "Acclimation 5, then ±2 SD"; one reading is
// rejected by hand for movement and one outlier is accepted by hand.
// Usage (under a display): review_screenshots OUTPUT_FOLDER

#include "app/FrameReview.h"
#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "platform/widgets/QtUserPrompts.h"
#include "records/synth/RecordingGenerator.h"
#include "reviewui/ReadingsDock.h"
#include "reviewui/ReasonPickerDialog.h"
#include "reviewui/ReviewState.h"
#include "reviewui/SessionPane.h"
#include "support/ScriptedPlatform.h"

#include <QApplication>
#include <QDockWidget>
#include <QEventLoop>
#include <QPixmap>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace mirado;

constexpr int kSettleMs = 600;
constexpr int kReadingsPerSession = 10;

void Save(const QPixmap& shot, const QString& path) {
    if (!shot.save(path))
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
}

// Two rats, two sessions each; SBP about 130 with one reading far off in each session.
std::vector<std::string> WriteSessions(const QTemporaryDir& dir) {
    std::vector<std::string> paths;
    const int offsets[kReadingsPerSession] = {9, -4, 6, 2, -3, 1, -2, 3, 27, -1};
    char text[32];
    for (int animal = 1; animal <= 2; ++animal)
        for (int day = 1; day <= 2; ++day)
            for (int reading = 0; reading < kReadingsPerSession; ++reading) {
                SynthOptions options;
                options.seed = static_cast<uint64_t>(paths.size() + 1);
                options.species = Species::Rat;
                options.studyNo = "BP-12";
                std::snprintf(text, sizeof text, "R%02d", animal);
                options.animalNo = text;
                std::snprintf(text, sizeof text, "26/03/%02d", day + 9);
                options.date = text;
                std::snprintf(text, sizeof text, "09:%02d", 10 + reading * 2);
                options.time = text;
                const int sbp = 128 + animal * 3 + offsets[reading];
                options.sbp = 2 * sbp;
                options.dbp = 2 * (sbp - 42);
                options.mbp = 2 * (sbp - 28);
                std::snprintf(text, sizeof text, "R%02d-%d-%02d.001", animal, day, reading + 1);
                paths.push_back(dir.filePath(QString::fromLatin1(text)).toStdString());
                if (const auto written = WriteRecording(paths.back(), options); !written.ok()) {
                    std::fprintf(stderr, "%s\n", written.error().c_str());
                    return {};
                }
            }
    return paths;
}

// Shows the real reason list over the window, takes the picture, then picks the reason.
class PictureTakingPicker : public IReasonPicker {
public:
    PictureTakingPicker(QWidget& window, QString path) : window_(window), path_(std::move(path)) {}

    std::optional<ReasonChoice> PickReason(const std::string& preselected) override {
        CReasonPickerDialog dialog(preselected, &window_);
        dialog.show();
        dialog.move(window_.geometry().center() - dialog.rect().center());
        QTest::qWait(kSettleMs);
        const QRect area = window_.frameGeometry();
        Save(QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                          area.height()),
             path_);
        return ReasonChoice{"movement", {}};
    }

private:
    QWidget& window_;
    QString path_;
};

void OpenAt(CMainFrame& frame, int index) {
    frame.GetDocument()->OpenFileAt(index);
    QApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: review_screenshots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QTemporaryDir dir;
    const std::vector<std::string> paths = WriteSessions(dir);
    if (paths.empty())
        return 1;

    MemoryProfile profile;
    profile.SetRaw(kMiradoSection, kKeyReviewReadingsShown, "1");
    profile.SetRaw(kMiradoSection, kKeyReviewSessionShown, "1");
    profile.SetRaw(kMiradoSection, kKeyReviewProfile, "acclimation-2sd");
    CQtUserPrompts prompts;
    DocumentServices services;
    services.prompts = &prompts;
    services.profile = &profile;
    CMiradoDoc document(services);
    CMainFrame frame(&document);
    frame.move(0, 0);
    frame.resize(1700, 960);
    PictureTakingPicker picker(frame, folder + QStringLiteral("/review-reject-reason.png"));
    CFrameReview* review =
        CFrameReview::Install(frame, &profile, dir.path().toStdString() + "/", prompts, &picker);
    frame.show();
    frame.OpenPaths(paths);
    if (!review->State().IsFilled()) {
        QEventLoop loop;
        QObject::connect(&review->State(), &CReviewState::Filled, &loop, &QEventLoop::quit);
        loop.exec();
    }
    auto* readings = frame.findChild<CReadingsDock*>(QStringLiteral("readingsDock"));
    auto* session = frame.findChild<CSessionPane*>(QStringLiteral("sessionDock"));
    frame.resizeDocks({readings}, {1000}, Qt::Horizontal);
    frame.resizeDocks({readings, session}, {420, 540}, Qt::Vertical);

    // A movement by hand and the session's outlier accepted by hand.
    for (const auto& [index, action, reason] :
         {std::tuple{6, ReviewAction::Reject, "movement"}, std::tuple{8, ReviewAction::Accept, ""}})
        if (const auto decided =
                review->State().Decide(static_cast<size_t>(index), action, reason, "");
            !decided.ok()) {
            std::fprintf(stderr, "%s\n", decided.error().c_str());
            return 1;
        }
    readings->FilterToSessionOf(8);
    OpenAt(frame, 9);
    QTest::qWait(kSettleMs);
    Save(frame.grab(), folder + QStringLiteral("/review-readings-session.png"));
    Save(session->grab(), folder + QStringLiteral("/review-session-pane.png"));

    // R on the current reading opens the reason list (the picker takes its picture).
    frame.activateWindow();
    if (!QTest::qWaitForWindowActive(&frame))
        std::fprintf(stderr, "the window did not become active\n");
    QTest::keyClick(&frame, Qt::Key_R);
    QTest::qWait(kSettleMs);
    return 0;
}
