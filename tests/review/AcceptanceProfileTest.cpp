// Acceptance profiles: the presets, reading a user's profile and refusing a wrong one,
// and finding a profile by its name or file.

#include "review/AcceptanceProfile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace mirado::test {
namespace {

TEST(AcceptanceProfileTest, ThePresetsAreTheDefaultAndFourPublishedProtocols) {
    const std::vector<AcceptanceProfile>& presets = BuiltInProfiles();
    ASSERT_EQ(presets.size(), 5u);
    EXPECT_EQ(DefaultProfile().name, "All complete readings");
    EXPECT_TRUE(DefaultProfile().HasNoRules());
    std::set<std::string> ids;
    for (const AcceptanceProfile& preset : presets) {
        ids.insert(preset.id);
        EXPECT_FALSE(preset.description.empty()) << preset.name;
        // Each preset reads back from its own JSON with the same rules.
        const Result<AcceptanceProfile> read = ParseProfile(ProfileJson(preset).dump(), "");
        ASSERT_TRUE(read.ok()) << read.error();
        EXPECT_EQ(ProfileParameters(read.value()), ProfileParameters(preset));
        EXPECT_EQ(read.value().name, preset.name);
    }
    EXPECT_EQ(ids.size(), presets.size());
    EXPECT_EQ(ProfileParameters(presets[2]),
              nlohmann::json::parse(R"({"sbp_min":40.0,"sbp_max":210.0,"deviation_sd":2.0,
                                        "session_min_accepted":8})"));
}

TEST(AcceptanceProfileTest, AUsersProfileGivesEveryRule) {
    const char* const rules = R"({"training_sessions":2,"acclimation_readings":5,"sbp_min":50.0,
        "sbp_max":220.5,"hr_min":300.0,"hr_max":700.0,"deviation_sd":2.5,
        "session_min_accepted":8,"session_max_sd":15.0,"session_max_cv":20.0})";
    const Result<AcceptanceProfile> parsed = ParseProfile(rules, "mine");
    ASSERT_TRUE(parsed.ok()) << parsed.error();
    const AcceptanceProfile& profile = parsed.value();
    EXPECT_EQ(profile.name, "mine");
    EXPECT_EQ(ProfileParameters(profile), nlohmann::json::parse(rules));
    EXPECT_FALSE(profile.HasNoRules());
}

struct RefusedCase {
    const char* name;
    const char* text;
    const char* errorPart;
};

void PrintTo(const RefusedCase& c, std::ostream* out) {
    *out << c.name;
}

class RefusedProfileTest : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusedProfileTest, IsRefusedWithItsReason) {
    const Result<AcceptanceProfile> parsed = ParseProfile(GetParam().text, "x");
    EXPECT_FALSE(parsed.ok());
    EXPECT_NE(parsed.error().find(GetParam().errorPart), std::string::npos) << parsed.error();
}

INSTANTIATE_TEST_SUITE_P(
    Profiles, RefusedProfileTest,
    ::testing::Values(
        RefusedCase{"NotJson", "{sbp_min: 40}", "not a JSON object"},
        RefusedCase{"NotAnObject", "[1, 2]", "not a JSON object"},
        RefusedCase{"MisspeltRule", R"({"sbp_mni": 40})", "unknown key \"sbp_mni\""},
        RefusedCase{"NegativeCount", R"({"acclimation_readings": -1})",
                    "\"acclimation_readings\" must be a whole number"},
        RefusedCase{"FractionalCount", R"({"training_sessions": 1.5})",
                    "\"training_sessions\" must be a whole number"},
        RefusedCase{"TextForANumber", R"({"sbp_max": "210"})", "\"sbp_max\" must be a number"},
        RefusedCase{"ZeroDeviation", R"({"deviation_sd": 0})",
                    "\"deviation_sd\" must be a number above 0"},
        RefusedCase{"CrossedBounds", R"({"hr_min": 700, "hr_max": 300})", "hr_min is above hr_max"},
        RefusedCase{"NameNotText", R"({"name": 5})", "\"name\" must be a text"}),
    [](const ::testing::TestParamInfo<RefusedCase>& info) { return info.param.name; });

TEST(AcceptanceProfileTest, FindsAPresetByIdOrNameThenTheUsersFolderThenAPath) {
    TempFolder folder;
    WriteText(folder.File("strict.json"), R"({"sbp_max": 180})");
    WriteText(folder.File("other.json"), R"({"name": "Other rules", "sbp_min": 60})");
    WriteText(folder.File("bad.json"), R"({"sbp_mni": 60})");
    const auto find = [&](const std::string& nameOrPath, const std::string& userFolder) {
        const Result<AcceptanceProfile> found = FindProfile(nameOrPath, userFolder);
        EXPECT_TRUE(found.ok()) << nameOrPath << ": " << found.error();
        return found.ok() ? found.value() : AcceptanceProfile{};
    };
    EXPECT_EQ(find("screening", folder.Path()).sessionMinAccepted, 8);
    EXPECT_EQ(find("Session SD at most 15 mmHg", "").sessionMaxSd, 15);
    const AcceptanceProfile strict = find("strict", folder.Path());
    EXPECT_EQ(strict.name, "strict");
    EXPECT_EQ(strict.sbpMax, 180);
    EXPECT_EQ(find(folder.File("other.json"), "").name, "Other rules");

    const Result<AcceptanceProfile> unknown = FindProfile("strict", "");
    EXPECT_NE(unknown.error().find("no profile named \"strict\""), std::string::npos);
    const Result<AcceptanceProfile> bad = FindProfile("bad", folder.Path());
    EXPECT_NE(bad.error().find("bad.json: unknown key"), std::string::npos) << bad.error();
    EXPECT_FALSE(FindProfile(folder.Path(), "").ok()); // a folder is no profile
}

TEST(AcceptanceProfileTest, AUsersSavedProfileIsListedAndFoundAgain) {
    TempFolder folder;
    AcceptanceProfile mine;
    mine.name = "Lab A";
    mine.description = "first two weeks are training";
    mine.trainingSessions = 2;
    mine.sessionMaxCv = 12.5;
    const Result<void> saved = SaveUserProfile(folder.Path(), mine);
    ASSERT_TRUE(saved.ok()) << saved.error();
    WriteText(folder.File("broken.json"), "{");
    WriteText(folder.File("notes.txt"), "{}");

    std::vector<std::string> warnings;
    const std::vector<AcceptanceProfile> profiles = UserProfiles(folder.Path(), warnings);
    ASSERT_EQ(profiles.size(), 1u);
    EXPECT_EQ(profiles[0].name, "Lab A");
    EXPECT_EQ(profiles[0].description, mine.description);
    EXPECT_EQ(ProfileParameters(profiles[0]), ProfileParameters(mine));
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("broken.json: not a JSON object"), std::string::npos);

    const Result<AcceptanceProfile> found = FindProfile("Lab A", folder.Path());
    ASSERT_TRUE(found.ok()) << found.error();
    EXPECT_EQ(found.value().trainingSessions, 2);
}

TEST(AcceptanceProfileTest, ANameThatCannotNameItsFileOrNamesAPresetIsNotSaved) {
    TempFolder folder;
    for (const char* name : {"", "../up", ".hidden", "screening", "All complete readings"}) {
        AcceptanceProfile profile;
        profile.name = name;
        const Result<void> saved = SaveUserProfile(folder.Path(), profile);
        EXPECT_FALSE(saved.ok()) << name;
        EXPECT_FALSE(saved.error().empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
} // namespace mirado::test
