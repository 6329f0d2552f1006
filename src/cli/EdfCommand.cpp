// mirado-cli edf: each recording as an EDF+ file in a folder, for biosignal viewers and
// analysis libraries.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/ProfileOption.h"
#include "cli/RunOptions.h"
#include "exchange/EdfExport.h"
#include "platform/ConsolePrompts.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>

namespace mirado {

namespace {

constexpr const char* kEdfDescription =
    "Writes each FILE as an EDF+ file (continuous) named after it with '.edf' added into the\n"
    "folder OUT (each replaced whole, never left half-written). Signals: 'Cuff pressure'\n"
    "in mmHg (digital -32768..32767 for -16384..16383.5 mmHg, so each decoded sample d reads\n"
    "d / 2 mmHg exactly) and 'Pulse' (the optical channel as stored), both at the file's\n"
    "sampling rate, in one data record. Start date and time from the header. Patient field:\n"
    "animal number, sex, birth date and name unknown (X), species, weight, sex/age; recording\n"
    "field: start date, study number, technician unknown, 'Mirado', the file name; in both,\n"
    "characters outside ASCII become '?' (full-width letters their ASCII ones) and spaces\n"
    "'_'. Annotations (UTF-8): the identification texts in full, species, the stored SBP,\n"
    "MBP, DBP (when valid), HR, the result code and flag, the review status ('Review: ...',\n"
    "under the default profile or --profile P and the review logs' decisions) at 0 s, then\n"
    "'Marker S', 'Marker M' (when valid) and every stored 'Beat' at their times.\n"
    "An OUT that is no folder, two FILEs of the same name, or an output that is one of the\n"
    "FILEs are refused before anything is written. A file that fails to load, has no\n"
    "sampling rate (an interval byte of 128 or more reads negative) or cannot be written\n"
    "is named on standard error and gives exit status 1.";

class CEdfCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(kEdfDescription);
        files_.AddTo(command, true);
        command.add_option("-o,--output", folder_, "the folder to write the EDF+ files into")
            ->type_name("OUT")
            ->required();
        command
            .add_option("--profile", profileName_,
                        "review the readings under profile P (a built-in one by its id or name,\n"
                        "see 'mirado-cli profiles', or a JSON file) instead of the default")
            ->type_name("P");
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override {
        if (!profileName_.empty()) {
            Result<AcceptanceProfile> found = FindProfileOption(profileName_);
            if (!found.ok())
                return Fail(found.error());
            profile_ = std::move(found).value();
        }
        return files_.Collect(in);
    }

    int Run(CliStreams& io) override {
        EdfExportRun run{files_.Paths(), folder_, profile_ ? &*profile_ : nullptr, jobs_};
        const Result<EdfExportResult> exported = ExportEdfFiles(run);
        if (!exported.ok()) {
            io.err << "mirado-cli edf: " << SingleLine(exported.error()) << '\n';
            return kExitLoadFailed;
        }
        for (const std::string& warning : exported.value().warnings)
            io.err << "mirado-cli edf: " << SingleLine(warning) << '\n';
        for (const std::string& failure : exported.value().failures)
            io.err << SingleLine(failure) << '\n';
        return exported.value().failures.empty() ? kExitOk : kExitLoadFailed;
    }

private:
    CFileArguments files_;
    std::string folder_, profileName_;
    std::optional<AcceptanceProfile> profile_;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeEdfCommand() {
    return std::make_unique<CEdfCommand>();
}

} // namespace mirado
