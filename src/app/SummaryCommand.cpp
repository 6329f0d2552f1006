#include "app/SummaryCommand.h"

#include "app/MainFrame.h"
#include "document/MiradoDoc.h"
#include "review/ChosenProfile.h"
#include "views/FilenameView.h"

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
    : QObject(&frame), frame_(frame), prompts_(prompts), saveDialog_(saveDialog) {}

CSummaryCommand* CSummaryCommand::Install(CMainFrame& frame, IUserPrompts& prompts,
                                          ISaveFileDialog& saveDialog) {
    auto* command = new CSummaryCommand(frame, prompts, saveDialog);
    frame.Commands().Wire(ID_SUMMARY, [command] { command->OpenWindow(); });
    if (CFilenameView* list = frame.GetFileList()) {
        list->SummaryAction()->setEnabled(true);
        connect(list->SummaryAction(), &QAction::triggered, command,
                [command] { command->OpenWindow(); });
    }
    frame.UpdateCommandStates();
    return command;
}

void CSummaryCommand::SetReviewSettings(IProfile* settings, std::string userFolder) {
    reviewSettings_ = settings;
    userProfiles_ = std::move(userFolder);
}

CSummaryWindow* CSummaryCommand::OpenWindow() {
    SummaryFiles files = SummaryFilesOf(*frame_.GetDocument());
    if (files.paths.empty())
        return nullptr;
    ChosenProfile chosen = ChosenReviewProfile(reviewSettings_, userProfiles_);
    files.profile = std::move(chosen.profile);
    files.profileProblem = std::move(chosen.problem);
    const unsigned jobs = std::max(std::thread::hardware_concurrency(), 1u);
    auto* window = new CSummaryWindow(std::move(files), prompts_, saveDialog_, jobs, &frame_);
    window->show();
    return window;
}

} // namespace mirado
