#pragma once
// CStatisticsPanel: the summary window's "Statistics" tab. For each measure the two-way
// mixed ANOVA (group between animals, session within; with one group the one-way
// repeated-measures ANOVA) with its sphericity corrections and generalised eta squared,
// then each group against the chosen control group per session (Welch's t, Holm-adjusted
// p), over the animals' session means; the animals left out of an ANOVA are listed.

#include "stats/StudyStatistics.h"

#include <QString>
#include <QWidget>

#include <optional>

class QComboBox;
class QLabel;
class QTableWidget;

namespace mirado {

class CStatisticsPanel : public QWidget {
    Q_OBJECT
public:
    explicit CStatisticsPanel(QWidget* parent = nullptr);
    void SetStudy(std::optional<StudyData> study);
    const std::optional<StudyData>& Study() const { return study_; }
    // The chosen control group's index in the study's groups.
    size_t Control() const;

private:
    void FillControls();
    void ShowTests();

    std::optional<StudyData> study_;
    QComboBox* control_ = nullptr;
    QString chosenControl_; // empty until the user chooses
    QTableWidget* table_ = nullptr;
    QLabel* leftOut_ = nullptr;
};

} // namespace mirado
