// mirado-cli export: the main window's "Save to Textfile" without the window. The given
// files form the list, every one marked, and the same export run writes the text
// file, so the output is byte for byte what the program writes for those files.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/ProfileOption.h"
#include "cli/RunOptions.h"
#include "document/CsvField.h"
#include "document/ExportLoop.h"
#include "document/TableExport.h"
#include "exchange/Workbook.h"
#include "files/FileAccess.h"
#include "platform/ConsolePrompts.h"
#include "records/AdData.h"

#include <CLI/CLI.hpp>

#include <optional>
#include <ostream>

namespace mirado {

namespace {

class CExportCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        command.footer(
            "Writes the comma-separated text export of the files to OUT (replaced whole, never\n"
            "left half-written): one line per file (dominant, the default) or one averaged line\n"
            "per animal number (mean). A file that fails to load still gives its line from what\n"
            "was read; its load message goes to standard error and the exit status is 1.\n"
            "An OUT that is one of the files (under any name or link) is refused before\n"
            "anything is written.\n"
            "With --mode table it writes a tidy UTF-8 table (no byte-order mark, header row,\n"
            "dot decimals, RFC 4180 quoting, LF line ends), one row per file with the columns\n"
            "path, file, date, time, animal_no, study_no, weight, sex_age, comment (texts as\n"
            "info gives them), species (the information pane's species text), sampling_ms\n"
            "(sample interval in ms, one decimal), inflation_mmhg, sbp, mbp, dbp, hr (mmHg, as\n"
            "a dominant line computes them from the chosen source), marker_s, marker_m,\n"
            "marker_interval_ms (marker M and the interval empty when the values are not\n"
            "valid), source (stored, method_a or method_e), code and flag (the result code\n"
            "and the information pane's flag text), complete (1 when the file loaded, its SBP\n"
            "is not 0 and, except with --analysis s, its MBP is not 0), error (the load\n"
            "message; a file that failed to load has every value column empty) and path_bytes\n"
            "(empty, or the path's exact bytes in hex when it is not valid UTF-8: its other\n"
            "bytes show as U+FFFD in path and file). --encoding cp932 with the table is an\n"
            "error.\n"
            "--profile P (table only) adds the columns status and reason at the end: each\n"
            "row's review under the profile and the review logs' decisions, as 'mirado-cli\n"
            "review show' gives them.\n"
            "--format xlsx (table only) writes the same table as an Excel workbook: one sheet\n"
            "'table', numbers as numbers shown with their decimals, dates and times as such,\n"
            "the header row frozen.");
        files_.AddTo(command, true);
        AddOutputOption(command, output_, "the text file to write");
        command
            .add_option_function<std::string>(
                "--mode",
                [this](const std::string& mode) {
                    mode_ = mode == "mean"    ? ExportMode::Mean
                            : mode == "table" ? ExportMode::Table
                                              : ExportMode::Dominant;
                },
                "dominant (one line per file, the default), mean (one line per animal) or\n"
                "table (the tidy UTF-8 table below)")
            ->type_name("MODE")
            ->check(CLI::IsMember({"dominant", "mean", "table"}));
        encodingOption_ =
            command
                .add_option_function<std::string>(
                    "--encoding",
                    [this](const std::string& encoding) {
                        encoding_ = encoding == "utf-8" ? ExportEncoding::Utf8WithBom
                                                        : ExportEncoding::Cp932;
                    },
                    "text of dominant and mean: cp932 (the files' own bytes, the default) or\n"
                    "utf-8 (the same texts as UTF-8 after a byte-order mark)")
                ->type_name("cp932|utf-8")
                ->check(CLI::IsMember({"cp932", "utf-8"}));
        command
            .add_option("--profile", profileName_,
                        "table: add each row's review status and reason under profile P (a\n"
                        "built-in one by its id or name, see 'mirado-cli profiles', or a JSON\n"
                        "file) and the review logs' decisions")
            ->type_name("P");
        command
            .add_option_function<std::string>(
                "--format", [this](const std::string& format) { xlsx_ = format == "xlsx"; },
                "table: csv (the default) or xlsx (an Excel workbook)")
            ->type_name("csv|xlsx")
            ->check(CLI::IsMember({"csv", "xlsx"}));
        AddAnalysisOption(command, source_);
        AddJobsOption(command, jobs_);
    }

    Result<void> Prepare(std::istream& in) override {
        if (Result<void> profile = PrepareProfile(); !profile.ok())
            return profile;
        if (xlsx_ && mode_ != ExportMode::Table)
            return Fail("--format xlsx applies to --mode table only");
        // The table is UTF-8 by its definition; CP932 asked for it would be silently lost.
        if (mode_ == ExportMode::Table && encodingOption_->count() > 0 &&
            encoding_ == ExportEncoding::Cp932)
            return Fail("--encoding cp932 does not apply to --mode table, which is always UTF-8");
        if (Result<void> collected = files_.Collect(in); !collected.ok())
            return collected;
        return CheckOutputIsNoInput(output_, files_.Paths());
    }

