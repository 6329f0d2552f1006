#include "reviewui/SessionPane.h"

#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"
#include "reviewui/ReviewState.h"
#include "reviewui/ReviewTexts.h"

#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace mirado {

namespace {

constexpr int kStatisticColumns = 5; // n, mean, SD, SEM, CV
constexpr int kValueRows = 4;        // SBP, MBP, DBP, HR

QTableWidget* NewTable(int rows, int columns, const char* objectName, QWidget* parent) {
    auto* table = new QTableWidget(rows, columns, parent);
    table->setObjectName(QString::fromLatin1(objectName));
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    return table;
}

void SetCell(QTableWidget& table, int row, int column, const QString& text) {
    auto* item = table.item(row, column);
    if (item == nullptr) {
        item = new QTableWidgetItem;
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
        table.setItem(row, column, item);
    }
    item->setText(text);
}

QString Number(const std::optional<double>& value, int decimals) {
    return value ? QString::number(*value, 'f', decimals) : QStringLiteral("-");
}

// Readings of the session decided by hand with the status.
int ManualCount(const CReviewState& state, const SessionReview& session, ReadingStatus status) {
    const auto& readings = state.Review().readings;
    return static_cast<int>(std::count_if(
        session.readings.begin(), session.readings.end(), [&readings, status](size_t i) {
            return readings[i].manual && readings[i].status == status;
        }));
}

} // namespace

CSessionPane::CSessionPane(CReviewState& state, QWidget* parent)
    : QDockWidget(UiText("Session"), parent), state_(state) {
    setObjectName(QStringLiteral("sessionDock"));
    auto* body = new QWidget(this);
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    title_ = new QLabel(body);
    title_->setObjectName(QStringLiteral("sessionTitle"));
    layout->addWidget(title_);

    counts_ = NewTable(static_cast<int>(kReadingStatusCount) + 1, 2, "sessionCounts", body);
    counts_->setHorizontalHeaderLabels({UiText("Readings"), UiText("of them by hand")});
    QStringList statuses{UiText("Recorded")};
    for (size_t s = 0; s < kReadingStatusCount; ++s)
        statuses << StatusText(static_cast<ReadingStatus>(s));
    counts_->setVerticalHeaderLabels(statuses);
    layout->addWidget(counts_, 3);

    statistics_ = NewTable(kValueRows, kStatisticColumns, "sessionStatistics", body);
    statistics_->setHorizontalHeaderLabels({QStringLiteral("n"), UiText("Mean"),
                                            QStringLiteral("SD"), QStringLiteral("SEM"),
                                            QStringLiteral("CV %")});
    statistics_->setVerticalHeaderLabels({QStringLiteral("SBP"), QStringLiteral("MBP"),
                                          QStringLiteral("DBP"), QStringLiteral("HR")});
    layout->addWidget(statistics_, 2);
    setWidget(body);
    connect(&state_, &CReviewState::ReadingsReviewed, this, &CSessionPane::OnReviewed);
    connect(&state_, &CReviewState::FilesSet, this, &CSessionPane::Refresh);
    connect(&state_, &CReviewState::Filled, this, &CSessionPane::Refresh);
    Refresh();
}

void CSessionPane::ShowSessionOf(int index) {
    index_ = index;
    Refresh();
}

void CSessionPane::OnReviewed(const std::vector<size_t>& indices) {
    if (index_ >= 0 &&
        std::find(indices.begin(), indices.end(), static_cast<size_t>(index_)) != indices.end())
        Refresh();
}

void CSessionPane::Refresh() {
    const SessionReview* session =
        index_ >= 0 ? state_.SessionOf(static_cast<size_t>(index_)) : nullptr;
    if (session == nullptr) {
        title_->setText(state_.IsFilled() ? UiText("This reading joins no session.")
                                          : UiText("Reading the files..."));
        counts_->clearContents();
        statistics_->clearContents();
        return;
    }
    title_->setText(UiText("Study %1, animal %2, %3")
                        .arg(QString::fromStdString(Cp932ToUtf8(session->studyNo)),
                             QString::fromStdString(Cp932ToUtf8(session->animalNo)),
                             QString::fromStdString(Cp932ToUtf8(session->date))));
    ShowCounts(*session);
    ShowStatistics(*session);
}

void CSessionPane::ShowCounts(const SessionReview& session) {
    SetCell(*counts_, 0, 0, QString::number(session.counts.recorded));
    SetCell(*counts_, 0, 1, QString());
    for (size_t s = 0; s < kReadingStatusCount; ++s) {
        const auto status = static_cast<ReadingStatus>(s);
        const int row = static_cast<int>(s) + 1;
        SetCell(*counts_, row, 0, QString::number(session.counts.Of(status)));
        const bool byHand = status == ReadingStatus::Accepted ||
                            status == ReadingStatus::Rejected ||
                            status == ReadingStatus::SessionRejected;
        SetCell(*counts_, row, 1,
                byHand ? QString::fromUtf8(kManualMark) +
                             QString::number(ManualCount(state_, session, status))
                       : QString());
    }
}

void CSessionPane::ShowStatistics(const SessionReview& session) {
    const AcceptedStatistic* rows[kValueRows] = {&session.sbp, &session.mbp, &session.dbp,
                                                 &session.hr};
    for (int row = 0; row < kValueRows; ++row) {
        const AcceptedStatistic& statistic = *rows[row];
        SetCell(*statistics_, row, 0, QString::number(statistic.values.n));
        SetCell(*statistics_, row, 1, Number(statistic.values.mean, 1));
        SetCell(*statistics_, row, 2, Number(statistic.values.sd, 2));
        SetCell(*statistics_, row, 3, Number(statistic.values.se, 2));
        SetCell(*statistics_, row, 4, Number(statistic.cv, 1));
    }
}

} // namespace mirado
