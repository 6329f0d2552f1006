#include "app/UiRetranslation.h"

#include "platform/qt/UiText.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>

namespace mirado {

namespace {

constexpr QChar kKeySeparator = QLatin1Char('\t');

// "Name (Key)", as the tool tips of the commands with a key read.
QString RetranslatedToolTip(const QString& shown, const QHash<QString, QString>& sources) {
    static const QRegularExpression withKey(QStringLiteral("^(.+) \\(([^()]+)\\)$"));
    const QRegularExpressionMatch match = withKey.match(shown);
    if (!match.hasMatch() || !sources.contains(match.captured(1)))
        return shown;
    return UiText("%1 (%2)").arg(UiText(sources.value(match.captured(1)).toStdString()),
                                 match.captured(2));
}

template <typename Getter, typename Setter>
void Retranslate(const QHash<QString, QString>& sources, Getter get, Setter set) {
    const QString shown = get();
    const QString again = RetranslatedText(shown, sources);
    if (again != shown)
        set(again);
}

void RetranslateAction(QAction* action, const QHash<QString, QString>& sources) {
    Retranslate(
        sources, [action] { return action->text(); },
        [action](const QString& text) { action->setText(text); });
    Retranslate(
        sources, [action] { return action->statusTip(); },
        [action](const QString& text) { action->setStatusTip(text); });
    const QString tip = action->toolTip();
    QString again = RetranslatedText(tip, sources);
    if (again == tip)
        again = RetranslatedToolTip(tip, sources);
    if (again != tip)
        action->setToolTip(again);
}

void RetranslateWidget(QWidget* widget, const QHash<QString, QString>& sources) {
    Retranslate(
        sources, [widget] { return widget->windowTitle(); },
        [widget](const QString& text) { widget->setWindowTitle(text); });
    Retranslate(
        sources, [widget] { return widget->toolTip(); },
        [widget](const QString& text) { widget->setToolTip(text); });
    if (auto* label = qobject_cast<QLabel*>(widget))
        Retranslate(
            sources, [label] { return label->text(); },
            [label](const QString& text) { label->setText(text); });
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        Retranslate(
            sources, [button] { return button->text(); },
            [button](const QString& text) { button->setText(text); });
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        Retranslate(
            sources, [box] { return box->title(); },
            [box](const QString& text) { box->setTitle(text); });
    if (auto* menu = qobject_cast<QMenu*>(widget))
        Retranslate(
            sources, [menu] { return menu->title(); },
            [menu](const QString& text) { menu->setTitle(text); });
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i)
            Retranslate(
                sources, [tabs, i] { return tabs->tabText(i); },
                [tabs, i](const QString& text) { tabs->setTabText(i, text); });
    }
}

} // namespace

QString RetranslatedText(const QString& shown, const QHash<QString, QString>& sources) {
    if (shown.isEmpty())
        return shown;
    const auto found = sources.constFind(shown);
    if (found != sources.constEnd())
        return UiText(found->toStdString());
    // A menu item's text with its key after a tab.
    const qsizetype tab = shown.indexOf(kKeySeparator);
    if (tab > 0) {
        const auto name = sources.constFind(shown.left(tab));
        if (name != sources.constEnd())
            return UiText(name->toStdString()) + shown.mid(tab);
    }
    return shown;
}

void RetranslateWindows(const QHash<QString, QString>& sources) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        RetranslateWidget(window, sources);
        for (QWidget* widget : window->findChildren<QWidget*>())
            RetranslateWidget(widget, sources);
        for (QAction* action : window->findChildren<QAction*>())
            RetranslateAction(action, sources);
    }
}

} // namespace mirado
