#include "reviewui/ReadingsTableModel.h"

#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"
#include "review/ReviewLog.h"
#include "reviewui/ReviewTexts.h"

#include <QFont>

#include <algorithm>

namespace mirado {

namespace {

QString Text(const std::string& cp932) {
    return QString::fromStdString(Cp932ToUtf8(cp932));
}

// A pressure or rate of 0 is no value.
QVariant Value(int value) {
    return value != 0 ? QVariant(value) : QVariant();
}

QString ResultText(const Reading& reading) {
    if (!reading.loaded)
        return UiText("Damaged");
    return reading.complete ? UiText("Complete") : UiText("Incomplete");
}

} // namespace

CReadingsTableModel::CReadingsTableModel(CReviewState& state, QObject* parent)
    : QAbstractTableModel(parent), state_(state) {
    connect(&state_, &CReviewState::FilesSet, this, &CReadingsTableModel::Reset);
    connect(&state_, &CReviewState::Filled, this, &CReadingsTableModel::Reset);
    connect(&state_, &CReviewState::ReadingsReviewed, this, &CReadingsTableModel::OnReviewed);
}

void CReadingsTableModel::Reset() {
    beginResetModel();
    endResetModel();
}

void CReadingsTableModel::CorrectionsChanged(int row) {
    if (row >= 0 && row < rowCount())
        emit dataChanged(index(row, kCorrections), index(row, kCorrections));
}

int CReadingsTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(state_.Paths().size());
}

int CReadingsTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

QVariant CReadingsTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    static const char* const kHeaders[kColumnCount] = {
        QT_TRANSLATE_NOOP("Mirado", "File"),
        QT_TRANSLATE_NOOP("Mirado", "Animal"),
        QT_TRANSLATE_NOOP("Mirado", "Study"),
        QT_TRANSLATE_NOOP("Mirado", "Date"),
        QT_TRANSLATE_NOOP("Mirado", "Time"),
        "SBP",
        "MBP",
        "DBP",
        "HR",
        QT_TRANSLATE_NOOP("Mirado", "Result"),
        QT_TRANSLATE_NOOP("Mirado", "Status"),
        QT_TRANSLATE_NOOP("Mirado", "Reason"),
        QT_TRANSLATE_NOOP("Mirado", "By"),
        QT_TRANSLATE_NOOP("Mirado", "Corrections"),
    };
    return section >= 0 && section < kColumnCount ? UiText(kHeaders[section]) : QVariant();
}

QVariant CReadingsTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<size_t>(index.row());
    const bool reviewed = row < state_.Review().readings.size();
    switch (role) {
    case Qt::DisplayRole:
        return Display(row, index.column());
    case kSortRole:
        return SortKey(row, index.column());
    case kSessionRole:
        return reviewed ? state_.Review().readings[row].session : -1;
    case kStatusRole:
        return reviewed ? static_cast<int>(state_.Review().readings[row].status) : -1;
    case kManualRole:
        return reviewed && state_.Review().readings[row].manual;
    case Qt::FontRole: {
        // A decision by hand stands out from a rule's in italics.
        if (!reviewed || !state_.Review().readings[row].manual)
            return {};
        QFont font;
        font.setItalic(true);
        return font;
    }
    case Qt::TextAlignmentRole:
        if (index.column() >= kSbp && index.column() <= kHr)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant CReadingsTableModel::Display(size_t row, int column) const {
    if (column == kName)
        return QString::fromStdString(FileNameInFolder(state_.Paths()[row]));
    if (column == kCorrections)
        return CorrectionsText(row);
    if (!state_.IsFilled())
        return {};
    const Reading& reading = state_.Readings()[row];
    const ReadingReview& review = state_.Review().readings[row];
    const CExportFields& values = reading.values;
    switch (column) {
    case kAnimal:
        return Text(values.animalNo);
    case kStudy:
        return Text(values.exNo);
    case kDate:
        return Text(values.date);
    case kTime:
        return Text(values.time);
    case kSbp:
        return Value(values.sbp);
    case kMbp:
        return Value(values.mbp);
    case kDbp:
        return Value(values.dbp);
    case kHr:
        return Value(values.hr);
    case kResult:
        return ResultText(reading);
    case kStatus:
        return (review.manual ? QString::fromUtf8(kManualMark) : QString()) +
               StatusText(review.status);
    case kReason:
        return ReviewReasonText(review);
    case kDecidedBy:
        return DecidedByText(review.manual);
    default:
        return {};
    }
}

QVariant CReadingsTableModel::SortKey(size_t row, int column) const {
    if (state_.IsFilled()) {
        const CExportFields& values = state_.Readings()[row].values;
        switch (column) {
        case kSbp:
            return values.sbp;
        case kMbp:
            return values.mbp;
        case kDbp:
            return values.dbp;
        case kHr:
            return values.hr;
        case kStatus:
            return static_cast<int>(state_.Review().readings[row].status);
        default:
            break;
        }
    }
    return Display(row, column).toString();
}

QString CReadingsTableModel::CorrectionsText(size_t row) const {
    if (unsaved_ && unsaved_(static_cast<int>(row)))
        return UiText("Unsaved");
    return state_.HasSavedCorrections(row) ? UiText("Saved") : QString();
}

void CReadingsTableModel::OnReviewed(const std::vector<size_t>& rows) {
    if (rows.empty())
        return;
    const auto [low, high] = std::minmax_element(rows.begin(), rows.end());
    emit dataChanged(index(static_cast<int>(*low), 0),
                     index(static_cast<int>(*high), kColumnCount - 1));
}

} // namespace mirado
