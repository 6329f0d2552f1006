#include "app/MainFrame.h"

#include "app/FrameEditing.h"
#include "app/FramePrinting.h"
#include "app/FrameViewing.h"
#include "app/KeyboardShortcuts.h"
#include "app/ViewMenu.h"
#include "platform/qtcore/UiText.h"

#include "document/MiradoDoc.h"
#include "document/NaturalOrder.h"
#include "platform/qtcore/PathBytes.h"
#include "platform/qtcore/UserEvents.h"
#include "views/FilenameView.h"
#include "views/InformationView.h"
#include "views/WaveView.h"
#include "views/WholeView.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>
#include <string>
#include <utility>

namespace mirado {

namespace {

constexpr int kStatusPaneCharacters = 80;
constexpr int kToolBarIconSize = 16;
constexpr int kForward = 1;
constexpr int kBackward = -1;
const char* const kApplicationName = "Mirado";
const char* const kUntitled = "Untitled";

bool IsLetter(int key) {
    return key >= Qt::Key_A && key <= Qt::Key_Z;
}

bool HasCtrlOrAlt(const QKeyEvent& event) {
    return (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier)) != 0;
}

// The frame's client area below the toolbar: lays the panes out whenever its size changes.
class PaneContainer : public QWidget {
public:
    PaneContainer(CMainFrame& frame) : QWidget(&frame), frame_(frame) {}

protected:
    void resizeEvent(QResizeEvent* event) override {
        QWidget::resizeEvent(event);
        frame_.RecalcLayout();
    }

private:
    CMainFrame& frame_;
};

} // namespace

CMainFrame::CMainFrame(CMiradoDoc* document, QWidget* parent)
    : QMainWindow(parent), document_(document), commands_(new CFrameCommands(this)),
      watcher_(*this) {
    setWindowIcon(QIcon(QStringLiteral(":/icons/mirado.svg")));
    setAcceptDrops(true);
    setDockOptions(QMainWindow::AnimatedDocks);
    commands_->BuildMenuBar(*menuBar());
    AddViewMenu(*this);
    CKeyboardShortcutsWindow::AddToHelpMenu(*this);
    CreateToolBar();
    CreateStatusBar();

    client_ = new PaneContainer(*this);
    client_->setMinimumSize(0, 0);
    setCentralWidget(client_);
    CreatePanes();
    WireCommands();
    WireViewing(*this);
    editing_ = CFrameEditing::Install(*this);

    stepTimer_.setTimerType(Qt::PreciseTimer);
    connect(&stepTimer_, &QTimer::timeout, this, &CMainFrame::OnTimer);

    document_->AddView(&watcher_);
    document_->SetTitleListener([this](const std::string& title) { UpdateTitle(title); });
    UpdateTitle(document_->GetTitle());
    UpdateMinimumSize();
    SetInitialSize();
    UpdateCommandStates();
}

void CMainFrame::SetInitialSize() {
    // A new window takes three quarters of the screen, as desktop windows usually open.
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QSize available = screen->availableGeometry().size();
    resize(std::max(minimumWidth(), available.width() * 3 / 4),
           std::max(minimumHeight(), available.height() * 3 / 4));
}

CMainFrame::~CMainFrame() {
    stepTimer_.stop();
    document_->RemoveView(&watcher_);
    document_->SetTitleListener(nullptr);
}

void CMainFrame::CreateToolBar() {
    auto* toolBar = new QToolBar(UiText("Toolbar"), this);
    toolBar->setObjectName(QStringLiteral("toolbar"));
    toolBar->setIconSize(QSize(kToolBarIconSize, kToolBarIconSize));
    toolBar->setMovable(true);
    toolBar->setFloatable(true);
    toolBar->setAllowedAreas(Qt::AllToolBarAreas);
    commands_->BuildToolBar(*toolBar);
    addToolBar(Qt::TopToolBarArea, toolBar);
}

void CMainFrame::CreateStatusBar() {
    statusPane_ = new QLabel(this);
    statusPane_->setObjectName(QStringLiteral("statusPane"));
    const QFontMetrics metrics(statusBar()->font());
    statusPane_->setMinimumWidth(
        metrics.horizontalAdvance(QString(kStatusPaneCharacters, QLatin1Char('_'))));
    statusPane_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(statusPane_);
}

