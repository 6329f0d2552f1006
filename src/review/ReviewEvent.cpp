#include "review/ReviewEvent.h"

#include "records/TextEncoding.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace mirado {

namespace {

const char* const kActionNames[] = {"accept", "reject", "clear",  "edit",
                                    "save",   "revert", "profile"};

constexpr long kSecondsPerMinute = 60;
constexpr long kSecondsPerHour = 3600;
constexpr int kTmFirstYear = 1900;

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The bytes the hexadecimal digits give; nothing when they are not pairs of digits.
std::optional<std::string> DecodeHex(const std::string& hex) {
    if (hex.size() % 2 != 0)
        return std::nullopt;
    std::string bytes;
    for (size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigitValue(hex[i]), low = HexDigitValue(hex[i + 1]);
        if (high < 0 || low < 0)
            return std::nullopt;
        bytes += static_cast<char>(high * 16 + low);
    }
    return bytes;
}

void SetUnlessEmpty(nlohmann::json& fields, const char* key, const std::string& value) {
    if (!value.empty())
        fields[key] = WithInvalidUtf8Replaced(value);
}

} // namespace

const char* ReviewActionName(ReviewAction action) {
    return kActionNames[static_cast<size_t>(action)];
}

std::optional<ReviewAction> ReviewActionFromName(std::string_view name) {
    for (size_t i = 0; i < std::size(kActionNames); ++i) {
        if (name == kActionNames[i])
            return static_cast<ReviewAction>(i);
    }
    return std::nullopt;
}

std::string CurrentUserName() {
    std::vector<char> buffer(4096);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_name && *found->pw_name)
        return found->pw_name;
    for (const char* variable : {"LOGNAME", "USER"}) {
        const char* value = std::getenv(variable);
        if (value && *value)
            return value;
    }
    return std::to_string(geteuid());
}

std::string FormatIsoTime(const std::tm& local, long utcOffsetSeconds) {
    const char sign = utcOffsetSeconds < 0 ? '-' : '+';
    const long offset = utcOffsetSeconds < 0 ? -utcOffsetSeconds : utcOffsetSeconds;
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d%c%02ld:%02ld",
                  local.tm_year + kTmFirstYear, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, sign, offset / kSecondsPerHour,
                  offset % kSecondsPerHour / kSecondsPerMinute);
    return text;
}

std::string IsoLocalTime(std::chrono::system_clock::time_point when) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    return FormatIsoTime(local, local.tm_gmtoff);
}

ReviewEvent NewReviewEvent(ReviewAction action, const std::string& fileName,
                           const std::string& sha256) {
    ReviewEvent event;
    event.fields["time"] = IsoLocalTime(std::chrono::system_clock::now());
    event.fields["user"] = WithInvalidUtf8Replaced(CurrentUserName());
    if (!fileName.empty()) {
        event.fields["file"] = WithInvalidUtf8Replaced(fileName);
        if (!IsValidUtf8(fileName))
            event.fields["file_bytes"] = HexBytes(fileName);
    }
    SetUnlessEmpty(event.fields, "sha256", sha256);
    event.fields["action"] = ReviewActionName(action);
    return event;
}

ReviewEvent DecisionEvent(ReviewAction action, const std::string& fileName,
                          const std::string& sha256, const std::string& reason,
                          const std::string& note) {
    ReviewEvent event = NewReviewEvent(action, fileName, sha256);
    SetUnlessEmpty(event.fields, "reason", reason);
    SetUnlessEmpty(event.fields, "note", note);
    return event;
}

ReviewEvent ChangeEvent(ReviewAction action, const std::string& fileName,
                        const std::string& sha256Before, const std::string& sha256After,
                        const nlohmann::json& from, const nlohmann::json& to) {
    ReviewEvent event = NewReviewEvent(action, fileName, sha256After);
    SetUnlessEmpty(event.fields, "sha256_before", sha256Before);
    event.fields["from"] = from;
    event.fields["to"] = to;
    return event;
}

ReviewEvent ChangedFieldsEvent(ReviewAction action, const std::string& fileName,
                               const std::string& sha256Before, const std::string& sha256After,
                               const nlohmann::json& before, const nlohmann::json& after) {
    nlohmann::json from = nlohmann::json::object(), to = nlohmann::json::object();
    auto valueIn = [](const nlohmann::json& fields, const std::string& key) {
        const auto found = fields.find(key);
        return found == fields.end() ? nlohmann::json() : *found;
    };
    for (const nlohmann::json* side : {&before, &after}) {
        for (const auto& [key, value] : side->items()) {
            const nlohmann::json old = valueIn(before, key), now = valueIn(after, key);
            if (old != now) {
                from[key] = old;
                to[key] = now;
            }
        }
    }
    return ChangeEvent(action, fileName, sha256Before, sha256After, from, to);
}

ReviewEvent ProfileEvent(const std::string& profileName, const nlohmann::json& parameters) {
    ReviewEvent event = NewReviewEvent(ReviewAction::Profile, {}, {});
    event.fields["profile"] = WithInvalidUtf8Replaced(profileName);
    event.fields["parameters"] = parameters;
    return event;
}

std::optional<ReviewAction> EventAction(const ReviewEvent& event) {
    return ReviewActionFromName(EventText(event, "action"));
}

std::string EventText(const ReviewEvent& event, const char* key) {
    const auto found = event.fields.find(key);
    if (found == event.fields.end() || !found->is_string())
        return {};
    return found->get<std::string>();
}

std::string EventFileName(const ReviewEvent& event) {
    if (const std::optional<std::string> bytes = DecodeHex(EventText(event, "file_bytes"));
        bytes && !bytes->empty())
        return *bytes;
    return EventText(event, "file");
}

std::map<std::string, ManualDecision> ManualDecisionsOf(const std::vector<ReviewEvent>& events) {
    std::map<std::string, ManualDecision> decisions;
    for (const ReviewEvent& event : events) {
        const std::optional<ReviewAction> action = EventAction(event);
        const std::string file = EventFileName(event);
        if (!action || file.empty())
            continue;
        if (*action == ReviewAction::Clear) {
            decisions.erase(file);
        } else if (*action == ReviewAction::Accept || *action == ReviewAction::Reject) {
            decisions[file] = ManualDecision{*action == ReviewAction::Accept,
                                             EventText(event, "reason"), EventText(event, "note"),
                                             EventText(event, "user"), EventText(event, "time")};
        }
    }
    return decisions;
}

std::vector<ReviewEvent> EventsOfFile(const std::vector<ReviewEvent>& events,
                                      const std::string& fileName) {
    std::vector<ReviewEvent> found;
    for (const ReviewEvent& event : events) {
        if (EventFileName(event) == fileName)
            found.push_back(event);
    }
    return found;
}

} // namespace mirado
