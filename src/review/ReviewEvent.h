#pragma once
// The events of the review log: one JSON object per line, holding when (`time`, ISO 8601
// with the UTC offset), who (`user`, the login name), which recording (`file`, its name
// within the folder, and `sha256` of its bytes at that moment) and what (`action` and the
// action's own fields). An event keeps its whole object, so fields this version does not
// know are read and written back unchanged.
//
//   accept / reject / clear   reason, note (reject: one of the standard reasons or free text)
//   edit / save / revert      from, to (the changed fields' old and new values, by name),
//                             sha256_before (the bytes' digest before the change)
//   profile                   profile (the name), parameters (the profile's rules)
//
// A reading's manual decision is its file's last accept, reject or clear event.

#include <nlohmann/json.hpp>

#include <chrono>
#include <ctime>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mirado {

enum class ReviewAction { Accept, Reject, Clear, Edit, Save, Revert, Profile };

// The action's name in the log ("accept", ...); nothing for a name this version does not know.
const char* ReviewActionName(ReviewAction action);
std::optional<ReviewAction> ReviewActionFromName(std::string_view name);

struct ReviewEvent {
    nlohmann::json fields = nlohmann::json::object(); // the whole event, unknown fields too
    size_t line = 0; // the log's line it was read from (from 1); 0 for an event not read
};

// The standard reasons for rejecting a reading: the key the log stores and its label.
struct RejectReason {
    const char* key;
    const char* label;
};
inline constexpr RejectReason kRejectReasons[] = {
    {"movement", "Movement"},   {"no_pulse", "No pulse"},
    {"cuff_leak", "Cuff leak"}, {"irregular_rhythm", "Irregular rhythm"},
    {"other", "Other"},
};

// The user's login name (the account's name, else $LOGNAME or $USER, else the user id).
std::string CurrentUserName();

// The local time as "YYYY-MM-DDThh:mm:ss+hh:mm".
std::string IsoLocalTime(std::chrono::system_clock::time_point when);
// The broken-down local time with its offset east of UTC in seconds, in that form.
std::string FormatIsoTime(const std::tm& local, long utcOffsetSeconds);

// An event with time (now), user, file and sha256 (both left out when empty) and action.
// A file name that is not valid UTF-8 is written with U+FFFD in `file` and its exact
// bytes in hexadecimal in `file_bytes`.
ReviewEvent NewReviewEvent(ReviewAction action, const std::string& fileName,
                           const std::string& sha256);

// An accept, reject or clear; an empty reason or note is left out.
ReviewEvent DecisionEvent(ReviewAction action, const std::string& fileName,
                          const std::string& sha256, const std::string& reason,
                          const std::string& note);

// An edit, save or revert: from and to are objects of the changed fields' old and new
// values; sha256 is the digest after the change, sha256Before the one before.
ReviewEvent ChangeEvent(ReviewAction action, const std::string& fileName,
                        const std::string& sha256Before, const std::string& sha256After,
                        const nlohmann::json& from, const nlohmann::json& to);

// The same from the fields' values before and after (flat objects of every field a change
// may touch): from and to keep only the fields whose value changed, with a field only
// one side has given as null on the other.
ReviewEvent ChangedFieldsEvent(ReviewAction action, const std::string& fileName,
                               const std::string& sha256Before, const std::string& sha256After,
                               const nlohmann::json& before, const nlohmann::json& after);

// The choice of a profile, with its rules.
ReviewEvent ProfileEvent(const std::string& profileName, const nlohmann::json& parameters);

// The event's action; nothing when it is missing or unknown.
std::optional<ReviewAction> EventAction(const ReviewEvent& event);
// The event's string field; empty when it is absent or not a string.
std::string EventText(const ReviewEvent& event, const char* key);
// The file's name as bytes: `file_bytes` when it holds hexadecimal digits, else `file`.
std::string EventFileName(const ReviewEvent& event);

struct ManualDecision {
    bool accepted = false;
    std::string reason, note, user, time;
};

// The decision each file's last accept, reject or clear event leaves (a clear leaves none),
// by the file's name.
std::map<std::string, ManualDecision> ManualDecisionsOf(const std::vector<ReviewEvent>& events);

// The events of one file, in the log's order.
std::vector<ReviewEvent> EventsOfFile(const std::vector<ReviewEvent>& events,
                                      const std::string& fileName);

} // namespace mirado
