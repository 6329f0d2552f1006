// The profile the viewer's settings name: a preset by id or name, a user profile from
// the preference folder, and the default when nothing or something unknown is named.

#include "review/ChosenProfile.h"

#include "document/MiradoSettings.h"

#include "support/ScriptedPlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <optional>

namespace mirado::test {
namespace {

TEST(ChosenProfileTest, TheSettingsNameAPresetAUserProfileOrNothing) {
    TempFolder folder;
    AcceptanceProfile own;
    own.name = "Lab rules";
    own.sbpMax = 180;
    ASSERT_TRUE(SaveUserProfile(folder.Path(), own).ok());
    const struct {
        std::optional<std::string> stored;
        std::string name;
        bool problem;
    } rows[] = {
        {std::nullopt, DefaultProfile().name, false},
        {"", DefaultProfile().name, false},
        {"acclimation-2sd", "Acclimation 5, then ±2 SD", false},
        {"Lab rules", "Lab rules", false},
        {"gone", DefaultProfile().name, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored.value_or("(none)"));
        MemoryProfile settings;
        if (row.stored)
            settings.SetRaw(kMiradoSection, kReviewProfileKey, *row.stored);
        const ChosenProfile chosen = ChosenReviewProfile(&settings, folder.Path());
        EXPECT_EQ(chosen.profile.name, row.name);
        EXPECT_EQ(chosen.problem.empty(), !row.problem);
    }
    EXPECT_EQ(ChosenReviewProfile(nullptr, folder.Path()).profile.name, DefaultProfile().name);
}

} // namespace
} // namespace mirado::test
