#pragma once
// CQtUserPrompts: the program's message boxes as Qt message boxes, owned by the main
// window once it exists (none before).

#include "platform/UserPrompts.h"

#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QWidget>

namespace mirado {

// A message box's text in the window's language, each line on its own: a message names a
// path on one line, which has no translation and stays as it is, and says what happened
// on the next.
QString TranslatedMessageText(const std::string& text);

class CQtUserPrompts : public IUserPrompts {
public:
    void SetOwner(QWidget* owner) { owner_ = owner; }

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override;
    std::string Translated(const std::string& english) const override;

private:
    static MessageAnswer AskChangedFile(QMessageBox& box);

    QPointer<QWidget> owner_;
};

} // namespace mirado
