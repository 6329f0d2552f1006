#include "summary/SummaryWindow.h"

#include "document/ExportLoop.h"
#include "exchange/Workbook.h"
#include "files/FileAccess.h"
#include "platform/SaveFileDialog.h"
#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"
#include "summary/ChartControls.h"
#include "summary/FrontKeeper.h"
#include "summary/SummaryTableModel.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QShortcut>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace mirado {

namespace {

constexpr int kProgressIntervalMs = 100;
constexpr int kInitialWidth = 1000;
constexpr int kInitialHeight = 680;
constexpr int kFailureListRows = 4;
const char* const kSaveTableCaption = QT_TRANSLATE_NOOP("Mirado", "Save Table");
const char* const kSaveChartCaption = QT_TRANSLATE_NOOP("Mirado", "Save Chart");

// The table is saved as CSV or, by the chosen type or name, as an Excel workbook.
std::vector<FileFilter> TableFileFilters() {
    return {{UiText("CSV file").toStdString(), {"*.csv"}},
            {UiText("Excel workbook").toStdString(), {"*.xlsx"}}};
}

struct SourceChoice {
    const char* text;
    ValueSource source;
};
const SourceChoice kSources[] = {
    {QT_TRANSLATE_NOOP("Mirado", "Stored"), ValueSource::Stored},
    {QT_TRANSLATE_NOOP("Mirado", "Analysis S"), ValueSource::AnalysisS},
    {QT_TRANSLATE_NOOP("Mirado", "Analysis S-M"), ValueSource::AnalysisSM}};

struct MeasureChoice {
    const char* text;
    SummaryMeasure measure;
};
const MeasureChoice kMeasures[] = {{QT_TRANSLATE_NOOP("Mirado", "SBP"), SummaryMeasure::Sbp},
                                   {QT_TRANSLATE_NOOP("Mirado", "MBP"), SummaryMeasure::Mbp},
                                   {QT_TRANSLATE_NOOP("Mirado", "DBP"), SummaryMeasure::Dbp},
                                   {QT_TRANSLATE_NOOP("Mirado", "HR"), SummaryMeasure::Hr}};

QCustomPlot* CreatePlot(QWidget* parent) {
    auto* plot = new QCustomPlot(parent);
    // Zoom and drag along the date axis, for long studies.
    plot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    plot->axisRect()->setRangeDrag(Qt::Horizontal);
    plot->axisRect()->setRangeZoom(Qt::Horizontal);
    return plot;
}

QWidget* LabelledRow(const QString& label, QWidget* field, QWidget* below, QWidget* parent) {
    auto* page = new QWidget(parent);
    auto* layout = new QVBoxLayout(page);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel(label, page));
    row->addWidget(field);
    row->addStretch();
    layout->addLayout(row);
    layout->addWidget(below, 1);
    return page;
}

// The cells of a selection as lines of tab-separated texts over the selected rows and
// columns in the order shown, the column titles first.
QString SelectionText(const QTableView& table) {
    const QModelIndexList selected = table.selectionModel()->selectedIndexes();
    std::set<int> rows, columns;
    for (const QModelIndex& index : selected) {
        rows.insert(index.row());
        columns.insert(table.horizontalHeader()->visualIndex(index.column()));
    }
    const QAbstractItemModel& model = *table.model();
    QStringList lines;
    QStringList titles;
    for (int visual : columns)
        titles << model.headerData(table.horizontalHeader()->logicalIndex(visual), Qt::Horizontal)
                      .toString();
    lines << titles.join(QLatin1Char('\t'));
    for (int row : rows) {
        QStringList cells;
        for (int visual : columns) {
            const QModelIndex index =
                model.index(row, table.horizontalHeader()->logicalIndex(visual));
            cells << (table.selectionModel()->isSelected(index) ? index.data().toString()
                                                                : QString());
        }
        lines << cells.join(QLatin1Char('\t'));
    }
    return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

} // namespace

