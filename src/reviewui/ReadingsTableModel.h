#pragma once
// The readings table's rows: one per listed file, in the list's order, with its values,
// its status under the profile, the reason, who decided (a hand or a rule) and whether the
// file has corrections (unsaved, or saved with the original kept). Before the files are
// read a row shows the file's name alone. Sorting uses the SortRole: numbers for the
// numeric columns, so 90 comes before 120.

#include "reviewui/ReviewState.h"

#include <QAbstractTableModel>

#include <functional>

namespace mirado {

class CReadingsTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        kName,
        kAnimal,
        kStudy,
        kDate,
        kTime,
        kSbp,
        kMbp,
        kDbp,
        kHr,
        kResult,
        kStatus,
        kReason,
        kDecidedBy,
        kCorrections,
        kColumnCount
    };
    static constexpr int kSortRole = Qt::UserRole;
    // The row's session index (-1 for none) and status (ReadingStatus as int), for filters.
    static constexpr int kSessionRole = Qt::UserRole + 1;
    static constexpr int kStatusRole = Qt::UserRole + 2;
    static constexpr int kManualRole = Qt::UserRole + 3;

    explicit CReadingsTableModel(CReviewState& state, QObject* parent = nullptr);

    // Whether the listed file at the row has unsaved corrections (the document knows).
    void SetUnsavedQuery(std::function<bool(int row)> unsaved) { unsaved_ = std::move(unsaved); }
    // The whole table again (new files, the values read, the corrections changed).
    void Reset();
    // The row's corrections column again (a row outside the table is left alone).
    void CorrectionsChanged(int row);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant Display(size_t row, int column) const;
    QVariant SortKey(size_t row, int column) const;
    QString CorrectionsText(size_t row) const;
    void OnReviewed(const std::vector<size_t>& rows);

    CReviewState& state_;
    std::function<bool(int)> unsaved_;
};

} // namespace mirado
