#pragma once
// The readings table's filter and sort: rows of one animal (its text), one session (its
// index in the review) and one status, each optional, sorted by the model's SortRole.

#include <QSortFilterProxyModel>

#include <optional>

namespace mirado {

class CReadingsFilter : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit CReadingsFilter(QObject* parent = nullptr);

    void SetAnimal(std::optional<QString> animal);
    void SetSession(std::optional<int> session);
    void SetStatus(std::optional<int> status);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    std::optional<QString> animal_;
    std::optional<int> session_, status_;
};

} // namespace mirado
