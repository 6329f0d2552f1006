#include "files/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <mutex>
#include <set>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mirado {

namespace {

constexpr mode_t kNewFileMode = 0666; // narrowed by the process umask
constexpr int kTemporaryNameAttempts = 100;
// The pieces of a CAtomicFileWriter are gathered up to this size before each write.
constexpr size_t kWriteBufferSize = 64 * 1024;

std::string SystemError(const char* what, int error) {
    return std::string(what) + " (" + std::strerror(error) + ")";
}

// Closes a descriptor on scope exit.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }
    void Release() { fd_ = -1; }
    int Close() {
        const int result = fd_ >= 0 ? ::close(fd_) : 0;
        fd_ = -1;
        return result;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes, int& error) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            return false;
        }
        bytes.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The file a save really replaces: a symbolic link's target, so the link stays.
std::string ResolveTarget(const std::string& path) {
    char resolved[PATH_MAX];
    if (::realpath(path.c_str(), resolved) != nullptr)
        return resolved;
    return path;
}

std::string NameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The longest file name the target's folder takes.
size_t LongestNameIn(const std::string& folder) {
    const long longest = ::pathconf(folder.c_str(), _PC_NAME_MAX);
    return longest > 0 ? static_cast<size_t>(longest) : static_cast<size_t>(NAME_MAX);
}

// Temporary files are hidden and short, whatever the target's name: any name the folder
// takes can be written, and a file left by a killed process neither shows up in a
// listing nor matches the measurement files' patterns (no dot before a digit).
std::string TemporaryName(unsigned serial) {
    return ".mirado-" + std::to_string(::getpid()) + "-" + std::to_string(serial) + ".tmp";
}

// The process that wrote a temporary file, from its name; 0 when the name is not one of
// ours.
pid_t WriterOfTemporary(const std::string& name) {
    static const std::string prefix = ".mirado-";
    static const std::string suffix = ".tmp";
    if (name.size() <= prefix.size() + suffix.size() ||
        name.compare(0, prefix.size(), prefix) != 0 ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return 0;
    const std::string middle =
        name.substr(prefix.size(), name.size() - prefix.size() - suffix.size());
    const size_t dash = middle.find('-');
    if (dash == 0 || dash == std::string::npos ||
        middle.find_first_not_of("0123456789-") != std::string::npos ||
        middle.find('-', dash + 1) != std::string::npos || dash + 1 == middle.size())
        return 0;
    char* end = nullptr;
    const long pid = std::strtol(middle.c_str(), &end, 10);
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool ProcessIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the temporary files a killed writer left in folder (their process is gone).
// Each folder is swept once per process: a batch run writes many files into one folder.
void RemoveLeftTemporaries(const std::string& folder) {
    static std::mutex mutex;
    static std::set<std::string> swept;
    {
        const std::lock_guard<std::mutex> lock(mutex);
        if (!swept.insert(folder).second)
            return;
    }
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        const pid_t writer = WriterOfTemporary(name);
        if (writer == 0 || writer == ::getpid() || !ProcessIsGone(writer))
            continue;
        struct stat info {};
        const std::string path = (folder == "/" ? folder : folder + "/") + name;
        if (::lstat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode))
            ::unlink(path.c_str());
    }
    ::closedir(dir);
}

// Creates a new, empty temporary file beside target; returns its descriptor.
int CreateTemporary(const std::string& target, std::string& temporaryPath, int& error) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
    RemoveLeftTemporaries(folder);
    for (int attempt = 0; attempt < kTemporaryNameAttempts; ++attempt) {
        temporaryPath =
            (folder == "/" ? folder : folder + "/") + TemporaryName(counter.fetch_add(1));
        const int fd =
            ::open(temporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode);
        if (fd >= 0)
            return fd;
        if (errno != EEXIST)
            break;
    }
    error = errno;
    return -1;
}

// Refuses a target that exists but may not be written by this process.
bool CheckExistingTarget(const std::string& target, struct stat& info, bool& exists,
                         std::string& error) {
    exists = ::stat(target.c_str(), &info) == 0;
    if (!exists)
        return true;
    if (!S_ISREG(info.st_mode)) {
        error = "Not a regular file";
        return false;
    }
    Descriptor probe(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC));
    if (!probe.Valid()) {
        error = SystemError("Not writable", errno);
        return false;
    }
    return true;
}

