// mirado-cli stats: the tests of a study over its groups and sessions: per measure the
// mixed ANOVA (group × session) and each group against the control in every session.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/ProfileOption.h"
#include "cli/RunOptions.h"
#include "cli/StudyOptions.h"
#include "platform/ConsolePrompts.h"
#include "records/TextEncoding.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace mirado {

namespace {

constexpr const char* kStatsDescription =
    "Reads every FILE with fresh analysis records and takes each animal's value in each\n"
    "session (recording date): the mean of its complete readings, or with --profile of its\n"
    "accepted ones. Animals belong to the groups of the groups table (--groups FILE, or\n"
    "mirado-groups.csv in the folder of the files; CSV with the columns study_no,\n"
    "animal_no, group, UTF-8 or CP932); animals it does not list form the group \"(none)\".\n"
    "For each measure (sbp, mbp, dbp, hr; --measure chooses one) it writes the two-way\n"
    "mixed ANOVA, group between animals and session within, over the animals with a value\n"
    "in every session (type III sums of squares, Greenhouse-Geisser and Huynh-Feldt\n"
    "epsilons and corrected p for the within terms, generalised eta squared ges; with one\n"
    "group the one-way repeated-measures ANOVA over sessions), then per session each group\n"
    "against the control group (the first group of the table, or --control NAME) with\n"
    "Welch's t test, p_holm adjusted by Holm's method over all comparisons of the measure.\n"
    "--format json writes JSON Lines: an ANOVA row {measure, test: \"anova\", term (group,\n"
    "session or group:session), df_num, df_den, F, p, ges, gg_epsilon, p_gg, hf_epsilon,\n"
    "p_hf}, a comparison {measure, test: \"welch\", session, group, control, n, n_control,\n"
    "t, df, p, p_holm}; --format csv (the default) one table with all these columns, empty\n"
    "where a row has none. A number that cannot be computed (too few animals, no variance)\n"
    "is null or empty, and the reason goes to standard error, as do the animals left out\n"
    "of the ANOVA with the sessions they lack and the groups table's skipped rows.";

class CStatsCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(kStatsDescription);
        files_.AddTo(command, true);
        command
            .add_option("--groups", groupsPath_,
                        "the groups table (default: mirado-groups.csv beside the files)")
            ->type_name("FILE");
        command
            .add_option("--control", control_,
                        "the control group (default: the first group of the table)")
            ->type_name("NAME");
        command
            .add_option_function<std::string>(
                "--measure",
                [this](const std::string& name) {
                    for (Measure measure : kMeasures)
                        if (name == MeasureName(measure))
                            measures_ = {measure};
                },
                "test only this measure (default: all four)")
            ->type_name("sbp|mbp|dbp|hr")
            ->check(CLI::IsMember({"sbp", "mbp", "dbp", "hr"}));
        command
            .add_option("--profile", profileName_,
                        "take only the readings accepted under profile P (see 'mirado-cli\n"
                        "profiles') and the review logs' decisions")
            ->type_name("P");
        command
            .add_option_function<std::string>(
                "--format", [this](const std::string& format) { json_ = format == "json"; },
                "csv (the default) or json (JSON Lines)")
            ->type_name("csv|json")
            ->check(CLI::IsMember({"csv", "json"}));
        command.add_option("-o,--output", output_, "write to OUT instead of standard output")
            ->type_name("OUT");
        AddAnalysisOption(command, source_);
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override {
        if (Result<void> collected = files_.Collect(in); !collected.ok())
            return collected;
        if (!profileName_.empty()) {
            Result<AcceptanceProfile> found = FindProfileOption(profileName_);
            if (!found.ok())
                return Fail(found.error());
            profile_ = std::move(found).value();
        }
        if (output_.empty())
            return Ok();
        std::vector<std::string> inputs = files_.Paths();
        if (!groupsPath_.empty())
            inputs.push_back(groupsPath_);
        return CheckOutputIsNoInput(output_, inputs);
    }

    int Run(CliStreams& io) override {
        const Result<StudyRead> read =
            ReadStudy(files_.Paths(), source_, jobs_, profile_, groupsPath_, "stats", io.err);
        if (!read.ok()) {
            io.err << "mirado-cli stats: " << SingleLine(read.error()) << '\n';
            return kExitUsage;
        }
        const StudyData& data = read.value().data;
        const Result<size_t> control = FindControlGroup(data, control_);
        if (!control.ok()) {
            io.err << "mirado-cli stats: " << SingleLine(control.error()) << '\n';
            return read.value().allLoaded ? kExitUsage : kExitLoadFailed;
        }
        const StudyTests tests = ComputeStudyTests(data, control.value(), measures_);
        ReportLeftOut(data, tests, io.err);
        const std::string text =
            json_ ? StudyTestsJsonLines(data, tests) : StudyTestsCsv(data, tests);
        if (!WriteCommandOutput(text, output_, "stats", io))
            return kExitLoadFailed;
        return read.value().allLoaded ? kExitOk : kExitLoadFailed;
    }

private:
    static void ReportLeftOut(const StudyData& data, const StudyTests& tests, std::ostream& err) {
        for (const MeasureAnova& anova : tests.anovas) {
            const std::string prefix =
                std::string("mirado-cli stats: ") + MeasureName(anova.measure) + ": ";
            for (const LeftOutAnimal& animal : anova.leftOut) {
                std::string dates;
                for (size_t session : animal.missingSessions)
                    dates += (dates.empty() ? "" : ", ") + Cp932ToUtf8(data.sessions[session].date);
                err << SingleLine(prefix + AnimalText(data, animal.animal) +
                                  " left out of the ANOVA: no value on " + dates)
                    << '\n';
            }
            if (!anova.problem.empty())
                err << SingleLine(prefix + "the ANOVA cannot be computed: " + anova.problem)
                    << '\n';
        }
    }

    CFileArguments files_;
    std::string groupsPath_, control_, profileName_, output_;
    std::optional<AcceptanceProfile> profile_;
    std::vector<Measure> measures_{kMeasures.begin(), kMeasures.end()};
    bool json_ = false;
    ValueSource source_ = ValueSource::Stored;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeStatsCommand() {
    return std::make_unique<CStatsCommand>();
}

} // namespace mirado
