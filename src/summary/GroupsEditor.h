#pragma once
// CGroupsEditor: "Groups..." of the summary window. Lists every animal of the summary
// with its group, which the user edits; Save writes the groups table (the rows and
// further columns it held kept, the edited groups set) atomically to the groups file
// beside the recordings and tells Saved(). The window stays usable while it is open
// (it is not modal), so nothing waits on it.

#include "stats/GroupsTable.h"

#include <QDialog>

#include <string>
#include <vector>

class QTableWidget;

namespace mirado {

class IUserPrompts;

class CGroupsEditor : public QDialog {
    Q_OBJECT
public:
    CGroupsEditor(std::vector<AnimalKey> animals, GroupsTable table, std::string path,
                  IUserPrompts& prompts, QWidget* parent = nullptr);

    const std::string& Path() const { return path_; }
    // Writes the table; false (reported through the prompts) when it cannot be written.
    bool Save();

signals:
    void Saved();

private:
    std::vector<AnimalKey> animals_;
    GroupsTable table_;
    const std::string path_;
    IUserPrompts& prompts_;
    QTableWidget* grid_ = nullptr;
};

} // namespace mirado
