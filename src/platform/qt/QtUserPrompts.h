#pragma once
// CQtUserPrompts: the program's message boxes as Qt message boxes, owned by the main
// window once it exists (none before).

#include "platform/UserPrompts.h"

#include <QPointer>
#include <QWidget>

namespace mirado {

class CQtUserPrompts : public IUserPrompts {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;

private:
    QPointer<QWidget> owner_;
};

} // namespace mirado
