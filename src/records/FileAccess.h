#pragma once
// Whole-file reading with a size limit and atomic whole-file replacement, for the
// measurement files. Errors come back as short English texts for the user.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

// Measurement files are about 10 KiB; anything beyond this is not one of them.
inline constexpr size_t kMaxRecordFileSize = 16u * 1024u * 1024u;

enum class ReadStatus { Ok, Unreadable, TooLarge };

// Reads a regular file whole into bytes. On failure `error` describes why.
ReadStatus ReadWholeFile(const std::string& path, size_t limit, std::vector<uint8_t>& bytes,
                         std::string& error);

// Replaces the file at path by bytes without ever leaving it half-written: writes a
// hidden, short-named temporary file in the same folder, flushes it to disk and renames it over the
// target, keeping an existing target's permissions. A target the caller may not write is refused.
// On failure the target is untouched, the temporary file is gone and `error` says why.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

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
    bool Commit(std::string& error);

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

// True when both paths name the same file (same device and inode, following symbolic
// links), however they are spelled. False when either does not exist.
bool IsSameFile(const std::string& a, const std::string& b);

} // namespace mirado
