// mirado-cli summary: the study summary of the files, the same numbers as the viewer's
// summary window, as CSV or JSON Lines on standard output.

#include "charts/GroupChart.h"
#include "charts/SummaryChart.h"
#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/OffscreenApplication.h"
#include "cli/ProfileOption.h"
#include "cli/RunOptions.h"
#include "cli/StudyOptions.h"
#include "document/StudySummary.h"
#include "exchange/Workbook.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "stats/ReadingLevel.h"

#include <CLI/CLI.hpp>

#include <cctype>
#include <cmath>
#include <optional>
#include <ostream>
#include <sstream>

namespace mirado {

namespace {

constexpr const char* kSummaryDescription =
    "Reads every FILE with fresh analysis records and writes one row per study number,\n"
    "animal number and session (--by session, the default; the session is the recording\n"
    "date) or per study and animal over all its readings (--by animal), ordered by study,\n"
    "animal and date (dates that do not read as YY/MM/DD come last).\n"
    "A reading's values are those of its Dominant export line; it is complete when it\n"
    "loaded, its SBP is not 0 and (except with --analysis s) its MBP is not 0.\n"
    "Fields: study_no, animal_no, date (as in the file; null with --by animal), n (every\n"
    "reading), n_complete, and for sbp, mbp, dbp and hr: n, mean, sd (sample standard\n"
    "deviation), se (standard error), min, max over the complete readings (hr over those\n"
    "with a heart rate above 0; mbp and dbp are empty with --analysis s). sd and se are\n"
    "null for one value, all but n null for none.\n"
    "--format json writes JSON Lines, one object per row, sbp, mbp, dbp and hr each an\n"
    "object {n, mean, sd, se, min, max}; --format csv (the default) writes a header row\n"
    "and the same fields flattened (sbp_n, sbp_mean, ...), UTF-8, RFC 4180 quoting, empty\n"
    "fields for null. Numbers are the shortest decimal text that reads back to the same\n"
    "value. A file that fails to load counts in n, its message goes to standard error and\n"
    "the exit status is 1.\n"
    "--profile P reviews the readings first (the review logs' decisions by hand, then the\n"
    "profile's rules; see 'mirado-cli review') and takes the statistics over the accepted\n"
    "readings only: n_complete then counts the accepted readings. The default profile\n"
    "without decisions by hand gives the same output as no --profile.\n"
    "-o OUT writes to OUT (replaced whole, never left half-written) instead of standard\n"
    "output; --format xlsx (needs -o) writes the CSV table as an Excel workbook, one sheet\n"
    "('sessions', 'animals' or 'groups'), numbers as numbers shown with their\n"
    "decimals, dates as dates, the header row frozen.\n"
    "--level reading writes one row per reading instead, in the order of the files: path,\n"
    "study_no, animal_no, group (as for --level group), date, time, sbp, mbp, dbp, hr\n"
    "(given for a complete reading only, mbp and dbp never with --analysis s), the\n"
    "reading's status and reason (under --profile and the review logs' decisions; without\n"
    "it accepted, incomplete or damaged) and path_bytes (the path in hex when it is not\n"
    "UTF-8): the values the session means are made of, for a statistics package.\n"
    "--level group writes one row per group and session instead: the group (from the\n"
    "groups table, --groups FILE or mirado-groups.csv beside the files; animals it does\n"
    "not list form \"(none)\"), the date, and for sbp, mbp, dbp and hr: n (animals with a\n"
    "value), mean, sd, sem (sd / sqrt(n)), min and max of the animals' session values (the\n"
    "means of their complete, or with --profile accepted, readings). With\n"
    "--change-from-baseline the values are each animal's change from its value in the\n"
    "baseline session (the first, or --baseline DATE); animals without a baseline value\n"
    "are left out and listed on standard error.\n"
    "--plot draws the chart 900 x 560 (pixels; points in a PDF) unless --width-mm,\n"
    "--height-mm or --dpi give a size on paper (the others then 85 mm, 60 mm, 300 dpi;\n"
    "fonts of 7 and 8 pt). Sessions are ticked at their dates, or numbered with\n"
    "--sessions numbers; the value axes fit the values unless --y-range or --hr-range\n"
    "sets them. With --level group the chart is each group's SBP mean with SEM bars per\n"
    "session (or its change from baseline).";

enum class SummaryFormat { Csv, Json, Xlsx };

// "LO,HI" with two finite numbers, LO below HI.
std::optional<ValueRange> ReadRange(const std::string& text) {
    std::istringstream in(text);
    double lower = 0, upper = 0;
    char comma = 0;
    if (!(in >> lower >> comma >> upper) || comma != ',' || !(in >> std::ws).eof() ||
        !std::isfinite(lower) || !std::isfinite(upper) || !(lower < upper))
        return std::nullopt;
    return ValueRange{lower, upper};
}

bool IsChartFileName(const std::string& path) {
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos)
        return false;
    std::string extension = path.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "pdf" || extension == "png" || extension == "svg";
}

class CSummaryCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(kSummaryDescription);
        files_.AddTo(command, true);
        command
            .add_option_function<std::string>(
                "--by", [this](const std::string& by) { byAnimal_ = by == "animal"; },
                "session (one row per study, animal and date, the default) or animal")
            ->type_name("session|animal")
            ->check(CLI::IsMember({"session", "animal"}));
        command
            .add_option_function<std::string>(
                "--format",
                [this](const std::string& format) {
                    format_ = format == "json"   ? SummaryFormat::Json
                              : format == "xlsx" ? SummaryFormat::Xlsx
                                                 : SummaryFormat::Csv;
                },
                "csv (the default), json (JSON Lines) or xlsx (an Excel workbook, needs -o)")
            ->type_name("csv|json|xlsx")
            ->check(CLI::IsMember({"csv", "json", "xlsx"}));
        command.add_option("-o,--output", output_, "write to OUT instead of standard output")
            ->type_name("OUT");
        command
            .add_option("--plot", plot_,
                        "also draw the trend chart to OUT.pdf, OUT.png or OUT.svg: the session\n"
                        "means with SD bars and HR of the only animal, or every animal's SBP")
            ->type_name("OUT");
        command
            .add_option("--profile", profileName_,
                        "count only the readings accepted under profile P (a built-in one by\n"
                        "its id or name, see 'mirado-cli profiles', or a JSON file) and the\n"
                        "review logs' decisions")
            ->type_name("P");
        AddChartOptions(command);
        command
            .add_option_function<std::string>(
                "--level",
                [this](const std::string& level) {
                    groupLevel_ = level == "group";
                    readingLevel_ = level == "reading";
                },
                "session (each animal's sessions, the default), group (each group's\n"
                "animals per session) or reading (each reading with its group and status)")
            ->type_name("session|group|reading")
            ->check(CLI::IsMember({"session", "group", "reading"}));
        command
            .add_option("--groups", groupsPath_,
                        "the groups table for --level group or reading (default:\n"
                        "mirado-groups.csv beside the files)")
            ->type_name("FILE");
        command.add_flag("--change-from-baseline", changeFromBaseline_,
                         "with --level group: each animal's change from its baseline value");
        command
            .add_option("--baseline", baseline_,
                        "the baseline session for --change-from-baseline (default: the first)")
            ->type_name("DATE");
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
        if (Result<void> levels = CheckLevelOptions(); !levels.ok())
            return levels;
        if (format_ == SummaryFormat::Xlsx && output_.empty())
            return Fail("--format xlsx needs -o OUT");
        if (!output_.empty()) {
            std::vector<std::string> inputs = files_.Paths();
            if (!groupsPath_.empty())
                inputs.push_back(groupsPath_);
            if (Result<void> checked = CheckOutputIsNoInput(output_, inputs); !checked.ok())
                return checked;
        }
        if (plot_.empty())
            return Ok();
        if (!IsChartFileName(plot_))
            return Fail("--plot must name a .pdf, .png or .svg file");
        if (Result<void> chart = PrepareChartOptions(); !chart.ok())
            return chart;
        return CheckOutputIsNoInput(plot_, files_.Paths());
    }

    int Run(CliStreams& io) override {
        if (groupLevel_)
            return RunGroupLevel(io);
        if (readingLevel_)
            return RunReadingLevel(io);
        int status = kExitOk;
        CStudySummaryBuilder builder(source_);
        const auto add = [&](const Reading& reading) {
            if (!reading.loaded) {
                io.err << SingleLine(reading.path + reading.error) << '\n';
                status = kExitLoadFailed;
            }
            builder.Add(reading);
        };
        if (profile_)
            AddAcceptedReadings(add, io);
        else
            ForEachReading(files_.Paths(), source_, jobs_, [&](Reading&& reading) {
                add(reading);
                return true;
            });
        const StudySummary summary = builder.Build();
        const std::vector<SummaryRow>& rows = byAnimal_ ? summary.animals : summary.sessions;
        if (!WriteRows(rows, io))
            return kExitLoadFailed;
        if (!plot_.empty() && !DrawPlot(summary, io))
            return kExitLoadFailed;
        return status;
    }

