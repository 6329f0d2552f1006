#pragma once
// CSessionPane: the dock for the current reading's session (study, animal, date): how
// many of its readings took each status, decisions by hand counted apart, and the mean,
// SD, SEM and CV of the accepted readings' SBP, MBP, DBP and HR. It follows every decision
// and profile change of its session.

#include <QDockWidget>

#include <vector>

class QLabel;
class QTableWidget;

namespace mirado {

class CReviewState;
struct SessionReview;

class CSessionPane : public QDockWidget {
    Q_OBJECT
public:
    CSessionPane(CReviewState& state, QWidget* parent = nullptr);

    // Shows the session of the listed file at index (none while it joins none).
    void ShowSessionOf(int index);
    // Shows it again when one of these readings is in the session shown.
    void OnReviewed(const std::vector<size_t>& indices);

private:
    void Refresh();
    void ShowCounts(const SessionReview& session);
    void ShowStatistics(const SessionReview& session);

    CReviewState& state_;
    int index_ = -1;
    QLabel* title_ = nullptr;
    QTableWidget* counts_ = nullptr;
    QTableWidget* statistics_ = nullptr;
};

} // namespace mirado
