#include "platform/qtcore/QtTrash.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QStandardPaths>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <optional>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>

namespace mirado {

namespace {

constexpr mode_t kTrashFolderMode = 0700;
constexpr std::string_view kInfoSuffix = ".trashinfo";
constexpr size_t kLongestSerialSuffix = 8; // ".9999999"
constexpr int kNameAttempts = 10000;

std::string ParentOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::optional<dev_t> DeviceOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return std::nullopt;
    return info.st_dev;
}

// The file's path with its folder resolved (the file itself may be a link, which is
// trashed as a link).
std::optional<std::string> OriginalPath(const std::string& path) {
    char folder[PATH_MAX];
    if (::realpath(ParentOf(path).c_str(), folder) == nullptr)
        return std::nullopt;
    const std::string base(folder);
    return (base == "/" ? base : base + "/") + NameOf(path);
}

// How far a trash folder may be a symbolic link: the user's own trash may be linked
// elsewhere; a trash at the top of a shared file system never (another user could aim
// it at files that are not theirs).
enum class Links { Followed, Refused };

// Creates path as a private folder if it is missing; true when it is a folder that this
// user owns.
bool EnsurePrivateFolder(const std::string& path, Links links) {
    if (::mkdir(path.c_str(), kTrashFolderMode) != 0 && errno != EEXIST)
        return false;
    struct stat info {};
    const int found =
        links == Links::Followed ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info);
    return found == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid();
}

bool EnsureTrashFolders(const std::string& trash, Links links) {
    return EnsurePrivateFolder(trash, links) && EnsurePrivateFolder(trash + "/files", links) &&
           EnsurePrivateFolder(trash + "/info", links);
}

// The home trash: its folder and the file system it is on, or will be on once made
// (that of its nearest folder that exists). Nothing when only the root exists on the
// way, as for a home folder that does not exist.
struct HomeTrash {
    std::string folder;
    dev_t device = 0;
};

std::optional<HomeTrash> FindHomeTrash() {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (location.isEmpty() || !QDir::isAbsolutePath(location))
        return std::nullopt;
    const std::string folder = QDir::cleanPath(location).toStdString() + "/Trash";
    std::string existing = folder;
    std::optional<dev_t> device = DeviceOf(existing);
    while (!device && existing != "/") {
        existing = ParentOf(existing);
        device = DeviceOf(existing);
    }
    if (!device || existing == "/")
        return std::nullopt;
    return HomeTrash{folder, *device};
}

bool MakeHomeTrash(const std::string& folder) {
    return QDir().mkpath(QString::fromStdString(ParentOf(folder))) &&
           EnsureTrashFolders(folder, Links::Followed);
}

// The top of the file system that holds folder.
std::string TopOf(const std::string& folder, dev_t device) {
    std::string top = folder;
    while (top != "/") {
        const std::string parent = ParentOf(top);
        if (DeviceOf(parent) != device)
            break;
        top = parent;
    }
    return top;
}

// The trash on the file system of a file outside the home trash's one.
std::optional<std::string> TopTrash(const std::string& top) {
    const std::string prefix = top == "/" ? "" : top;
    const std::string uid = std::to_string(::getuid());
    const std::string shared = prefix + "/.Trash";
    struct stat info {};
    if (::lstat(shared.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && (info.st_mode & S_ISVTX) &&
        EnsureTrashFolders(shared + "/" + uid, Links::Refused))
        return shared + "/" + uid;
    const std::string own = prefix + "/.Trash-" + uid;
    if (EnsureTrashFolders(own, Links::Refused))
        return own;
    return std::nullopt;
}

// Cuts name so that it and its info file's name fit a folder, at a UTF-8 character
// boundary; the info record keeps the full original path.
std::string FittingName(const std::string& name) {
    const size_t longest = NAME_MAX - kInfoSuffix.size() - kLongestSerialSuffix;
    if (name.size() <= longest)
        return name;
    size_t cut = longest;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80)
        --cut;
    return name.substr(0, cut);
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<size_t>(written);
    }
    return true;
}

std::string InfoText(const std::string& recordedPath) {
    const QByteArray encoded = QByteArray::fromStdString(recordedPath).toPercentEncoding("/");
    const QString date =
        QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"));
    return "[Trash Info]\nPath=" + encoded.toStdString() + "\nDeletionDate=" + date.toStdString() +
           "\n";
}

// Reserves a name in the trash by creating its info file; returns the name.
std::optional<std::string> ReserveName(const std::string& trash, const std::string& name,
                                       const std::string& recordedPath) {
    const std::string base = FittingName(name);
    for (int serial = 1; serial <= kNameAttempts; ++serial) {
        const std::string candidate = serial == 1 ? base : base + "." + std::to_string(serial);
        struct stat existing {};
        if (::lstat((trash + "/files/" + candidate).c_str(), &existing) == 0)
            continue;
        const std::string info = trash + "/info/" + candidate + std::string(kInfoSuffix);
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && errno == EEXIST)
            continue;
        if (fd < 0)
            return std::nullopt;
        const bool written = WriteAll(fd, InfoText(recordedPath));
        if (::close(fd) != 0 || !written) {
            ::unlink(info.c_str());
            return std::nullopt;
        }
        return candidate;
    }
    return std::nullopt;
}

} // namespace

bool CQtTrash::MoveToTrash(const std::string& path) {
    struct stat file {};
    if (::lstat(path.c_str(), &file) != 0)
        return false;
    const std::optional<std::string> original = OriginalPath(path);
    if (!original)
        return false;
    std::optional<std::string> trash;
    std::string recordedPath = *original; // absolute in the home trash
    const std::optional<HomeTrash> home = FindHomeTrash();
    if (home && home->device == file.st_dev) {
        if (MakeHomeTrash(home->folder))
            trash = home->folder;
    } else {
        // Relative to the top of the file system in a trash there.
        const std::string top = TopOf(ParentOf(*original), file.st_dev);
        trash = TopTrash(top);
        recordedPath = original->substr(top == "/" ? 1 : top.size() + 1);
    }
    if (!trash)
        return false;
    const std::optional<std::string> name = ReserveName(*trash, NameOf(*original), recordedPath);
    if (!name)
        return false;
    if (::rename(original->c_str(), (*trash + "/files/" + *name).c_str()) != 0) {
        ::unlink((*trash + "/info/" + *name + std::string(kInfoSuffix)).c_str());
        return false;
    }
    return true;
}

} // namespace mirado
