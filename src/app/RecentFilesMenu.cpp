#include "app/RecentFilesMenu.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <cstdio>

namespace mirado {

namespace {

constexpr int kStatusMessageMs = 10000;

// The item the submenu stands before: the separator after "Save(&S)".
QAction* ItemAfterSave(const QMenu& fileMenu, const QAction* save) {
    const QList<QAction*> items = fileMenu.actions();
    const qsizetype at = items.indexOf(const_cast<QAction*>(save));
    return at >= 0 && at + 1 < items.size() ? items[at + 1] : nullptr;
}

QString SetLabel(const FileSet& set) {
    const QString first = QFileInfo(QString::fromStdString(set.front())).fileName();
    const auto others = static_cast<int>(set.size()) - 1;
    if (others == 0)
        return first;
    if (others == 1)
        return UiText("%1 (+1 file)").arg(first);
    return UiText("%1 (+%2 files)").arg(first).arg(others);
}

QString DroppedMessage(int dropped) {
    if (dropped == 1)
        return UiText("1 file of this set no longer exists and was left out.");
    return UiText("%1 files of this set no longer exist and were left out.").arg(dropped);
}

} // namespace

CRecentFilesMenu::CRecentFilesMenu(CMainFrame& frame, std::string filePath)
    : QObject(&frame), frame_(frame), filePath_(std::move(filePath)),
      sets_(CRecentFileSets::Load(filePath_)) {}

CRecentFilesMenu* CRecentFilesMenu::Install(CMainFrame& frame,
                                            const std::string& preferenceFolder) {
    auto* recent = new CRecentFilesMenu(frame, RecentFilesPath(preferenceFolder));
    QAction* save = frame.Action(ID_FILE_SAVE);
    auto* fileMenu = qobject_cast<QMenu*>(save->parent());
    for (QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        if (menu->actions().contains(save))
            fileMenu = menu;
    recent->menu_ = new QMenu(UiText("Recent Files"), &frame);
    recent->menu_->setObjectName(QStringLiteral("recentFilesMenu"));
    if (fileMenu != nullptr)
        fileMenu->insertMenu(ItemAfterSave(*fileMenu, save), recent->menu_);
    recent->RebuildMenu();
    connect(&frame, &CMainFrame::FileListOpened, recent,
            [recent] { recent->RememberOpenedList(); });
    return recent;
}

void CRecentFilesMenu::RememberOpenedList() {
    const CMiradoDoc& doc = *frame_.GetDocument();
    FileSet set;
    for (int i = 0; i < doc.GetFileCount(); ++i)
        set.push_back(doc.GetPathAt(i));
    Change([&set](CRecentFileSets& sets) { sets.Add(set); });
    RebuildMenu();
}

void CRecentFilesMenu::Change(const std::function<void(CRecentFileSets&)>& change) {
    Result<CRecentFileSets> updated = CRecentFileSets::Update(filePath_, change);
    if (updated.ok()) {
        sets_ = std::move(updated).value();
        return;
    }
    change(sets_);
    std::fprintf(stderr, "mirado: %s\n", updated.error().c_str());
}

void CRecentFilesMenu::RebuildMenu() {
    // The items go later: the one chosen is still delivering its signal.
    for (QAction* old : menu_->actions()) {
        menu_->removeAction(old);
        old->deleteLater();
    }
    const std::vector<FileSet>& sets = sets_.Sets();
    for (size_t i = 0; i < sets.size(); ++i) {
        // The number gives each item its key, as desktop programs number recent files.
        const QString text = QStringLiteral("&%1 ").arg(i + 1) + SetLabel(sets[i]);
        auto* item = new QAction(text, menu_);
        menu_->addAction(item);
        item->setToolTip(QString::fromStdString(sets[i].front()));
        const int index = static_cast<int>(i);
        connect(item, &QAction::triggered, this, [this, index] { OpenSet(index); });
    }
    menu_->setEnabled(!sets.empty());
}

bool CRecentFilesMenu::OpenSet(int index) {
    if (index < 0 || static_cast<size_t>(index) >= sets_.Sets().size())
        return false;
    const FileSet set = sets_.Sets()[static_cast<size_t>(index)];
    const ExistingFiles existing = KeepExistingFiles(set);
    // The set is remembered again as it opens now, without the files that are gone.
    Change([&set](CRecentFileSets& sets) { sets.Remove(set); });
    if (existing.kept.empty()) {
        RebuildMenu();
        frame_.statusBar()->showMessage(UiText("None of the files of this set exists any more."),
                                        kStatusMessageMs);
        return false;
    }
    frame_.OpenPaths(existing.kept);
    if (existing.dropped > 0)
        frame_.statusBar()->showMessage(DroppedMessage(existing.dropped), kStatusMessageMs);
    return true;
}

} // namespace mirado
