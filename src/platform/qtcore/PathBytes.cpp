#include "platform/qtcore/PathBytes.h"

#include <QByteArray>
#include <QFile>

#include <dirent.h>
#include <sys/stat.h>

#include <memory>
#include <optional>

namespace mirado {

namespace {

bool Exists(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0;
}

// The one entry of the folder whose shown name is the given one.
std::optional<std::string> EntryShownAs(const std::string& folder, const QString& shownName) {
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(::opendir(folder.c_str()), ::closedir);
    if (!listing)
        return std::nullopt;
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(listing.get())) {
        if (QFile::decodeName(entry->d_name) != shownName)
            continue;
        if (found)
            return std::nullopt;
        found = entry->d_name;
    }
    return found;
}

std::string Joined(const std::string& folder, const std::string& name) {
    return folder == "/" ? "/" + name : folder + "/" + name;
}

} // namespace

std::string PathBytes(const QString& path) {
    const QByteArray encoded = QFile::encodeName(path);
    std::string bytes(encoded.constData(), static_cast<size_t>(encoded.size()));
    if (bytes.empty() || Exists(bytes) || !path.contains(QChar::ReplacementCharacter))
        return bytes;
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return EntryShownAs(".", path).value_or(bytes);
    const QString name = path.mid(slash + 1);
    const std::string folder = slash == 0 ? std::string("/") : PathBytes(path.left(slash));
    if (name.isEmpty())
        return folder + "/";
    if (const auto entry = EntryShownAs(folder, name))
        return Joined(folder, *entry);
    return Joined(folder, QFile::encodeName(name).toStdString());
}

std::string PathBytes(const QUrl& url) {
    if (!url.isLocalFile() || !url.host().isEmpty())
        return PathBytes(url.toLocalFile());
    const QByteArray bytes =
        QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    const std::string path(bytes.constData(), static_cast<size_t>(bytes.size()));
    return Exists(path) ? path : PathBytes(url.toLocalFile());
}

bool IsRegularFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace mirado
