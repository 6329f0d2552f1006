#include "app/FrameReview.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "document/MiradoSettings.h"
#include "platform/SystemServices.h"
#include "platform/qtcore/UiText.h"
#include "platform/qtcore/UserEvents.h"
#include "review/AcceptanceProfile.h"
#include "reviewui/ReadingsDock.h"
#include "reviewui/ReadingsTableModel.h"
#include "reviewui/ReasonPickerDialog.h"
#include "reviewui/ReviewCommands.h"
#include "reviewui/ReviewState.h"
#include "reviewui/SessionPane.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <algorithm>
#include <thread>

namespace mirado {

// Tells the review when the document changed: another file list, another current file,
// or corrections made or saved.
class CFrameReview::Watcher : public IView {
public:
    explicit Watcher(CFrameReview& review) : review_(review) {}
    void OnUpdate(IView*) override { review_.FollowDocument(); }

private:
    CFrameReview& review_;
};

namespace {

QMenu* MenuNamed(CMainFrame& frame, const QString& name) {
    return frame.menuBar()->findChild<QMenu*>(name);
}

} // namespace

CFrameReview* CFrameReview::Install(CMainFrame& frame, IProfile* profile,
                                    const std::string& preferenceFolder, IUserPrompts& prompts,
                                    IReasonPicker* picker) {
    return new CFrameReview(frame, profile, preferenceFolder, prompts, picker);
}

CFrameReview::CFrameReview(CMainFrame& frame, IProfile* profile, std::string preferenceFolder,
                           IUserPrompts& prompts, IReasonPicker* picker)
    : QObject(&frame), frame_(frame), document_(*frame.GetDocument()), profile_(profile),
      preferenceFolder_(std::move(preferenceFolder)),
      state_(new CReviewState(std::max(std::thread::hardware_concurrency(), 1u), ReadRecordings,
                              this)),
      watcher_(std::make_unique<Watcher>(*this)) {
    if (picker == nullptr) {
        ownPicker_ = std::make_unique<CQtReasonPicker>(&frame);
        picker = ownPicker_.get();
    }
    CReviewCommands::Hooks hooks;
    hooks.currentIndex = [this] { return document_.GetCurrentIndex(); };
    hooks.stepNext = [this] { StepToNext(); };
    commands_ = new CReviewCommands(*state_, *picker, prompts, std::move(hooks), &frame);
    AddDocks();
    AddMenu();
    LoadProfiles();
    position_ = new QLabel(&frame);
    position_->setObjectName(QStringLiteral("reviewPosition"));
    frame.statusBar()->addWidget(position_);
    document_.AddView(watcher_.get());
    connect(&frame, &CMainFrame::FileListOpened, this, &CFrameReview::FollowFileList);
    connect(&frame, &CMainFrame::Closing, this, &CFrameReview::RememberShown);
    connect(state_, &CReviewState::ReadingsReviewed, session_, &CSessionPane::OnReviewed);
    OnShownChanged();
}

// The review reaches the document (which outlives the frame) by its own reference: the
// docks tell of their hiding and the review ends while the frame is being taken down.
CFrameReview::~CFrameReview() {
    document_.RemoveView(watcher_.get());
}

void CFrameReview::AddDocks() {
    readings_ = new CReadingsDock(*state_, &frame_);
    session_ = new CSessionPane(*state_, &frame_);
    readings_->Model().SetUnsavedQuery(
        [this](int row) { return document_.HasUnsavedEditsAt(row); });
    const auto shown = [this](const char* key) {
        return profile_ != nullptr && profile_->GetProfileInt(kMiradoSection, key, 0) != 0;
    };
    frame_.addDockWidget(Qt::RightDockWidgetArea, readings_);
    frame_.addDockWidget(Qt::RightDockWidgetArea, session_);
    readings_->setVisible(shown(kKeyReviewReadingsShown));
    session_->setVisible(shown(kKeyReviewSessionShown));
    for (QDockWidget* dock :
         {static_cast<QDockWidget*>(readings_), static_cast<QDockWidget*>(session_)}) {
        connect(dock, &QDockWidget::visibilityChanged, this, &CFrameReview::OnShownChanged);
        connect(dock->toggleViewAction(), &QAction::triggered, this, &CFrameReview::RememberShown);
    }
    connect(readings_, &CReadingsDock::OpenRequested, this, [this](int index) {
        if (index != document_.GetCurrentIndex())
            PostUserMessage(&frame_, WM_SELECT_FILE, static_cast<std::intptr_t>(index));
    });
    connect(readings_, &CReadingsDock::ProfileChosen, this, &CFrameReview::ChooseProfile);
}

void CFrameReview::AddMenu() {
    readings_->toggleViewAction()->setObjectName(QStringLiteral("showReadings"));
    session_->toggleViewAction()->setObjectName(QStringLiteral("showSession"));
    if (QMenu* view = MenuNamed(frame_, QStringLiteral("viewMenu"))) {
        view->addSeparator();
        view->addAction(readings_->toggleViewAction());
        view->addAction(session_->toggleViewAction());
    }
    // The review's commands in a submenu of View: the menu bar keeps its menus.
    QMenu* view = MenuNamed(frame_, QStringLiteral("viewMenu"));
    auto* menu = view != nullptr ? view->addMenu(UiText("Review"))
                                 : frame_.menuBar()->addMenu(UiText("Review"));
    menu->setObjectName(QStringLiteral("reviewMenu"));
    CReviewCommands& c = *commands_;
    menu->addActions({c.Accept(), c.Reject(), c.Clear()});
    menu->addSeparator();
    menu->addActions({c.UndoDecision(), c.RedoDecision()});
    menu->addSeparator();
    menu->addAction(c.StepAfterDecision());
    menu->addAction(c.History());
    c.StepAfterDecision()->setChecked(
        profile_ != nullptr &&
        profile_->GetProfileInt(kMiradoSection, kKeyReviewStepAfterDecision, 0) != 0);
    connect(c.StepAfterDecision(), &QAction::toggled, this, [this](bool on) {
        if (profile_ != nullptr)
            profile_->WriteProfileInt(kMiradoSection, kKeyReviewStepAfterDecision, on ? 1 : 0);
    });
}

// The presets, then the user's own profiles from the preference folder; the remembered
// one is chosen (the default when it is gone).
void CFrameReview::LoadProfiles() {
    profiles_ = BuiltInProfiles();
    std::vector<std::string> warnings;
    for (AcceptanceProfile& own : UserProfiles(preferenceFolder_, warnings))
        profiles_.push_back(std::move(own));
    // A profile file that does not read is left out and named in the status bar.
    if (!warnings.empty())
        frame_.statusBar()->showMessage(QString::fromStdString(warnings.front()));
    const std::string remembered =
        profile_ != nullptr ? profile_->GetProfileString(kMiradoSection, kKeyReviewProfile, {})
                            : std::string();
    const auto found = std::find_if(profiles_.begin(), profiles_.end(), [&](const auto& p) {
        return !remembered.empty() && (p.id.empty() ? p.name : p.id) == remembered;
    });
    const int chosen = found != profiles_.end() ? static_cast<int>(found - profiles_.begin()) : 0;
    readings_->SetProfiles(profiles_, chosen);
    state_->SetProfile(profiles_[static_cast<size_t>(chosen)]);
}

void CFrameReview::ChooseProfile(int index) {
    if (index < 0 || static_cast<size_t>(index) >= profiles_.size())
        return;
    const AcceptanceProfile& chosen = profiles_[static_cast<size_t>(index)];
    state_->SetProfile(chosen);
    if (profile_ != nullptr)
        profile_->WriteProfileString(kMiradoSection, kKeyReviewProfile,
                                     chosen.id.empty() ? chosen.name : chosen.id);
}

bool CFrameReview::IsShown() const {
    return !readings_->isHidden() || !session_->isHidden();
}

void CFrameReview::OnShownChanged() {
    position_->setVisible(IsShown());
    FollowFileList();
    FollowDocument();
}

void CFrameReview::RememberShown() {
    if (profile_ == nullptr)
        return;
    profile_->WriteProfileInt(kMiradoSection, kKeyReviewReadingsShown,
                              readings_->isHidden() ? 0 : 1);
    profile_->WriteProfileInt(kMiradoSection, kKeyReviewSessionShown, session_->isHidden() ? 0 : 1);
}

// The listed files are read when the review is shown and the list is not the one read.
void CFrameReview::FollowFileList() {
    if (!IsShown())
        return;
    const CMiradoDoc& doc = document_;
    std::vector<std::string> paths;
    paths.reserve(static_cast<size_t>(std::max(doc.GetFileCount(), 0)));
    for (int i = 0; i < doc.GetFileCount(); ++i)
        paths.push_back(doc.GetPathAt(i));
    if (paths != state_->Paths() || (paths.empty() && !state_->IsFilled()))
        state_->SetFiles(std::move(paths));
}

void CFrameReview::FollowDocument() {
    const CMiradoDoc& doc = document_;
    const int count = doc.GetFileCount();
    const int index = doc.GetCurrentIndex();
    const bool shown = IsShown();
    commands_->SetActive(shown && doc.IsLoaded() && index >= 0);
    if (!shown)
        return;
    if (static_cast<size_t>(std::max(count, 0)) != state_->Paths().size() ||
        (index >= 0 && index < count &&
         doc.GetPathAt(index) != state_->Paths()[static_cast<size_t>(index)]))
        FollowFileList();
    position_->setText(index >= 0 && count > 0 ? UiText("%1 of %2").arg(index + 1).arg(count)
                                               : QString());
    const bool unsaved = index >= 0 && doc.HasUnsavedEditsAt(index);
    if (index != shownIndex_ || unsaved != shownUnsaved_) {
        readings_->Model().CorrectionsChanged(shownIndex_);
        readings_->Model().CorrectionsChanged(index);
        shownIndex_ = index;
        shownUnsaved_ = unsaved;
        readings_->SetCurrentRow(index);
        session_->ShowSessionOf(index);
    }
}

void CFrameReview::StepToNext() {
    const int next = document_.NextIndex();
    if (next >= 0)
        PostUserMessage(&frame_, WM_SELECT_FILE, static_cast<std::intptr_t>(next));
}

} // namespace mirado
