#pragma once
// CUpdateLock: makes one read-change-write of a small file exclusive among all processes
// and threads that change it through this lock, so that no writer replaces the file with
// a text made before another writer's change (which that change would then be lost from).
//
// The lock is an exclusive flock on a lock file beside the file (its name with ".lock"
// added; beside the target when the path is a symbolic link). The lock file exists only
// while the lock is held: the holder removes it before letting go, and a waiter that then
// holds a removed lock file opens the name again. A writer killed while holding it leaves
// an empty lock file, which the system has already unlocked and the next writer takes. On
// a file system that has no file locks the lock counts as held without excluding anyone.

#include <chrono>
#include <string>

namespace mirado {

// How long a writer waits for another to finish before it gives up.
inline constexpr std::chrono::milliseconds kUpdateLockPatience{10000};

class CUpdateLock {
public:
    // Waits for the lock on path for up to patience; Held tells whether it was taken.
    explicit CUpdateLock(const std::string& path,
                         std::chrono::milliseconds patience = kUpdateLockPatience);
    ~CUpdateLock();
    CUpdateLock(const CUpdateLock&) = delete;
    CUpdateLock& operator=(const CUpdateLock&) = delete;

    bool Held() const { return fd_ >= 0; }
    // Why the lock was not taken, for the user.
    const std::string& Error() const { return error_; }
    const std::string& LockPath() const { return lockPath_; }

private:
    // One attempt: true when the lock is held, or when waiting cannot help (error_ set).
    bool TryOnce();

    std::string lockPath_;
    int fd_ = -1;
    std::string error_;
};

} // namespace mirado
