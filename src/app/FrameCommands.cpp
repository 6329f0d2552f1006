#include "app/FrameCommands.h"

#include "platform/qtcore/UiText.h"

#include <QActionGroup>
#include <QIcon>
#include <QKeySequence>
#include <QMenuBar>
#include <QToolBar>
#include <QWidget>

// The icons are compiled into this static library; their resources are registered
// explicitly because nothing references them otherwise.
static void InitIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace mirado {

namespace {

constexpr int kNavigationMinimumFiles = 2;

// A separator in the toolbar order.
constexpr int kSeparator = 0;

// Toolbar order; kSeparator marks a separator.
const int kToolBarOrder[] = {ID_FILE_OPEN,      ID_FILE_SAVE,     kSeparator,       ID_AMPLITUDE_UP,
                             ID_AMPLITUDE_DOWN, ID_ZOOM_OUT,      ID_ZOOM_IN,       kSeparator,
                             ID_FIRST_FILE,     ID_PREV_FILE,     ID_AUTO_BACKWARD, ID_AUTO_STOP,
                             ID_AUTO_FORWARD,   ID_NEXT_FILE,     ID_LAST_FILE,     kSeparator,
                             ID_ANALYSIS_SM,    kSeparator,       ID_ANALYSIS_S,    ID_FITTED_CURVE,
                             kSeparator,        ID_STORED_VALUES, kSeparator,       ID_EDIT_ID};

const int kFileMenuOrder[] = {
    ID_FILE_OPEN,  ID_FILE_SAVE, kSeparator, ID_FILE_PRINT_SETUP, ID_FILE_PRINT_PREVIEW,
    ID_FILE_PRINT, kSeparator,   ID_SUMMARY, kSeparator,          ID_APP_EXIT};
const int kDisplayMenuOrder[] = {ID_FIRST_FILE, ID_PREV_FILE, ID_NEXT_FILE,
                                 ID_LAST_FILE,  kSeparator,   ID_COLOR};
const int kHelpMenuOrder[] = {ID_APP_ABOUT};

// A command's name and the frame's key for it, for its tool tip and, where its menu
// text is the program's own, its menu text. The key is only written: the frame acts on
// the key's release, so a shortcut would act a second time.
struct CommandName {
    CommandId id;
    const char* name;
    const char* key; // empty: the command has no key
    bool ownMenuText;
};

const CommandName kCommandNames[] = {
    {ID_FILE_OPEN, QT_TRANSLATE_NOOP("Mirado", "Open"), "Ctrl+O", false},
    {ID_FILE_SAVE, QT_TRANSLATE_NOOP("Mirado", "Save"), "Ctrl+S", false},
    {ID_AMPLITUDE_UP, QT_TRANSLATE_NOOP("Mirado", "Amplitude Up"), "2", true},
    {ID_AMPLITUDE_DOWN, QT_TRANSLATE_NOOP("Mirado", "Amplitude Down"), "1", true},
    {ID_ZOOM_OUT, QT_TRANSLATE_NOOP("Mirado", "Zoom Out"), "F", true},
    {ID_ZOOM_IN, QT_TRANSLATE_NOOP("Mirado", "Zoom In"), "E", true},
    {ID_FIRST_FILE, QT_TRANSLATE_NOOP("Mirado", "First File"), "", false},
    {ID_PREV_FILE, QT_TRANSLATE_NOOP("Mirado", "Prev. File"), "Up", false},
    {ID_AUTO_BACKWARD, QT_TRANSLATE_NOOP("Mirado", "Step Backward Automatically"), "", true},
    {ID_AUTO_STOP, QT_TRANSLATE_NOOP("Mirado", "Stop Stepping"), "", true},
    {ID_AUTO_FORWARD, QT_TRANSLATE_NOOP("Mirado", "Step Forward Automatically"), "", true},
    {ID_NEXT_FILE, QT_TRANSLATE_NOOP("Mirado", "Next File"), "Down", false},
    {ID_LAST_FILE, QT_TRANSLATE_NOOP("Mirado", "Last File"), "", false},
    {ID_ANALYSIS_SM, QT_TRANSLATE_NOOP("Mirado", "Analysis S-M"), "Z", true},
    {ID_ANALYSIS_S, QT_TRANSLATE_NOOP("Mirado", "Analysis S"), "", true},
    {ID_FITTED_CURVE, QT_TRANSLATE_NOOP("Mirado", "Fitted Curve"), "X", true},
    {ID_STORED_VALUES, QT_TRANSLATE_NOOP("Mirado", "Stored Values"), "V", true},
    {ID_EDIT_ID, QT_TRANSLATE_NOOP("Mirado", "Edit ID"), "Ctrl+I", false},
};

// The commands that choose where the shown values come from; one of them is checked.
const CommandId kValueSourceCommands[] = {ID_STORED_VALUES, ID_ANALYSIS_S, ID_ANALYSIS_SM};

CommandId CheckedValueSource(const CommandState& state) {
    if (!state.analysisSource)
        return ID_STORED_VALUES;
    return state.analysisValid ? ID_ANALYSIS_SM : ID_ANALYSIS_S;
}

template <std::size_t N>
void AddItems(const CFrameCommands& commands, QMenu& menu, const int (&order)[N]) {
    for (int id : order) {
        if (id == kSeparator)
            menu.addSeparator();
        else
            menu.addAction(commands.Action(static_cast<CommandId>(id)));
    }
}

} // namespace

bool IsEnabledByRule(EnableRule rule, const CommandState& state) {
    const bool several = state.fileCount >= kNavigationMinimumFiles;
    switch (rule) {
    case EnableRule::Always:
        return true;
    case EnableRule::Navigation:
        return several && !state.stepping;
    case EnableRule::StopStepping:
        return several && state.stepping;
    case EnableRule::LoadedNotStepping:
        return state.loaded && !state.stepping;
    case EnableRule::Loaded:
        return state.loaded;
    case EnableRule::Save:
        return state.canSave;
    case EnableRule::HasFiles:
        return state.fileCount > 0;
    }
    return false;
}

CFrameCommands::CFrameCommands(QWidget* frame) : QObject(frame), frame_(frame) {
    InitIconResources();
    const auto icon = [](const char* name) { return QStringLiteral(":/icons/%1.svg").arg(name); };
    Add(ID_FILE_NEW, UiText("New"), {}, EnableRule::Always);
    Add(ID_FILE_OPEN, UiText("Open(&O)..."), icon("open"), EnableRule::Always);
    Add(ID_FILE_SAVE, UiText("Save(&S)"), icon("save"), EnableRule::Save);
    Add(ID_FILE_PRINT_SETUP, UiText("Printer Setting..."), {}, EnableRule::Always);
    Add(ID_FILE_PRINT_PREVIEW, UiText("Print Preview"), {}, EnableRule::LoadedNotStepping);
    Add(ID_FILE_PRINT, UiText("Print this file..."), {}, EnableRule::LoadedNotStepping);
    Add(ID_APP_EXIT, UiText("Exit(&X)"), {}, EnableRule::Always);
    Add(ID_APP_ABOUT, UiText("About(&A)..."), {}, EnableRule::Always);
    Add(ID_FIRST_FILE, UiText("First File"), icon("first_file"), EnableRule::Navigation);
    Add(ID_PREV_FILE, UiText("Prev. File"), icon("prev_file"), EnableRule::Navigation);
    Add(ID_NEXT_FILE, UiText("Next File"), icon("next_file"), EnableRule::Navigation);
    Add(ID_LAST_FILE, UiText("Last File"), icon("last_file"), EnableRule::Navigation);
    Add(ID_COLOR, UiText("Color"), {}, EnableRule::Always);
    Add(ID_AUTO_FORWARD, {}, icon("auto_forward"), EnableRule::Navigation);
    Add(ID_AUTO_BACKWARD, {}, icon("auto_backward"), EnableRule::Navigation);
    Add(ID_AUTO_STOP, {}, icon("auto_stop"), EnableRule::StopStepping);
    Add(ID_AMPLITUDE_UP, {}, icon("amplitude_up"), EnableRule::LoadedNotStepping);
    Add(ID_AMPLITUDE_DOWN, {}, icon("amplitude_down"), EnableRule::LoadedNotStepping);
    Add(ID_ZOOM_OUT, {}, icon("zoom_out"), EnableRule::LoadedNotStepping);
    Add(ID_ZOOM_IN, {}, icon("zoom_in"), EnableRule::LoadedNotStepping);
    Add(ID_ANALYSIS_SM, {}, icon("analysis_sm"), EnableRule::LoadedNotStepping);
    Add(ID_ANALYSIS_S, {}, icon("analysis_s"), EnableRule::LoadedNotStepping);
    Add(ID_STORED_VALUES, {}, icon("stored_values"), EnableRule::Loaded);
    Add(ID_FITTED_CURVE, {}, icon("fitted_curve"), EnableRule::Loaded);
    Add(ID_EDIT_ID, {}, icon("edit_id"), EnableRule::Loaded);
    Add(ID_SUMMARY, UiText("Summary..."), {}, EnableRule::HasFiles);

    Action(ID_FILE_NEW)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
    Action(ID_FILE_OPEN)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
    Action(ID_FILE_SAVE)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    Action(ID_EDIT_ID)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    AddToolTips();
    MakeCheckable();
    Action(ID_FILE_OPEN)->setStatusTip(UiText("Open an existing document"));
    Action(ID_FILE_SAVE)->setStatusTip(UiText("Save the active document"));
    // Ctrl+N and Ctrl+I reach their commands without a menu item.
    frame_->addAction(Action(ID_FILE_NEW));
    frame_->addAction(Action(ID_EDIT_ID));
    // Ctrl+P is a key of the window only: the menu item "Print this file..." names no key.
    auto* printKey = new QAction(frame_);
    printKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    connect(printKey, &QAction::triggered, this, [this] {
        QAction* print = Action(ID_FILE_PRINT);
        if (print->isEnabled())
            print->trigger();
    });
    frame_->addAction(printKey);
}

void CFrameCommands::Add(CommandId id, const QString& text, const QString& icon, EnableRule rule) {
    auto* action = new QAction(text, frame_);
    action->setData(static_cast<int>(id));
    if (!icon.isEmpty())
        action->setIcon(QIcon(icon));
    action->setEnabled(false);
    commands_[id] = Command{action, rule};
}

void CFrameCommands::AddToolTips() {
    for (const CommandName& command : kCommandNames) {
        QAction* action = Action(command.id);
        const QString name = UiText(command.name);
        const QString key = QString::fromLatin1(command.key);
        action->setToolTip(key.isEmpty() ? name : UiText("%1 (%2)").arg(name, key));
        if (command.ownMenuText)
            action->setText(key.isEmpty() ? name : name + QLatin1Char('\t') + key);
    }
}

void CFrameCommands::MakeCheckable() {
    Action(ID_FITTED_CURVE)->setCheckable(true);
    auto* sources = new QActionGroup(this);
    sources->setExclusionPolicy(QActionGroup::ExclusionPolicy::Exclusive);
    for (CommandId id : kValueSourceCommands) {
        Action(id)->setCheckable(true);
        sources->addAction(Action(id));
    }
    Action(ID_STORED_VALUES)->setChecked(true);
}

QAction* CFrameCommands::Action(CommandId id) const {
    const auto it = commands_.find(id);
    return it == commands_.end() ? nullptr : it->second.action;
}

void CFrameCommands::Wire(CommandId id, std::function<void()> handler) {
    auto it = commands_.find(id);
    if (it == commands_.end())
        return;
    connect(it->second.action, &QAction::triggered, this, [handler] { handler(); });
}

EnableRule CFrameCommands::RuleOf(CommandId id) const {
    const auto it = commands_.find(id);
    return it == commands_.end() ? EnableRule::Always : it->second.rule;
}

void CFrameCommands::BuildMenuBar(QMenuBar& menuBar) const {
    // The menus are found by their object names: their titles change with the language.
    QMenu* file = menuBar.addMenu(UiText("File(&F)"));
    file->setObjectName(QStringLiteral("fileMenu"));
    AddItems(*this, *file, kFileMenuOrder);
    QMenu* display = menuBar.addMenu(UiText("Display(&D)"));
    display->setObjectName(QStringLiteral("displayMenu"));
    AddItems(*this, *display, kDisplayMenuOrder);
    QMenu* help = menuBar.addMenu(UiText("Help(&H)"));
    help->setObjectName(QStringLiteral("helpMenu"));
    AddItems(*this, *help, kHelpMenuOrder);
}

void CFrameCommands::BuildToolBar(QToolBar& toolBar) const {
    for (int id : kToolBarOrder) {
        if (id == kSeparator)
            toolBar.addSeparator();
        else
            toolBar.addAction(Action(static_cast<CommandId>(id)));
    }
}

void CFrameCommands::Apply(const CommandState& state) {
    for (auto& [id, command] : commands_)
        command.action->setEnabled(IsEnabledByRule(command.rule, state));
    ApplyChecks(state);
}

void CFrameCommands::ApplyChecks(const CommandState& state) {
    Action(ID_FITTED_CURVE)->setChecked(state.fittedCurve);
    // The group unchecks the other sources.
    Action(CheckedValueSource(state))->setChecked(true);
}

} // namespace mirado
