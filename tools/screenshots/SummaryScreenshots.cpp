// Documentation tool: writes a small generated study (four rats, four sessions, three readings
// each, one damaged file), opens the summary window over it and saves a picture of each
// tab as PNG, and the default chart as PDF, into the folder given on the command line
// (run under a virtual X server for the documentation's screenshots).

#include "charts/SummaryChart.h"
#include "records/TextEncoding.h"
#include "records/synth/RecordingGenerator.h"
#include "stats/GroupsTable.h"
#include "summary/GroupsEditor.h"
#include "summary/SummaryWindow.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTabWidget>
#include <QTableView>
#include <QTest>

#include <cstdio>

namespace {

const char* const kAnimals[] = {"R-01", "R-02", "R-03", "ラット4"};
const char* const kDates[] = {"24/10/01", "24/10/03", "24/10/08", "24/10/15"};
constexpr int kReadingsPerSession = 3;

// Half mmHg: each animal its own level, a slow rise over the sessions, some scatter.
int SystolicOf(int animal, int session, int reading) {
    const int scatter[] = {-6, -2, 1, 3, 5};
    return 2 * (118 + 7 * animal + 3 * session +
                scatter[(reading * (animal % 4 + 1) + session) % 5] + (animal * session) % 4);
}

std::vector<std::string> WriteStudy(const QDir& folder) {
    std::vector<std::string> paths;
    uint64_t seed = 1;
    for (int a = 0; a < 4; ++a)
        for (int s = 0; s < 4; ++s)
            for (int r = 0; r < kReadingsPerSession; ++r) {
                mirado::SynthOptions options;
                options.seed = seed++;
                options.species = mirado::Species::Rat;
                options.sbp = SystolicOf(a, s, r);
                options.dbp = options.sbp - 2 * (38 + r);
                options.heartRate = 340 + 8 * s + 5 * a + 3 * r;
                options.studyNo = "ST-07";
                options.animalNo = kAnimals[a];
                options.date = kDates[s];
                const std::string path =
                    folder
                        .filePath(QStringLiteral("R%1.00%2")
                                      .arg(paths.size(), 3, 10, QLatin1Char('0'))
                                      .arg(s))
                        .toStdString();
                if (mirado::WriteRecording(path, options).ok())
                    paths.push_back(path);
            }
    mirado::SynthOptions damaged;
    damaged.damage = mirado::Damage::Truncated;
    damaged.studyNo = "ST-07";
    damaged.animalNo = kAnimals[1];
    damaged.date = kDates[2];
    const std::string path = folder.filePath(QStringLiteral("R999.002")).toStdString();
    if (mirado::WriteRecording(path, damaged).ok())
        paths.push_back(path);
    // Two groups of two rats, in the groups file the window finds beside the recordings.
    mirado::GroupsTable groups;
    for (int a = 0; a < 4; ++a)
        groups.Assign({"ST-07", mirado::Utf8ToCp932(kAnimals[a]).value_or(kAnimals[a])},
                      a < 2 ? "vehicle" : "treated");
    (void)mirado::WriteGroupsFile(mirado::GroupsFilePathFor(paths.front()), groups);
    return paths;
}

bool Save(QWidget& window, const QString& path) {
    QTest::qWait(300);
    const bool saved = window.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: summary_screenshots FOLDER\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    mirado::test::TempFolder data;
    const std::vector<std::string> paths = WriteStudy(QDir(QString::fromStdString(data.Path())));

    mirado::ScriptedUserPrompts prompts;
    mirado::ScriptedSaveFileDialog saveDialog;
    mirado::CSummaryWindow window({paths, false}, prompts, saveDialog, 2);
    window.setAttribute(Qt::WA_DeleteOnClose, false);
    window.resize(1100, 640);
    window.show();
    QSignalSpy shown(&window, &mirado::CSummaryWindow::SummaryShown);
    if (!QTest::qWaitForWindowExposed(&window) || !(window.Result() || shown.wait(30000)))
        return 1;
    bool ok = Save(window, folder.filePath("summary-table.png"));
    mirado::test::NamedChild<QTabWidget>(window, "summaryTabs")
        ->setCurrentIndex(mirado::CSummaryWindow::kAnimalTab);
    mirado::test::NamedChild<QComboBox>(window, "summaryAnimal")->setCurrentIndex(1);
    ok &= Save(window, folder.filePath("summary-animal-chart.png"));
    mirado::test::NamedChild<QTabWidget>(window, "summaryTabs")
        ->setCurrentIndex(mirado::CSummaryWindow::kAllAnimalsTab);
    ok &= Save(window, folder.filePath("summary-all-animals-chart.png"));

    mirado::test::NamedChild<QTabWidget>(window, "summaryTabs")
        ->setCurrentIndex(mirado::CSummaryWindow::kGroupsTab);
    mirado::test::NamedChild<QCheckBox>(window, "groupAnimals")->setChecked(true);
    ok &= Save(window, folder.filePath("summary-groups-chart.png"));
    mirado::test::NamedChild<QCheckBox>(window, "groupAnimals")->setChecked(false);
    mirado::test::NamedChild<QCheckBox>(window, "groupChange")->setChecked(true);
    ok &= Save(window, folder.filePath("summary-groups-change.png"));
    mirado::test::NamedChild<QTabWidget>(window, "summaryTabs")
        ->setCurrentIndex(mirado::CSummaryWindow::kStatisticsTab);
    ok &= Save(window, folder.filePath("summary-statistics.png"));
    if (QWidget* editor = window.EditGroups()) {
        editor->resize(420, 300);
        ok &= Save(*editor, folder.filePath("summary-groups-editor.png"));
        editor->close();
    }

    mirado::test::NamedChild<QTabWidget>(window, "summaryTabs")
        ->setCurrentIndex(mirado::CSummaryWindow::kGroupsTab);
    mirado::test::NamedChild<QComboBox>(window, "chartSizeMode")->setCurrentIndex(1);
    mirado::test::NamedChild<QSpinBox>(window, "chartDpi")->setValue(600);
    saveDialog.QueuePath(folder.filePath("summary-groups-85mm.pdf").toStdString());
    window.SaveChart();

    const mirado::StudySummary& summary = window.Result()->summary;
    const std::string pdf = folder.filePath("summary-chart.pdf").toStdString();
    const mirado::Result<void> written =
        mirado::SaveSummaryChart(summary, mirado::DefaultChartOptions(summary), pdf);
    std::printf("%s %s %s\n", written.ok() ? "wrote" : "could not write", pdf.c_str(),
                written.error().c_str());
    return ok && written.ok() ? 0 : 1;
}
