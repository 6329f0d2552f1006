#pragma once
// CQtSaveFileDialog: the save dialog on Qt's file dialog, asking before it replaces a file.

#include "platform/SaveFileDialog.h"

#include <QPointer>
#include <QWidget>

namespace mirado {

class CQtSaveFileDialog : public ISaveFileDialog {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    bool RunSave(const SaveFileRequest& request, std::string& path) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace mirado
