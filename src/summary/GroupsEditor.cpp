#include "summary/GroupsEditor.h"

#include "platform/UserPrompts.h"
#include "platform/qtcore/UiText.h"
#include "records/TextEncoding.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace mirado {

namespace {

constexpr int kGroupColumn = 2;
const char* const kGroupsCaption = QT_TRANSLATE_NOOP("Mirado", "Groups");

QTableWidgetItem* FixedItem(const std::string& cp932) {
    auto* item = new QTableWidgetItem(QString::fromStdString(Cp932ToUtf8(cp932)));
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

} // namespace

CGroupsEditor::CGroupsEditor(std::vector<AnimalKey> animals, GroupsTable table, std::string path,
                             IUserPrompts& prompts, QWidget* parent)
    : QDialog(parent), animals_(std::move(animals)), table_(std::move(table)),
      path_(std::move(path)), prompts_(prompts) {
    setWindowTitle(UiText(kGroupsCaption));
    setObjectName(QStringLiteral("groupsEditor"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        UiText("The group of each animal, saved as %1").arg(QString::fromStdString(path_)), this));
    grid_ = new QTableWidget(static_cast<int>(animals_.size()), 3, this);
    grid_->setObjectName(QStringLiteral("groupsGrid"));
    grid_->setHorizontalHeaderLabels({UiText("Study"), UiText("Animal"), UiText("Group")});
    grid_->verticalHeader()->setVisible(false);
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const AnimalKey& animal = animals_[static_cast<size_t>(row)];
        grid_->setItem(row, 0, FixedItem(animal.studyNo));
        grid_->setItem(row, 1, FixedItem(animal.animalNo));
        const std::string group = table_.GroupOf(animal);
        grid_->setItem(row, kGroupColumn,
                       new QTableWidgetItem(group == kNoGroupName ? QString()
                                                                  : QString::fromStdString(group)));
    }
    grid_->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(grid_, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Save)->setObjectName(QStringLiteral("groupsSave"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (Save())
            accept();
    });
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool CGroupsEditor::Save() {
    GroupsTable edited = table_;
    for (int row = 0; row < grid_->rowCount(); ++row) {
        const AnimalKey& animal = animals_[static_cast<size_t>(row)];
        const std::string group = grid_->item(row, kGroupColumn)->text().trimmed().toStdString();
        // An animal left without a group stays out of the table unless it was listed.
        if (group.empty() && edited.GroupOf(animal) == kNoGroupName)
            continue;
        edited.Assign(animal, group.empty() ? std::string(kNoGroupName) : group);
    }
    if (const Result<void> written = WriteGroupsFile(path_, edited); !written.ok()) {
        prompts_.ShowMessage(path_ + "\n" + written.error(), kGroupsCaption, MessageIcon::Stop,
                             MessageButtons::Ok);
        return false;
    }
    table_ = std::move(edited);
    emit Saved();
    return true;
}

} // namespace mirado
