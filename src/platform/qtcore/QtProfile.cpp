#include "platform/qtcore/QtProfile.h"

#include "files/FileAccess.h"
#include "files/UpdateLock.h"
#include "platform/ProfileValue.h"
#include "platform/qtcore/UiText.h"

#include <cerrno>
#include <sys/stat.h>

namespace mirado {

namespace {

// Far beyond any settings file this program writes; a larger one is not ours.
constexpr size_t kMaxSettingsFileSize = 1u << 20;

std::string KindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return "is a named pipe";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "is a device";
    if (S_ISSOCK(mode))
        return "is a socket";
    if (S_ISDIR(mode))
        return "is a folder";
    return "is not a regular file";
}

// kSettingsNotSavedFormat filled with the path's own bytes, which need not be UTF-8.
std::string FillNotSavedFormat(const std::string& path, const std::string& reason) {
    const std::string format = kSettingsNotSavedFormat;
    const size_t pathAt = format.find("%1");
    const size_t reasonAt = format.find("%2");
    return format.substr(0, pathAt) + path + format.substr(pathAt + 2, reasonAt - pathAt - 2) +
           reason + format.substr(reasonAt + 2);
}

} // namespace

std::string SettingsPathProblem(const std::string& path) {
    struct stat link {};
    if (::lstat(path.c_str(), &link) != 0)
        return {}; // missing: created by the first write (or its folder is reported at start-up)
    struct stat target {};
    if (::stat(path.c_str(), &target) != 0) {
        if (!S_ISLNK(link.st_mode))
            return "cannot be examined";
        return errno == ELOOP ? "is a link that leads back to itself" : "is a link to nothing";
    }
    if (!S_ISREG(target.st_mode))
        return KindOf(target.st_mode);
    if (static_cast<uint64_t>(target.st_size) > kMaxSettingsFileSize)
        return "is larger than 1 MiB";
    return {};
}

CQtProfile::CQtProfile(const std::string& filePath)
    : path_(filePath), reason_(SettingsPathProblem(path_)) {
    if (!reason_.empty())
        problem_ = FillNotSavedFormat(path_, reason_);
}

QString CQtProfile::TranslatedProblem() const {
    if (reason_.empty())
        return {};
    return UiText(kSettingsNotSavedFormat).arg(QString::fromStdString(path_), UiText(reason_));
}

std::optional<std::string> CQtProfile::ReadText() const {
    if (!problem_.empty() || !SettingsPathProblem(path_).empty())
        return std::nullopt;
    struct stat info {};
    if (::lstat(path_.c_str(), &info) != 0 && errno == ENOENT)
        return std::string();
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path_, kMaxSettingsFileSize);
    if (!read.ok())
        return std::nullopt;
    return std::string(read.value().begin(), read.value().end());
}

std::optional<std::string> CQtProfile::Find(const std::string& section,
                                            const std::string& key) const {
    const std::optional<std::string> text = ReadText();
    if (!text)
        return std::nullopt;
    return FindProfileValue(*text, section, key);
}

int CQtProfile::GetProfileInt(const std::string& section, const std::string& key,
                              int defaultValue) {
    const std::optional<std::string> text = Find(section, key);
    if (!text)
        return defaultValue;
    return ParseProfileInt(*text).value_or(defaultValue);
}

std::string CQtProfile::GetProfileString(const std::string& section, const std::string& key,
                                         const std::string& defaultValue) {
    return Find(section, key).value_or(defaultValue);
}

bool CQtProfile::WriteProfileInt(const std::string& section, const std::string& key, int value) {
    return WriteProfileString(section, key, std::to_string(value));
}

bool CQtProfile::WriteProfileString(const std::string& section, const std::string& key,
                                    const std::string& value) {
    return WriteProfileStrings(section, {{key, value}});
}

bool CQtProfile::WriteProfileStrings(const std::string& section, const ProfileValues& values) {
    if (!problem_.empty())
        return false;
    const CUpdateLock lock(path_);
    if (!lock.Held())
        return false;
    const std::optional<std::string> text = ReadText();
    if (!text)
        return false;
    std::string changed = *text;
    for (const auto& [key, value] : values) {
        std::optional<std::string> next = WithProfileValue(changed, section, key, value);
        if (!next)
            return false;
        changed = std::move(*next);
    }
    if (changed == *text)
        return true;
    return WriteFileAtomically(path_, changed).ok();
}

} // namespace mirado