void SyncFolder(const std::string& folder) {
    Descriptor dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.Valid())
        ::fsync(dir.Get());
}

} // namespace

Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t limit, Links links) {
    // Non-blocking so that a named pipe cannot stall the open; regular files ignore it.
    const int noFollow = links == Links::Refuse ? O_NOFOLLOW : 0;
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | noFollow));
    if (!fd.Valid())
        return Fail(noFollow != 0 && errno == ELOOP ? "Cannot read the file (a symbolic link)"
                                                    : SystemError("Cannot open the file", errno));
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0)
        return Fail(SystemError("Cannot read the file", errno));
    if (!S_ISREG(info.st_mode))
        return Fail("Cannot read the file (not a regular file)");
    const std::string tooLarge =
        "File format Error (larger than " + std::to_string(limit >> 20) + " MiB)";
    if (static_cast<uint64_t>(info.st_size) > limit)
        return Fail(tooLarge);
    // Reads up to one byte past the limit so that a file growing meanwhile is caught.
    std::vector<uint8_t> bytes(static_cast<size_t>(info.st_size) + 1);
    size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > limit)
                return Fail(tooLarge);
            bytes.resize(std::min(limit + 1, total * 2 + 1));
        }
        const ssize_t got = ::read(fd.Get(), bytes.data() + total, bytes.size() - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Fail(SystemError("Cannot read the file", errno));
        }
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
    }
    bytes.resize(total);
    return bytes;
}

Result<void> WriteFileAtomically(const std::string& path, std::string_view bytes) {
    CAtomicFileWriter writer(path);
    writer.Append(bytes);
    return writer.Commit();
}

Result<void> CanReplaceFile(const std::string& path) {
    const std::string target = ResolveTarget(path);
    const std::string folder = FolderOf(target);
    if (NameOf(target).size() > LongestNameIn(folder))
        return Fail("The file name " + NameOf(target) + " is too long");
    struct stat info {};
    bool exists = false;
    std::string error;
    if (!CheckExistingTarget(target, info, exists, error))
        return Fail(error);
    if (::access(folder.c_str(), W_OK) != 0)
        return Fail(SystemError("Cannot create a file in the folder", errno));
    return Ok();
}

CAtomicFileWriter::CAtomicFileWriter(const std::string& path) : target_(ResolveTarget(path)) {
    if (Open())
        buffer_.reserve(kWriteBufferSize);
}

CAtomicFileWriter::~CAtomicFileWriter() {
    Discard();
}

bool CAtomicFileWriter::Open() {
    const std::string name = NameOf(target_);
    if (name.size() > LongestNameIn(FolderOf(target_))) {
        Fail("The file name " + name + " is too long");
        return false;
    }
    struct stat info {};
    std::string error;
    if (!CheckExistingTarget(target_, info, exists_, error)) {
        Fail(error);
        return false;
    }
    mode_ = info.st_mode & 07777;
    owner_ = info.st_uid;
    group_ = info.st_gid;
    int code = 0;
    fd_ = CreateTemporary(target_, temporaryPath_, code);
    if (fd_ < 0) {
        Fail(SystemError("Cannot create a file in the folder", code));
        return false;
    }
    return true;
}

void CAtomicFileWriter::Append(std::string_view bytes) {
    if (buffer_.size() + bytes.size() > kWriteBufferSize)
        Flush();
    if (bytes.size() >= kWriteBufferSize)
        Write(bytes);
    else if (fd_ >= 0)
        buffer_.append(bytes);
}

void CAtomicFileWriter::Flush() {
    Write(buffer_);
    buffer_.clear();
}

void CAtomicFileWriter::Write(std::string_view bytes) {
    int code = 0;
    if (fd_ >= 0 && !WriteAll(fd_, bytes, code))
        Fail(SystemError("Cannot write the file", code));
}

Result<void> CAtomicFileWriter::Commit() {
    Flush();
    if (fd_ >= 0 && Finish()) {
        temporaryPath_.clear();
        SyncFolder(FolderOf(target_));
        return Ok();
    }
    Discard();
    return mirado::Fail(error_);
}

// Flushes the temporary file to disk with the target's permissions and puts it in place.
bool CAtomicFileWriter::Finish() {
    if (exists_) {
        if (::fchmod(fd_, static_cast<mode_t>(mode_)) != 0) {
            Fail(SystemError("Cannot keep the file's permissions", errno));
            return false;
        }
        // Ownership can only be kept by a privileged process; others keep their own.
        if (::fchown(fd_, owner_, group_) != 0 && errno != EPERM) {
            Fail(SystemError("Cannot keep the file's owner", errno));
            return false;
        }
    }
    if (::fsync(fd_) != 0) {
        Fail(SystemError("Cannot flush the file to disk", errno));
        return false;
    }
    const int closed = ::close(fd_);
    fd_ = -1;
    if (closed != 0) {
        Fail(SystemError("Cannot write the file", errno));
        return false;
    }
    if (::rename(temporaryPath_.c_str(), target_.c_str()) != 0) {
        Fail(SystemError("Cannot replace the file", errno));
        return false;
    }
    return true;
}

