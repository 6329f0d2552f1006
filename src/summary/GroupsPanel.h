#pragma once
// CGroupsPanel: the summary window's "Groups" tab. For the chosen measure, each group's
// mean ± SEM per session as a chart (thin lines per animal when asked) and as a table
// (group, date, n, mean, SD, SEM, min, max), of the values or of their change from the
// chosen baseline session (animals without a baseline value listed below). "Groups..."
// asks the window to open the groups editor.

#include "charts/GroupChart.h"

#include <QWidget>

#include <optional>

class QCheckBox;
class QComboBox;
class QCustomPlot;
class QLabel;
class QPushButton;
class QTableWidget;

namespace mirado {

class CGroupsPanel : public QWidget {
    Q_OBJECT
public:
    explicit CGroupsPanel(QWidget* parent = nullptr);

    // Shows the study (none: an empty chart and table), drawn with the axis choices of
    // chartOptions.
    void SetStudy(std::optional<StudyData> study);
    void SetChartOptions(const GroupChartOptions& options);
    // What went wrong with the groups file (rows skipped, or the file unreadable); empty
    // hides the note.
    void SetProblems(const QString& text);
    // The chart shown, as data and options (the animal lines as chosen).
    const GroupChartData& ChartData() const { return chartData_; }
    GroupChartOptions ChartOptions() const;

signals:
    void EditGroupsRequested();

private:
    QWidget* CreateControls();
    void FillBaselines();
    void Redraw();
    void FillTable(const std::vector<GroupLevels>& rows);

    std::optional<StudyData> study_;
    GroupChartOptions chartOptions_;
    GroupChartData chartData_;
    QComboBox* measure_ = nullptr;
    QCheckBox* change_ = nullptr;
    QComboBox* baseline_ = nullptr;
    QCheckBox* animals_ = nullptr;
    QCustomPlot* plot_ = nullptr;
    QTableWidget* table_ = nullptr;
    QLabel* leftOut_ = nullptr;
    QLabel* problems_ = nullptr;
};

} // namespace mirado