    int Run(CliStreams& io) override {
        if (mode_ == ExportMode::Table)
            return RunTable(io);
        CConsolePrompts prompts(io.err, "mirado-cli export", MessageAnswer::No);
        // Every file is marked: each is read on its own, in list order, ahead on every
        // job's thread. The paths are already from the root.
        bool allLoaded = true;
        const ExportResult result = ExportFiles(
            files_.Paths(), mode_, output_, jobs_,
            [&](size_t, const Reading& reading) {
                if (!reading.loaded)
                    ShowFileMessage(reading.path, reading.error, &prompts);
                allLoaded &= reading.loaded;
            },
            {}, encoding_);
        if (result.written && result.leftOut > 0)
            io.err << "mirado-cli export: " << LeftOutOfMeansText(result.leftOut) << "\n";
        return Finish(io, result, allLoaded);
    }

private:
    Result<void> PrepareProfile() {
        if (profileName_.empty())
            return Ok();
        if (mode_ != ExportMode::Table)
            return Fail("--profile applies to --mode table only");
        Result<AcceptanceProfile> found = FindProfileOption(profileName_);
        if (!found.ok())
            return Fail(found.error());
        profile_ = std::move(found).value();
        return Ok();
    }

    // The table reads every file on its own; a file that fails is named on standard error.
    int RunTable(CliStreams& io) {
        if (profile_ || xlsx_)
            return RunCollectedTable(io);
        bool allLoaded = true;
        const ExportResult result =
            ExportTable(files_.Paths(), source_, output_, jobs_, {}, {},
                        [&](const std::string& path, const std::string& error) {
                            io.err << SingleLine(path + error) << "\n";
                            allLoaded = false;
                        });
        return Finish(io, result, allLoaded);
    }

    // The table's rows, with --profile each followed by its review's status and reason,
    // as CSV or a workbook. The rows come one by one so that a comment's quoted line
    // break never splits a row.
    int RunCollectedTable(CliStreams& io) {
        bool allLoaded = true;
        std::vector<std::string> rows;
        BuildTableText(files_.Paths(), source_, jobs_, [&](size_t done, const TableLine& line) {
            if (!line.error.empty()) {
                io.err << SingleLine(files_.Paths()[done - 1] + line.error) << "\n";
                allLoaded = false;
            }
            rows.push_back(line.text);
            return true;
        });
        const std::string text = profile_ ? WithReviewColumns(rows, io) : TableText(rows);
        ExportResult result;
        const Result<void> written = xlsx_ ? WriteCsvWorkbook(output_, {{"table", text}})
                                           : WriteFileAtomically(output_, text);
        result.written = written.ok();
        if (!written.ok())
            result.error = xlsx_ ? output_ + ": " + written.error()
                                 : ExportWriteFailedText(output_, written.error());
        return Finish(io, result, allLoaded);
    }

    static std::string TableText(const std::vector<std::string>& rows) {
        std::string text = kTableExportHeader;
        for (const std::string& row : rows)
            text += row;
        return text;
    }

    std::string WithReviewColumns(const std::vector<std::string>& rows, CliStreams& io) const {
        const ReviewResult review = ReviewFiles(io);
        std::string header = kTableExportHeader;
        header.insert(header.size() - 1, ",status,reason");
        std::string text = header;
        for (size_t i = 0; i < rows.size(); ++i) {
            const ReadingReview& reading = review.readings[i];
            text += rows[i].substr(0, rows[i].size() - 1) + "," +
                    ReadingStatusName(reading.status) + "," + CsvField(reading.reason) + "\n";
        }
        return text;
    }

    ReviewResult ReviewFiles(CliStreams& io) const {
        const std::vector<Reading> readings = ReadRecordings(files_.Paths(), source_, jobs_);
        return ReviewWithLogs(readings, files_.Paths(), source_, *profile_, "export", io.err);
    }

    int Finish(CliStreams& io, const ExportResult& result, bool allLoaded) {
        if (!result.written) {
            io.err << "mirado-cli export: " << SingleLine(result.error) << "\n";
            return kExitLoadFailed;
        }
        return allLoaded ? kExitOk : kExitLoadFailed;
    }

    ExportMode mode_ = ExportMode::Dominant;
    ExportEncoding encoding_ = ExportEncoding::Cp932;
    bool xlsx_ = false;
    CLI::Option* encodingOption_ = nullptr;
    ValueSource source_ = ValueSource::Stored;
    std::string output_, profileName_;
    std::optional<AcceptanceProfile> profile_;
    CFileArguments files_;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeExportCommand() {
    return std::make_unique<CExportCommand>();
}

} // namespace mirado
