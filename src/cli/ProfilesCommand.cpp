// mirado-cli profiles: the built-in acceptance profiles, one JSON object per line.

#include "cli/CliCommand.h"
#include "review/AcceptanceProfile.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace mirado {

namespace {

constexpr const char* kProfilesDescription =
    "Prints one JSON object per built-in profile and line (UTF-8): id (the name for\n"
    "--profile), name, description and parameters (the rules that apply, by their keys:\n"
    "training_sessions, acclimation_readings, sbp_min, sbp_max, hr_min, hr_max,\n"
    "deviation_sd, session_min_accepted, session_max_sd, session_max_cv). The first is\n"
    "the default, which has no rules.";

class CProfilesCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override { command.footer(kProfilesDescription); }

    Result<void> Prepare(std::istream&) override { return Ok(); }

    int Run(CliStreams& io) override {
        for (const AcceptanceProfile& profile : BuiltInProfiles()) {
            nlohmann::ordered_json line = {{"id", profile.id},
                                           {"name", profile.name},
                                           {"description", profile.description},
                                           {"parameters", ProfileParameters(profile)}};
            io.out << line.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                   << '\n';
        }
        return kExitOk;
    }
};

} // namespace

std::unique_ptr<CCliCommand> MakeProfilesCommand() {
    return std::make_unique<CProfilesCommand>();
}

} // namespace mirado
