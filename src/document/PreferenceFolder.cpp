#include "document/PreferenceFolder.h"

#include "document/DisplaySettings.h"
#include "platform/SystemServices.h"
#include "platform/UserPrompts.h"

#include <filesystem>
#include <system_error>

namespace mirado {

namespace {

constexpr char kFolderEnd = '/';

std::string WithFolderEnd(std::string folder) {
    if (folder.empty() || folder.back() != kFolderEnd)
        folder += kFolderEnd;
    return folder;
}

// Creates folder unless it exists; reports a failure in the system error box.
void EnsureFolder(const std::string& folder, IUserPrompts* prompts) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error))
        return;
    if (std::filesystem::create_directories(folder, error) || !error)
        return;
    ShowSystemError(prompts,
                    std::string(kCreateFolderCaptionPrefix) + folder + kCreateFolderCaptionSuffix,
                    error.message());
}

} // namespace

std::string PreparePreferenceFolder(IDocumentsFolder& documents, IUserPrompts* prompts) {
    const std::string documentsFolder = WithFolderEnd(documents.GetDocumentsFolder());
    const std::string vendor = documentsFolder + kVendorFolder;
    const std::string product = vendor + kProductFolder;
    const std::string preference = product + kPreferenceFolder;
    // The documents folder itself gets no box of its own: a failure there shows up as
    // the failure of the first folder below it.
    std::error_code ignored;
    std::filesystem::create_directories(documentsFolder, ignored);
    for (const std::string& folder : {vendor, product, preference})
        EnsureFolder(folder, prompts);
    return preference;
}

std::string SettingsFilePath(const std::string& preferenceFolder) {
    return WithFolderEnd(preferenceFolder) + kSettingsFileName;
}

void ShowSystemError(IUserPrompts* prompts, const std::string& caption,
                     const std::string& systemText) {
    if (prompts != nullptr)
        prompts->ShowMessage(systemText, caption, MessageIcon::Information, MessageButtons::Ok);
}

} // namespace mirado
