#include "summary/SummaryWindow.h"
#include "app/FrameReview.h"
#include "app/MainFrame.h"
#include "app/MiradoApp.h"
#include "app/SummaryCommand.h"
#include "document/MiradoDoc.h"
#include "document/Reading.h"
#include "records/synth/RecordingGenerator.h"
#include "reviewui/ReviewState.h"
#include "summary/GroupsEditor.h"
#include "summary/SummaryTableModel.h"
#include "support/NamedChild.h"
#include "support/ScriptedPlatform.h"
#include "support/ScriptedUserPrompts.h"
#include "support/TempFolder.h"
#include "support/TestApplication.h"
#include "views/FilenameView.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSortFilterProxyModel>
#include <QSpinBox>
#include <QSvgRenderer>
#include <QTabWidget>
#include <QTableView>
#include <QTableWidget>
#include <QTest>
#include <qcustomplot.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace mirado {
namespace {

QByteArray ReadBytes(const std::string& path) {
    QFile file(QString::fromStdString(path));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Five recordings of two animals over two days, and one damaged file.
class SummaryFolder {
public:
    SummaryFolder() {
        Add("a1.001", "A1", "24/03/01", 240);
        Add("a2.001", "A1", "24/03/01", 260);
        Add("a3.001", "A1", "24/03/02", 200);
        Add("b1.001", "B2", "24/03/01", 220);
        Add("b2.001", "B2", "24/03/02", 230);
        SynthOptions damaged;
        damaged.damage = Damage::Truncated;
        damaged.studyNo = "S9";
        damaged.animalNo = "A1";
        damaged.date = "24/03/05";
        Write("bad.001", damaged);
    }
    std::string PathOf(const char* name) const { return dir_.File(name); }
    const std::vector<std::string>& Paths() const { return paths_; }
    std::string BadPath() const { return paths_.back(); }

private:
    void Add(const char* name, const char* animal, const char* date, int sbp) {
        SynthOptions options;
        options.seed = paths_.size() + 1;
        options.sbp = sbp;
        options.studyNo = "S1";
        options.animalNo = animal;
        options.date = date;
        Write(name, options);
    }
    void Write(const char* name, const SynthOptions& options) {
        const Result<void> written = WriteRecording(PathOf(name), options);
        EXPECT_TRUE(written.ok()) << written.error();
        paths_.push_back(PathOf(name));
    }

    test::TempFolder dir_;
    std::vector<std::string> paths_;
};

std::string CoreCsv(const std::vector<std::string>& paths, ValueSource source, bool bySession) {
    const StudySummary summary = SummarizeReadings(ReadRecordings(paths, source, 1), source);
    return SummaryCsv(bySession ? summary.sessions : summary.animals);
}

class SummaryWindowTest : public ::testing::Test {
protected:
    void SetUp() override { test::EnsureQtApp(); }

    // A window over the files, shown once its first summary is.
    void Open(SummaryFiles files) {
        window = std::make_unique<CSummaryWindow>(std::move(files), prompts, saveDialog, 2);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        WaitShown();
    }
    void WaitShown() {
        if (window->Result() != nullptr)
            return;
        QSignalSpy shown(window.get(), &CSummaryWindow::SummaryShown);
        ASSERT_TRUE(shown.wait(20000));
    }
    std::string ModelCsv() const { return SummaryCsv(window->Model().Rows()); }
    QString ShownCell(int row, int column) const {
        return window->Table()->model()->index(row, column).data().toString();
    }

    SummaryFolder folder;
    ScriptedUserPrompts prompts;
    ScriptedSaveFileDialog saveDialog;
    std::unique_ptr<CSummaryWindow> window;
};

TEST_F(SummaryWindowTest, TableHoldsTheCoreSummaryAndListsTheDamagedFile) {
    Open({folder.Paths(), false});
    EXPECT_TRUE(test::NamedChild<QLabel>(*window, "summaryFiles")->text().contains("all 6 file"));
    EXPECT_EQ(ModelCsv(), CoreCsv(folder.Paths(), ValueSource::Stored, true));
    ASSERT_EQ(window->Model().rowCount(), 5); // A1 x 2 days, B2 x 2 days, the damaged file's
    EXPECT_EQ(ShownCell(0, CSummaryTableModel::kStudyColumn), "S1");
    EXPECT_EQ(ShownCell(0, CSummaryTableModel::kAnimalColumn), "A1");
    EXPECT_EQ(ShownCell(0, CSummaryTableModel::kDateColumn), "24/03/01");
    EXPECT_EQ(ShownCell(0, CSummaryTableModel::kReadingsColumn), "2");
    EXPECT_EQ(window->Model().headerData(6, Qt::Horizontal).toString(), "SBP mean");
    EXPECT_EQ(ShownCell(0, 6), "125.0"); // (120 + 130) / 2 mmHg

    ASSERT_EQ(test::NamedChild<QListWidget>(*window, "summaryFailures")->count(), 1);
    EXPECT_TRUE(test::NamedChild<QListWidget>(*window, "summaryFailures")
                    ->item(0)
                    ->text()
                    .startsWith(QString::fromStdString(folder.BadPath())));
    EXPECT_FALSE(test::NamedChild<QListWidget>(*window, "summaryFailures")->isHidden());
    EXPECT_FALSE(window->IsReading());
}

TEST_F(SummaryWindowTest, MarkedSubsetGroupingAndSorting) {
    const std::vector<std::string> marked(folder.Paths().begin(), folder.Paths().begin() + 3);
    Open({marked, true});
    EXPECT_TRUE(
        test::NamedChild<QLabel>(*window, "summaryFiles")->text().contains("3 marked file"));
    EXPECT_EQ(window->Model().rowCount(), 2);
    EXPECT_EQ(test::NamedChild<QListWidget>(*window, "summaryFailures")->count(), 0);
    EXPECT_TRUE(
        test::NamedChild<QListWidget>(*window, "summaryFailures")->parentWidget()->isHidden());

    window->SetGrouping(SummaryGrouping::ByAnimal);
    EXPECT_EQ(ModelCsv(), CoreCsv(marked, ValueSource::Stored, false));
    EXPECT_EQ(window->Model().rowCount(), 1);
    EXPECT_TRUE(window->Table()->isColumnHidden(CSummaryTableModel::kDateColumn));

    // Sorting orders by the numbers, not their texts.
    window->SetGrouping(SummaryGrouping::BySession);
    window->Table()->sortByColumn(6, Qt::DescendingOrder);
    EXPECT_EQ(ShownCell(0, CSummaryTableModel::kDateColumn), "24/03/01");
    window->Table()->sortByColumn(6, Qt::AscendingOrder);
    EXPECT_EQ(ShownCell(0, CSummaryTableModel::kDateColumn), "24/03/02");
}

TEST_F(SummaryWindowTest, SourceChoiceReadsWithThatSourceAndKeepsEachResult) {
    Open({folder.Paths(), false});
    window->SetSource(ValueSource::AnalysisSM);
    EXPECT_TRUE(window->IsReading());
    EXPECT_EQ(window->Result(), nullptr);
    EXPECT_EQ(window->Model().rowCount(), 0);
    WaitShown();
    EXPECT_EQ(window->Result()->source, ValueSource::AnalysisSM);
    EXPECT_EQ(test::NamedChild<QComboBox>(*window, "summarySource")->currentText(), "Analysis S-M");
    EXPECT_EQ(ModelCsv(), CoreCsv(folder.Paths(), ValueSource::AnalysisSM, true));

    window->SetSource(ValueSource::AnalysisS);
    WaitShown();
    EXPECT_EQ(ModelCsv(), CoreCsv(folder.Paths(), ValueSource::AnalysisS, true));

    // A source read before is shown at once.
    window->SetSource(ValueSource::Stored);
    EXPECT_FALSE(window->IsReading());
    EXPECT_EQ(ModelCsv(), CoreCsv(folder.Paths(), ValueSource::Stored, true));
}

TEST_F(SummaryWindowTest, CtrlCCopiesTheSelectionAsTabSeparatedText) {
    Open({folder.Paths(), false});
    QTableView* table = window->Table();
    table->selectionModel()->select(
        QItemSelection(table->model()->index(0, 0), table->model()->index(1, 4)),
        QItemSelectionModel::Select);
    QApplication::clipboard()->clear();
    window->activateWindow();
    table->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Study\tAnimal\tDate\tReadings\tComplete\n"
                                                 "S1\tA1\t24/03/01\t2\t2\n"
                                                 "S1\tA1\t24/03/02\t1\t1\n");
}

TEST_F(SummaryWindowTest, SavedTableIsTheCoreCsv) {
    Open({folder.Paths(), false});
    saveDialog.QueuePath(folder.PathOf("sessions.csv"));
    window->SaveTable();
    EXPECT_EQ(ReadBytes(folder.PathOf("sessions.csv")).toStdString(),
              CoreCsv(folder.Paths(), ValueSource::Stored, true));
    ASSERT_EQ(saveDialog.Requests().size(), 1u);
    EXPECT_EQ(saveDialog.Requests()[0].filters[0].patterns[0], "*.csv");
    // The dialog starts beside the recordings, not in the program's current folder.
    EXPECT_EQ(saveDialog.Requests()[0].suggestedName, folder.PathOf("summary.csv"));

    window->SetGrouping(SummaryGrouping::ByAnimal);
    saveDialog.QueuePath(folder.PathOf("animals.csv"));
    window->SaveTable();
    EXPECT_EQ(ReadBytes(folder.PathOf("animals.csv")).toStdString(),
              CoreCsv(folder.Paths(), ValueSource::Stored, false));

    // Cancel writes nothing; an unwritable target is reported.
    saveDialog.QueueCancel();
    window->SaveTable();
    saveDialog.QueuePath(folder.PathOf("no/such/folder/t.csv"));
    window->SaveTable();
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Save Table");
    EXPECT_EQ(prompts.Shown()[0].icon, MessageIcon::Stop);
}

// The table saved under the workbook's type or name is a workbook; the CSV is offered first.
TEST_F(SummaryWindowTest, SavedTableAsWorkbook) {
    Open({folder.Paths(), false});
    for (const char* name : {"sessions.xlsx", "upper.XLSX"}) {
        saveDialog.QueuePath(folder.PathOf(name));
        window->SaveTable();
        EXPECT_TRUE(ReadBytes(folder.PathOf(name)).startsWith("PK\x03\x04")) << name;
    }
    const std::vector<FileFilter>& filters = saveDialog.Requests().at(0).filters;
    ASSERT_EQ(filters.size(), 2u);
    EXPECT_EQ(filters[0].patterns, std::vector<std::string>{"*.csv"});
    EXPECT_EQ(filters[1].patterns, std::vector<std::string>{"*.xlsx"});
    EXPECT_TRUE(prompts.Shown().empty());
}

// Neither save writes over a file of the list, summarised or not, by any spelling.
TEST_F(SummaryWindowTest, SavesRefuseAFileOfTheList) {
    const std::vector<std::string>& all = folder.Paths();
    Open({{all[0], all[1]}, true, all});
    const std::vector<std::pair<std::string, void (CSummaryWindow::*)()>> saves = {
        {all[3], &CSummaryWindow::SaveTable},
        {folder.PathOf("./a1.001"), &CSummaryWindow::SaveChart},
    };
    for (const auto& [target, save] : saves) {
        const QByteArray before = ReadBytes(target);
        saveDialog.QueuePath(target);
        (window.get()->*save)();
        EXPECT_EQ(ReadBytes(target), before) << target;
    }
    ASSERT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Save Table");
    EXPECT_EQ(prompts.Shown()[1].caption, "Save Chart");
    EXPECT_NE(prompts.Shown()[0].text.find("is one of the files in the list"), std::string::npos);
}

// The window's saved table has the bytes the batch tool writes for the same files.
TEST_F(SummaryWindowTest, SavedTableEqualsTheBatchToolsCsv) {
    Open({folder.Paths(), false});
    window->SetSource(ValueSource::AnalysisSM);
    WaitShown();
    saveDialog.QueuePath(folder.PathOf("window.csv"));
    window->SaveTable();

    QStringList arguments = {"summary", "--format", "csv", "--analysis", "sm"};
    for (const std::string& path : folder.Paths())
        arguments << QString::fromStdString(path);
    QProcess cli;
    cli.start(QStringLiteral(MIRADO_CLI_PATH), arguments);
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 1); // the damaged file
    EXPECT_EQ(cli.readAllStandardOutput(), ReadBytes(folder.PathOf("window.csv")));
}

