#include "app/UiRetranslation.h"

#include "platform/qtcore/UiText.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTabWidget>
#include <QWidget>

#include <algorithm>
#include <functional>

namespace mirado {

namespace {

constexpr QChar kKeySeparator = QLatin1Char('\t');

// One text of an object: how to read and set it, and the name under which the object
// keeps the English text it was last given.
struct TextField {
    QObject* object;
    const char* name;
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

class CRetranslator {
public:
    explicit CRetranslator(const UiTextSources& sources) : sources_(sources) {}

    void Retranslate(const TextField& field) const {
        const QString shown = field.get();
        if (shown.isEmpty())
            return;
        const QByteArray property = QByteArray("miradoUiSource_") + field.name;
        const QString given = field.object->property(property.constData()).toString();
        QString source;
        const QString again = Translate(shown, given, source);
        if (source.isEmpty())
            return;
        field.object->setProperty(property.constData(), source);
        if (again != shown)
            field.set(again);
    }

private:
    // The English text of a shown one: the one last given when several could be meant.
    QString SourceOf(const QString& shown, const QString& given) const {
        const QList<QString> candidates = sources_.values(shown);
        if (candidates.isEmpty())
            return {};
        if (candidates.contains(given))
            return given;
        return *std::min_element(candidates.begin(), candidates.end());
    }

    // The whole text; a menu item's name before its key; a tool tip's "Name (Key)".
    QString Translate(const QString& shown, const QString& given, QString& source) const {
        source = SourceOf(shown, given);
        if (!source.isEmpty())
            return UiText(source.toStdString());
        const qsizetype tab = shown.indexOf(kKeySeparator);
        if (tab > 0) {
            source = SourceOf(shown.left(tab), given);
            if (!source.isEmpty())
                return UiText(source.toStdString()) + shown.mid(tab);
        }
        static const QRegularExpression withKey(QStringLiteral("^(.+) \\(([^()]+)\\)$"));
        const QRegularExpressionMatch match = withKey.match(shown);
        if (match.hasMatch()) {
            source = SourceOf(match.captured(1), given);
            if (!source.isEmpty())
                return UiText("%1 (%2)").arg(UiText(source.toStdString()), match.captured(2));
        }
        return shown;
    }

    const UiTextSources& sources_;
};

void RetranslateAction(const CRetranslator& translator, QAction* action) {
    translator.Retranslate({action, "text", [action] { return action->text(); },
                            [action](const QString& text) { action->setText(text); }});
    translator.Retranslate({action, "statusTip", [action] { return action->statusTip(); },
                            [action](const QString& text) { action->setStatusTip(text); }});
    translator.Retranslate({action, "toolTip", [action] { return action->toolTip(); },
                            [action](const QString& text) { action->setToolTip(text); }});
}

void RetranslateWidget(const CRetranslator& translator, QWidget* widget) {
    translator.Retranslate({widget, "windowTitle", [widget] { return widget->windowTitle(); },
                            [widget](const QString& text) { widget->setWindowTitle(text); }});
    translator.Retranslate({widget, "toolTip", [widget] { return widget->toolTip(); },
                            [widget](const QString& text) { widget->setToolTip(text); }});
    if (auto* label = qobject_cast<QLabel*>(widget))
        translator.Retranslate({label, "text", [label] { return label->text(); },
                                [label](const QString& text) { label->setText(text); }});
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        translator.Retranslate({button, "text", [button] { return button->text(); },
                                [button](const QString& text) { button->setText(text); }});
    if (auto* box = qobject_cast<QGroupBox*>(widget))
        translator.Retranslate({box, "title", [box] { return box->title(); },
                                [box](const QString& text) { box->setTitle(text); }});
    if (auto* menu = qobject_cast<QMenu*>(widget))
        translator.Retranslate({menu, "title", [menu] { return menu->title(); },
                                [menu](const QString& text) { menu->setTitle(text); }});
    if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
        for (int i = 0; i < tabs->count(); ++i) {
            const QByteArray name = "tab" + QByteArray::number(i);
            translator.Retranslate({tabs, name.constData(), [tabs, i] { return tabs->tabText(i); },
                                    [tabs, i](const QString& text) { tabs->setTabText(i, text); }});
        }
    }
}

} // namespace

void RetranslateWindows(const UiTextSources& sources) {
    const CRetranslator translator(sources);
    for (QWidget* window : QApplication::topLevelWidgets()) {
        RetranslateWidget(translator, window);
        for (QWidget* widget : window->findChildren<QWidget*>())
            RetranslateWidget(translator, widget);
        for (QAction* action : window->findChildren<QAction*>())
            RetranslateAction(translator, action);
    }
}

} // namespace mirado
