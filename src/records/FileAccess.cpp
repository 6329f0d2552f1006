#include "records/FileAccess.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
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

// Creates a new, empty temporary file beside target; returns its descriptor.
int CreateTemporary(const std::string& target, std::string& temporaryPath, int& error) {
    static std::atomic<unsigned> counter{0};
    const std::string folder = FolderOf(target);
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

ReadStatus ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                         std::string& error) {
    bytes.clear();
    // Non-blocking so that a named pipe cannot stall the open; regular files ignore it.
    Descriptor fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (!fd.Valid()) {
        error = SystemError("Cannot open the file", errno);
        return ReadStatus::Unreadable;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        error = SystemError("Cannot read the file", errno);
        return ReadStatus::Unreadable;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "Cannot read the file (not a regular file)";
        return ReadStatus::Unreadable;
    }
    if (static_cast<uint64_t>(info.st_size) > limit) {
        error = "File format Error (larger than " + std::to_string(limit >> 20) + " MiB)";
        return ReadStatus::TooLarge;
    }
    // Reads up to one byte past the limit so that a file growing meanwhile is caught.
    bytes.resize(static_cast<size_t>(info.st_size) + 1);
    size_t total = 0;
    for (;;) {
        if (total == bytes.size()) {
            if (total > limit) {
                bytes.clear();
                error = "File format Error (larger than " + std::to_string(limit >> 20) + " MiB)";
                return ReadStatus::TooLarge;
            }
            bytes.resize(std::min(limit + 1, total * 2 + 1));
        }
        const ssize_t got = ::read(fd.Get(), bytes.data() + total, bytes.size() - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            error = SystemError("Cannot read the file", errno);
            bytes.clear();
            return ReadStatus::Unreadable;
        }
        if (got == 0)
            break;
        total += static_cast<size_t>(got);
    }
    bytes.resize(total);
    return ReadStatus::Ok;
}

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    CAtomicFileWriter writer(path);
    writer.Append(bytes);
    return writer.Commit(error);
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

bool CAtomicFileWriter::Commit(std::string& error) {
    Flush();
    if (fd_ >= 0 && Finish()) {
        temporaryPath_.clear();
        SyncFolder(FolderOf(target_));
        return true;
    }
    Discard();
    error = error_;
    return false;
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

bool IsSameFile(const std::string& a, const std::string& b) {
    struct stat first {};
    struct stat second {};
    if (::stat(a.c_str(), &first) != 0 || ::stat(b.c_str(), &second) != 0)
        return false;
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
}

} // namespace mirado
