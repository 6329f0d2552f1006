#include "files/UpdateLock.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mirado {

namespace {

constexpr mode_t kLockFileMode = 0666; // narrowed by the process umask
constexpr const char* kLockSuffix = ".lock";
constexpr std::chrono::milliseconds kFirstPause{1};
constexpr std::chrono::milliseconds kLongestPause{5};

std::string RealPath(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : std::string();
}

// The lock file's path: beside the file a replacement really writes (a link's target),
// spelled the same by every writer however the path reached it.
std::string LockPathFor(const std::string& path) {
    if (const std::string target = RealPath(path); !target.empty())
        return target + kLockSuffix;
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (const std::string realFolder = RealPath(folder); !realFolder.empty())
        return (realFolder == "/" ? realFolder : realFolder + "/") + name + kLockSuffix;
    return path + kLockSuffix;
}

// Whether fd is still the file the lock path names (the holder before us removed it).
bool IsStillTheLockFile(int fd, const std::string& lockPath) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 &&
           held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

// A file system without file locks (some network and user-space ones) cannot serialise
// the writers; the update then goes ahead as it did before locks, rather than never.
bool LockingUnsupported(int error) {
    return error == ENOLCK || error == EOPNOTSUPP || error == EINVAL;
}

} // namespace

CUpdateLock::CUpdateLock(const std::string& path, std::chrono::milliseconds patience)
    : lockPath_(LockPathFor(path)) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    std::chrono::milliseconds pause = kFirstPause;
    while (!TryOnce()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            error_ = "Another program keeps " + lockPath_ + " locked";
            return;
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, kLongestPause);
    }
}

CUpdateLock::~CUpdateLock() {
    if (fd_ < 0)
        return;
    // Removed while still held, so nobody can take this file once we let go of it.
    ::unlink(lockPath_.c_str());
    ::close(fd_);
}

bool CUpdateLock::TryOnce() {
    for (;;) {
        const int fd =
            ::open(lockPath_.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, kLockFileMode);
        if (fd < 0) {
            error_ = "Cannot make the lock file " + lockPath_ + " (" + std::strerror(errno) + ")";
            return true;
        }
        int result = 0;
        do
            result = ::flock(fd, LOCK_EX | LOCK_NB);
        while (result != 0 && errno == EINTR);
        if (result != 0 && !LockingUnsupported(errno)) {
            const int error = errno;
            ::close(fd);
            if (error == EWOULDBLOCK)
                return false;
            error_ = "Cannot lock " + lockPath_ + " (" + std::strerror(error) + ")";
            return true;
        }
        if (IsStillTheLockFile(fd, lockPath_)) {
            fd_ = fd;
            return true;
        }
        ::close(fd); // the previous holder removed it: open the name afresh
    }
}

} // namespace mirado
