#pragma once
// Whole-file reading with a size limit and atomic whole-file replacement, for the
// measurement files. Errors come back as short English texts for the user.

#include "files/Result.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// Measurement files are about 10 KiB; anything beyond this is not one of them.
inline constexpr size_t kMaxRecordFileSize = 16u * 1024u * 1024u;

enum class Links { Follow, Refuse };

// Reads a regular file of at most `limit` bytes whole; a failure says why. With
// Links::Refuse a symbolic link at path is refused instead of followed.
Result<std::vector<uint8_t>> ReadWholeFile(const std::string& path, size_t limit,
                                           Links links = Links::Follow);

// Replaces the file at path by bytes without ever leaving it half-written: writes a
// hidden, short-named temporary file in the same folder, flushes it to disk and renames it over the
// target, keeping an existing target's permissions. A target the caller may not write is refused.
// On failure the target is untouched, the temporary file is gone and the error says why.
Result<void> WriteFileAtomically(const std::string& path, std::string_view bytes);

// Whether WriteFileAtomically could replace (or create) the file at path: its name fits
// the folder, an existing file is a regular file this process may write, and the folder
// takes new files. Nothing changes. A failure gives the reason.
Result<void> CanReplaceFile(const std::string& path);

// The same replacement for a text made piece by piece, so that a long text need not be
// held in memory: the pieces go to the temporary file as they come and Commit puts it in
// place. The first failure is kept (later pieces are dropped) and Commit reports it with
// the texts WriteFileAtomically uses. A writer destroyed without a successful Commit
// removes its temporary file and leaves the target untouched.
class CAtomicFileWriter {
public:
    explicit CAtomicFileWriter(const std::string& path);
    ~CAtomicFileWriter();
    CAtomicFileWriter(const CAtomicFileWriter&) = delete;
    CAtomicFileWriter& operator=(const CAtomicFileWriter&) = delete;

    void Append(std::string_view bytes);
    Result<void> Commit();

private:
    bool Open();
    void Flush();
    void Write(std::string_view bytes);
    bool Finish();
    void Fail(std::string error);
    void Discard();

    std::string target_;
    std::string temporaryPath_;
    int fd_ = -1;
    bool exists_ = false;
    unsigned mode_ = 0;
    unsigned owner_ = 0;
    unsigned group_ = 0;
    std::string buffer_;
    std::string error_;
};

// Creates the file at path holding bytes, never replacing anything there: the bytes go
// to a hidden temporary file first and are then linked to the name, which fails when the
// name is taken. On a file system without hard links the file is created exclusively and
// written in place. NameTaken when something is at path already, which is then left as it
// is; the reason on any other failure. Nothing is left behind on failure.
enum class Creation { Created, NameTaken };
Result<Creation> CreateFileExclusively(const std::string& path, std::string_view bytes);

// An exclusive lock on the file at path (a symbolic link's target) for one
// read-change-write: every writer of a recording takes it, so that no two of them work
// from the same bytes. Waits while another holder has it. The lock is on the file now at
// the name: when the name was replaced while waiting, the new file is locked instead.
// Threads and processes exclude each other alike. Released when destroyed.
class CFileLock {
public:
    enum class State { Locked, Missing, Failed };

    explicit CFileLock(const std::string& path);
    ~CFileLock();
    CFileLock(const CFileLock&) = delete;
    CFileLock& operator=(const CFileLock&) = delete;

    // Locked; Missing when nothing is at path (nothing to lock); Failed when the file
    // cannot be opened or is not a regular file (Error says why).
    State GetState() const { return state_; }
    const std::string& Error() const { return error_; }

private:
    int fd_ = -1;
    State state_ = State::Failed;
    std::string error_;
};

// True when both paths name the same file (same device and inode, following symbolic
// links), however they are spelled. False when either does not exist.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace mirado