void CMainFrame::CreatePanes() {
    waveView_ = new CWaveView(document_, client_);
    wholeView_ = new CWholeView(document_, client_);
    fileList_ = new CFilenameView(document_, client_);
    informationPane_ = new CInformationView(document_, client_);
    for (CViewBase* pane : Panes())
        pane->SetKeyTarget(this);
    connect(waveView_, &CWaveView::StatusTextChanged, this, &CMainFrame::SetStatusText);
    connect(fileList_, &CFilenameView::SelectAllRequested, this, &CMainFrame::OnSelectAllFiles);
    connect(fileList_, &CFilenameView::ClearSelectionRequested, this,
            &CMainFrame::OnClearSelection);
    for (CViewBase* pane : Panes())
        pane->OnInitialUpdate();
    // The wave view is the active view: keys and printing start there.
    waveView_->setFocus();
}

std::vector<CViewBase*> CMainFrame::Panes() const {
    std::vector<CViewBase*> panes;
    for (CViewBase* pane :
         {static_cast<CViewBase*>(waveView_), wholeView_, static_cast<CViewBase*>(fileList_),
          static_cast<CViewBase*>(informationPane_)})
        if (pane != nullptr)
            panes.push_back(pane);
    return panes;
}

void CMainFrame::WireCommands() {
    CFrameCommands& c = *commands_;
    c.Wire(ID_FILE_NEW, [this] { OnFileNew(); });
    c.Wire(ID_FILE_OPEN, [this] { OnFileOpen(); });
    c.Wire(ID_FILE_SAVE, [this] { document_->SaveCurrentFile(); });
    c.Wire(ID_APP_EXIT, [this] { close(); });
    c.Wire(ID_FIRST_FILE, [this] { OnFirstFile(); });
    c.Wire(ID_PREV_FILE, [this] { OnPrevFile(); });
    c.Wire(ID_NEXT_FILE, [this] { OnNextFile(); });
    c.Wire(ID_LAST_FILE, [this] { OnLastFile(); });
    c.Wire(ID_AUTO_FORWARD, [this] { StartStepping(kForward); });
    c.Wire(ID_AUTO_BACKWARD, [this] { StartStepping(kBackward); });
    c.Wire(ID_AUTO_STOP, [this] { StopStepping(); });
    c.Wire(ID_AMPLITUDE_UP, [this] { PostToWaveView(WM_AMPLITUDE_UP); });
    c.Wire(ID_AMPLITUDE_DOWN, [this] { PostToWaveView(WM_AMPLITUDE_DOWN); });
    c.Wire(ID_ZOOM_OUT, [this] { PostToWaveView(WM_ZOOM_OUT); });
    c.Wire(ID_ZOOM_IN, [this] { PostToWaveView(WM_ZOOM_IN); });
    c.Wire(ID_ANALYSIS_SM, [this] { document_->ShowAnalysis(true); });
    c.Wire(ID_ANALYSIS_S, [this] { document_->ShowAnalysis(false); });
    c.Wire(ID_STORED_VALUES, [this] { document_->ShowStoredValues(); });
    c.Wire(ID_FITTED_CURVE, [this] { ToggleFittedCurve(); });
    WirePrinting(*this, c);
    // Every command can change what the rules look at.
    for (QAction* action : findChildren<QAction*>())
        connect(action, &QAction::triggered, this, &CMainFrame::UpdateCommandStates,
                Qt::QueuedConnection);
    for (QMenu* menu : menuBar()->findChildren<QMenu*>())
        connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateCommandStates);
}

void CMainFrame::UpdateCommandStates() {
    CommandState state;
    state.loaded = document_->IsLoaded();
    state.fileCount = document_->GetFileCount();
    state.stepping = autoStepDirection_ != 0;
    state.canSave = document_->CanSaveCurrentFile();
    state.fittedCurve = document_->IsFittedCurveShown();
    state.analysisSource = document_->IsAnalysisSource();
    state.analysisValid = document_->IsAnalysisValid();
    commands_->Apply(state);
    if (editing_ != nullptr)
        editing_->UpdateRevertState();
}

QRect CMainFrame::FreeArea() const {
    // The frame's client area begins below the menu bar; the central widget is what the
    // toolbar and the status bar leave of it.
    const int menuHeight = menuWidget() != nullptr ? menuWidget()->geometry().bottom() + 1 : 0;
    return client_->geometry().translated(0, -menuHeight);
}

void CMainFrame::RecalcLayout() {
    const QRect area = FreeArea();
    for (CViewBase* pane : Panes()) {
        const QRect rect = pane->CalcWindowRect(area);
        pane->setGeometry(rect.translated(-area.topLeft()));
    }
}

void CMainFrame::UpdateMinimumSize() {
    const int menuHeight = menuWidget() != nullptr ? menuWidget()->sizeHint().height() : 0;
    // The whole information column shows at the smallest size, below toolbar and above
    // the status bar.
    const auto* toolBar = findChild<QToolBar*>();
    const int bars =
        (toolBar != nullptr ? toolBar->sizeHint().height() : 0) + statusBar()->sizeHint().height();
    const int column = CInformationView::ColumnHeight() + bars;
    setMinimumSize(kMinimumClientWidth, std::max(kMinimumClientHeight, column) + menuHeight);
}

