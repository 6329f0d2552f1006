// mirado-cli report: the exclusion report of the files under an acceptance profile as
// data: the profile, each session's counts by status and every reading not accepted.

#include "charts/ReportCharts.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/OffscreenApplication.h"
#include "cli/ProfileOption.h"
#include "cli/RunOptions.h"
#include "cli/StudyOptions.h"
#include "document/CsvField.h"
#include "exchange/Workbook.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "review/ExclusionReport.h"
#include "review/PrintedExclusionReport.h"
#include "stats/StudyReport.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <optional>
#include <ostream>

namespace mirado {

namespace {

constexpr const char* kReportDescription =
    "Reviews the readings of the files (the review logs' decisions by hand, then the rules\n"
    "of profile P, as 'mirado-cli review show' gives them) and writes the exclusion\n"
    "report, UTF-8, to standard output or to OUT (replaced whole, never left\n"
    "half-written; an OUT that is one of the files is refused).\n"
    "--format csv (the default): a comment line '# profile: ' with the profile as JSON\n"
    "(id, name, description and the rules that apply, as 'mirado-cli profiles' names\n"
    "them), an empty line, the sessions table (study_no,\n"
    "animal_no, date, recorded, then one column per status: damaged, incomplete,\n"
    "training, acclimation, out_of_range, deviation, rejected, session_rejected,\n"
    "accepted), an empty line and the excluded readings table (path, study_no,\n"
    "animal_no, date, time, sbp, hr, status, reason, decided_by, note, user, decided_at,\n"
    "path_bytes), each with its header row.\n"
    "--format json: JSON Lines, each object's first key 'table' naming its part:\n"
    "'profile' (then the profile's keys), 'sessions' (one per session) and 'excluded'\n"
    "(one per reading not accepted), in that order.\n"
    "--format xlsx (needs -o): an Excel workbook with the sheets 'profile' (the profile as\n"
    "JSON in one cell), 'sessions' and 'excluded' (the two tables of the CSV), numbers as\n"
    "numbers, dates and times as such, the header rows frozen; with --groups the sheets\n"
    "'groups' and 'tests' follow.\n"
    "An OUT ending in .pdf gets the report to read and print (landscape A4 pages): the\n"
    "profile and its rules, the readings of each session by status, every reading not\n"
    "accepted with its status, reason and, for a decision by hand, who and when, then\n"
    "the statistics of each session's accepted readings. --format does not go with it.\n"
    "A file that fails to load is counted as damaged, named on standard error and gives\n"
    "exit status 1.\n"
    "--groups FILE adds two parts at the end of the CSV or JSON report, over the groups\n"
    "of the groups table (see 'mirado-cli stats') and each animal's mean of its accepted\n"
    "readings per session: the group levels as 'mirado-cli summary --level group' writes\n"
    "them and the tests as 'mirado-cli stats' writes them (CSV: each after an empty line;\n"
    "JSON: tables 'groups' and 'tests'). In the PDF it adds pages: the groups, a table of\n"
    "the group levels per measure, each measure's group chart (mean +- SEM per session),\n"
    "the ANOVA, the animals it left out and the comparisons with the control group\n"
    "(--control NAME, default the table's first group).";

enum class ReportFormat { Csv, Json, Xlsx, Pdf };

std::string LowerExtension(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

class CReportCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(kReportDescription);
        files_.AddTo(command, true);
        command
            .add_option("--profile", profileName_,
                        "the acceptance profile: a built-in one by its id or name (see\n"
                        "'mirado-cli profiles') or a JSON file")
            ->type_name("P")
            ->required();
        command
            .add_option_function<std::string>(
                "--format",
                [this](const std::string& format) {
                    format_ = format == "json"   ? ReportFormat::Json
                              : format == "xlsx" ? ReportFormat::Xlsx
                                                 : ReportFormat::Csv;
                    formatGiven_ = true;
                },
                "csv (the default), json (JSON Lines) or xlsx (an Excel workbook, needs -o)")
            ->type_name("csv|json|xlsx")
            ->check(CLI::IsMember({"csv", "json", "xlsx"}));
        command
            .add_option("-o,--output", output_,
                        "write to OUT instead of standard output (a PDF when OUT ends in .pdf)")
            ->type_name("OUT");
        command
            .add_option("--groups", groupsPath_,
                        "also write the group levels and the tests over this groups table")
            ->type_name("FILE");
        command
            .add_option("--control", controlName_,
                        "with --groups, the control group of the comparisons (default: the\n"
                        "first group of the table)")
            ->type_name("NAME");
        AddAnalysisOption(command, source_);
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override {
        if (Result<void> collected = files_.Collect(in); !collected.ok())
            return collected;
        Result<AcceptanceProfile> found = FindProfileOption(profileName_);
        if (!found.ok())
            return Fail(found.error());
        profile_ = std::move(found).value();
        if (format_ == ReportFormat::Xlsx && output_.empty())
            return Fail("--format xlsx needs -o OUT");
        if (!controlName_.empty() && groupsPath_.empty())
            return Fail("--control needs --groups");
        if (output_.empty())
            return Ok();
        if (LowerExtension(output_) == "pdf") {
            if (formatGiven_)
                return Fail("--format: a report ending in .pdf is written as PDF; leave out "
                            "--format or name another OUT");
            format_ = ReportFormat::Pdf;
        }
        std::vector<std::string> inputs = files_.Paths();
        if (!groupsPath_.empty())
            inputs.push_back(groupsPath_);
        return CheckOutputIsNoInput(output_, inputs);
    }

    int Run(CliStreams& io) override {
        int status = kExitOk;
        const std::vector<Reading> readings = ReadRecordings(files_.Paths(), source_, jobs_);
        for (const Reading& reading : readings) {
            if (!reading.loaded) {
                io.err << SingleLine(reading.path + reading.error) << '\n';
                status = kExitLoadFailed;
            }
        }
        const ReviewResult review =
            ReviewWithLogs(readings, files_.Paths(), source_, *profile_, "report", io.err);
        std::optional<StudyData> study;
        size_t control = 0;
        if (!groupsPath_.empty()) {
            Result<StudyData> built = BuildStudy(SessionValuesFromReview(review), files_.Paths(),
                                                 groupsPath_, "report", io.err);
            Result<size_t> found =
                built.ok() ? FindControlGroup(built.value(), controlName_) : Fail(built.error());
            if (!found.ok()) {
                io.err << "mirado-cli report: " << SingleLine(found.error()) << '\n';
                return kExitUsage;
            }
            study = std::move(built).value();
            control = found.value();
        }
        if (format_ == ReportFormat::Pdf) {
            const int written = WritePdf(readings, review, study, control, io);
            return written != kExitOk ? written : status;
        }
        if (format_ == ReportFormat::Xlsx)
            return WriteWorkbookReport(readings, review, study, control, io) ? status
                                                                             : kExitLoadFailed;
        std::string text = format_ == ReportFormat::Json
                               ? ExclusionReportJsonLines(*profile_, readings, review)
                               : ExclusionReportCsv(*profile_, readings, review);
        if (study)
            text += format_ == ReportFormat::Json ? StudyReportJsonLines(*study, control)
                                                  : StudyReportCsv(*study, control);
        if (output_.empty()) {
            io.out << text;
            return status;
        }
        if (const Result<void> written = WriteFileAtomically(output_, text); !written.ok()) {
            io.err << "mirado-cli report: " << SingleLine(output_ + ": " + written.error()) << '\n';
            return kExitLoadFailed;
        }
        return status;
    }

private:
    // The pages are drawn into memory first, so that OUT is written whole or not at all.
    int WritePdf(const std::vector<Reading>& readings, const ReviewResult& review,
                 const std::optional<StudyData>& study, size_t control, CliStreams& io) const {
        EnsureOffscreenApplication();
        const std::optional<QByteArray> pdf =
            ReportPdfWithStudy(PrintedExclusionReport(*profile_, readings, review, source_),
                               study ? &*study : nullptr, control);
        const Result<void> written =
            pdf ? WriteFileAtomically(output_, std::string_view(pdf->constData(), pdf->size()))
                : Fail("the pages could not be drawn");
        if (written.ok())
            return kExitOk;
        io.err << "mirado-cli report: " << SingleLine(output_ + ": " + written.error()) << '\n';
        return kExitLoadFailed;
    }

    // The workbook: the profile as JSON in one cell, then the two tables of the CSV, and
    // with --groups the group levels and the tests.
    bool WriteWorkbookReport(const std::vector<Reading>& readings, const ReviewResult& review,
                             const std::optional<StudyData>& study, size_t control,
                             CliStreams& io) const {
        const std::string profileJson = ProfileJson(*profile_).dump(
            -1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        std::vector<NamedCsv> sheets = {{"profile", "profile\n" + CsvField(profileJson) + "\n"},
                                        {"sessions", SessionCountsCsv(review)},
                                        {"excluded", ExcludedReadingsCsv(readings, review)}};
        if (study) {
            const std::vector<GroupLevels> levels = ComputeLevels(*study);
            sheets.emplace_back("groups", LevelsCsv(*study, levels));
            sheets.emplace_back("tests", StudyTestsCsv(*study, ComputeStudyTests(*study, control)));
        }
        const Result<void> written = WriteCsvWorkbook(output_, sheets);
        if (!written.ok())
            io.err << "mirado-cli report: " << SingleLine(output_ + ": " + written.error()) << '\n';
        return written.ok();
    }

    std::string groupsPath_, controlName_;
    ReportFormat format_ = ReportFormat::Csv;
    bool formatGiven_ = false;
    ValueSource source_ = ValueSource::Stored;
    std::string output_, profileName_;
    std::optional<AcceptanceProfile> profile_;
    CFileArguments files_;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeReportCommand() {
    return std::make_unique<CReportCommand>();
}

} // namespace mirado