TEST_F(SummaryWindowTest, ChartsShowTheChosenAnimalAndMeasureAndSaveWhatIsShown) {
    Open({folder.Paths(), false});
    ASSERT_GE(test::NamedChild<QComboBox>(*window, "summaryAnimal")->count(), 2);
    test::NamedChild<QComboBox>(*window, "summaryAnimal")
        ->setCurrentIndex(
            test::NamedChild<QComboBox>(*window, "summaryAnimal")->findText("S1 / B2"));
    QCustomPlot* animal = test::NamedChild<QCustomPlot>(*window, "summaryAnimalPlot");
    ASSERT_EQ(animal->graphCount(), 4);
    EXPECT_EQ(animal->graph(0)->dataCount(), 2); // B2 on two days

    test::NamedChild<QComboBox>(*window, "summaryMeasure")->setCurrentIndex(3); // HR
    QCustomPlot* all = test::NamedChild<QCustomPlot>(*window, "summaryAllAnimalsPlot");
    EXPECT_EQ(all->graph(0)->name(), "S1 / A1");
    EXPECT_EQ(all->graph(0)->valueAxis()->label(), "Heart rate (beats/min)");

    test::NamedChild<QTabWidget>(*window, "summaryTabs")
        ->setCurrentIndex(CSummaryWindow::kAllAnimalsTab);
    EXPECT_EQ(window->ChartOptions().kind, SummaryChartKind::AllAnimals);
    EXPECT_EQ(window->ChartOptions().measure, SummaryMeasure::Hr);
    saveDialog.QueuePath(folder.PathOf("all.svg"));
    window->SaveChart();
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString(folder.PathOf("all.svg"))).isValid());

    test::NamedChild<QTabWidget>(*window, "summaryTabs")
        ->setCurrentIndex(CSummaryWindow::kTableTab);
    EXPECT_EQ(window->ChartOptions().kind, SummaryChartKind::Animal);
    EXPECT_EQ(window->ChartOptions().animalNo, "B2");
    saveDialog.QueuePath(folder.PathOf("b2.pdf"));
    window->SaveChart();
    EXPECT_TRUE(ReadBytes(folder.PathOf("b2.pdf")).startsWith("%PDF-"));
    saveDialog.QueuePath(folder.PathOf("b2.png"));
    window->SaveChart();
    EXPECT_FALSE(QImage(QString::fromStdString(folder.PathOf("b2.png"))).isNull());
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(SummaryWindowTest, ChartControlsRedrawTheChartsAndSizeTheSavedOne) {
    Open({folder.Paths(), false});
    QCustomPlot* animal = test::NamedChild<QCustomPlot>(*window, "summaryAnimalPlot");
    QCustomPlot* all = test::NamedChild<QCustomPlot>(*window, "summaryAllAnimalsPlot");
    test::NamedChild<QComboBox>(*window, "chartSessions")->setCurrentIndex(1);
    EXPECT_EQ(animal->xAxis->label(), "Session");
    EXPECT_EQ(all->xAxis->label(), "Session");
    EXPECT_EQ(all->graph(0)->data()->at(1)->key, 2); // the second day is session 2

    test::NamedChild<QCheckBox>(*window, "chartPressureAuto")->setChecked(false);
    test::NamedChild<QDoubleSpinBox>(*window, "chartPressureFrom")->setValue(40);
    test::NamedChild<QDoubleSpinBox>(*window, "chartPressureTo")->setValue(260);
    EXPECT_EQ(animal->yAxis->range(), QCPRange(40, 260));
    test::NamedChild<QCheckBox>(*window, "chartPressureAuto")->setChecked(true);
    EXPECT_NE(animal->yAxis->range(), QCPRange(40, 260));

    // The size on paper is for saving only; the plots on screen keep their fonts.
    EXPECT_FALSE(window->ChartOptions().printSize.has_value());
    test::NamedChild<QComboBox>(*window, "chartSizeMode")->setCurrentIndex(1);
    test::NamedChild<QDoubleSpinBox>(*window, "chartWidthMm")->setValue(85);
    test::NamedChild<QDoubleSpinBox>(*window, "chartHeightMm")->setValue(60);
    test::NamedChild<QSpinBox>(*window, "chartDpi")->setValue(300);
    ASSERT_TRUE(window->ChartOptions().printSize.has_value());
    EXPECT_EQ(window->ChartOptions().sessionAxis, SessionAxis::Numbers);
    saveDialog.QueuePath(folder.PathOf("paper.png"));
    window->SaveChart();
    EXPECT_EQ(QImage(QString::fromStdString(folder.PathOf("paper.png"))).size(), QSize(1004, 709));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(SummaryWindowTest, GroupsEditorWritesTheGroupsFileAndTheTabsFollowIt) {
    Open({folder.Paths(), false});
    QCustomPlot* plot = test::NamedChild<QCustomPlot>(*window, "groupPlot");
    ASSERT_EQ(plot->graphCount(), 1); // every animal in "(none)"
    EXPECT_EQ(plot->graph(0)->name(), "(none)");

    CGroupsEditor* editor = window->EditGroups();
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->isModal());
    EXPECT_EQ(editor->Path(), folder.PathOf("mirado-groups.csv"));
    QTableWidget* grid = test::NamedChild<QTableWidget>(*editor, "groupsGrid");
    ASSERT_EQ(grid->rowCount(), 3); // A1, B2 and the damaged file's S9 / A1
    const std::pair<int, const char*> groups[] = {{0, "vehicle"}, {1, "treated"}, {2, ""}};
    for (const auto& [row, group] : groups)
        grid->item(row, 2)->setText(QString::fromLatin1(group));
    test::NamedChild<QPushButton>(*editor, "groupsSave")->click();
    EXPECT_EQ(ReadBytes(folder.PathOf("mirado-groups.csv")).toStdString(),
              "study_no,animal_no,group\nS1,A1,vehicle\nS1,B2,treated\n");
    EXPECT_TRUE(prompts.Shown().empty());

    // The tabs show the groups at once: each group's line, the comparisons against the first.
    ASSERT_EQ(plot->graphCount(), 2);
    EXPECT_EQ(plot->graph(0)->name(), "vehicle");
    EXPECT_EQ(plot->graph(0)->data()->at(0)->value, 125); // A1 on 24/03/01
    QTableWidget* levels = test::NamedChild<QTableWidget>(*window, "groupLevels");
    EXPECT_EQ(levels->rowCount(), 9); // vehicle, treated, (none) x 3 sessions
    EXPECT_EQ(test::NamedChild<QComboBox>(*window, "statsControl")->currentText(), "vehicle");
    QTableWidget* stats = test::NamedChild<QTableWidget>(*window, "statsTable");
    EXPECT_GT(stats->rowCount(), 0);

    // Change from the first session: every group starts at 0.
    test::NamedChild<QCheckBox>(*window, "groupChange")->setChecked(true);
    EXPECT_EQ(plot->graph(1)->data()->at(0)->value, 0);
    EXPECT_EQ(plot->yAxis->label(), "Change in SBP (mmHg)");

    // The Save Chart command saves the group chart while its tab is shown.
    test::NamedChild<QTabWidget>(*window, "summaryTabs")
        ->setCurrentIndex(CSummaryWindow::kGroupsTab);
    saveDialog.QueuePath(folder.PathOf("groups.svg"));
    window->SaveChart();
    EXPECT_TRUE(ReadBytes(folder.PathOf("groups.svg")).contains("Change in SBP"));

    // A groups file that cannot be written is reported and nothing is claimed saved.
    editor = window->EditGroups();
    QSignalSpy saved(editor, &CGroupsEditor::Saved);
    std::filesystem::remove(folder.PathOf("mirado-groups.csv"));
    std::filesystem::create_directory(folder.PathOf("mirado-groups.csv"));
    EXPECT_FALSE(editor->Save());
    EXPECT_TRUE(saved.isEmpty());
    ASSERT_EQ(prompts.Shown().size(), 1u);
    EXPECT_EQ(prompts.Shown()[0].caption, "Groups");
    editor->close();

    // A groups file that does not read is reported in the tab, and the editor does not
    // open over it (its Save would replace what it never read).
    std::filesystem::remove(folder.PathOf("mirado-groups.csv"));
    {
        std::ofstream bad(folder.PathOf("mirado-groups.csv"));
        bad << "animal,group\nA1,vehicle\n";
    }
    window->Refresh();
    QSignalSpy shown(window.get(), &CSummaryWindow::SummaryShown);
    ASSERT_TRUE(shown.wait(20000));
    QLabel* problems = test::NamedChild<QLabel>(*window, "groupProblems");
    EXPECT_FALSE(problems->isHidden());
    EXPECT_TRUE(problems->text().contains("could not be read"));
    EXPECT_EQ(window->EditGroups(), nullptr);
    EXPECT_EQ(prompts.Shown().size(), 2u);
    EXPECT_EQ(ReadBytes(folder.PathOf("mirado-groups.csv")), "animal,group\nA1,vehicle\n");
}