// Keeps the first failure and stops writing.
void CAtomicFileWriter::Fail(std::string error) {
    if (error_.empty())
        error_ = std::move(error);
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
}

void CAtomicFileWriter::Discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!temporaryPath_.empty())
        ::unlink(temporaryPath_.c_str());
    temporaryPath_.clear();
}

namespace {

bool WriteAndSync(int fd, std::string_view bytes, std::string& error) {
    int code = 0;
    if (!WriteAll(fd, bytes, code)) {
        error = SystemError("Cannot write the file", code);
        return false;
    }
    if (::fsync(fd) != 0) {
        error = SystemError("Cannot flush the file to disk", errno);
        return false;
    }
    return true;
}

bool NoHardLinks(int code) {
    return code == EPERM || code == EOPNOTSUPP || code == ENOSYS || code == EMLINK;
}

// Without hard links: the file is created exclusively and written in place. A failed
// write removes it again.
Result<Creation> CreateInPlace(const std::string& path, std::string_view bytes) {
    Descriptor fd(::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kNewFileMode));
    if (!fd.Valid()) {
        if (errno == EEXIST)
            return Creation::NameTaken;
        return Fail(SystemError("Cannot create the file", errno));
    }
    std::string error;
    if (WriteAndSync(fd.Get(), bytes, error) && fd.Close() == 0)
        return Creation::Created;
    if (error.empty())
        error = SystemError("Cannot write the file", errno);
    ::unlink(path.c_str());
    return Fail(error);
}

} // namespace

Result<Creation> CreateFileExclusively(const std::string& path, std::string_view bytes) {
    std::string temporaryPath;
    int code = 0;
    Descriptor fd(CreateTemporary(path, temporaryPath, code));
    if (!fd.Valid())
        return Fail(SystemError("Cannot create a file in the folder", code));
    bool linked = false;
    std::string writeError;
    if (WriteAndSync(fd.Get(), bytes, writeError) && fd.Close() == 0) {
        linked = ::link(temporaryPath.c_str(), path.c_str()) == 0;
        code = errno;
    } else if (writeError.empty()) {
        writeError = SystemError("Cannot write the file", errno);
    }
    ::unlink(temporaryPath.c_str());
    if (linked) {
        SyncFolder(FolderOf(path));
        return Creation::Created;
    }
    if (!writeError.empty())
        return Fail(writeError);
    if (NoHardLinks(code))
        return CreateInPlace(path, bytes);
    if (code == EEXIST)
        return Creation::NameTaken;
    return Fail(SystemError("Cannot create the file", code));
}

CFileLock::CFileLock(const std::string& path) {
    const std::string target = ResolveTarget(path);
    for (;;) {
        Descriptor fd(::open(target.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
        if (!fd.Valid()) {
            state_ = errno == ENOENT ? State::Missing : State::Failed;
            error_ = SystemError("Cannot open the file", errno);
            return;
        }
        struct stat locked {};
        if (::fstat(fd.Get(), &locked) != 0 || !S_ISREG(locked.st_mode)) {
            error_ = "Not a regular file";
            return;
        }
        while (::flock(fd.Get(), LOCK_EX) != 0) {
            // A file system that keeps no locks (some network shares) is written without
            // one, as before locks were taken: refusing would forbid every save there.
            if (errno == ENOLCK || errno == EOPNOTSUPP || errno == EINVAL)
                break;
            if (errno != EINTR) {
                error_ = SystemError("Cannot lock the file", errno);
                return;
            }
        }
        // A writer that held the lock may have put a new file in place meanwhile: the lock
        // must be on the file the name gives now.
        struct stat now {};
        if (::stat(target.c_str(), &now) == 0 && now.st_dev == locked.st_dev &&
            now.st_ino == locked.st_ino) {
            fd_ = fd.Get();
            fd.Release();
            state_ = State::Locked;
            error_.clear();
            return;
        }
    }
}

CFileLock::~CFileLock() {
    if (fd_ >= 0)
        ::close(fd_); // closing the last descriptor releases the lock
}

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace mirado
