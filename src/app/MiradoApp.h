#pragma once
// CMiradoApp: starts the program. It prepares the preference folder, points the settings
// file into it, builds the document and the main window, opens the files named on the
// command line, shows the window and makes landscape the default page orientation for
// everything the program prints, previews or writes as PDF. It also carries out the
// application's own commands (About, New).

#include "app/UiTranslation.h"
#include "dialogs/QtDocumentDialogs.h"
#include "platform/qtcore/QtProfile.h"
#include "platform/qtcore/QtSystemServices.h"
#include "platform/qtcore/QtTrash.h"
#include "platform/widgets/QtOpenFileDialog.h"
#include "platform/widgets/QtSaveFileDialog.h"
#include "platform/widgets/QtUserPrompts.h"
#include "review/ReviewChangeJournal.h"

#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mirado {

class CMainFrame;
class CMiradoDoc;
class IDocumentsFolder;
class IOpenFileDialog;
class IReasonPicker;
class ISaveFileDialog;
class IUserPrompts;

// Services start-up uses; a null member takes the desktop's own.
struct AppServices {
    IDocumentsFolder* documentsFolder = nullptr;
    IUserPrompts* prompts = nullptr;
    IOpenFileDialog* openDialog = nullptr;
    ISaveFileDialog* saveDialog = nullptr;
    IReasonPicker* reasonPicker = nullptr; // the reason of a rejected reading
};

class CMiradoApp {
public:
    explicit CMiradoApp(const AppServices& services = {});
    ~CMiradoApp();
    CMiradoApp(const CMiradoApp&) = delete;
    CMiradoApp& operator=(const CMiradoApp&) = delete;

    // Start-up; files are opened as if picked in the open dialog. False when the main
    // window could not be made.
    bool InitInstance(const std::vector<std::string>& files);

    // The language of the window's texts for this run, instead of the stored setting;
    // called before InitInstance.
    void SetLanguage(UiLanguage language) { languageOverride_ = language; }
    // The language the window was built in (English until InitInstance).
    UiLanguage Language() const;
    // Shows every window in the language now and keeps it for the rest of the run.
    void SwitchLanguage(UiLanguage language);

    const std::string& GetPreferenceFolder() const { return preferenceFolder_; }
    CMiradoDoc* GetDocument() const { return document_.get(); }
    CMainFrame* GetMainFrame() const { return frame_.get(); }

    void OnAppAbout();

    // Saves a picture of the main window as a PNG; false when it could not be written.
    bool SaveScreenshot(const std::string& path) const;
    // Whether every file of the list loads. The file shown was loaded by the document,
    // which reported a failure itself; each other file is read once on its own, and one
    // that fails is named with its load message on `err`.
    bool AllListedFilesLoad(std::FILE* err) const;

private:
    // The document reaches the frame through this before and after the frame exists.
    class FrameRelay;

    void InstallTranslation();

    CQtDocumentsFolder qtDocumentsFolder_;
    CQtUserPrompts qtPrompts_;
    CQtOpenFileDialog qtOpenDialog_;
    CQtSaveFileDialog qtSaveDialog_;
    CQtTrash trash_;
    CReviewChangeJournal journal_; // saves and reverts into the folders' review logs
    IDocumentsFolder* documentsFolder_;
    IUserPrompts* prompts_;
    IOpenFileDialog* openDialog_;
    ISaveFileDialog* saveDialog_;
    IReasonPicker* reasonPicker_;
    QtIdDialog idDialog_{nullptr, *prompts_};
    QtParametersDialog parametersDialog_{nullptr, *prompts_};
    std::string preferenceFolder_;
    std::unique_ptr<CQtProfile> profile_;
    std::optional<UiLanguage> languageOverride_;
    std::unique_ptr<CUiTranslation> translation_;
    std::unique_ptr<FrameRelay> frameRelay_;
    std::unique_ptr<CMiradoDoc> document_;
    std::unique_ptr<CMainFrame> frame_;
};

} // namespace mirado
