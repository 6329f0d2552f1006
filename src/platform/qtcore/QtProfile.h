#pragma once
// CQtProfile: the settings file, an INI-format text file of named values in sections.
// Every write takes the file's update lock (CUpdateLock), rereads the file, changes its
// values and replaces the file atomically (a hidden temporary file in the same folder,
// renamed over it), so a crash loses nothing and never leaves half a file, and two
// programs writing at once lose none of each other's values. A symbolic link to a regular
// file is read and written through: its target is replaced and the link stays. A UTF-8
// byte-order mark before the first line is read past and kept.
//
// A settings path that is not a regular file after following links (a named pipe, a
// device, a socket, a folder, a link to nothing), or a file larger than any settings file
// (1 MiB), is never opened for reading nor replaced: the program runs on the defaults and
// Problem() says why nothing is saved.

#include "platform/SystemServices.h"

#include <QString>

#include <optional>
#include <string>

namespace mirado {

// "%1" stands for the settings path, "%2" for SettingsPathProblem's words.
inline constexpr const char* kSettingsNotSavedFormat = "Settings are not saved: %1 %2.";

class CQtProfile : public IProfile {
public:
    explicit CQtProfile(const std::string& filePath);

    // Empty while the settings can be kept; otherwise a sentence saying why they are not
    // saved, naming the file, for the user.
    const std::string& Problem() const { return problem_; }
    // The same sentence in the window's language.
    QString TranslatedProblem() const;

    int GetProfileInt(const std::string& section, const std::string& key,
                      int defaultValue) override;
    std::string GetProfileString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) override;
    bool WriteProfileInt(const std::string& section, const std::string& key, int value) override;
    bool WriteProfileString(const std::string& section, const std::string& key,
                            const std::string& value) override;
    bool WriteProfileStrings(const std::string& section, const ProfileValues& values) override;

private:
    // The file's text; "" when it does not exist yet; nothing when it cannot be used.
    std::optional<std::string> ReadText() const;
    std::optional<std::string> Find(const std::string& section, const std::string& key) const;

    std::string path_;
    std::string reason_; // SettingsPathProblem's words at start
    std::string problem_;
};

// Why a settings path cannot hold the settings ("is a named pipe", "is larger than 1 MiB",
// ...), or "" when it is a regular file of a settings file's size, a link to one, or
// missing (it is then created on the first write).
std::string SettingsPathProblem(const std::string& path);

} // namespace mirado
