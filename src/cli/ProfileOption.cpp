#include "cli/ProfileOption.h"

#include "platform/ConsolePrompts.h"
#include "review/ReviewLog.h"

#include <ostream>
#include <utility>

namespace mirado {

Result<AcceptanceProfile> FindProfileOption(const std::string& name) {
    Result<AcceptanceProfile> found = FindProfile(name, {});
    if (!found.ok())
        return Fail("--profile: " + found.error());
    return found;
}

ReviewResult ReviewWithLogs(const std::vector<Reading>& readings,
                            const std::vector<std::string>& paths, ValueSource source,
                            const AcceptanceProfile& profile, const std::string& command,
                            std::ostream& err) {
    std::vector<std::string> warnings;
    const auto decisions = LoadManualDecisions(paths, warnings);
    for (const std::string& warning : warnings)
        err << "mirado-cli " << command << ": " << SingleLine(warning) << '\n';
    return ReviewReadings(readings, source, profile, decisions);
}

} // namespace mirado
