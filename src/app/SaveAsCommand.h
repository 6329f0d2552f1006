#pragma once
// "Save As..." in the File menu, after "Save(&S)" and its "Recent Files": writes the current file
// with its corrections under a name chosen in the save dialog (for a file in a folder that may not
// be written, for example); the file it was read from stays as it is. It applies while a file is
// loaded and was read correctly.

#include <QObject>

class QAction;

namespace mirado {

class CMainFrame;

class CSaveAsCommand : public QObject {
    Q_OBJECT
public:
    // Adds the item to the frame's File menu; the frame owns it.
    static CSaveAsCommand* Install(CMainFrame& frame);

    QAction* Action() const { return action_; }

private:
    explicit CSaveAsCommand(CMainFrame& frame);

    CMainFrame& frame_;
    QAction* action_ = nullptr;
};

} // namespace mirado
