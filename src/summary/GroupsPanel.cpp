#include "summary/GroupsPanel.h"

#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <qcustomplot.h>

#include <cmath>

namespace mirado {

namespace {

const char* const kMeasureTexts[] = {
    QT_TRANSLATE_NOOP("Mirado", "SBP"), QT_TRANSLATE_NOOP("Mirado", "MBP"),
    QT_TRANSLATE_NOOP("Mirado", "DBP"), QT_TRANSLATE_NOOP("Mirado", "HR")};

QString Number(double value) {
    return std::isfinite(value) ? QString::number(value, 'f', 1) : QString();
}

} // namespace

CGroupsPanel::CGroupsPanel(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(CreateControls());
    auto* split = new QSplitter(Qt::Vertical, this);
    plot_ = new QCustomPlot(split);
    plot_->setObjectName(QStringLiteral("groupPlot"));
    table_ = new QTableWidget(split);
    table_->setObjectName(QStringLiteral("groupLevels"));
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->verticalHeader()->setVisible(false);
    split->addWidget(plot_);
    split->addWidget(table_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);
    layout->addWidget(split, 1);
    leftOut_ = new QLabel(this);
    leftOut_->setObjectName(QStringLiteral("groupLeftOut"));
    leftOut_->setWordWrap(true);
    leftOut_->hide();
    layout->addWidget(leftOut_);
    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("groupProblems"));
    problems_->setWordWrap(true);
    problems_->hide();
    layout->addWidget(problems_);
    Redraw();
}

QWidget* CGroupsPanel::CreateControls() {
    auto* box = new QWidget(this);
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    measure_ = new QComboBox(box);
    measure_->setObjectName(QStringLiteral("groupMeasure"));
    for (const char* text : kMeasureTexts)
        measure_->addItem(UiText(text));
    change_ = new QCheckBox(UiText("Change from baseline:"), box);
    change_->setObjectName(QStringLiteral("groupChange"));
    baseline_ = new QComboBox(box);
    baseline_->setObjectName(QStringLiteral("groupBaseline"));
    animals_ = new QCheckBox(UiText("Each animal"), box);
    animals_->setObjectName(QStringLiteral("groupAnimals"));
    auto* edit = new QPushButton(UiText("Groups..."), box);
    edit->setObjectName(QStringLiteral("groupsEdit"));
    row->addWidget(new QLabel(UiText("Measure:"), box));
    row->addWidget(measure_);
    row->addWidget(change_);
    row->addWidget(baseline_);
    row->addWidget(animals_);
    row->addStretch();
    row->addWidget(edit);
    connect(measure_, &QComboBox::currentIndexChanged, this, &CGroupsPanel::Redraw);
    connect(change_, &QCheckBox::toggled, this, &CGroupsPanel::Redraw);
    connect(baseline_, &QComboBox::currentIndexChanged, this, &CGroupsPanel::Redraw);
    connect(animals_, &QCheckBox::toggled, this, &CGroupsPanel::Redraw);
    connect(edit, &QPushButton::clicked, this, &CGroupsPanel::EditGroupsRequested);
    return box;
}

void CGroupsPanel::SetStudy(std::optional<StudyData> study) {
    study_ = std::move(study);
    FillBaselines();
    Redraw();
}

void CGroupsPanel::SetProblems(const QString& text) {
    problems_->setText(text);
    problems_->setVisible(!text.isEmpty());
}

void CGroupsPanel::SetChartOptions(const GroupChartOptions& options) {
    chartOptions_ = options;
    Redraw();
}

GroupChartOptions CGroupsPanel::ChartOptions() const {
    GroupChartOptions options = chartOptions_;
    options.showAnimals = animals_->isChecked();
    return options;
}

// The sessions to choose the baseline from; the one chosen before stays chosen.
void CGroupsPanel::FillBaselines() {
    const QString chosen = baseline_->currentText();
    const QSignalBlocker block(baseline_);
    baseline_->clear();
    if (study_)
        for (const StudySession& session : study_->sessions)
            baseline_->addItem(QString::fromStdString(Cp932ToUtf8(session.date)));
    baseline_->setCurrentIndex(std::max(baseline_->findText(chosen), 0));
}

void CGroupsPanel::Redraw() {
    const auto measure = static_cast<Measure>(std::max(measure_->currentIndex(), 0));
    std::vector<GroupLevels> rows;
    std::optional<size_t> baseline;
    QStringList leftOut;
    if (study_) {
        rows = ComputeLevels(*study_);
        if (change_->isChecked() && baseline_->currentIndex() >= 0 && !study_->sessions.empty()) {
            baseline = static_cast<size_t>(baseline_->currentIndex());
            ChangeFromBaseline change = ComputeChangeFromBaseline(*study_, *baseline);
            rows = std::move(change.rows);
            for (const LeftOutAnimal& animal : change.leftOut)
                if (animal.measure == measure)
                    leftOut << QString::fromStdString(
                        Cp932ToUtf8(study_->animals[animal.animal].animal.studyNo) + " / " +
                        Cp932ToUtf8(study_->animals[animal.animal].animal.animalNo));
        }
    }
    chartData_ = study_ ? GroupChartFromStudy(*study_, rows, measure, baseline) : GroupChartData{};
    if (!study_)
        chartData_.measure = kMeasureTexts[static_cast<size_t>(measure)];
    BuildGroupChart(*plot_, chartData_, ChartOptions());
    plot_->replot();
    FillTable(rows);
    leftOut_->setText(UiText("Left out, no value in the baseline session: %1")
                          .arg(leftOut.join(QStringLiteral(", "))));
    leftOut_->setVisible(!leftOut.isEmpty());
}

void CGroupsPanel::FillTable(const std::vector<GroupLevels>& rows) {
    const size_t m = static_cast<size_t>(std::max(measure_->currentIndex(), 0));
    table_->clear();
    table_->setColumnCount(8);
    table_->setHorizontalHeaderLabels({UiText("Group"), UiText("Date"), QStringLiteral("n"),
                                       UiText("Mean"), UiText("SD"), UiText("SEM"), UiText("Min"),
                                       UiText("Max")});
    table_->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const GroupLevels& row = rows[static_cast<size_t>(r)];
        const LevelStatistic& s = row.measures[m];
        const QStringList cells = {
            QString::fromStdString(study_->groups[row.group]),
            QString::fromStdString(Cp932ToUtf8(study_->sessions[row.session].date)),
            QString::number(s.n),
            Number(s.mean),
            Number(s.sd),
            Number(s.sem),
            Number(s.min),
            Number(s.max)};
        for (int c = 0; c < cells.size(); ++c)
            table_->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    table_->resizeColumnsToContents();
}

} // namespace mirado
