#pragma once
// CSummaryWindow: the viewer's study summary of a set of files, in a window of its own
// beside the main window (not modal). The window reads the files itself, on a worker
// thread with a progress bar, so neither the document (its current file, unsaved edits,
// display switches, the list's damage marks) nor the user's work in the main window is
// touched or held up; closing the window cancels the reading without waiting for it. A
// reading that fails as a whole is reported in the window where the progress bar was.
//
// It shows the summary for the value source chosen in the window (Stored, Analysis S,
// Analysis S-M; each source's result is kept once read) grouped by session or by animal:
// a sortable table whose selection Ctrl+C copies as tab-separated text, the chart of one
// animal, and the chart of every animal's chosen measure. Files that failed to load are
// listed below. The table is saved as the summary's CSV, the chart shown (or the
// animal's chart while the table is shown) as PNG, SVG or PDF, through the save dialog
// interface; failures are reported through the message box interface. The save dialogs
// start in the recordings' folder, and the window comes back to the front after them.
//
// The window reads its files again on the Refresh button, and a short while after
// RefreshSoon (the program calls it when a listed file was saved, reverted or decided on,
// or the marks changed; calls in a burst give one reading). While it reads again the
// summary read before stays shown. Escape and Ctrl+W close it.
//
// The readings are reviewed under the acceptance profile the files name (the main
// window's choice) and the review logs' decisions by hand, and every statistic is taken
// over the accepted readings only; the profile's name is shown. "Save Report..." writes
// the exclusion report as PDF, CSV or JSON Lines.

#include "charts/SummaryChart.h"
#include "summary/SummaryRun.h"

#include <QWidget>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QCustomPlot;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTableView;
class QTimer;

namespace mirado {

class CChartControls;
class CGroupsEditor;
class CGroupsPanel;
class CStatisticsPanel;
class CSummaryTableModel;
class ISaveFileDialog;
class IUserPrompts;

// The files a summary reads: the marked files of the list, or every file when none is
// marked.
struct SummaryFiles {
    std::vector<std::string> paths;
    bool marked = false; // the paths are the marked files
    // Every file of the list: the window's saves never write over one of them.
    std::vector<std::string> listed = {};
    // The acceptance profile the readings are reviewed under, and why the one the
    // settings name was not found (the default profile is used then).
    AcceptanceProfile profile = DefaultProfile();
    std::string profileProblem = {};
};

enum class SummaryGrouping { BySession, ByAnimal };

class CSummaryWindow : public QWidget {
    Q_OBJECT
public:
    enum Tab { kTableTab, kAnimalTab, kAllAnimalsTab, kGroupsTab, kStatisticsTab };

    CSummaryWindow(SummaryFiles files, IUserPrompts& prompts, ISaveFileDialog& saveDialog,
                   unsigned jobs, QWidget* parent = nullptr, SummaryReader reader = ReadRecordings);
    ~CSummaryWindow() override;

    void SetSource(ValueSource source);
    void SetGrouping(SummaryGrouping grouping);
    // Copies the table's selected cells as tab-separated lines, the column titles first.
    void CopySelection();
    // Asks for a file and writes the table of the current grouping as the summary's CSV
    // or, by the chosen type or name, as an Excel workbook.
    void SaveTable();
    // Asks for a file and draws the chart shown (PNG, SVG or PDF by its extension).
    void SaveChart();
    // Asks for a file and writes the exclusion report: PDF, JSON Lines (.json, .jsonl) or
    // CSV (any other name) by its extension.
    void SaveReport();

    // Reads the files again now, for the source shown; the results kept for the other
    // sources are dropped (they are read again when chosen).
    void Refresh();
    // Refresh after kRefreshDelayMs; every call restarts the wait.
    void RefreshSoon();
    static constexpr int kRefreshDelayMs = 400;
    // Takes these files instead; true when the files summarised or the profile changed
    // (the caller refreshes then), false when they are the same.
    bool SetFiles(SummaryFiles files);
    const SummaryFiles& Files() const { return files_; }
    // Shows the window, unminimised, above the others and active.
    void BringForward();
    // Opens the groups editor over the animals of the summary shown (null without one).
    CGroupsEditor* EditGroups();

