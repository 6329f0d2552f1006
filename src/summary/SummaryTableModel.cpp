#include "summary/SummaryTableModel.h"

#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

namespace mirado {

namespace {

enum StatisticField { kN, kMean, kSd, kSe, kMin, kMax };

constexpr int kMeanDecimals = 1;
constexpr int kSpreadDecimals = 2;

const SummaryStatistic& MeasureOf(const SummaryRow& row, int measure) {
    const SummaryStatistic* statistics[] = {&row.sbp, &row.mbp, &row.dbp, &row.hr};
    return *statistics[measure];
}

QString MeasureTitle(int measure) {
    const char* titles[] = {QT_TRANSLATE_NOOP("Mirado", "SBP"), QT_TRANSLATE_NOOP("Mirado", "MBP"),
                            QT_TRANSLATE_NOOP("Mirado", "DBP"), QT_TRANSLATE_NOOP("Mirado", "HR")};
    return UiText(titles[measure]);
}

QString FieldTitle(int field) {
    const char* titles[] = {QT_TRANSLATE_NOOP("Mirado", "n"),   QT_TRANSLATE_NOOP("Mirado", "mean"),
                            QT_TRANSLATE_NOOP("Mirado", "SD"),  QT_TRANSLATE_NOOP("Mirado", "SE"),
                            QT_TRANSLATE_NOOP("Mirado", "min"), QT_TRANSLATE_NOOP("Mirado", "max")};
    return UiText(titles[field]);
}

QVariant StatisticValue(const SummaryStatistic& statistic, int field) {
    const auto number = [](const auto& value) { return value ? QVariant(*value) : QVariant(); };
    switch (field) {
    case kN:
        return statistic.n;
    case kMean:
        return number(statistic.mean);
    case kSd:
        return number(statistic.sd);
    case kSe:
        return number(statistic.se);
    case kMin:
        return number(statistic.min);
    default:
        return number(statistic.max);
    }
}

QVariant StatisticText(const SummaryStatistic& statistic, int field) {
    const QVariant value = StatisticValue(statistic, field);
    if (!value.isValid() || field == kN || field == kMin || field == kMax)
        return value;
    const int decimals = field == kMean ? kMeanDecimals : kSpreadDecimals;
    return QString::number(value.toDouble(), 'f', decimals);
}

QString Utf8Of(const std::string& cp932) {
    return QString::fromStdString(Cp932ToUtf8(cp932));
}

// Real dates first in date order, then unreadable date texts by their bytes.
QString DateSortKey(const SummaryRow& row) {
    if (row.sessionDate)
        return QStringLiteral("0%1").arg(row.sessionDate->year * 10000 +
                                         row.sessionDate->month * 100 + row.sessionDate->day);
    return QStringLiteral("1") +
           QString::fromLatin1(QByteArray::fromStdString(row.date.value_or("")).toHex());
}

} // namespace

void CSummaryTableModel::SetRows(std::vector<SummaryRow> rows) {
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int CSummaryTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int CSummaryTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kFixedColumns + kMeasures * kFieldsPerMeasure;
}

QVariant CSummaryTableModel::CellText(const SummaryRow& row, int column) const {
    switch (column) {
    case kStudyColumn:
        return Utf8Of(row.studyNo);
    case kAnimalColumn:
        return Utf8Of(row.animalNo);
    case kDateColumn:
        return row.date ? QVariant(Utf8Of(*row.date)) : QVariant();
    case kReadingsColumn:
        return row.n;
    case kCompleteColumn:
        return row.nComplete;
    default:
        break;
    }
    const int offset = column - kFixedColumns;
    return StatisticText(MeasureOf(row, offset / kFieldsPerMeasure), offset % kFieldsPerMeasure);
}

QVariant CSummaryTableModel::SortValue(const SummaryRow& row, int column) const {
    if (column == kDateColumn)
        return DateSortKey(row);
    if (column < kFixedColumns)
        return CellText(row, column);
    const int offset = column - kFixedColumns;
    return StatisticValue(MeasureOf(row, offset / kFieldsPerMeasure), offset % kFieldsPerMeasure);
}

QVariant CSummaryTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const SummaryRow& row = rows_[static_cast<size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
        return CellText(row, index.column());
    case kSortRole:
        return SortValue(row, index.column());
    case Qt::TextAlignmentRole:
        return index.column() >= kReadingsColumn ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                                 : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant CSummaryTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= columnCount())
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case kStudyColumn:
        return UiText("Study");
    case kAnimalColumn:
        return UiText("Animal");
    case kDateColumn:
        return UiText("Date");
    case kReadingsColumn:
        return UiText("Readings");
    case kCompleteColumn:
        return UiText("Complete");
    default:
        break;
    }
    const int offset = section - kFixedColumns;
    return MeasureTitle(offset / kFieldsPerMeasure) + QLatin1Char(' ') +
           FieldTitle(offset % kFieldsPerMeasure);
}

} // namespace mirado