void CMainFrame::SetStatusText(const QString& text) {
    // Queued redraw: the wave view hands the text over while it paints.
    statusPane_->setText(text);
}

QString CMainFrame::StatusText() const {
    return statusPane_->text();
}

void CMainFrame::UpdateTitle(const std::string& title) {
    const QString name = title.empty() ? UiText(kUntitled) : QString::fromStdString(title);
    // "[*]" is where the window shows its modified mark.
    setWindowTitle(name + QStringLiteral("[*] - ") + QString::fromLatin1(kApplicationName));
}

void CMainFrame::ShowFile(int index) {
    document_->OpenFileAt(index);
    fileList_->SetCurrentRow(document_->GetCurrentIndex());
    // A refused open (a save the user asked for failed) stays on the file: stepping on
    // would ask again at every tick.
    if (document_->GetCurrentIndex() != index)
        StopStepping();
}

// The file at index, kept within the list; the current file is not opened again.
void CMainFrame::ShowListRow(int index) {
    const int count = document_->GetFileCount();
    if (count <= 0)
        return;
    index = std::clamp(index, 0, count - 1);
    if (index != document_->GetCurrentIndex())
        ShowFile(index);
}

// Page Up and Page Down move by the rows the file list shows, at least one.
int CMainFrame::ListPageRows() const {
    return std::max(1, fileList_->GetVisibleRowCount());
}

void CMainFrame::OnFileOpen() {
    if (document_->ChooseFiles() != 0)
        ShowNewFileList();
}

void CMainFrame::OpenPaths(const std::vector<std::string>& paths) {
    if (!paths.empty() && document_->SetFileList(paths) != 0)
        ShowNewFileList();
}

void CMainFrame::OnFileNew() {
    if (!document_->SaveModified())
        return;
    StopStepping();
    document_->NewDocument();
    fileList_->UpdateFileCount();
    UpdateCommandStates();
}

// A new list was picked: its first file opens, and the list pane and the commands follow.
void CMainFrame::ShowNewFileList() {
    document_->OpenFileAt(0);
    fileList_->UpdateFileCount();
    fileList_->SetCurrentRow(0);
    UpdateCommandStates();
    emit FileListOpened();
}

void CMainFrame::OnFirstFile() {
    ShowFile(0);
}

void CMainFrame::OnPrevFile() {
    const int index = document_->PrevIndex();
    if (index != -1)
        ShowFile(index);
    else if (autoStepDirection_ != 0)
        StopStepping();
}

void CMainFrame::OnNextFile() {
    const int index = document_->NextIndex();
    if (index != -1)
        ShowFile(index);
    else if (autoStepDirection_ != 0)
        StopStepping();
}

void CMainFrame::OnLastFile() {
    ShowFile(document_->LastIndex());
}

void CMainFrame::StartStepping(int direction) {
    autoStepDirection_ = direction;
    stepTimer_.start(document_->GetStepPeriod());
    UpdateCommandStates();
}

void CMainFrame::StopStepping() {
    stepTimer_.stop();
    autoStepDirection_ = 0;
    UpdateCommandStates();
}

void CMainFrame::OnTimer() {
    if (autoStepDirection_ == kForward)
        OnNextFile();
    else if (autoStepDirection_ == kBackward)
        OnPrevFile();
}

void CMainFrame::OnSelectAllFiles() {
    document_->SelectAll();
    fileList_->update();
}

void CMainFrame::OnClearSelection() {
    document_->ClearSelection();
    fileList_->update();
}

void CMainFrame::PostToWaveView(int message) {
    PostUserMessage(waveView_, static_cast<UserMessage>(message));
}

void CMainFrame::ToggleFittedCurve() {
    document_->SetFittedCurveShown(!document_->IsFittedCurveShown());
    document_->UpdateAllViews();
}

void CMainFrame::SwitchLanguage(UiLanguage language) {
    if (languageSwitcher_) {
        languageSwitcher_(language);
        UpdateTitle(document_->GetTitle());
        return;
    }
    statusBar()->showMessage(UiText("The language changes at the next start."));
}

void CMainFrame::ApplyColours() {
    SendUserMessage(this, WM_APPLY_COLOURS);
}

bool CMainFrame::event(QEvent* event) {
    if (IsUserMessage(event)) {
        HandleUserMessage(event);
        return true;
    }
    // Every key press is offered as a possible shortcut first, even one a shortcut takes.
    if (event->type() == QEvent::ShortcutOverride)
        NoteLetterPress(*static_cast<QKeyEvent*>(event));
    return QMainWindow::event(event);
}

