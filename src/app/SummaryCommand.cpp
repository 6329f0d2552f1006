#include "app/SummaryCommand.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "review/ChosenProfile.h"
#include "views/FilenameView.h"

#include <QTimer>

#include <algorithm>
#include <thread>

namespace mirado {

SummaryFiles SummaryFilesOf(const CMiradoDoc& document) {
    SummaryFiles files;
    std::vector<std::string> all;
    for (int i = 0; i < document.GetFileCount(); ++i) {
        all.push_back(document.GetPathAt(i));
        if (document.IsSelected(i))
            files.paths.push_back(all.back());
    }
    files.marked = !files.paths.empty();
    files.listed = all;
    if (!files.marked)
        files.paths = std::move(all);
    return files;
}

CSummaryCommand::CSummaryCommand(CMainFrame& frame, IUserPrompts& prompts,
                                 ISaveFileDialog& saveDialog)
    : QObject(&frame), frame_(frame), prompts_(prompts), saveDialog_(saveDialog) {
    // The list is looked at once per turn of the event loop, however many marks a
    // Shift+Click or Select All changed.
    followTimer_ = new QTimer(this);
    followTimer_->setSingleShot(true);
    followTimer_->setInterval(0);
    connect(followTimer_, &QTimer::timeout, this, &CSummaryCommand::FollowList);
}

CSummaryCommand* CSummaryCommand::Install(CMainFrame& frame, IUserPrompts& prompts,
                                          ISaveFileDialog& saveDialog) {
    auto* command = new CSummaryCommand(frame, prompts, saveDialog);
    frame.Commands().Wire(ID_SUMMARY, [command] { command->OpenWindow(); });
    if (CFilenameView* list = frame.GetFileList()) {
        list->SummaryAction()->setEnabled(true);
        connect(list->SummaryAction(), &QAction::triggered, command,
                [command] { command->OpenWindow(); });
    }
    const QPointer<CSummaryCommand> alive(command);
    frame.GetDocument()->SetFilesChangedListener([alive] {
        if (alive != nullptr)
            alive->FilesChanged();
    });
    frame.UpdateCommandStates();
    return command;
}

void CSummaryCommand::SetReviewSettings(IProfile* settings, std::string userFolder) {
    reviewSettings_ = settings;
    userProfiles_ = std::move(userFolder);
}

// The list's files with the acceptance profile the main window chose.
SummaryFiles CSummaryCommand::CurrentFiles() const {
    SummaryFiles files = SummaryFilesOf(*frame_.GetDocument());
    ChosenProfile chosen = ChosenReviewProfile(reviewSettings_, userProfiles_);
    files.profile = std::move(chosen.profile);
    files.profileProblem = std::move(chosen.problem);
    return files;
}

CSummaryWindow* CSummaryCommand::OpenWindow() {
    SummaryFiles files = CurrentFiles();
    if (files.paths.empty())
        return nullptr;
    // A window closed in this turn of the event loop is on its way out: a new one opens.
    if (window_ != nullptr && window_->isVisible()) {
        if (window_->SetFiles(std::move(files)))
            window_->Refresh();
        window_->BringForward();
        return window_;
    }
    const unsigned jobs = std::max(std::thread::hardware_concurrency(), 1u);
    window_ = new CSummaryWindow(std::move(files), prompts_, saveDialog_, jobs, &frame_);
    window_->show();
    return window_;
}

void CSummaryCommand::FilesChanged() {
    if (window_ != nullptr)
        followTimer_->start();
}

void CSummaryCommand::FollowList() {
    if (window_ == nullptr)
        return;
    window_->SetFiles(CurrentFiles());
    window_->RefreshSoon();
}

} // namespace mirado