CSummaryWindow::CSummaryWindow(SummaryFiles files, IUserPrompts& prompts,
                               ISaveFileDialog& saveDialog, unsigned jobs, QWidget* parent,
                               SummaryReader reader)
    : QWidget(parent, Qt::Window), files_(std::move(files)), prompts_(prompts),
      saveDialog_(saveDialog), jobs_(std::max(jobs, 1u)), reader_(std::move(reader)) {
    setWindowTitle(UiText("Study Summary"));
    setAttribute(Qt::WA_DeleteOnClose);
    model_ = new CSummaryTableModel(this);
    progressTimer_ = new QTimer(this);
    progressTimer_->setInterval(kProgressIntervalMs);
    connect(progressTimer_, &QTimer::timeout, this, &CSummaryWindow::ShowProgress);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateControls());
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("summaryTabs"));
    tabs_->addTab(CreateTableTab(), UiText("Table"));
    tabs_->addTab(CreateAnimalTab(), UiText("Animal Chart"));
    tabs_->addTab(CreateAllAnimalsTab(), UiText("All Animals"));
    AddStudyTabs();
    layout->addWidget(tabs_, 1);
    layout->addWidget(CreateChartControls());
    layout->addWidget(CreateFailureList());
    AddCloseKeys();
    resize(kInitialWidth, kInitialHeight);
    StartRun();
}

CSummaryWindow::~CSummaryWindow() = default;

QWidget* CSummaryWindow::CreateControls() {
    auto* box = new QWidget(this);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(0, 0, 0, 0);
    filesLabel_ = new QLabel(box);
    filesLabel_->setObjectName(QStringLiteral("summaryFiles"));
    layout->addWidget(filesLabel_);
    layout->addWidget(CreateProfileLabels(box));

    auto* row = new QHBoxLayout;
    sourceBox_ = new QComboBox(box);
    sourceBox_->setObjectName(QStringLiteral("summarySource"));
    for (const SourceChoice& choice : kSources)
        sourceBox_->addItem(UiText(choice.text));
    groupingBox_ = new QComboBox(box);
    groupingBox_->addItems({UiText("By session"), UiText("By animal")});
    progress_ = new QProgressBar(box);
    runError_ = new QLabel(box);
    runError_->setObjectName(QStringLiteral("summaryRunError"));
    runError_->setWordWrap(true);
    runError_->hide();
    saveTableButton_ = new QPushButton(UiText("Save Table..."), box);
    saveChartButton_ = new QPushButton(UiText("Save Chart..."), box);
    row->addWidget(new QLabel(UiText("Values:"), box));
    row->addWidget(sourceBox_);
    row->addWidget(new QLabel(UiText("Groups:"), box));
    row->addWidget(groupingBox_);
    row->addWidget(progress_, 1);
    row->addWidget(runError_, 1);
    row->addStretch();
    row->addWidget(CreateRefreshButton(box));
    row->addWidget(saveTableButton_);
    row->addWidget(saveChartButton_);
    row->addWidget(CreateSaveReportButton(box));
    layout->addLayout(row);

    connect(sourceBox_, &QComboBox::activated, this,
            [this](int index) { SetSource(kSources[index].source); });
    connect(groupingBox_, &QComboBox::activated, this, [this](int index) {
        SetGrouping(index == 0 ? SummaryGrouping::BySession : SummaryGrouping::ByAnimal);
    });
    connect(saveTableButton_, &QPushButton::clicked, this, &CSummaryWindow::SaveTable);
    connect(saveChartButton_, &QPushButton::clicked, this, &CSummaryWindow::SaveChart);
    ShowFiles();
    return box;
}