TEST_F(SummaryWindowTest, EscapeAndCtrlWCloseTheWindow) {
    const std::pair<Qt::Key, Qt::KeyboardModifiers> keys[] = {{Qt::Key_Escape, Qt::NoModifier},
                                                              {Qt::Key_W, Qt::ControlModifier}};
    for (const auto& [key, modifiers] : keys) {
        Open({folder.Paths(), false});
        QPointer<CSummaryWindow> shown = window.release(); // a closed window deletes itself
        shown->show();
        shown->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown.data()));
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                               : shown.data(),
                        key, modifiers);
        EXPECT_FALSE(!shown.isNull() && shown->isVisible()) << "still open after key " << key;
        delete shown.data(); // its deletion waits for an event loop the test does not run
    }
}

// A reader that counts its runs and reads the files as the window's own does.
struct CountingReader {
    std::shared_ptr<std::atomic<int>> runs = std::make_shared<std::atomic<int>>(0);
    SummaryReader Reader() const {
        return [runs = runs](const std::vector<std::string>& paths, ValueSource source,
                             unsigned jobs, const ReadingProgress& progress) {
            ++*runs;
            return ReadRecordings(paths, source, jobs, progress);
        };
    }
};

void RewriteRecording(const std::string& path, const char* animal, const char* date, int sbp) {
    SynthOptions options;
    options.seed = 99;
    options.sbp = sbp;
    options.studyNo = "S1";
    options.animalNo = animal;
    options.date = date;
    const Result<void> written = WriteRecording(path, options);
    ASSERT_TRUE(written.ok()) << written.error();
}

