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
        AcceptanceProfile read;
        std::string error;
        ASSERT_TRUE(ParseProfile(ProfileJson(preset).dump(), "", read, error)) << error;
        EXPECT_EQ(ProfileParameters(read), ProfileParameters(preset));
        EXPECT_EQ(read.name, preset.name);
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
    AcceptanceProfile profile;
    std::string error;
    ASSERT_TRUE(ParseProfile(rules, "mine", profile, error)) << error;
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
    AcceptanceProfile profile;
    profile.name = "untouched";
    std::string error;
    EXPECT_FALSE(ParseProfile(GetParam().text, "x", profile, error));
    EXPECT_NE(error.find(GetParam().errorPart), std::string::npos) << error;
    EXPECT_EQ(profile.name, "untouched");
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
    AcceptanceProfile profile;
    std::string error;
    ASSERT_TRUE(FindProfile("screening", folder.Path(), profile, error)) << error;
    EXPECT_EQ(profile.sessionMinAccepted, 8);
    ASSERT_TRUE(FindProfile("Session SD at most 15 mmHg", "", profile, error)) << error;
    EXPECT_EQ(profile.sessionMaxSd, 15);
    ASSERT_TRUE(FindProfile("strict", folder.Path(), profile, error)) << error;
    EXPECT_EQ(profile.name, "strict");
    EXPECT_EQ(profile.sbpMax, 180);
    ASSERT_TRUE(FindProfile(folder.File("other.json"), "", profile, error)) << error;
    EXPECT_EQ(profile.name, "Other rules");

    EXPECT_FALSE(FindProfile("strict", "", profile, error));
    EXPECT_NE(error.find("no profile named \"strict\""), std::string::npos) << error;
    EXPECT_FALSE(FindProfile("bad", folder.Path(), profile, error));
    EXPECT_NE(error.find("bad.json: unknown key"), std::string::npos) << error;
    EXPECT_FALSE(FindProfile(folder.Path(), "", profile, error)); // a folder is no profile
}

TEST(AcceptanceProfileTest, AUsersSavedProfileIsListedAndFoundAgain) {
    TempFolder folder;
    AcceptanceProfile mine;
    mine.name = "Lab A";
    mine.description = "first two weeks are training";
    mine.trainingSessions = 2;
    mine.sessionMaxCv = 12.5;
    std::string error;
    ASSERT_TRUE(SaveUserProfile(folder.Path(), mine, error)) << error;
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

    AcceptanceProfile found;
    ASSERT_TRUE(FindProfile("Lab A", folder.Path(), found, error)) << error;
    EXPECT_EQ(found.trainingSessions, 2);
}

TEST(AcceptanceProfileTest, ANameThatCannotNameItsFileOrNamesAPresetIsNotSaved) {
    TempFolder folder;
    for (const char* name : {"", "../up", ".hidden", "screening", "All complete readings"}) {
        AcceptanceProfile profile;
        profile.name = name;
        std::string error;
        EXPECT_FALSE(SaveUserProfile(folder.Path(), profile, error)) << name;
        EXPECT_FALSE(error.empty());
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

} // namespace
} // namespace mirado::test