QWidget* CSummaryWindow::CreateTableTab() {
    sorter_ = new QSortFilterProxyModel(this);
    sorter_->setSourceModel(model_);
    sorter_->setSortRole(CSummaryTableModel::kSortRole);
    table_ = new QTableView(this);
    table_->setModel(sorter_);
    table_->setSortingEnabled(true);
    table_->sortByColumn(-1, Qt::AscendingOrder); // the summary's own order until a click
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    auto* copy = new QShortcut(QKeySequence::Copy, table_);
    copy->setContext(Qt::WidgetWithChildrenShortcut);
    connect(copy, &QShortcut::activated, this, &CSummaryWindow::CopySelection);
    return table_;
}

QWidget* CSummaryWindow::CreateAnimalTab() {
    animalBox_ = new QComboBox(this);
    animalBox_->setObjectName(QStringLiteral("summaryAnimal"));
    animalBox_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    animalPlot_ = CreatePlot(this);
    animalPlot_->setObjectName(QStringLiteral("summaryAnimalPlot"));
    connect(animalBox_, &QComboBox::currentIndexChanged, this, &CSummaryWindow::DrawAnimalChart);
    return LabelledRow(UiText("Animal (study / animal):"), animalBox_, animalPlot_, this);
}

QWidget* CSummaryWindow::CreateAllAnimalsTab() {
    measureBox_ = new QComboBox(this);
    measureBox_->setObjectName(QStringLiteral("summaryMeasure"));
    for (const MeasureChoice& choice : kMeasures)
        measureBox_->addItem(UiText(choice.text));
    allAnimalsPlot_ = CreatePlot(this);
    allAnimalsPlot_->setObjectName(QStringLiteral("summaryAllAnimalsPlot"));
    connect(measureBox_, &QComboBox::currentIndexChanged, this,
            &CSummaryWindow::DrawAllAnimalsChart);
    return LabelledRow(UiText("Measure:"), measureBox_, allAnimalsPlot_, this);
}