private:
    Result<void> CheckLevelOptions() const {
        if (groupLevel_ && byAnimal_)
            return Fail("--level group and --by animal cannot be combined");
        if (readingLevel_) {
            if (byAnimal_)
                return Fail("--level reading and --by animal cannot be combined");
            if (changeFromBaseline_)
                return Fail("--change-from-baseline needs --level group");
            if (!plot_.empty())
                return Fail("--plot draws sessions or groups; --level reading has no chart");
        } else if (!groupLevel_ && (!groupsPath_.empty() || changeFromBaseline_)) {
            return Fail("--groups and --change-from-baseline need --level group");
        }
        if (!baseline_.empty() && !changeFromBaseline_)
            return Fail("--baseline needs --change-from-baseline");
        return Ok();
    }

    int RunGroupLevel(CliStreams& io) const {
        const Result<StudyRead> read =
            ReadStudy(files_.Paths(), source_, jobs_, profile_, groupsPath_, "summary", io.err);
        if (!read.ok()) {
            io.err << "mirado-cli summary: " << SingleLine(read.error()) << '\n';
            return kExitUsage;
        }
        const StudyData& data = read.value().data;
        const int status = read.value().allLoaded ? kExitOk : kExitLoadFailed;
        std::vector<GroupLevels> rows = ComputeLevels(data);
        std::optional<size_t> baselineSession;
        if (changeFromBaseline_) {
            const Result<size_t> baseline = FindBaselineSession(data, baseline_);
            if (!baseline.ok()) {
                io.err << "mirado-cli summary: " << SingleLine(baseline.error()) << '\n';
                return status == kExitOk ? kExitUsage : status;
            }
            ChangeFromBaseline change = ComputeChangeFromBaseline(data, baseline.value());
            for (const LeftOutAnimal& animal : change.leftOut)
                io.err << "mirado-cli summary: " << MeasureName(animal.measure) << ": "
                       << SingleLine(AnimalText(data, animal.animal)) << " left out: no value"
                       << " in the baseline session\n";
            rows = std::move(change.rows);
            baselineSession = baseline.value();
        }
        const std::string text =
            format_ == SummaryFormat::Json ? LevelsJsonLines(data, rows) : LevelsCsv(data, rows);
        if (!WriteOutput(text, "groups", io))
            return kExitLoadFailed;
        if (!plot_.empty() &&
            !DrawGroupPlot(GroupChartFromStudy(data, rows, Measure::Sbp, baselineSession), io))
            return kExitLoadFailed;
        return status;
    }

    // One row per reading with its group and its status: under the profile and the logs'
    // decisions, or without a profile as the summary counts (complete or not, no log read).
    int RunReadingLevel(CliStreams& io) const {
        const std::vector<Reading> readings = ReadRecordings(files_.Paths(), source_, jobs_);
        int status = kExitOk;
        for (const Reading& reading : readings) {
            if (!reading.loaded) {
                io.err << SingleLine(reading.path + reading.error) << '\n';
                status = kExitLoadFailed;
            }
        }
        const ReviewResult review = profile_ ? ReviewWithLogs(readings, files_.Paths(), source_,
                                                              *profile_, "summary", io.err)
                                             : ReviewReadings(readings, source_, DefaultProfile());
        const Result<GroupsTable> groups = ReadCommandGroups(
            SessionValuesFromReview(review), files_.Paths(), groupsPath_, "summary", io.err);
        if (!groups.ok()) {
            io.err << "mirado-cli summary: " << SingleLine(groups.error()) << '\n';
            return kExitUsage;
        }
        const std::string text =
            format_ == SummaryFormat::Json
                ? ReadingLevelJsonLines(readings, review, groups.value(), source_)
                : ReadingLevelCsv(readings, review, groups.value(), source_);
        return WriteOutput(text, "readings", io) ? status : kExitLoadFailed;
    }

    // Reviews every reading under the profile and the logs' decisions and hands each on,
    // a reading that is not accepted as one that is not complete: it counts in n but in
    // no statistic.
    template <typename Add> void AddAcceptedReadings(const Add& add, CliStreams& io) const {
        std::vector<Reading> readings = ReadRecordings(files_.Paths(), source_, jobs_);
        const ReviewResult review =
            ReviewWithLogs(readings, files_.Paths(), source_, *profile_, "summary", io.err);
        for (size_t i = 0; i < readings.size(); ++i) {
            if (review.readings[i].status != ReadingStatus::Accepted)
                readings[i].complete = false;
            add(readings[i]);
        }
    }

    bool WriteRows(const std::vector<SummaryRow>& rows, CliStreams& io) const {
        const std::string text =
            format_ == SummaryFormat::Json ? SummaryJsonLines(rows) : SummaryCsv(rows);
        return WriteOutput(text, byAnimal_ ? "animals" : "sessions", io);
    }

    // The text to standard output or to OUT (a workbook's sheet of that name with --format
    // xlsx); false (after saying why) when OUT was not written.
    bool WriteOutput(const std::string& text, const std::string& sheet, CliStreams& io) const {
        if (output_.empty()) {
            io.out << text;
            return true;
        }
        const Result<void> written = format_ == SummaryFormat::Xlsx
                                         ? WriteCsvWorkbook(output_, {{sheet, text}})
                                         : WriteFileAtomically(output_, text);
        if (!written.ok())
            io.err << "mirado-cli summary: " << SingleLine(output_ + ": " + written.error())
                   << "\n";
        return written.ok();
    }

    // The groups' SBP means with SEM bars per session (or their changes from baseline).
    bool DrawGroupPlot(const GroupChartData& data, CliStreams& io) const {
        EnsureOffscreenApplication();
        GroupChartOptions options;
        options.sessionAxis = sessionAxis_;
        options.valueRange = pressureRange_;
        options.printSize = printSize_;
        const Result<void> saved = SaveGroupChart(data, options, plot_);
        if (saved.ok())
            return true;
        io.err << "mirado-cli summary: " << SingleLine(saved.error()) << "\n";
        return false;
    }

    bool DrawPlot(const StudySummary& summary, CliStreams& io) const {
        EnsureOffscreenApplication();
        SummaryChartOptions options = DefaultChartOptions(summary);
        options.sessionAxis = sessionAxis_;
        options.pressureRange = pressureRange_;
        options.heartRateRange = heartRateRange_;
        options.printSize = printSize_;
        const Result<void> saved = SaveSummaryChart(summary, options, plot_);
        if (saved.ok())
            return true;
        io.err << "mirado-cli summary: " << SingleLine(saved.error()) << "\n";
        return false;
    }

    // The chart's options; each needs --plot.
    void AddChartOptions(CLI::App& command) {
        CLI::Option* plot = command.get_option("--plot");
        const std::pair<const char*, std::optional<double>*> sizes[] = {
            {"--width-mm", &widthMm_}, {"--height-mm", &heightMm_}};
        for (const auto& [name, value] : sizes)
            command.add_option(name, *value, "the chart's size on paper in millimetres")
                ->type_name("MM")
                ->needs(plot);
        command.add_option("--dpi", dpi_, "the chart's resolution on paper (PNG pixels)")
            ->type_name("DPI")
            ->needs(plot);
        command
            .add_option_function<std::string>(
                "--sessions",
                [this](const std::string& axis) {
                    sessionAxis_ = axis == "numbers" ? SessionAxis::Numbers : SessionAxis::Dates;
                },
                "the chart's x axis: the session dates (the default) or numbers")
            ->type_name("dates|numbers")
            ->check(CLI::IsMember({"dates", "numbers"}))
            ->needs(plot);
        const std::pair<const char*, std::string*> ranges[] = {{"--y-range", &yRange_},
                                                               {"--hr-range", &hrRange_}};
        for (const auto& [name, value] : ranges)
            command
                .add_option(name, *value,
                            std::string("the ") + (value == &yRange_ ? "pressure" : "heart-rate") +
                                " axis from LO to HI instead of fitting the values")
                ->type_name("LO,HI")
                ->needs(plot);
    }

    Result<void> PrepareChartOptions() {
        const std::pair<const char*, const std::string*> ranges[] = {{"--y-range", &yRange_},
                                                                     {"--hr-range", &hrRange_}};
        for (const auto& [name, text] : ranges) {
            if (text->empty())
                continue;
            const std::optional<ValueRange> range = ReadRange(*text);
            if (!range)
                return Fail(std::string(name) + " needs LO,HI with LO below HI");
            (text == &yRange_ ? pressureRange_ : heartRateRange_) = range;
        }
        if (!widthMm_ && !heightMm_ && !dpi_)
            return Ok();
        PrintSize size;
        size.widthMm = widthMm_.value_or(size.widthMm);
        size.heightMm = heightMm_.value_or(size.heightMm);
        size.dpi = dpi_.value_or(size.dpi);
        if (Result<void> checked = CheckPrintSize(size); !checked.ok())
            return checked;
        printSize_ = size;
        return Ok();
    }

    CFileArguments files_;
    std::string plot_, profileName_, output_;
    std::optional<double> widthMm_, heightMm_;
    std::optional<int> dpi_;
    SessionAxis sessionAxis_ = SessionAxis::Dates;
    std::string yRange_, hrRange_;
    std::optional<ValueRange> pressureRange_, heartRateRange_;
    std::optional<PrintSize> printSize_;
    std::optional<AcceptanceProfile> profile_;
    std::string groupsPath_, baseline_;
    bool byAnimal_ = false, groupLevel_ = false, readingLevel_ = false, changeFromBaseline_ = false;
    SummaryFormat format_ = SummaryFormat::Csv;
    ValueSource source_ = ValueSource::Stored;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeSummaryCommand() {
    return std::make_unique<CSummaryCommand>();
}

} // namespace mirado
