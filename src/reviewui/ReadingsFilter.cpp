#include "reviewui/ReadingsFilter.h"

#include "reviewui/ReadingsTableModel.h"

namespace mirado {

CReadingsFilter::CReadingsFilter(QObject* parent) : QSortFilterProxyModel(parent) {
    setSortRole(CReadingsTableModel::kSortRole);
    setDynamicSortFilter(true);
}

void CReadingsFilter::SetAnimal(std::optional<QString> animal) {
    animal_ = std::move(animal);
    invalidateFilter();
}

void CReadingsFilter::SetSession(std::optional<int> session) {
    session_ = session;
    invalidateFilter();
}

void CReadingsFilter::SetStatus(std::optional<int> status) {
    status_ = status;
    invalidateFilter();
}

bool CReadingsFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const {
    const QAbstractItemModel* model = sourceModel();
    const QModelIndex row = model->index(sourceRow, 0, sourceParent);
    if (animal_ &&
        model->index(sourceRow, CReadingsTableModel::kAnimal, sourceParent).data().toString() !=
            *animal_)
        return false;
    if (session_ && row.data(CReadingsTableModel::kSessionRole).toInt() != *session_)
        return false;
    return !status_ || row.data(CReadingsTableModel::kStatusRole).toInt() == *status_;
}

} // namespace mirado
