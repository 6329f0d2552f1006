#pragma once
// What the commands taking --profile share: the profile the option names, and the review
// of read files under it and their folders' review logs.

#include "document/Reading.h"
#include "files/Result.h"
#include "review/AcceptanceProfile.h"
#include "review/ReadingReview.h"

#include <iosfwd>
#include <string>
#include <vector>

namespace mirado {

// The profile --profile names (a built-in one by its id or name, or a JSON file); the
// failure reads "--profile: " and the reason.
Result<AcceptanceProfile> FindProfileOption(const std::string& name);

// Reviews the readings of the paths (in their order) under the profile and the manual
// decisions of the folders' review logs; each warning about a log goes to err as one line
// after "mirado-cli COMMAND: ".
ReviewResult ReviewWithLogs(const std::vector<Reading>& readings,
                            const std::vector<std::string>& paths, ValueSource source,
                            const AcceptanceProfile& profile, const std::string& command,
                            std::ostream& err);

} // namespace mirado
