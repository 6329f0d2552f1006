#include "review/ReviewLog.h"

#include "document/Sha256.h"
#include "files/FileAccess.h"
#include "files/UpdateLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace mirado {

namespace {

constexpr std::chrono::milliseconds kLockRetryInterval{10};
constexpr const char* kNotRegularLogText = "Cannot write the review log (not a regular file)";

std::string SystemError(const std::string& what, int number) {
    return what + " (" + std::strerror(number) + ")";
}

// A descriptor closed when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int Get() const { return fd_; }
    bool Valid() const { return fd_ >= 0; }

private:
    int fd_;
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Whether the log may be opened for writing: nothing is there yet, or a regular file
// (through links). A link to nothing is refused too, since opening it would make a file
// wherever it points.
Result<void> MayOpenForAppending(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISREG(info.st_mode))
            return Ok();
        return Fail(kNotRegularLogText);
    }
    if (errno != ENOENT)
        return Fail(SystemError("Cannot write the review log", errno));
    if (::lstat(path.c_str(), &info) == 0)
        return Fail("Cannot write the review log (a link to nothing)");
    return Ok();
}

// An exclusive lock on the open log among its writers, waited for as long as a settings
// write waits. A file system without locks counts as locked.
Result<void> LockForAppending(int fd) {
    const auto giveUp = std::chrono::steady_clock::now() + kUpdateLockPatience;
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            return Ok();
        if (errno == ENOLCK || errno == EOPNOTSUPP)
            return Ok();
        if (errno != EWOULDBLOCK && errno != EINTR)
            return Fail(SystemError("Cannot lock the review log", errno));
        if (std::chrono::steady_clock::now() >= giveUp)
            return Fail("Cannot write the review log (another program keeps it locked)");
        std::this_thread::sleep_for(kLockRetryInterval);
    }
}

// Whether the file's last byte ends a line (true for an empty file).
bool EndsWithLineEnd(int fd, off_t size) {
    if (size == 0)
        return true;
    char last = 0;
    return ::pread(fd, &last, 1, size - 1) == 1 && last == '\n';
}

void FlushFolder(const std::string& path) {
    Descriptor folder(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.Valid())
        ::fsync(folder.Get());
}

// Writes the line in one write; a write that went out in part is cut off again.
Result<void> WriteWholeLine(int fd, off_t sizeBefore, const std::string& line) {
    ssize_t written;
    do {
        written = ::write(fd, line.data(), line.size());
    } while (written < 0 && errno == EINTR);
    if (written == static_cast<ssize_t>(line.size()))
        return Ok();
    const int number = written < 0 ? errno : ENOSPC;
    if (written > 0 && ::ftruncate(fd, sizeBefore) != 0)
        return Fail(SystemError("Cannot write the review log; a part of a line is left at its end",
                                number));
    return Fail(SystemError("Cannot write the review log", number));
}

void AddLine(const std::string& logPath, std::string_view line, size_t number,
             ReviewLogContents& contents) {
    if (line.find_first_not_of(" \t\r") == std::string_view::npos)
        return;
    nlohmann::json fields = nlohmann::json::parse(line.begin(), line.end(), nullptr, false);
    if (fields.is_discarded() || !fields.is_object()) {
        contents.warnings.push_back(logPath + ": line " + std::to_string(number) +
                                    ": not a JSON object; skipped");
        return;
    }
    contents.events.push_back(ReviewEvent{std::move(fields), number});
}

} // namespace

std::string ReviewLogPathFor(const std::string& recordingPath) {
    return FolderOf(recordingPath) + "/" + kReviewLogName;
}

std::string FileNameInFolder(const std::string& recordingPath) {
    const size_t slash = recordingPath.rfind('/');
    return slash == std::string::npos ? recordingPath : recordingPath.substr(slash + 1);
}

Result<void> AppendReviewEvent(const std::string& logPath, const ReviewEvent& event) {
    if (Result<void> may = MayOpenForAppending(logPath); !may.ok())
        return may;
    // Non-blocking, so that a named pipe put there meanwhile cannot stall the open; open for
    // reading too, so that the last byte can be checked.
    Descriptor fd(::open(logPath.c_str(),
                         O_RDWR | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666));
    if (!fd.Valid())
        return Fail(SystemError("Cannot write the review log", errno));
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode))
        return Fail(kNotRegularLogText);
    if (Result<void> locked = LockForAppending(fd.Get()); !locked.ok())
        return locked;
    if (::fstat(fd.Get(), &info) != 0)
        return Fail(SystemError("Cannot write the review log", errno));
    std::string line = EndsWithLineEnd(fd.Get(), info.st_size) ? "" : "\n";
    line += event.fields.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    line += '\n';
    if (Result<void> written = WriteWholeLine(fd.Get(), info.st_size, line); !written.ok())
        return written;
    if (::fsync(fd.Get()) != 0)
        return Fail(SystemError("The review log's line may not have reached the disk", errno));
    if (info.st_size == 0)
        FlushFolder(logPath);
    return Ok();
}

Result<void> AppendDecision(const std::string& recordingPath, ReviewAction action,
                            const std::string& reason, const std::string& note) {
    const Result<std::string> sha256 = FileSha256Hex(recordingPath);
    if (!sha256.ok())
        return Fail(sha256.error());
    return AppendReviewEvent(
        ReviewLogPathFor(recordingPath),
        DecisionEvent(action, FileNameInFolder(recordingPath), sha256.value(), reason, note));
}

ReviewLogContents ReadReviewLog(const std::string& logPath) {
    ReviewLogContents contents;
    struct stat info {};
    if (::stat(logPath.c_str(), &info) != 0 && errno == ENOENT)
        return contents;
    const Result<std::vector<uint8_t>> read = ReadWholeFile(logPath, kMaxReviewLogSize);
    if (!read.ok()) {
        contents.error = logPath + ": " + read.error();
        return contents;
    }
    const std::vector<uint8_t>& bytes = read.value();
    const std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    size_t number = 0;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        AddLine(logPath, text.substr(start, end - start), ++number, contents);
        start = end + 1;
    }
    return contents;
}

std::vector<std::optional<ManualDecision>>
LoadManualDecisions(const std::vector<std::string>& paths, std::vector<std::string>& warnings) {
    std::map<std::string, std::map<std::string, ManualDecision>> byLog;
    std::vector<std::optional<ManualDecision>> decisions;
    decisions.reserve(paths.size());
    for (const std::string& path : paths) {
        const std::string logPath = ReviewLogPathFor(path);
        auto log = byLog.find(logPath);
        if (log == byLog.end()) {
            ReviewLogContents contents = ReadReviewLog(logPath);
            warnings.insert(warnings.end(), contents.warnings.begin(), contents.warnings.end());
            if (!contents.error.empty())
                warnings.push_back(contents.error);
            log = byLog.emplace(logPath, ManualDecisionsOf(contents.events)).first;
        }
        const auto found = log->second.find(FileNameInFolder(path));
        decisions.push_back(found == log->second.end() ? std::nullopt
                                                       : std::optional(found->second));
    }
    return decisions;
}

} // namespace mirado
