// mirado-cli export: the main window's "Save to Textfile" without the window. The given
// files form the file list, every one marked, and the same export run writes the text
// file, so the output is byte for byte what the program writes for those files.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "cli/RunOptions.h"
#include "document/ExportLoop.h"
#include "document/MiradoDoc.h"
#include "document/RecordSource.h"
#include "platform/ConsolePrompts.h"

#include <CLI/CLI.hpp>

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
            "anything is written.");
        files_.AddTo(command, true);
        AddOutputOption(command, output_, "the text file to write");
        command
            .add_option_function<std::string>(
                "--mode",
                [this](const std::string& mode) {
                    mode_ = mode == "mean" ? ExportMode::Mean : ExportMode::Dominant;
                },
                "dominant (one line per file, the default) or mean (one line per animal)")
            ->type_name("MODE")
            ->check(CLI::IsMember({"dominant", "mean"}));
        AddJobsOption(command, jobs_);
    }

    std::string Prepare(std::istream& in) override {
        if (std::string problem = files_.Collect(in); !problem.empty())
            return problem;
        return CheckOutputIsNoInput(output_, files_.Paths());
    }

    int Run(CliStreams& io) override {
        CConsolePrompts prompts(io.err, "mirado-cli export", MessageAnswer::No);
        DocumentServices services;
        services.prompts = &prompts;
        CMiradoDoc doc(services);
        doc.SetFileList(files_.Paths());
        doc.SelectAll();
        // The export opens every entry in list order; the next files are read and decoded
        // while the document analyses the current one.
        CRecordPrefetch prefetch(ListedPaths(doc), jobs_);
        doc.SetRecordSource(&prefetch);
        bool allLoaded = true;
        const ExportResult result = ExportMarkedFiles(
            doc, mode_, output_, [&](int index) { allLoaded &= !doc.IsDamagedAt(index); });
        if (!result.written) {
            io.err << "mirado-cli export: " << SingleLine(result.error) << "\n";
            return kExitLoadFailed;
        }
        return allLoaded ? kExitOk : kExitLoadFailed;
    }

private:
    ExportMode mode_ = ExportMode::Dominant;
    std::string output_;
    CFileArguments files_;
    unsigned jobs_ = 1;
};

} // namespace

std::unique_ptr<CCliCommand> MakeExportCommand() {
    return std::make_unique<CExportCommand>();
}

} // namespace mirado