TEST_F(SummaryWindowTest, RefreshReadsTheFilesAgainAndShowsTheOldSummaryMeanwhile) {
    Open({folder.Paths(), false});
    window->SetSource(ValueSource::AnalysisS);
    WaitShown();
    window->SetSource(ValueSource::Stored);
    const std::string before = ModelCsv();
    RewriteRecording(folder.Paths()[3], "B2", "24/03/01", 300);

    QSignalSpy shown(window.get(), &CSummaryWindow::SummaryShown);
    test::NamedChild<QPushButton>(*window, "summaryRefresh")->click();
    EXPECT_TRUE(window->IsReading());
    ASSERT_NE(window->Result(), nullptr) << "the summary read before stays shown";
    EXPECT_EQ(ModelCsv(), before);
    EXPECT_TRUE(shown.isEmpty());
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_FALSE(window->IsReading());
    EXPECT_EQ(ModelCsv(), CoreCsv(folder.Paths(), ValueSource::Stored, true));
    EXPECT_NE(ModelCsv(), before);

    // The other source's kept result was dropped: choosing it reads the files again.
    window->SetSource(ValueSource::AnalysisS);
    EXPECT_TRUE(window->IsReading());
    EXPECT_EQ(window->Result(), nullptr);
    WaitShown();
    EXPECT_EQ(ModelCsv(), CoreCsv(folder.Paths(), ValueSource::AnalysisS, true));
}

