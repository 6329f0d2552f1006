#pragma once
// CSummaryTableModel: the rows of a study summary as a table for the summary window:
// study, animal, date, readings, complete readings, then n, mean, SD, SE, minimum and
// maximum of SBP, MBP, DBP and HR, the fields of the summary's CSV in its order. Texts
// are shown in UTF-8, means with one decimal and SD and SE with two; absent values are
// empty cells. Under kSortRole every cell gives the value to sort by (numbers as
// numbers, dates in session order with unreadable dates after the real ones).

#include "document/StudySummary.h"

#include <QAbstractTableModel>

#include <vector>

namespace mirado {

class CSummaryTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int kSortRole = Qt::UserRole + 1;
    enum FixedColumn { kStudyColumn, kAnimalColumn, kDateColumn, kReadingsColumn, kCompleteColumn };
    static constexpr int kFixedColumns = 5;
    static constexpr int kFieldsPerMeasure = 6; // n, mean, SD, SE, min, max
    static constexpr int kMeasures = 4;         // SBP, MBP, DBP, HR

    explicit CSummaryTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void SetRows(std::vector<SummaryRow> rows);
    const std::vector<SummaryRow>& Rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVariant CellText(const SummaryRow& row, int column) const;
    QVariant SortValue(const SummaryRow& row, int column) const;

    std::vector<SummaryRow> rows_;
};

} // namespace mirado