QWidget* CSummaryWindow::CreateFailureList() {
    failureBox_ = new QWidget(this);
    auto* layout = new QVBoxLayout(failureBox_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(
        new QLabel(UiText("Files that could not be read (they count as readings):"), failureBox_));
    failureList_ = new QListWidget(failureBox_);
    failureList_->setObjectName(QStringLiteral("summaryFailures"));
    failureList_->setMaximumHeight(failureList_->fontMetrics().lineSpacing() * kFailureListRows +
                                   2 * failureList_->frameWidth());
    layout->addWidget(failureList_);
    failureBox_->hide();
    return failureBox_;
}

void CSummaryWindow::SetSource(ValueSource source) {
    for (int i = 0; i < static_cast<int>(std::size(kSources)); ++i)
        if (kSources[i].source == source)
            sourceBox_->setCurrentIndex(i);
    if (source == source_ && (run_ != nullptr || results_.count(source) != 0))
        return;
    source_ = source;
    StopRun();
    if (results_.count(source) != 0)
        ShowResult();
    else
        StartRun();
}

void CSummaryWindow::SetGrouping(SummaryGrouping grouping) {
    groupingBox_->setCurrentIndex(grouping == SummaryGrouping::BySession ? 0 : 1);
    grouping_ = grouping;
    ShowTable();
}

void CSummaryWindow::StartRun() {
    // A run for another source is given up (its thread stops on its own; nobody waits).
    run_ = std::make_unique<CSummaryRun>(files_.paths, source_, jobs_, files_.profile, reader_);
    connect(run_.get(), &CSummaryRun::Finished, this, &CSummaryWindow::OnRunFinished);
    connect(run_.get(), &CSummaryRun::Failed, this, &CSummaryWindow::OnRunFailed);
    runError_->hide();
    progress_->setValue(0);
    progress_->setFormat(UiText("Reading files: %v of %m"));
    progress_->show();
    progressTimer_->start();
    if (previous_ == nullptr)
        ShowResult();
}

void CSummaryWindow::StopRun() {
    run_.reset();
    previous_.reset();
    progressTimer_->stop();
    progress_->hide();
}

void CSummaryWindow::ShowProgress() {
    if (run_ != nullptr)
        progress_->setValue(static_cast<int>(run_->Done()));
}

void CSummaryWindow::OnRunFinished(const SummaryResult& result) {
    results_[result.source] = result;
    EndRun();
    ShowResult();
}

// The summary is not shown; choosing the source again tries once more.
void CSummaryWindow::OnRunFailed(const QString& message) {
    EndRun();
    runError_->setText(UiText("The files could not be summarised: %1").arg(message));
    runError_->show();
    ShowResult();
}

void CSummaryWindow::EndRun() {
    // Deleted later: this runs inside the run's own signal.
    run_.release()->deleteLater();
    StopRun();
}

const SummaryResult* CSummaryWindow::Result() const {
    if (run_ != nullptr)
        return previous_.get();
    const auto it = results_.find(source_);
    return it == results_.end() ? nullptr : &it->second;
}

void CSummaryWindow::ShowResult() {
    ShowTable();
    ShowFailures();
    ShowReviewWarnings();
    FillAnimalBox();
    DrawAllAnimalsChart();
    ShowStudy();
    UpdateButtons();
    if (Result() != nullptr)
        emit SummaryShown();
}

void CSummaryWindow::ShowTable() {
    const SummaryResult* result = Result();
    std::vector<SummaryRow> rows;
    if (result != nullptr)
        rows = grouping_ == SummaryGrouping::BySession ? result->summary.sessions
                                                       : result->summary.animals;
    model_->SetRows(std::move(rows));
    table_->setColumnHidden(CSummaryTableModel::kDateColumn,
                            grouping_ == SummaryGrouping::ByAnimal);
    table_->resizeColumnsToContents();
}

void CSummaryWindow::ShowFailures() {
    failureList_->clear();
    const SummaryResult* result = Result();
    if (result != nullptr)
        for (const FailedReading& failure : result->failures)
            failureList_->addItem(QString::fromStdString(failure.path + "  " + failure.error));
    failureBox_->setVisible(failureList_->count() > 0);
}

void CSummaryWindow::FillAnimalBox() {
    const SummaryResult* result = Result();
    const QString chosen = animalBox_->currentText();
    animals_ = result != nullptr ? SummaryAnimals(result->summary) : std::vector<SummaryAnimal>{};
    const QSignalBlocker block(animalBox_);
    animalBox_->clear();
    for (const SummaryAnimal& animal : animals_)
        animalBox_->addItem(AnimalLabel(animal.studyNo, animal.animalNo));
    // The animal chosen before stays chosen when the source changes.
    animalBox_->setCurrentIndex(std::max(animalBox_->findText(chosen), 0));
    DrawAnimalChart();
}

SummaryChartOptions CSummaryWindow::AnimalChartOptions() const {
    SummaryChartOptions options;
    options.kind = SummaryChartKind::Animal;
    chartControls_->ApplyTo(options, false);
    const int index = animalBox_->currentIndex();
    if (index >= 0 && index < static_cast<int>(animals_.size())) {
        options.studyNo = animals_[static_cast<size_t>(index)].studyNo;
        options.animalNo = animals_[static_cast<size_t>(index)].animalNo;
    }
    return options;
}

SummaryChartOptions CSummaryWindow::AllAnimalsChartOptions() const {
    SummaryChartOptions options;
    options.kind = SummaryChartKind::AllAnimals;
    chartControls_->ApplyTo(options, false);
    options.measure = kMeasures[std::max(measureBox_->currentIndex(), 0)].measure;
    return options;
}

SummaryChartOptions CSummaryWindow::ChartOptions() const {
    SummaryChartOptions options =
        tabs_->currentIndex() == kAllAnimalsTab ? AllAnimalsChartOptions() : AnimalChartOptions();
    chartControls_->ApplyTo(options, true);
    return options;
}

void CSummaryWindow::DrawChart(QCustomPlot& plot, const SummaryChartOptions& options) {
    const SummaryResult* result = Result();
    BuildSummaryChart(plot, result != nullptr ? result->summary : StudySummary{}, options);
    plot.replot();
}

void CSummaryWindow::DrawAnimalChart() {
    DrawChart(*animalPlot_, AnimalChartOptions());
}

void CSummaryWindow::DrawAllAnimalsChart() {
    DrawChart(*allAnimalsPlot_, AllAnimalsChartOptions());
}

void CSummaryWindow::UpdateButtons() {
    const bool ready = Result() != nullptr;
    saveTableButton_->setEnabled(ready);
    saveChartButton_->setEnabled(ready);
    saveReportButton_->setEnabled(ready);
}

void CSummaryWindow::CopySelection() {
    if (!table_->selectionModel()->hasSelection())
        return;
    QApplication::clipboard()->setText(SelectionText(*table_));
}

void CSummaryWindow::ReportWriteFailure(const char* caption, const std::string& path,
                                        const std::string& error) {
    prompts_.ShowMessage(path + "\n" + error, caption, MessageIcon::Stop, MessageButtons::Ok);
}

// A file name in the folder of the summarised recordings, where the save dialog starts.
std::string CSummaryWindow::BesideRecordings(const std::string& name) const {
    if (files_.paths.empty())
        return name;
    return (std::filesystem::path(files_.paths.front()).parent_path() / name).string();
}

// A save over a file of the list would replace a recording: it is refused, as the text
// export refuses it.
bool CSummaryWindow::RefuseFileOfList(const char* caption, const std::string& path) {
    const auto isPath = [&path](const std::string& file) { return IsSameFile(path, file); };
    if (std::none_of(files_.listed.begin(), files_.listed.end(), isPath) &&
        std::none_of(files_.paths.begin(), files_.paths.end(), isPath))
        return false;
    prompts_.ShowMessage(FileOfListText(path, prompts_.Translated(kFileOfListFormat)), caption,
                         MessageIcon::Stop, MessageButtons::Ok);
    return true;
}

void CSummaryWindow::SaveTable() {
    const SummaryResult* result = Result();
    if (result == nullptr)
        return;
    // Taken before the dialog: a refresh may replace the result while it is open.
    const std::string csv =
        SummaryCsv(grouping_ == SummaryGrouping::BySession ? result->summary.sessions
                                                           : result->summary.animals);
    const CFrontKeeper front(*this);
    SaveFileRequest request;
    request.title = UiText(kSaveTableCaption).toStdString();
    request.filters = TableFileFilters();
    request.suggestedName = BesideRecordings("summary.csv");
    std::string path;
    if (!saveDialog_.RunSave(request, path) || RefuseFileOfList(kSaveTableCaption, path))
        return;
    if (const auto written = WriteTableFile(
            path, grouping_ == SummaryGrouping::BySession ? "sessions" : "animals", csv);
        !written.ok())
        ReportWriteFailure(kSaveTableCaption, path, written.error());
}

void CSummaryWindow::SaveChart() {
    const SummaryResult* result = Result();
    if (result == nullptr)
        return;
    // Taken before the dialog: a refresh may replace the result while it is open.
    const StudySummary summary = result->summary;
    const SummaryChartOptions options = ChartOptions();
    const CFrontKeeper front(*this);
    SaveFileRequest request;
    request.title = UiText(kSaveChartCaption).toStdString();
    request.filters = {{UiText("PNG image").toStdString(), {"*.png"}},
                       {UiText("SVG image").toStdString(), {"*.svg"}},
                       {UiText("PDF document").toStdString(), {"*.pdf"}}};
    request.suggestedName = BesideRecordings("summary.png");
    std::string path;
    if (!saveDialog_.RunSave(request, path) || RefuseFileOfList(kSaveChartCaption, path) ||
        SaveShownGroupChart(path))
        return;
    if (const auto saved = SaveSummaryChart(summary, options, path); !saved.ok())
        ReportWriteFailure(kSaveChartCaption, path, saved.error());
}

} // namespace mirado
