#pragma once
// The acceptance profile the viewer's settings name: section "Mirado", key
// "ReviewProfile", holding a preset's id or name or the name of one of the user's own
// profiles (saved in the preference folder). A missing or empty value names the default
// profile.

#include "review/AcceptanceProfile.h"

#include <string>

namespace mirado {

class IProfile;

inline constexpr const char* kReviewProfileKey = "ReviewProfile";

struct ChosenProfile {
    AcceptanceProfile profile;
    std::string problem; // why the named profile was not found (the default is used then)
};

// settings may be null (the default profile).
ChosenProfile ChosenReviewProfile(IProfile* settings, const std::string& userFolder);

} // namespace mirado
