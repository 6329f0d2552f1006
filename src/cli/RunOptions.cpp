#include "cli/RunOptions.h"

#include "cli/CliOptions.h"
#include "platform/OrderedPrefetch.h"

#include <CLI/CLI.hpp>

namespace mirado {

namespace {

constexpr int64_t kMostJobs = 1024;

} // namespace

void AddJobsOption(CLI::App& command, unsigned& jobs) {
    jobs = DefaultJobCount();
    AddIntegerOption(
        command, "--jobs", 1, kMostJobs,
        [&jobs](int64_t value) { jobs = static_cast<unsigned>(value); },
        "threads to use (default: the number of cores); the output is the same for any N");
}

void AddAnalysisOption(CLI::App& command, ValueSource& source) {
    command
        .add_option_function<std::string>(
            "--analysis",
            [&source](const std::string& mode) {
                source = mode == "s" ? ValueSource::AnalysisS : ValueSource::AnalysisSM;
            },
            "take the values of the system's own analysis as the viewer shows them with\n"
            "Analysis S (s: no mean pressure) or Analysis S-M (sm) instead of the stored ones")
        ->type_name("s|sm")
        ->check(CLI::IsMember({"s", "sm"}));
}

} // namespace mirado