TEST_F(SummaryWindowTest, RefreshSoonReadsOnceAfterABurst) {
    const CountingReader counting;
    window = std::make_unique<CSummaryWindow>(SummaryFiles{folder.Paths(), false}, prompts,
                                              saveDialog, 2, nullptr, counting.Reader());
    WaitShown();
    ASSERT_EQ(counting.runs->load(), 1);
    for (int i = 0; i < 5; ++i)
        window->RefreshSoon();
    EXPECT_FALSE(window->IsReading()) << "the refresh waits for the burst to end";
    QSignalSpy shown(window.get(), &CSummaryWindow::SummaryShown);
    ASSERT_TRUE(shown.wait(20000));
    QTest::qWait(CSummaryWindow::kRefreshDelayMs * 2);
    EXPECT_EQ(counting.runs->load(), 2);
    EXPECT_EQ(shown.count(), 1);
}

TEST_F(SummaryWindowTest, SetFilesTellsWhetherTheSummarisedFilesChanged) {
    const std::vector<std::string>& all = folder.Paths();
    Open({{all[0], all[1]}, true, all});
    struct Row {
        SummaryFiles files;
        bool changed;
        const char* label;
    };
    const Row rows[] = {
        {{{all[0], all[1]}, true, all}, false, "2 marked files"},
        {{{all[0], all[1]}, true, {all[0], all[1], all[2]}}, false, "2 marked files"},
        {{{all[0]}, true, all}, true, "one marked file"},
        {{all, false, all}, true, "all 6 files"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(window->SetFiles(row.files), row.changed) << row.label;
        EXPECT_EQ(window->Files().paths, row.files.paths);
        EXPECT_EQ(window->Files().listed, row.files.listed);
        EXPECT_TRUE(test::NamedChild<QLabel>(*window, "summaryFiles")
                        ->text()
                        .contains(QString::fromLatin1(row.label)))
            << row.label;
    }
}

// Whether the window is the application's active one (isActiveWindow also holds for a
// window whose owner is active).
bool IsActive(const QWidget& window) {
    return QTest::qWaitFor([&window] { return QApplication::activeWindow() == &window; }, 2000);
}

// A save dialog that hands the focus to another window, as the desktop's dialog hands it
// to the main window that owns it.
class FocusStealingSaveDialog : public ISaveFileDialog {
public:
    explicit FocusStealingSaveDialog(QWidget& owner) : owner_(owner) {}
    bool RunSave(const SaveFileRequest& request, std::string& path) override {
        requests.push_back(request);
        owner_.activateWindow();
        EXPECT_TRUE(IsActive(owner_));
        path = answer;
        return !answer.empty();
    }
    std::string answer;
    std::vector<SaveFileRequest> requests;

private:
    QWidget& owner_;
};

TEST_F(SummaryWindowTest, SavesStartBesideTheRecordingsAndLeaveTheWindowInFront) {
    QWidget owner;
    owner.show();
    FocusStealingSaveDialog dialog(owner);
    QPointer<CSummaryWindow> shown =
        new CSummaryWindow({folder.Paths(), false}, prompts, dialog, 2, &owner);
    shown->setAttribute(Qt::WA_DeleteOnClose, false);
    shown->show();
    QSignalSpy done(shown.data(), &CSummaryWindow::SummaryShown);
    ASSERT_TRUE(done.wait(20000));
    struct Row {
        void (CSummaryWindow::*save)();
        const char* answer;
        const char* suggested;
    };
    const Row rows[] = {
        {&CSummaryWindow::SaveTable, "t.csv", "summary.csv"},
        {&CSummaryWindow::SaveChart, "c.png", "summary.png"},
        {&CSummaryWindow::SaveChart, "", "summary.png"}, // cancelled
        {&CSummaryWindow::SaveReport, "r.pdf", "exclusion-report.pdf"},
    };
    for (const Row& row : rows) {
        shown->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(shown.data()));
        dialog.answer = *row.answer != 0 ? folder.PathOf(row.answer) : std::string();
        (shown.data()->*row.save)();
        EXPECT_EQ(dialog.requests.back().suggestedName, folder.PathOf(row.suggested));
        EXPECT_TRUE(IsActive(*shown)) << row.suggested << row.answer;
    }
    EXPECT_TRUE(QFile::exists(QString::fromStdString(folder.PathOf("c.png"))));
    EXPECT_TRUE(prompts.Shown().empty());
}

