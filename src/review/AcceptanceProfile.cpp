#include "review/AcceptanceProfile.h"

#include "files/FileAccess.h"
#include "records/TextEncoding.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <limits>
#include <sys/stat.h>

namespace mirado {

namespace {

// A profile is a few hundred bytes; anything larger is not one.
constexpr size_t kMaxProfileFileSize = 64u * 1024u;

// One rule: its key and where it is kept (a count or a number). Numbers that must be
// above zero say so.
struct RuleKey {
    const char* key;
    std::optional<int> AcceptanceProfile::*count;
    std::optional<double> AcceptanceProfile::*number;
    bool positive;
};

const RuleKey kRuleKeys[] = {
    {"training_sessions", &AcceptanceProfile::trainingSessions, nullptr, false},
    {"acclimation_readings", &AcceptanceProfile::acclimationReadings, nullptr, false},
    {"sbp_min", nullptr, &AcceptanceProfile::sbpMin, false},
    {"sbp_max", nullptr, &AcceptanceProfile::sbpMax, false},
    {"hr_min", nullptr, &AcceptanceProfile::hrMin, false},
    {"hr_max", nullptr, &AcceptanceProfile::hrMax, false},
    {"deviation_sd", nullptr, &AcceptanceProfile::deviationSd, true},
    {"session_min_accepted", &AcceptanceProfile::sessionMinAccepted, nullptr, false},
    {"session_max_sd", nullptr, &AcceptanceProfile::sessionMaxSd, false},
    {"session_max_cv", nullptr, &AcceptanceProfile::sessionMaxCv, false},
};

std::string KnownKeys() {
    std::string keys = "id, name, description";
    for (const RuleKey& rule : kRuleKeys)
        keys += std::string(", ") + rule.key;
    return keys;
}

Result<void> ReadCount(const nlohmann::json& value, const char* key, std::optional<int>& count) {
    if (!value.is_number_integer() || value.get<long long>() < 0 ||
        value.get<long long>() > std::numeric_limits<int>::max())
        return Fail(std::string("\"") + key + "\" must be a whole number of at least 0");
    count = value.get<int>();
    return Ok();
}

Result<void> ReadNumber(const nlohmann::json& value, const RuleKey& rule,
                        std::optional<double>& number) {
    if (!value.is_number() || !std::isfinite(value.get<double>()) || value.get<double>() < 0 ||
        (rule.positive && value.get<double>() <= 0))
        return Fail(std::string("\"") + rule.key + "\" must be a number " +
                    (rule.positive ? "above 0" : "of at least 0"));
    number = value.get<double>();
    return Ok();
}

Result<void> ReadRule(const std::string& key, const nlohmann::json& value,
                      AcceptanceProfile& profile) {
    for (const RuleKey& rule : kRuleKeys) {
        if (key != rule.key)
            continue;
        if (rule.count)
            return ReadCount(value, rule.key, profile.*rule.count);
        return ReadNumber(value, rule, profile.*rule.number);
    }
    return Fail("unknown key \"" + key + "\" (known keys: " + KnownKeys() + ")");
}

Result<void> ReadText(const nlohmann::json& value, const char* key, std::string& text) {
    if (!value.is_string())
        return Fail(std::string("\"") + key + "\" must be a text");
    text = value.get<std::string>();
    return Ok();
}

Result<void> CheckBounds(const std::optional<double>& low, const std::optional<double>& high,
                         const char* what) {
    if (low && high && *low > *high)
        return Fail(std::string(what) + "_min is above " + what + "_max");
    return Ok();
}

std::vector<AcceptanceProfile> MakeBuiltInProfiles() {
    std::vector<AcceptanceProfile> profiles(5);
    AcceptanceProfile& all = profiles[0];
    all.id = "all";
    all.name = "All complete readings";
    all.description = "Every complete reading counts, as the summary has always counted them.";

    AcceptanceProfile& acclimation = profiles[1];
    acclimation.id = "acclimation-2sd";
    acclimation.name = "Acclimation 5, then \u00b12 SD";
    acclimation.description =
        "Tail-cuff protocols discard at least the first 5 cycles of a session as "
        "acclimation before the 10 to 20 measured ones, and drop measured readings beyond "
        "the session's mean \u00b1 2 SD.";
    acclimation.acclimationReadings = 5;
    acclimation.deviationSd = 2;

    AcceptanceProfile& screening = profiles[2];
    screening.id = "screening";
    screening.name = "Screening limits 40\u2013210 mmHg, \u00b12 SD, at least 8 per session";
    screening.description =
        "Screening protocols drop readings with SBP below 40 or above 210 mmHg (no pulse or "
        "cuff artefacts) and beyond the session's mean \u00b1 2 SD, and drop a session "
        "left with fewer than 8 valid readings.";
    screening.sbpMin = 40;
    screening.sbpMax = 210;
    screening.deviationSd = 2;
    screening.sessionMinAccepted = 8;

    AcceptanceProfile& sessionSd = profiles[3];
    sessionSd.id = "session-sd15";
    sessionSd.name = "Session SD at most 15 mmHg";
    sessionSd.description = "Protocols drop a whole session whose SBP readings spread with an SD "
                            "above 15 mmHg, a sign of a restless animal.";
    sessionSd.sessionMaxSd = 15;

    AcceptanceProfile& cv = profiles[4];
    cv.id = "cv20";
    cv.name = "Sets with CV at most 20 %";
    cv.description = "Tail-cuff protocols keep a set of readings only when their coefficient of "
                     "variation (SD / mean) is at most 20 %.";
    cv.sessionMaxCv = 20;
    return profiles;
}

Result<AcceptanceProfile> LoadProfileFile(const std::string& path) {
    const Result<std::vector<uint8_t>> read = ReadWholeFile(path, kMaxProfileFileSize);
    if (!read.ok())
        return Fail(path + ": " + read.error());
    const std::vector<uint8_t>& bytes = read.value();
    std::string stem = path.substr(path.rfind('/') + 1);
    if (stem.size() > 5 && stem.ends_with(".json"))
        stem.resize(stem.size() - 5);
    Result<AcceptanceProfile> profile =
        ParseProfile(std::string(bytes.begin(), bytes.end()), WithInvalidUtf8Replaced(stem));
    if (!profile.ok())
        return Fail(path + ": " + profile.error());
    return profile;
}

// The rules that apply, in the order of kRuleKeys.
template <typename Json> void AddRules(const AcceptanceProfile& profile, Json& json) {
    for (const RuleKey& rule : kRuleKeys) {
        if (rule.count && (profile.*rule.count))
            json[rule.key] = *(profile.*rule.count);
        else if (rule.number && (profile.*rule.number))
            json[rule.key] = *(profile.*rule.number);
    }
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

} // namespace

bool AcceptanceProfile::HasNoRules() const {
    for (const RuleKey& rule : kRuleKeys) {
        if (rule.count ? (this->*rule.count).has_value() : (this->*rule.number).has_value())
            return false;
    }
    return true;
}

const std::vector<AcceptanceProfile>& BuiltInProfiles() {
    static const std::vector<AcceptanceProfile> profiles = MakeBuiltInProfiles();
    return profiles;
}

const AcceptanceProfile& DefaultProfile() {
    return BuiltInProfiles().front();
}

nlohmann::json ProfileParameters(const AcceptanceProfile& profile) {
    nlohmann::json parameters = nlohmann::json::object();
    AddRules(profile, parameters);
    return parameters;
}

nlohmann::ordered_json ProfileJson(const AcceptanceProfile& profile) {
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    if (!profile.id.empty())
        json["id"] = profile.id;
    json["name"] = profile.name;
    json["description"] = profile.description;
    AddRules(profile, json);
    return json;
}

Result<AcceptanceProfile> ParseProfile(const std::string& text, const std::string& fallbackName) {
    const nlohmann::json json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object())
        return Fail("not a JSON object");
    AcceptanceProfile read;
    read.name = fallbackName;
    for (const auto& [key, value] : json.items()) {
        const Result<void> field = key == "id"     ? ReadText(value, "id", read.id)
                                   : key == "name" ? ReadText(value, "name", read.name)
                                   : key == "description"
                                       ? ReadText(value, "description", read.description)
                                       : ReadRule(key, value, read);
        if (!field.ok())
            return Fail(field.error());
    }
    for (const Result<void>& bounds : {CheckBounds(read.sbpMin, read.sbpMax, "sbp"),
                                       CheckBounds(read.hrMin, read.hrMax, "hr")}) {
        if (!bounds.ok())
            return Fail(bounds.error());
    }
    return read;
}

Result<AcceptanceProfile> FindProfile(const std::string& nameOrPath,
                                      const std::string& userFolder) {
    for (const AcceptanceProfile& preset : BuiltInProfiles()) {
        if (nameOrPath == preset.id || nameOrPath == preset.name)
            return preset;
    }
    if (!userFolder.empty() && nameOrPath.find('/') == std::string::npos) {
        const std::string userFile = userFolder + "/" + nameOrPath + ".json";
        if (IsFile(userFile))
            return LoadProfileFile(userFile);
    }
    if (IsFile(nameOrPath))
        return LoadProfileFile(nameOrPath);
    return Fail("no profile named \"" + nameOrPath + "\"");
}

std::vector<AcceptanceProfile> UserProfiles(const std::string& userFolder,
                                            std::vector<std::string>& warnings) {
    std::vector<std::string> paths;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(userFolder, ec)) {
        const std::string name = entry.path().filename().string();
        if (name.size() > 5 && name.ends_with(".json") && name.front() != '.')
            paths.push_back(entry.path().string());
    }
    std::sort(paths.begin(), paths.end());
    std::vector<AcceptanceProfile> profiles;
    for (const std::string& path : paths) {
        Result<AcceptanceProfile> profile = LoadProfileFile(path);
        if (profile.ok())
            profiles.push_back(std::move(profile).value());
        else
            warnings.push_back(profile.error());
    }
    return profiles;
}

Result<void> SaveUserProfile(const std::string& userFolder, const AcceptanceProfile& profile) {
    const std::string& name = profile.name;
    if (name.empty() || name.front() == '.' || name.find('/') != std::string::npos)
        return Fail("\"" + name + "\" cannot name a profile's file");
    for (const AcceptanceProfile& preset : BuiltInProfiles()) {
        if (name == preset.id || name == preset.name)
            return Fail("\"" + name + "\" names a built-in profile");
    }
    nlohmann::ordered_json json = ProfileJson(profile);
    json.erase("id");
    const std::string path = userFolder + "/" + name + ".json";
    const std::string text =
        json.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
    if (const Result<void> written = WriteFileAtomically(path, text); !written.ok())
        return Fail(path + ": " + written.error());
    return Ok();
}

} // namespace mirado
