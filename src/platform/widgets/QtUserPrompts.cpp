#include "platform/widgets/QtUserPrompts.h"

#include "platform/qtcore/UiText.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

#include <utility>
#include <vector>

namespace mirado {

namespace {

QMessageBox::Icon ToQtIcon(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Stop:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons ToQtButtons(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoDefaultNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    case MessageButtons::ReloadOverwriteSaveAsCancel:
        return QMessageBox::NoButton; // buttons of their own
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

MessageAnswer FromQtButton(int button) {
    switch (button) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Ok;
    }
}

} // namespace

QString TranslatedMessageText(const std::string& text) {
    QStringList lines = QString::fromStdString(text).split(QLatin1Char('\n'));
    for (QString& line : lines)
        line = UiText(line.toStdString());
    return lines.join(QLatin1Char('\n'));
}

// The question about a file changed since it was read: its four answers are buttons of
// their own; closing the box cancels.
MessageAnswer CQtUserPrompts::AskChangedFile(QMessageBox& box) {
    const std::pair<const char*, MessageAnswer> choices[] = {
        {QT_TRANSLATE_NOOP("Mirado", "Reload"), MessageAnswer::Reload},
        {QT_TRANSLATE_NOOP("Mirado", "Overwrite"), MessageAnswer::Overwrite},
        {QT_TRANSLATE_NOOP("Mirado", "Save As..."), MessageAnswer::SaveAs}};
    std::vector<std::pair<QAbstractButton*, MessageAnswer>> buttons;
    for (const auto& [label, answer] : choices)
        buttons.emplace_back(box.addButton(UiText(label), QMessageBox::AcceptRole), answer);
    QAbstractButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(qobject_cast<QPushButton*>(cancel));
    box.setEscapeButton(cancel);
    box.exec();
    for (const auto& [button, answer] : buttons)
        if (box.clickedButton() == button)
            return answer;
    return MessageAnswer::Cancel;
}

MessageAnswer CQtUserPrompts::ShowMessage(const std::string& text, const std::string& caption,
                                          MessageIcon icon, MessageButtons buttons) {
    // The fixed texts are shown in the window's language.
    QMessageBox box(ToQtIcon(icon), UiText(caption), TranslatedMessageText(text),
                    ToQtButtons(buttons), owner_.data());
    if (buttons == MessageButtons::ReloadOverwriteSaveAsCancel)
        return AskChangedFile(box);
    // Closing the box without a button counts as its cancelling button.
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo)
        box.setEscapeButton(QMessageBox::No);
    if (buttons == MessageButtons::YesNoDefaultNo)
        box.setDefaultButton(QMessageBox::No);
    return FromQtButton(box.exec());
}

std::string CQtUserPrompts::Translated(const std::string& english) const {
    return UiText(english).toStdString();
}

} // namespace mirado
