#pragma once
// CQtOpenFileDialog: the multiple-file open dialog on Qt's file dialog.

#include "platform/OpenFileDialog.h"

#include <QPointer>
#include <QWidget>

namespace mirado {

class CQtOpenFileDialog : public IOpenFileDialog {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    bool RunOpenMultiple(const OpenFileRequest& request, std::vector<std::string>& paths) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace mirado
