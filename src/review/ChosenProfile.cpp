#include "review/ChosenProfile.h"

#include "document/MiradoSettings.h"
#include "platform/SystemServices.h"

namespace mirado {

ChosenProfile ChosenReviewProfile(IProfile* settings, const std::string& userFolder) {
    const std::string name = settings != nullptr
                                 ? settings->GetProfileString(kMiradoSection, kReviewProfileKey, {})
                                 : std::string();
    if (name.empty())
        return {DefaultProfile(), {}};
    Result<AcceptanceProfile> found = FindProfile(name, userFolder);
    if (!found.ok())
        return {DefaultProfile(), found.error()};
    return {std::move(found).value(), {}};
}

} // namespace mirado
