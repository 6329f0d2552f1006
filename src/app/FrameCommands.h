#pragma once
// CFrameCommands: the main window's commands as actions: their menu texts, toolbar
// images, accelerators and enable rules. It builds the menu bar and the toolbar in
// their fixed order and keeps every action's enabled state current from the frame's
// state.

#include "app/CommandIds.h"

#include <QAction>
#include <QObject>

#include <functional>
#include <map>

class QMenuBar;
class QToolBar;

namespace mirado {

// What the enable rules look at.
struct CommandState {
    bool loaded = false;   // the document has opened a file
    int fileCount = 0;     // files in the list
    bool stepping = false; // automatic stepping runs
    bool canSave = false;  // the current file can be rewritten
    // What the checkable commands show.
    bool fittedCurve = false;    // the fitted curve is drawn
    bool analysisSource = false; // the analysis gives the values, not the file
    bool analysisValid = false;  // the analysis includes marker M
};

enum class EnableRule {
    Always,
    Navigation,        // two or more files, not stepping
    StopStepping,      // two or more files, stepping
    LoadedNotStepping, // a file is loaded, not stepping
    Loaded,            // a file is loaded
    Save,              // the current file can be rewritten
    HasFiles,          // the list holds a file
};

bool IsEnabledByRule(EnableRule rule, const CommandState& state);

class CFrameCommands : public QObject {
    Q_OBJECT
public:
    explicit CFrameCommands(QWidget* frame);

    QAction* Action(CommandId id) const;
    // Connects the command to its handler.
    void Wire(CommandId id, std::function<void()> handler);
    EnableRule RuleOf(CommandId id) const;

    void BuildMenuBar(QMenuBar& menuBar) const;
    void BuildToolBar(QToolBar& toolBar) const;
    // Sets every action's enabled state for the given state.
    void Apply(const CommandState& state);

private:
    struct Command {
        QAction* action;
        EnableRule rule;
    };
    void Add(CommandId id, const QString& text, const QString& icon, EnableRule rule);
    void AddToolTips();
    void MakeCheckable();
    void ApplyChecks(const CommandState& state);

    QWidget* frame_;
    std::map<CommandId, Command> commands_;
};

} // namespace mirado
