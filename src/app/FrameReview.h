#pragma once
// The review of readings in the main window: the "Readings" and "Session" docks (View
// menu, remembered), the Review submenu of View (accept, reject, clear, their undo, the
// step option and the history), the profile chosen in the readings dock, the "37 of 2000"
// pane of the status bar, and the following of the file list and the current file.
// Nothing is read, and no key acts, until one of the docks is shown.

#include <QObject>

#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMenu;

namespace mirado {

class CMainFrame;
class CMiradoDoc;
class CReadingsDock;
class CReviewCommands;
class CReviewState;
class CSessionPane;
class IProfile;
class IReasonPicker;
class IUserPrompts;
struct AcceptanceProfile;

// The settings of the review, in the section "Mirado".
inline constexpr const char* kKeyReviewProfile = "ReviewProfile";
inline constexpr const char* kKeyReviewReadingsShown = "ReviewReadingsShown";
inline constexpr const char* kKeyReviewSessionShown = "ReviewSessionShown";
inline constexpr const char* kKeyReviewStepAfterDecision = "ReviewStepAfterDecision";

class CFrameReview : public QObject {
    Q_OBJECT
public:
    // profile may be null (nothing is remembered); picker null gives the window's list.
    static CFrameReview* Install(CMainFrame& frame, IProfile* profile,
                                 const std::string& preferenceFolder, IUserPrompts& prompts,
                                 IReasonPicker* picker = nullptr);
    ~CFrameReview() override;

    CReviewState& State() { return *state_; }
    CReviewCommands& Commands() { return *commands_; }

private:
    class Watcher;
    CFrameReview(CMainFrame& frame, IProfile* profile, std::string preferenceFolder,
                 IUserPrompts& prompts, IReasonPicker* picker);
    void AddDocks();
    void AddMenu();
    void LoadProfiles();
    void ChooseProfile(int index);
    bool IsShown() const;
    void OnShownChanged();
    void FollowDocument();
    void FollowFileList();
    void RememberShown();
    void StepToNext();

    CMainFrame& frame_;
    CMiradoDoc& document_;
    IProfile* profile_;
    std::string preferenceFolder_;
    std::unique_ptr<IReasonPicker> ownPicker_;
    CReviewState* state_;
    CReviewCommands* commands_ = nullptr;
    CReadingsDock* readings_ = nullptr;
    CSessionPane* session_ = nullptr;
    QLabel* position_ = nullptr;
    std::vector<AcceptanceProfile> profiles_;
    std::unique_ptr<Watcher> watcher_;
    int shownIndex_ = -1;
    bool shownUnsaved_ = false;
};

} // namespace mirado