TEST_F(SummaryWindowTest, ClosingWhileReadingCancelsTheRun) {
    std::vector<std::string> many;
    for (int i = 0; i < 100; ++i)
        many.insert(many.end(), folder.Paths().begin(), folder.Paths().end());
    window = std::make_unique<CSummaryWindow>(SummaryFiles{many, false}, prompts, saveDialog, 2);
    EXPECT_TRUE(window->IsReading());
    window.reset(); // the run stops on its own; nothing arrives afterwards
    QCoreApplication::processEvents();
}

// A reader that holds the run until the test lets it go, as a stalled network read does.
struct StalledRead {
    std::mutex mutex;
    std::condition_variable released;
    bool open = false;
    std::atomic<bool> entered{false};
    std::atomic<bool> returned{false};
    std::atomic<bool> toldToGoOn{true};

    void Release() {
        const std::lock_guard<std::mutex> lock(mutex);
        open = true;
        released.notify_all();
    }
};

SummaryReader StalledReader(std::shared_ptr<StalledRead> stall) {
    return [stall](const std::vector<std::string>&, ValueSource, unsigned,
                   const ReadingProgress& progress) {
        stall->entered = true;
        std::unique_lock<std::mutex> lock(stall->mutex);
        stall->released.wait(lock, [&stall] { return stall->open; });
        lock.unlock();
        stall->toldToGoOn = progress(1);
        stall->returned = true;
        return std::vector<Reading>{};
    };
}

