#pragma once
// The document's dialog runs on Qt: the ID dialog and the Parameters dialog, shown
// modally over the main window.

#include "platform/DocumentDialogs.h"

class QWidget;

namespace mirado {

class IUserPrompts;

class QtIdDialog : public IIdDialog {
public:
    // parent may be null (no owner window); prompts shows the field checks.
    QtIdDialog(QWidget* parent, IUserPrompts& prompts) : parent_(parent), prompts_(prompts) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    bool Run(IdDialogFields& fields) override;

private:
    QWidget* parent_;
    IUserPrompts& prompts_;
};

class QtParametersDialog : public IParametersDialog {
public:
    QtParametersDialog(QWidget* parent, IUserPrompts& prompts)
        : parent_(parent), prompts_(prompts) {}
    void SetParent(QWidget* parent) { parent_ = parent; }
    bool Run(CDisplaySettings& settings) override;

private:
    QWidget* parent_;
    IUserPrompts& prompts_;
};

} // namespace mirado
