#pragma once
// The preference folder under the user's documents folder, where the settings file
// lives. Start-up prepares it; a folder that cannot be created is reported in a box
// with the system's description of the error, and start-up goes on.

#include <string>

namespace mirado {

class IDocumentsFolder;
class IUserPrompts;

inline constexpr const char* kVendorFolder = "QuorvinFiles/";
inline constexpr const char* kProductFolder = "TenvarAWU/";
inline constexpr const char* kPreferenceFolder = "Preference/";
inline constexpr const char* kCreateFolderCaptionPrefix =
    "Error : Create Directory[for Preference :";
inline constexpr const char* kCreateFolderCaptionSuffix = "]";

// Creates the documents folder (a fresh account may have none), then the vendor,
// product and preference folders, as far as they are missing. Returns the preference
// folder path, ending with "/".
std::string PreparePreferenceFolder(IDocumentsFolder& documents, IUserPrompts* prompts);
// The full path of the settings file inside the preference folder.
std::string SettingsFilePath(const std::string& preferenceFolder);
// Shows the system's description of an error under caption, with the information icon.
void ShowSystemError(IUserPrompts* prompts, const std::string& caption,
                     const std::string& systemText);

} // namespace mirado