    // The chart the Save Chart command draws.
    SummaryChartOptions ChartOptions() const;
    bool IsReading() const { return run_ != nullptr; }
    // The result shown; null while the chosen source is being read for the first time.
    const SummaryResult* Result() const;

    QTableView* Table() const { return table_; }
    CSummaryTableModel& Model() const { return *model_; }

signals:
    // A summary is shown (after a run or from the kept results).
    void SummaryShown();

private:
    QWidget* CreateControls();
    QWidget* CreateTableTab();
    QWidget* CreateAnimalTab();
    QWidget* CreateAllAnimalsTab();
    QWidget* CreateFailureList();
    QWidget* CreateChartControls();
    void AddStudyTabs();
    void ShowStudy();
    void DrawGroupChart();
    bool SaveShownGroupChart(const std::string& path);
    QPushButton* CreateRefreshButton(QWidget* parent);
    void AddCloseKeys();
    void ShowFiles();
    QWidget* CreateProfileLabels(QWidget* parent);
    QPushButton* CreateSaveReportButton(QWidget* parent);
    void ShowReviewWarnings();
    std::string BesideRecordings(const std::string& name) const;
    void StartRun();
    void StopRun();
    void ShowProgress();
    void OnRunFinished(const SummaryResult& result);
    void OnRunFailed(const QString& message);
    void EndRun();
    void ShowResult();
    void ShowTable();
    void ShowFailures();
    void FillAnimalBox();
    SummaryChartOptions AnimalChartOptions() const;
    SummaryChartOptions AllAnimalsChartOptions() const;
    void DrawChart(QCustomPlot& plot, const SummaryChartOptions& options);
    void DrawAnimalChart();
    void DrawAllAnimalsChart();
    void UpdateButtons();
    void ReportWriteFailure(const char* caption, const std::string& path, const std::string& error);
    bool RefuseFileOfList(const char* caption, const std::string& path);

    SummaryFiles files_;
    IUserPrompts& prompts_;
    ISaveFileDialog& saveDialog_;
    const unsigned jobs_;
    const SummaryReader reader_;
    ValueSource source_ = ValueSource::Stored;
    SummaryGrouping grouping_ = SummaryGrouping::BySession;
    std::map<ValueSource, SummaryResult> results_;
    std::unique_ptr<CSummaryRun> run_;
    // While a refresh reads, the summary read before, shown until the new one comes.
    std::unique_ptr<SummaryResult> previous_;
    std::vector<SummaryAnimal> animals_;

    QLabel* filesLabel_ = nullptr;
    QComboBox* sourceBox_ = nullptr;
    QComboBox* groupingBox_ = nullptr;
    QPushButton* saveTableButton_ = nullptr;
    QPushButton* saveChartButton_ = nullptr;
    QPushButton* saveReportButton_ = nullptr;
    QLabel* reviewWarnings_ = nullptr; // the profile not found, review log lines skipped
    QProgressBar* progress_ = nullptr;
    QLabel* runError_ = nullptr; // why the last run gave no summary
    QTimer* progressTimer_ = nullptr;
    QTimer* refreshTimer_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    CSummaryTableModel* model_ = nullptr;
    QSortFilterProxyModel* sorter_ = nullptr;
    QTableView* table_ = nullptr;
    QComboBox* animalBox_ = nullptr;
    QComboBox* measureBox_ = nullptr;
    QCustomPlot* animalPlot_ = nullptr;
    QCustomPlot* allAnimalsPlot_ = nullptr;
    CChartControls* chartControls_ = nullptr;
    CGroupsPanel* groupsPanel_ = nullptr;
    CStatisticsPanel* statisticsPanel_ = nullptr;
    bool studyHasGroupsFile_ = false; // a groups table beside the recordings was read
    QWidget* failureBox_ = nullptr;
    QListWidget* failureList_ = nullptr;
};

} // namespace mirado
