#include "app/MiradoApp.h"

#include "app/AboutDialog.h"
#include "app/ExportEdfCommand.h"
#include "app/ExportSamplesCommand.h"
#include "app/FrameReview.h"
#include "app/MainFrame.h"
#include "app/MainFrameFileCommands.h"
#include "app/RecentFilesMenu.h"
#include "app/SaveAsCommand.h"
#include "app/SummaryCommand.h"
#include "app/UiRetranslation.h"
#include "app/WindowState.h"
#include "document/MiradoDoc.h"
#include "document/PreferenceFolder.h"
#include "document/Reading.h"
#include "platform/ConsolePrompts.h"
#include "platform/qtcore/UiText.h"
#include "rendering/FontSubstitutions.h"
#include "reviewui/ReviewState.h"

#include <QPixmap>
#include <QStatusBar>

#include <cstdio>

namespace mirado {

class CMiradoApp::FrameRelay : public IFrameNotifier {
public:
    void SetFrame(IFrameNotifier* frame) { frame_ = frame; }
    void ApplyColours() override {
        if (frame_ != nullptr)
            frame_->ApplyColours();
    }

private:
    IFrameNotifier* frame_ = nullptr;
};

CMiradoApp::CMiradoApp(const AppServices& services)
    : documentsFolder_(services.documentsFolder != nullptr ? services.documentsFolder
                                                           : &qtDocumentsFolder_),
      prompts_(services.prompts != nullptr ? services.prompts : &qtPrompts_),
      openDialog_(services.openDialog != nullptr ? services.openDialog : &qtOpenDialog_),
      saveDialog_(services.saveDialog != nullptr ? services.saveDialog : &qtSaveDialog_),
      reasonPicker_(services.reasonPicker), frameRelay_(std::make_unique<FrameRelay>()) {}

CMiradoApp::~CMiradoApp() {
    // The window and its panes go before the document they are views of.
    frame_.reset();
    document_.reset();
    translation_.reset();
}

bool CMiradoApp::InitInstance(const std::vector<std::string>& files) {
    InstallFontSubstitutions();

    preferenceFolder_ = PreparePreferenceFolder(*documentsFolder_, prompts_);
    profile_ = std::make_unique<CQtProfile>(SettingsFilePath(preferenceFolder_));
    if (!profile_->Problem().empty())
        std::fprintf(stderr, "mirado: %s\n", profile_->Problem().c_str());
    InstallTranslation();

    DocumentServices services;
    services.prompts = prompts_;
    services.openDialog = openDialog_;
    services.trash = &trash_;
    services.idDialog = &idDialog_;
    services.parametersDialog = &parametersDialog_;
    services.profile = profile_.get();
    services.frame = frameRelay_.get();
    services.saveDialog = saveDialog_;
    services.journal = &journal_;
    document_ = std::make_unique<CMiradoDoc>(services);
    document_->NewDocument();
    if (Language() == UiLanguage::Japanese)
        document_->SetErrorTextLanguage(kJapaneseMessageLanguage);

    frame_ = std::make_unique<CMainFrame>(document_.get());
    frameRelay_->SetFrame(frame_.get());
    qtPrompts_.SetOwner(frame_.get());
    qtOpenDialog_.SetOwner(frame_.get());
    qtSaveDialog_.SetOwner(frame_.get());
    idDialog_.SetParent(frame_.get());
    parametersDialog_.SetParent(frame_.get());
    CFileCommandsHook::Install(*frame_, *document_, *prompts_);
    CSummaryCommand* summary = CSummaryCommand::Install(*frame_, *prompts_, *saveDialog_);
    summary->SetReviewSettings(profile_.get(), preferenceFolder_);
    CExportEdfCommand::Install(
        *frame_, *prompts_, *saveDialog_,
        CExportSamplesCommand::Install(*frame_, *prompts_, *saveDialog_)->Action());
    CSaveAsCommand::Install(*frame_);
    frame_->Commands().Wire(ID_APP_ABOUT, [this] { OnAppAbout(); });
    frame_->SetLanguageSwitcher([this](UiLanguage language) { SwitchLanguage(language); });
    CRecentFilesMenu::Install(*frame_, preferenceFolder_);
    CFrameReview* review =
        CFrameReview::Install(*frame_, profile_.get(), preferenceFolder_, *prompts_, reasonPicker_);
    // A decision or another profile changes what the summary counts: it reads again.
    QObject::connect(&review->State(), &CReviewState::ReadingsReviewed, summary,
                     [summary] { summary->FilesChanged(); });
    InstallWindowState(*frame_, document_->GetMiradoSettings());
    frame_->UpdateCommandStates();

    frame_->OpenPaths(files);
    if (!profile_->Problem().empty())
        frame_->statusBar()->showMessage(profile_->TranslatedProblem());

    frame_->show();
    return true;
}

void CMiradoApp::InstallTranslation() {
    UiLanguage language = UiLanguage::English;
    if (languageOverride_) {
        language = *languageOverride_;
    } else {
        CMiradoSettings settings(profile_.get());
        settings.Load();
        language = settings.GetLanguage();
    }
    translation_ = std::make_unique<CUiTranslation>(language);
}

// The installed translation is replaced and every open window takes the new language's
// texts; the panes draw theirs at the next paint.
void CMiradoApp::SwitchLanguage(UiLanguage language) {
    if (language == Language())
        return;
    const QMultiHash<QString, QString> sources = ShownUiTextSources();
    translation_.reset();
    translation_ = std::make_unique<CUiTranslation>(language);
    document_->SetErrorTextLanguage(language == UiLanguage::Japanese ? kJapaneseMessageLanguage
                                                                     : kDefaultMessageLanguage);
    RetranslateWindows(sources);
    document_->UpdateAllViews();
}

UiLanguage CMiradoApp::Language() const {
    return translation_ != nullptr ? translation_->Language() : UiLanguage::English;
}

void CMiradoApp::OnAppAbout() {
    CAboutDialog dialog(frame_.get());
    dialog.exec();
}

bool CMiradoApp::SaveScreenshot(const std::string& path) const {
    if (frame_ == nullptr)
        return false;
    return frame_->grab().save(QString::fromStdString(path), "PNG");
}

bool CMiradoApp::AllListedFilesLoad(std::FILE* err) const {
    if (document_ == nullptr)
        return false;
    bool allLoaded = true;
    for (int i = 0; i < document_->GetFileCount(); ++i) {
        if (document_->IsDamagedAt(i)) {
            allLoaded = false;
            continue;
        }
        if (i == document_->GetCurrentIndex() && document_->IsLoaded())
            continue;
        const Reading reading = ReadRecording(document_->GetPathAt(i), ValueSource::Stored);
        if (reading.loaded)
            continue;
        allLoaded = false;
        std::fprintf(err, "mirado: %s\n", SingleLine(reading.path + ": " + reading.error).c_str());
    }
    return allLoaded;
}

} // namespace mirado
