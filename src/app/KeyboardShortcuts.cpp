#include "app/KeyboardShortcuts.h"

#include "platform/qtcore/UiText.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
#include <QTableWidget>
#include <QVBoxLayout>

#include <memory>

namespace mirado {

namespace {

constexpr int kInitialWidth = 560;
constexpr int kInitialHeight = 640;

} // namespace

const std::vector<ShortcutRow>& KeyboardShortcutRows() {
    static const std::vector<ShortcutRow> rows = {
        {"Ctrl+N", QT_TRANSLATE_NOOP("Mirado", "New: close the list of files")},
        {"Ctrl+O", QT_TRANSLATE_NOOP("Mirado", "Open files")},
        {"Ctrl+S", QT_TRANSLATE_NOOP("Mirado", "Save the current file")},
        {"Ctrl+Shift+S", QT_TRANSLATE_NOOP("Mirado", "Save every file with unsaved changes")},
        {"Ctrl+P",
         QT_TRANSLATE_NOOP("Mirado", "Print this file (the marked files when the file list "
                                     "was clicked last)")},
        {"Ctrl+Z", QT_TRANSLATE_NOOP("Mirado", "Undo")},
        {"Ctrl+Shift+Z, Ctrl+Y", QT_TRANSLATE_NOOP("Mirado", "Redo")},
        {"Ctrl+I", QT_TRANSLATE_NOOP("Mirado", "Edit the identification texts (ID)")},
        {"Up", QT_TRANSLATE_NOOP("Mirado", "Prev. File")},
        {"Down", QT_TRANSLATE_NOOP("Mirado", "Next File")},
        {"Home", QT_TRANSLATE_NOOP("Mirado", "First file of the list")},
        {"End", QT_TRANSLATE_NOOP("Mirado", "Last file of the list")},
        {"Page Up", QT_TRANSLATE_NOOP("Mirado", "A page of the file list back")},
        {"Page Down", QT_TRANSLATE_NOOP("Mirado", "A page of the file list on")},
        {"Space", QT_TRANSLATE_NOOP("Mirado", "Mark or unmark the current file")},
        {"1", QT_TRANSLATE_NOOP("Mirado", "Amplitude Down")},
        {"2", QT_TRANSLATE_NOOP("Mirado", "Amplitude Up")},
        {"E", QT_TRANSLATE_NOOP("Mirado", "Zoom In")},
        {"F", QT_TRANSLATE_NOOP("Mirado", "Zoom Out")},
        {"X", QT_TRANSLATE_NOOP("Mirado", "Fitted curve on or off")},
        {"Z", QT_TRANSLATE_NOOP("Mirado", "Analysis S-M")},
        {"V", QT_TRANSLATE_NOOP("Mirado", "Stored Values")},
        {"Left, Right", QT_TRANSLATE_NOOP("Mirado", "Wave view: travel a tenth of the view")},
        {"Wheel", QT_TRANSLATE_NOOP("Mirado", "Wave view: travel")},
        {"Ctrl+Wheel", QT_TRANSLATE_NOOP("Mirado", "Wave view: zoom")},
        {"Left, Right", QT_TRANSLATE_NOOP("Mirado", "Carrying a marker: move it one sample")},
        {"Shift+Left, Shift+Right",
         QT_TRANSLATE_NOOP("Mirado", "Carrying a marker: move it ten samples")},
        {"Enter", QT_TRANSLATE_NOOP("Mirado", "Carrying a marker: drop it")},
        {"Escape", QT_TRANSLATE_NOOP("Mirado", "Carrying a marker: put it back")},
        {"Shift+Click",
         QT_TRANSLATE_NOOP("Mirado", "File list: mark every file from the current one")},
        {"A", QT_TRANSLATE_NOOP("Mirado", "Review shown: accept the current reading")},
        {"R", QT_TRANSLATE_NOOP("Mirado", "Review shown: reject the current reading")},
        {"U", QT_TRANSLATE_NOOP("Mirado", "Review shown: clear the decision on it")},
        {"1 to 5", QT_TRANSLATE_NOOP("Mirado", "Reason list: pick the reason")},
        {"Ctrl+Alt+Z, Ctrl+Alt+Y", QT_TRANSLATE_NOOP("Mirado", "Undo or redo a decision")},
        {"Ctrl+C", QT_TRANSLATE_NOOP("Mirado", "Summary window: copy the selected cells")},
        {"Escape", QT_TRANSLATE_NOOP("Mirado", "Summary window: close it")},
        {"Ctrl+W", QT_TRANSLATE_NOOP("Mirado", "Summary window: close it")},
    };
    return rows;
}

CKeyboardShortcutsWindow::CKeyboardShortcutsWindow(QWidget* parent) : QDialog(parent) {
    setWindowTitle(UiText("Keyboard Shortcuts"));
    const std::vector<ShortcutRow>& rows = KeyboardShortcutRows();
    auto* table = new QTableWidget(static_cast<int>(rows.size()), 2, this);
    table->setHorizontalHeaderLabels({UiText("Key"), UiText("Action")});
    for (int row = 0; row < table->rowCount(); ++row) {
        const ShortcutRow& shortcut = rows[static_cast<size_t>(row)];
        table->setItem(row, 0, new QTableWidgetItem(QString::fromLatin1(shortcut.key)));
        table->setItem(row, 1, new QTableWidgetItem(UiText(shortcut.action)));
    }
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setFocusPolicy(Qt::NoFocus);
    table->verticalHeader()->setVisible(false);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table->horizontalHeader()->setStretchLastSection(true);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table);
    resize(kInitialWidth, kInitialHeight);
}

void CKeyboardShortcutsWindow::AddToHelpMenu(QWidget& window) {
    auto* help = window.findChild<QMenu*>(QStringLiteral("helpMenu"));
    if (help == nullptr)
        return;
    QAction* first = help->actions().isEmpty() ? nullptr : help->actions().constFirst();
    auto* action = new QAction(UiText("Keyboard Shortcuts"), help);
    action->setObjectName(QStringLiteral("keyboardShortcuts"));
    help->insertAction(first, action);
    // One window at a time: a second choice brings the open one to the front.
    auto shown = std::make_shared<QPointer<CKeyboardShortcutsWindow>>();
    QObject::connect(action, &QAction::triggered, &window, [&window, shown] {
        if (shown->isNull()) {
            *shown = new CKeyboardShortcutsWindow(&window);
            (*shown)->setAttribute(Qt::WA_DeleteOnClose);
        }
        (*shown)->show();
        (*shown)->raise();
        (*shown)->activateWindow();
    });
}

} // namespace mirado