TEST_F(SummaryWindowTest, ClosingDuringAStalledReadReturnsAtOnceAndTheReadIsToldToStop) {
    const auto stall = std::make_shared<StalledRead>();
    QPointer<CSummaryWindow> shown = new CSummaryWindow(
        {folder.Paths(), false}, prompts, saveDialog, 2, nullptr, StalledReader(stall));
    shown->show();
    ASSERT_TRUE(QTest::qWaitFor([&stall] { return stall->entered.load(); }, 10000));
    QElapsedTimer closing;
    closing.start();
    shown->close();
    delete shown.data();
    EXPECT_LT(closing.elapsed(), 1000);
    stall->Release();
    ASSERT_TRUE(QTest::qWaitFor([&stall] { return stall->returned.load(); }, 10000));
    EXPECT_FALSE(stall->toldToGoOn);
    QCoreApplication::processEvents(); // nothing arrives for the closed window
}

TEST_F(SummaryWindowTest, AnExceptionWhileReadingIsReportedInTheWindow) {
    window = std::make_unique<CSummaryWindow>(
        SummaryFiles{folder.Paths(), false}, prompts, saveDialog, 2, nullptr,
        [](const std::vector<std::string>&, ValueSource, unsigned,
           const ReadingProgress&) -> std::vector<Reading> {
            throw std::runtime_error("out of memory for the readings");
        });
    const auto* error = window->findChild<QLabel*>(QStringLiteral("summaryRunError"));
    ASSERT_NE(error, nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->IsReading(); }, 10000));
    EXPECT_TRUE(error->isVisible());
    EXPECT_TRUE(error->text().contains(QStringLiteral("out of memory for the readings")));
    EXPECT_EQ(window->Result(), nullptr);
    EXPECT_TRUE(window->findChild<QProgressBar*>()->isHidden());

    // Choosing another source tries again with the same reader; the report stays current.
    window->SetSource(ValueSource::AnalysisS);
    EXPECT_TRUE(window->IsReading());
    EXPECT_TRUE(error->isHidden());
    ASSERT_TRUE(QTest::qWaitFor([this] { return !window->IsReading(); }, 10000));
    EXPECT_TRUE(error->isVisible());
}

// The command in the running program: the marked files, the document left as it was.
class SummaryCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::EnsureQtApp();
        documents = std::make_unique<FixedDocumentsFolder>(folder.PathOf("documents/"));
        AppServices services;
        services.documentsFolder = documents.get();
        services.prompts = &prompts;
        services.saveDialog = &saveDialog;
        app = std::make_unique<CMiradoApp>(services);
        ASSERT_TRUE(app->InitInstance(folder.Paths()));
        prompts.Clear();
    }

    SummaryFolder folder;
    ScriptedUserPrompts prompts;
    ScriptedSaveFileDialog saveDialog;
    std::unique_ptr<FixedDocumentsFolder> documents;
    std::unique_ptr<CMiradoApp> app;
};

