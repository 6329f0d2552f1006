#pragma once
// CReadingsDock: the "Readings" dock beside the file list: the acceptance profile, filters
// by animal, session and status, and the readings table (sortable by any column). A click
// on a row asks for its file to be opened. While the files are read it shows how far the
// reading has come; the rows are there at once.

#include "review/AcceptanceProfile.h"

#include <QDockWidget>
#include <QTimer>

#include <vector>

class QComboBox;
class QLabel;
class QTableView;

namespace mirado {

class CReadingsFilter;
class CReadingsTableModel;
class CReviewState;

class CReadingsDock : public QDockWidget {
    Q_OBJECT
public:
    CReadingsDock(CReviewState& state, QWidget* parent = nullptr);

    CReadingsTableModel& Model() { return *model_; }
    // The profiles offered (presets, then the user's own) and the one chosen.
    void SetProfiles(const std::vector<AcceptanceProfile>& profiles, int chosen);
    // Shows the row of the listed file at index as the current one.
    void SetCurrentRow(int index);
    // Shows only the rows of the reading's session (none: every row).
    void FilterToSessionOf(int index);

signals:
    void OpenRequested(int index);
    void ProfileChosen(int index);

private:
    void FillFilters();
    void ShowProgress();
    void OnFilterChosen();
    QComboBox* AddCombo(const char* label, const char* objectName);

    CReviewState& state_;
    CReadingsTableModel* model_;
    CReadingsFilter* filter_;
    QTableView* table_ = nullptr;
    QComboBox* profileBox_ = nullptr;
    QComboBox* animalBox_ = nullptr;
    QComboBox* sessionBox_ = nullptr;
    QComboBox* statusBox_ = nullptr;
    QLabel* progress_ = nullptr;
    QWidget* bar_ = nullptr;
    QTimer progressTimer_;
};

} // namespace mirado
