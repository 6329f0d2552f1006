#include "app/ViewMenu.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "platform/qtcore/UiText.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

namespace mirado {

namespace {

// The menu the View menu stands before: Help, the last one.
QAction* HelpMenuAction(QMenuBar& menuBar) {
    for (QAction* action : menuBar.actions())
        if (action->menu() != nullptr && action->menu()->objectName() == QStringLiteral("helpMenu"))
            return action;
    return nullptr;
}

void AddLanguageItem(QMenu& menu, CMainFrame& frame, QActionGroup& group, UiLanguage language,
                     const QString& name) {
    CMiradoDoc& doc = *frame.GetDocument();
    QAction* action = menu.addAction(name);
    action->setObjectName(QStringLiteral("language_") +
                          QString::fromLatin1(UiLanguageCode(language)));
    action->setCheckable(true);
    action->setChecked(doc.GetMiradoSettings().GetLanguage() == language);
    group.addAction(action);
    QObject::connect(action, &QAction::triggered, &frame, [&doc, &frame, language] {
        CMiradoSettings& settings = doc.GetMiradoSettings();
        if (settings.GetLanguage() == language)
            return;
        settings.SetLanguage(language);
        frame.SwitchLanguage(language);
    });
}

// The toolbar's commands in the menu's order; kSeparator marks a separator.
constexpr int kSeparator = 0;
const int kToolBarCommandItems[] = {
    kSeparator,      ID_ZOOM_IN,        ID_ZOOM_OUT,      kSeparator,
    ID_AMPLITUDE_UP, ID_AMPLITUDE_DOWN, kSeparator,       ID_FITTED_CURVE,
    kSeparator,      ID_STORED_VALUES,  ID_ANALYSIS_S,    ID_ANALYSIS_SM,
    kSeparator,      ID_AUTO_FORWARD,   ID_AUTO_BACKWARD, ID_AUTO_STOP};

} // namespace

QMenu* AddViewMenu(CMainFrame& frame) {
    QMenuBar& menuBar = *frame.menuBar();
    auto* menu = new QMenu(UiText("View(&V)"), &menuBar);
    menu->setObjectName(QStringLiteral("viewMenu"));
    menuBar.insertMenu(HelpMenuAction(menuBar), menu);
    AddScaleLabelsItem(*menu, frame);
    AddToolBarCommandItems(*menu, frame);
    menu->addSeparator();
    AddLanguageItems(*menu, frame);
    return menu;
}

void AddScaleLabelsItem(QMenu& menu, CMainFrame& frame) {
    CMiradoDoc& doc = *frame.GetDocument();
    QAction* action = menu.addAction(UiText("Scale Labels"));
    action->setObjectName(QStringLiteral("scaleLabels"));
    action->setCheckable(true);
    action->setChecked(doc.GetMiradoSettings().GetScaleLabels());
    QObject::connect(action, &QAction::toggled, &frame, [&doc](bool shown) {
        doc.GetMiradoSettings().SetScaleLabels(shown);
        doc.UpdateAllViews();
    });
}

void AddLanguageItems(QMenu& menu, CMainFrame& frame) {
    QMenu* languages = menu.addMenu(UiText("Language"));
    languages->setObjectName(QStringLiteral("languageMenu"));
    auto* group = new QActionGroup(languages);
    AddLanguageItem(*languages, frame, *group, UiLanguage::English, QStringLiteral("English"));
    AddLanguageItem(*languages, frame, *group, UiLanguage::Japanese, QString::fromUtf8("日本語"));
}

void AddToolBarCommandItems(QMenu& menu, CMainFrame& frame) {
    for (int id : kToolBarCommandItems) {
        if (id == kSeparator)
            menu.addSeparator();
        else
            menu.addAction(frame.Action(static_cast<CommandId>(id)));
    }
}

} // namespace mirado
