#pragma once
// CFrontKeeper: brings a window back to the front when it goes out of scope. A dialog or
// message box owned by another window (the main window owns the program's dialogs)
// hands the focus to its owner when it closes; a window that asked for the dialog keeps
// one of these over the asking, so the user is back where the command was given.

#include <QWidget>

namespace mirado {

class CFrontKeeper {
public:
    explicit CFrontKeeper(QWidget& window) : window_(window) {}
    ~CFrontKeeper() {
        if (!window_.isVisible())
            return;
        window_.raise();
        window_.activateWindow();
    }
    CFrontKeeper(const CFrontKeeper&) = delete;
    CFrontKeeper& operator=(const CFrontKeeper&) = delete;

private:
    QWidget& window_;
};

} // namespace mirado
