#pragma once
// The review log: one append-only file of events per folder of recordings,
// "mirado-review.jsonl" (JSON Lines, UTF-8). Lines are only ever added, never rewritten:
// each event is one whole line written by a single write and flushed to the disk. A path
// that is not a regular file (a named pipe, a link to a device, a folder) is never
// written, and read without waiting. A line that does not parse is skipped with a
// warning naming the log and the line, and stays in the file as it is.
//
// Use:
//   Result<void> added = AppendDecision(recordingPath, ReviewAction::Reject, "movement", "");
//   ReviewLogContents log = ReadReviewLog(ReviewLogPathFor(recordingPath));
//   auto decisions = LoadManualDecisions(paths, warnings); // one per path, in order

#include "files/Result.h"
#include "review/ReviewEvent.h"

#include <optional>
#include <string>
#include <vector>

namespace mirado {

inline constexpr const char* kReviewLogName = "mirado-review.jsonl";
// A log larger than this is not read (about a million events).
inline constexpr size_t kMaxReviewLogSize = 256u * 1024u * 1024u;

// The log of the folder holding the recording.
std::string ReviewLogPathFor(const std::string& recordingPath);
// The recording's name within its folder, as the log's events name it.
std::string FileNameInFolder(const std::string& recordingPath);

// Appends the event as one line: the log (created when missing) is locked against other
// writers, a line left unfinished by an earlier failure is ended first so that the new
// event stays a line of its own, the line goes out in one write, and a write that did
// not go out whole is taken back. Fails with the reason when nothing was added (or when
// the line could not be flushed to the disk).
Result<void> AppendReviewEvent(const std::string& logPath, const ReviewEvent& event);

// Appends an accept, reject or clear of the recording to its folder's log, with the
// digest of its bytes now.
Result<void> AppendDecision(const std::string& recordingPath, ReviewAction action,
                            const std::string& reason, const std::string& note);

struct ReviewLogContents {
    std::vector<ReviewEvent> events;   // in the log's order
    std::vector<std::string> warnings; // one per skipped line: "<log>: line N: ..."
    std::string error;                 // why the log could not be read; empty when it could
};

// Reads the log's events; a missing log has none and no error.
ReviewLogContents ReadReviewLog(const std::string& logPath);

// Each recording's manual decision from its folder's log, in the order of paths (each
// folder's log read once). Warnings and unreadable logs are added to warnings.
std::vector<std::optional<ManualDecision>>
LoadManualDecisions(const std::vector<std::string>& paths, std::vector<std::string>& warnings);

} // namespace mirado