TEST_F(SummaryCommandTest, MenusOpenAWindowOverTheMarkedFilesWithoutTouchingTheDocument) {
    CMainFrame& frame = *app->GetMainFrame();
    CMiradoDoc& doc = *app->GetDocument();
    doc.ToggleSelected(1);
    doc.ToggleSelected(5); // the damaged file, never opened by the document
    frame.UpdateCommandStates();
    ASSERT_TRUE(frame.Action(ID_SUMMARY)->isEnabled());
    frame.Action(ID_SUMMARY)->trigger();
    QList<CSummaryWindow*> windows = frame.findChildren<CSummaryWindow*>();
    ASSERT_EQ(windows.size(), 1);
    CSummaryWindow* window = windows[0];
    EXPECT_TRUE(window->isWindow());
    EXPECT_FALSE(window->isModal());
    EXPECT_TRUE(
        test::NamedChild<QLabel>(*window, "summaryFiles")->text().contains("2 marked file"));
    QSignalSpy shown(window, &CSummaryWindow::SummaryShown);
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(test::NamedChild<QListWidget>(*window, "summaryFailures")->count(), 1);
    EXPECT_TRUE(prompts.Shown().empty()); // no message box per failed file

    EXPECT_EQ(doc.GetCurrentIndex(), 0);
    EXPECT_TRUE(doc.IsLoaded());
    EXPECT_FALSE(doc.IsDamagedAt(5));
    EXPECT_EQ(doc.GetCurrentPath(), folder.Paths()[0]);

    // The pop-up's item brings the same window forward, now over every file.
    doc.ClearSelection();
    frame.GetFileList()->SummaryAction()->trigger();
    windows = frame.findChildren<CSummaryWindow*>();
    ASSERT_EQ(windows.size(), 1);
    EXPECT_EQ(windows[0], window);
    EXPECT_TRUE(test::NamedChild<QLabel>(*window, "summaryFiles")->text().contains("all 6 file"));
    EXPECT_TRUE(window->IsReading());
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(window->Model().rowCount(), 5);
    window->close();
}

// The open window follows the marks and the saves of the list; a closed one is gone and
// the command opens a new one.
TEST_F(SummaryCommandTest, TheWindowFollowsTheMarksAndSavesOfTheList) {
    CMainFrame& frame = *app->GetMainFrame();
    CMiradoDoc& doc = *app->GetDocument();
    doc.ToggleSelected(0);
    frame.Action(ID_SUMMARY)->trigger();
    QPointer<CSummaryWindow> window = frame.findChild<CSummaryWindow*>();
    ASSERT_NE(window, nullptr);
    QSignalSpy shown(window.data(), &CSummaryWindow::SummaryShown);
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(window->Model().rowCount(), 1);

    doc.ToggleSelected(3);
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(window->Files().paths,
              (std::vector<std::string>{folder.Paths()[0], folder.Paths()[3]}));
    EXPECT_EQ(window->Model().rowCount(), 2);

    // A save of a summarised file: the window reads the files again.
    doc.MoveMarker({MovableMarker::S, 700});
    const int before = static_cast<int>(shown.count());
    ASSERT_TRUE(doc.SaveCurrentFile());
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(shown.count(), before + 1);

    // A decision on a reading (or another profile) changes what the summary counts: the
    // review tells it, and the window reads again.
    CReviewState& review = frame.findChild<CFrameReview*>()->State();
    const int beforeDecision = static_cast<int>(shown.count());
    emit review.ReadingsReviewed({0});
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_EQ(shown.count(), beforeDecision + 1);

    // The list emptied: the window summarises nothing, and nothing breaks.
    doc.NewDocument();
    ASSERT_TRUE(shown.wait(20000));
    EXPECT_TRUE(window->Files().paths.empty());
    EXPECT_EQ(window->Model().rowCount(), 0);
    EXPECT_EQ(window->EditGroups(), nullptr);

    window->close();
    doc.SetFileList(folder.Paths());
    frame.UpdateCommandStates();
    frame.Action(ID_SUMMARY)->trigger();
    QList<CSummaryWindow*> windows = frame.findChildren<CSummaryWindow*>();
    ASSERT_FALSE(windows.isEmpty());
    EXPECT_NE(windows.back(), window.data());
    EXPECT_TRUE(windows.back()->isVisible());
    windows.back()->close();
}

TEST(SummaryFiles, MarkedFilesOrEveryFile) {
    SummaryFolder folder;
    ScriptedUserPrompts prompts;
    DocumentServices services;
    services.prompts = &prompts;
    CMiradoDoc doc(services);
    const std::vector<std::string> paths(folder.Paths().begin(), folder.Paths().begin() + 3);
    doc.SetFileList(paths);
    doc.OpenFileAt(0);
    EXPECT_FALSE(SummaryFilesOf(doc).marked);
    EXPECT_EQ(SummaryFilesOf(doc).paths, paths);
    doc.ToggleSelected(2);
    doc.ToggleSelected(0);
    const SummaryFiles marked = SummaryFilesOf(doc);
    EXPECT_TRUE(marked.marked);
    EXPECT_EQ(marked.paths, (std::vector<std::string>{paths[0], paths[2]}));
    EXPECT_EQ(marked.listed, paths);
}

} // namespace
} // namespace mirado
