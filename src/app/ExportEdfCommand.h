#pragma once
// CExportEdfCommand: "Export EDF+..." in the File menu. It writes the marked files of the
// list (the current file when none is marked) as EDF+ files into a folder: the save
// dialog picks the folder (the name typed there is not used; each file is named after its
// recording). Files that have been read are reviewed under the default profile and their
// folders' review logs; progress shows for a long run, which can be cancelled.

#include <QObject>

#include <string>
#include <vector>

class QAction;

namespace mirado {

class CMainFrame;
class ISaveFileDialog;
class IUserPrompts;

class CExportEdfCommand : public QObject {
    Q_OBJECT
public:
    // Adds the item after `after` in its menu (at the end of the File menu without it);
    // the frame owns it.
    static CExportEdfCommand* Install(CMainFrame& frame, IUserPrompts& prompts,
                                      ISaveFileDialog& saveDialog, QAction* after);

    QAction* Action() const { return action_; }
    // Asks for the folder and writes the files; true when every one was written.
    bool Run();

private:
    CExportEdfCommand(CMainFrame& frame, IUserPrompts& prompts, ISaveFileDialog& saveDialog);

    std::vector<std::string> FilesToExport() const;
    void ShowStop(const std::string& text);

    CMainFrame& frame_;
    IUserPrompts& prompts_;
    ISaveFileDialog& saveDialog_;
    QAction* action_ = nullptr;
};

} // namespace mirado
