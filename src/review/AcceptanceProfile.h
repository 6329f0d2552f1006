#pragma once
// Acceptance profiles: which readings of a session enter its statistics. A profile is a
// small JSON object of optional rules; a rule that is absent does not apply.
//
//   training_sessions      an animal's first N sessions by date are training
//   acclimation_readings   a session's first N readings in time order are acclimation
//   sbp_min, sbp_max       SBP bounds in mmHg (inclusive)
//   hr_min, hr_max         heart-rate bounds in beats per minute (inclusive)
//   deviation_sd           a reading more than k sample SDs from its session's SBP mean
//   session_min_accepted   a session with fewer accepted readings is rejected whole
//   session_max_sd         ... or with a larger SBP SD (mmHg)
//   session_max_cv         ... or with a larger SBP coefficient of variation (%)
//
// "id", "name" and "description" are the profile's own; any other key is refused, so that a
// misspelt rule is not silently left out.

#include "files/Result.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <vector>

namespace mirado {

struct AcceptanceProfile {
    std::string id;   // the short name for the command line (built-in presets)
    std::string name; // the name shown
    std::string description;
    std::optional<int> trainingSessions, acclimationReadings;
    std::optional<double> sbpMin, sbpMax, hrMin, hrMax;
    std::optional<double> deviationSd;
    std::optional<int> sessionMinAccepted;
    std::optional<double> sessionMaxSd, sessionMaxCv;

    // True when no rule applies: every complete reading is accepted.
    bool HasNoRules() const;
};

// The presets, the first being the default ("All complete readings", no rules).
const std::vector<AcceptanceProfile>& BuiltInProfiles();
const AcceptanceProfile& DefaultProfile();

// The profile's rules (only those that apply) as a JSON object, as the log and the
// batch tool give them.
nlohmann::json ProfileParameters(const AcceptanceProfile& profile);
// The whole profile: id (a preset's), name, description and the rules, in that order.
nlohmann::ordered_json ProfileJson(const AcceptanceProfile& profile);

// Reads a profile from its JSON text; fails with the reason (text that is not a JSON
// object, an unknown key, a value of the wrong kind or out of range). A profile without a
// name takes fallbackName.
Result<AcceptanceProfile> ParseProfile(const std::string& text, const std::string& fallbackName);

// The profile a user names: a preset by its short name or its name, else
// "<userFolder>/<name>.json" when userFolder is given and that file exists, else the
// JSON file at that path. Fails with the reason.
Result<AcceptanceProfile> FindProfile(const std::string& nameOrPath, const std::string& userFolder);

// The user's own profiles: one "<name>.json" each in the given folder (the preference
// folder's), listed by name; a file that does not read as a profile is left out with a
// warning naming it.
std::vector<AcceptanceProfile> UserProfiles(const std::string& userFolder,
                                            std::vector<std::string>& warnings);

// Saves the profile as "<name>.json" in the folder, replacing the file atomically. A name
// that cannot be a file's (empty, with a slash, or starting with a dot) or a preset's is
// refused. Fails with the reason.
Result<void> SaveUserProfile(const std::string& userFolder, const AcceptanceProfile& profile);

} // namespace mirado