void CMainFrame::HandleUserMessage(QEvent* event) {
    const auto* message = static_cast<CUserEvent*>(event);
    const int index = static_cast<int>(message->WParam());
    // A posted index may be stale when the list changed before it arrived.
    const bool listed = index >= 0 && index < document_->GetFileCount();
    switch (message->Message()) {
    case WM_SELECT_FILE:
        if (listed)
            ShowFile(index);
        break;
    case WM_TOGGLE_FILE:
        if (listed) {
            document_->ToggleSelected(index);
            fileList_->update();
        }
        break;
    case WM_APPLY_COLOURS:
        waveView_->ApplyColourSettings();
        break;
    default:
        break;
    }
    UpdateCommandStates();
}

void CMainFrame::keyReleaseEvent(QKeyEvent* event) {
    // A held key acts once, when it is let go; the repeats of a held key are not releases.
    if (event->isAutoRepeat())
        return QMainWindow::keyReleaseEvent(event);
    const bool keypad = (event->modifiers() & Qt::KeypadModifier) != 0;
    // The letter keys act with or without Shift, but not as part of a Ctrl or Alt
    // shortcut (Ctrl+Z is Undo).
    if (IsShortcutLetterRelease(*event))
        return QMainWindow::keyReleaseEvent(event);
    switch (event->key()) {
    case Qt::Key_Space:
        document_->ToggleCurrentSelection();
        document_->UpdateAllViews();
        break;
    case Qt::Key_Up:
        OnPrevFile();
        break;
    case Qt::Key_Down:
        OnNextFile();
        break;
    case Qt::Key_1:
        if (keypad)
            return QMainWindow::keyReleaseEvent(event);
        PostToWaveView(WM_AMPLITUDE_DOWN);
        break;
    case Qt::Key_2:
        if (keypad)
            return QMainWindow::keyReleaseEvent(event);
        PostToWaveView(WM_AMPLITUDE_UP);
        break;
    case Qt::Key_E:
        PostToWaveView(WM_ZOOM_IN);
        break;
    case Qt::Key_F:
        PostToWaveView(WM_ZOOM_OUT);
        break;
    case Qt::Key_X:
        ToggleFittedCurve();
        break;
    case Qt::Key_Z:
        document_->ShowAnalysis(true);
        break;
    case Qt::Key_V:
        document_->ShowStoredValues();
        break;
    case Qt::Key_Home:
        ShowListRow(0);
        break;
    case Qt::Key_End:
        ShowListRow(document_->GetFileCount() - 1);
        break;
    case Qt::Key_PageUp:
        ShowListRow(document_->GetCurrentIndex() - ListPageRows());
        break;
    case Qt::Key_PageDown:
        ShowListRow(document_->GetCurrentIndex() + ListPageRows());
        break;
    default:
        return QMainWindow::keyReleaseEvent(event);
    }
    UpdateCommandStates();
}

void CMainFrame::NoteLetterPress(const QKeyEvent& press) {
    if (!IsLetter(press.key()) || press.isAutoRepeat())
        return;
    if (HasCtrlOrAlt(press))
        shortcutLetters_.insert(press.key());
    else
        shortcutLetters_.erase(press.key());
}

bool CMainFrame::IsShortcutLetterRelease(const QKeyEvent& release) {
    if (!IsLetter(release.key()))
        return false;
    const bool pressedAsShortcut = shortcutLetters_.erase(release.key()) > 0;
    return pressedAsShortcut || HasCtrlOrAlt(release);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!document_->SaveModified()) {
        event->ignore();
        return;
    }
    StopStepping();
    event->accept();
    emit Closing();
}

namespace {
std::vector<std::string> LocalFiles(const QMimeData* mime) {
    std::vector<std::string> paths;
    if (mime == nullptr || !mime->hasUrls())
        return paths;
    for (const QUrl& url : mime->urls()) {
        if (!url.isLocalFile())
            continue;
        std::string path = PathBytes(url);
        if (IsRegularFile(path))
            paths.push_back(std::move(path));
    }
    return paths;
}
} // namespace

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (!LocalFiles(event->mimeData()).empty())
        event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    if (OpenDroppedFiles(event->mimeData()))
        event->acceptProposedAction();
}

bool CMainFrame::OpenDroppedFiles(const QMimeData* mime) {
    std::vector<std::string> paths = LocalFiles(mime);
    if (paths.empty())
        return false;
    SortByNaturalName(paths);
    OpenPaths(paths);
    return true;
}

} // namespace mirado
