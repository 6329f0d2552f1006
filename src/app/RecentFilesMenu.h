#pragma once
// CRecentFilesMenu: "Recent Files" in the File menu. Every file list the frame opens
// (open dialog, command line, dropped files, this menu) is remembered as a set in the
// recent-files file of the preference folder; choosing a set opens it again as one list,
// without the files that are gone, which the status bar then counts.

#include "document/RecentFileSets.h"

#include <QObject>

#include <functional>
#include <string>

class QMenu;

namespace mirado {

class CMainFrame;

class CRecentFilesMenu : public QObject {
    Q_OBJECT
public:
    // Reads the sets and adds the submenu to the frame's File menu; the frame owns it.
    static CRecentFilesMenu* Install(CMainFrame& frame, const std::string& preferenceFolder);

    const CRecentFileSets& Sets() const { return sets_; }
    // Opens the set at index of the menu (newest first); false when none of its files
    // exists any more or there is no such set.
    bool OpenSet(int index);

private:
    CRecentFilesMenu(CMainFrame& frame, std::string filePath);

    void RememberOpenedList();
    void RebuildMenu();
    // Applies change to the sets in the file, which other instances may have changed
    // meanwhile, and takes what the file then holds; when the file cannot be written the
    // change applies to this window's sets only.
    void Change(const std::function<void(CRecentFileSets&)>& change);

    CMainFrame& frame_;
    std::string filePath_;
    CRecentFileSets sets_;
    QMenu* menu_ = nullptr;
};

} // namespace mirado
