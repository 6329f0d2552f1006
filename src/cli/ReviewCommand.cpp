// mirado-cli review: decisions on readings kept in each folder's review log
// (mirado-review.jsonl), never in the recordings. accept, reject and clear append one
// event per file; show prints each reading's status under a profile; log prints each
// file's events.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/ProfileOption.h"
#include "cli/RunOptions.h"
#include "document/Reading.h"
#include "document/Sha256.h"
#include "platform/ConsolePrompts.h"
#include "platform/Utf8.h"
#include "review/ReadingReview.h"
#include "review/ReviewLog.h"

#include <CLI/CLI.hpp>

#include <map>
#include <ostream>

namespace mirado {

namespace {

constexpr const char* kReviewDescription =
    "ACTION is one of:\n"
    "  accept, reject, clear  append one event per FILE to the review log of its folder\n"
    "                         (mirado-review.jsonl); reject needs --reason; clear takes\n"
    "                         the file's decision back. A log that is not a regular file\n"
    "                         is never written.\n"
    "  show                   one JSON object per FILE and line, in the given order: path,\n"
    "                         status, reason, decided_by (manual or rule), and for a\n"
    "                         decision by hand note, user and time, under --profile.\n"
    "  log                    each FILE's events from its folder's log, one JSON object per\n"
    "                         line: path, line (in the log) and the event's own fields.\n"
    "A log line that does not read is skipped with a warning on standard error. A path\n"
    "that is not valid UTF-8 shows U+FFFD for each byte that is not, and path_bytes holds\n"
    "its exact bytes in hex. A file that cannot be read or a log that cannot be read or\n"
    "written is named on standard error and the exit status is 1.";

enum class Action { Accept, Reject, Clear, Show, Log };

const std::map<std::string, Action> kActions = {{"accept", Action::Accept},
                                                {"reject", Action::Reject},
                                                {"clear", Action::Clear},
                                                {"show", Action::Show},
                                                {"log", Action::Log}};

std::string ReasonKeys() {
    std::string keys;
    for (const RejectReason& reason : kRejectReasons)
        keys += (keys.empty() ? "" : ", ") + std::string(reason.key);
    return keys;
}

bool IsRejectReason(const std::string& key) {
    for (const RejectReason& reason : kRejectReasons) {
        if (key == reason.key)
            return true;
    }
    return false;
}

// An object starting with the path (and its bytes when they are not UTF-8).
nlohmann::ordered_json PathObject(const std::string& path) {
    nlohmann::ordered_json json = {{"path", WithInvalidUtf8Replaced(path)}};
    if (!IsValidUtf8(path))
        json["path_bytes"] = HexBytes(path);
    return json;
}

std::string JsonLine(const nlohmann::ordered_json& json) {
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

// The review logs of the files' folders, each read once; its warnings and its failure to
// read are written to the error stream the first time.
class CReviewLogs {
public:
    CReviewLogs(std::ostream& err, int& status) : err_(err), status_(status) {}

    std::vector<ReviewEvent> EventsOf(const std::string& recordingPath) {
        const std::string logPath = ReviewLogPathFor(recordingPath);
        auto log = logs_.find(logPath);
        if (log == logs_.end())
            log = logs_.emplace(logPath, Read(logPath)).first;
        return EventsOfFile(log->second, FileNameInFolder(recordingPath));
    }

private:
    std::vector<ReviewEvent> Read(const std::string& logPath) {
        ReviewLogContents contents = ReadReviewLog(logPath);
        for (const std::string& warning : contents.warnings)
            err_ << "mirado-cli review: " << SingleLine(warning) << '\n';
        if (!contents.error.empty()) {
            err_ << "mirado-cli review: " << SingleLine(contents.error) << '\n';
            status_ = kExitLoadFailed;
        }
        return std::move(contents.events);
    }

    std::ostream& err_;
    int& status_;
    std::map<std::string, std::vector<ReviewEvent>> logs_;
};

class CReviewCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(kReviewDescription);
        command.add_option("ACTION", actionName_, "accept, reject, clear, show or log")
            ->required()
            ->type_name("")
            ->check(CLI::IsMember({"accept", "reject", "clear", "show", "log"}));
        files_.AddTo(command, true);
        reasonOption_ =
            command.add_option("--reason", reason_, "why (reject): one of " + ReasonKeys())
                ->type_name("R");
        noteOption_ =
            command.add_option("--note", note_, "a note kept with the decision (accept, reject)")
                ->type_name("T");
        profileOption_ = command
                             .add_option("--profile", profileName_,
                                         "show: the acceptance profile, a built-in one by its\n"
                                         "id or name (see 'mirado-cli profiles') or a JSON file;\n"
                                         "default: every complete reading is accepted")
                             ->type_name("P");
        analysisOption_ = command
                              .add_option("--analysis", analysisName_,
                                          "show: take the values of Analysis S (s) or\n"
                                          "Analysis S-M (sm) instead of the stored ones")
                              ->type_name("s|sm")
                              ->check(CLI::IsMember({"s", "sm"}));
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override {
        action_ = kActions.at(actionName_);
        if (Result<void> collected = files_.Collect(in); !collected.ok())
            return collected;
        if (Result<void> decision = CheckDecisionOptions(); !decision.ok())
            return decision;
        return PrepareShow();
    }

    int Run(CliStreams& io) override {
        switch (action_) {
        case Action::Show:
            return Show(io);
        case Action::Log:
            return Log(io);
        default:
            return Decide(io);
        }
    }

private:
    Result<void> CheckDecisionOptions() const {
        const bool decision = action_ == Action::Accept || action_ == Action::Reject;
        if (reasonOption_->count() > 0 && action_ != Action::Reject)
            return Fail("--reason applies to reject only");
        if (noteOption_->count() > 0 && !decision)
            return Fail("--note applies to accept and reject only");
        if (action_ != Action::Reject)
            return Ok();
        if (reason_.empty())
            return Fail("reject needs --reason (" + ReasonKeys() + ")");
        if (!IsRejectReason(reason_))
            return Fail("--reason must be one of " + ReasonKeys());
        if (reason_ == "other" && note_.empty())
            return Fail("--reason other needs --note");
        return Ok();
    }

    Result<void> PrepareShow() {
        if (action_ != Action::Show) {
            if (profileOption_->count() > 0 || analysisOption_->count() > 0)
                return Fail("--profile and --analysis apply to show only");
            return Ok();
        }
        if (!analysisName_.empty())
            source_ = analysisName_ == "s" ? ValueSource::AnalysisS : ValueSource::AnalysisSM;
        if (profileName_.empty())
            return Ok();
        Result<AcceptanceProfile> found = FindProfileOption(profileName_);
        if (!found.ok())
            return Fail(found.error());
        profile_ = std::move(found).value();
        return Ok();
    }

    ReviewAction DecisionAction() const {
        return action_ == Action::Accept   ? ReviewAction::Accept
               : action_ == Action::Reject ? ReviewAction::Reject
                                           : ReviewAction::Clear;
    }

    // The file's digest is taken before the log is touched, so that a file that cannot be
    // read leaves no event.
    Result<void> AppendDecisionOf(const std::string& path) const {
        const Result<std::string> sha256 = FileSha256Hex(path);
        if (!sha256.ok())
            return Fail(path + ": " + sha256.error());
        const std::string logPath = ReviewLogPathFor(path);
        const Result<void> added =
            AppendReviewEvent(logPath, DecisionEvent(DecisionAction(), FileNameInFolder(path),
                                                     sha256.value(), reason_, note_));
        if (!added.ok())
            return Fail(logPath + ": " + added.error() + "; nothing added for " +
                        FileNameInFolder(path));
        return Ok();
    }

    int Decide(CliStreams& io) const {
        int status = kExitOk;
        for (const std::string& path : files_.Paths()) {
            if (const Result<void> added = AppendDecisionOf(path); !added.ok()) {
                io.err << "mirado-cli review: " << SingleLine(added.error()) << '\n';
                status = kExitLoadFailed;
            }
        }
        return status;
    }

    int Show(CliStreams& io) const {
        int status = kExitOk;
        const std::vector<std::string>& paths = files_.Paths();
        const std::vector<Reading> readings = ReadRecordings(paths, source_, jobs_);
        std::vector<std::optional<ManualDecision>> decisions;
        CReviewLogs logs(io.err, status);
        for (const std::string& path : paths) {
            const auto byName = ManualDecisionsOf(logs.EventsOf(path));
            const auto found = byName.find(FileNameInFolder(path));
            decisions.push_back(found == byName.end() ? std::nullopt
                                                      : std::optional(found->second));
        }
        const ReviewResult review = ReviewReadings(readings, source_, profile_, decisions);
        for (size_t i = 0; i < readings.size(); ++i) {
            if (!readings[i].loaded) {
                io.err << SingleLine(readings[i].path + readings[i].error) << '\n';
                status = kExitLoadFailed;
            }
            nlohmann::ordered_json line = PathObject(readings[i].path);
            line.update(ReadingReviewJson(review.readings[i]));
            if (!(io.out << JsonLine(line)))
                break;
        }
        return status;
    }

    int Log(CliStreams& io) const {
        int status = kExitOk;
        CReviewLogs logs(io.err, status);
        for (const std::string& path : files_.Paths()) {
            for (const ReviewEvent& event : logs.EventsOf(path)) {
                nlohmann::ordered_json line = PathObject(path);
                line["line"] = event.line;
                for (const auto& [key, value] : event.fields.items()) {
                    if (!line.contains(key))
                        line[key] = value;
                }
                io.out << JsonLine(line);
            }
            if (!io.out)
                break;
        }
        return status;
    }

    std::string actionName_;
    Action action_ = Action::Show;
    CFileArguments files_;
    std::string reason_, note_, profileName_, analysisName_;
    CLI::Option* reasonOption_ = nullptr;
    CLI::Option* noteOption_ = nullptr;
    CLI::Option* profileOption_ = nullptr;
    CLI::Option* analysisOption_ = nullptr;
    AcceptanceProfile profile_ = DefaultProfile();
    ValueSource source_ = ValueSource::Stored;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeReviewCommand() {
    return std::make_unique<CReviewCommand>();
}

} // namespace mirado
