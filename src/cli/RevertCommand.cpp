// mirado-cli revert: puts back the original bytes of each file from the copy a first
// save kept in .mirado-originals/ beside it. The copy stays.

#include "cli/CliCommand.h"
#include "cli/CliOptions.h"
#include "document/OriginalCopy.h"
#include "platform/ConsolePrompts.h"
#include "review/ReviewChangeJournal.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace mirado {

namespace {

class CRevertCommand : public CCliCommand {
public:
    void Declare(CLI::App& command) override {
        files_.AddTo(command, false);
        command.footer("A file without an original copy is reported and left alone. Each\n"
                       "restore goes into the review log of the file's folder as a 'revert'\n"
                       "event with the fields it changed; a log that cannot be written is\n"
                       "reported on standard error and the restore stands.");
    }

    Result<void> Prepare(std::istream& in) override { return files_.Collect(in); }

    int Run(CliStreams& io) override {
        int status = kExitOk;
        CConsolePrompts prompts(io.err, "mirado-cli revert", MessageAnswer::No);
        CReviewChangeJournal journal;
        for (const std::string& path : files_.Paths()) {
            const Result<void> restored = RestoreOriginal(path, &journal, &prompts);
            if (restored.ok())
                continue;
            io.err << "mirado-cli revert: " << SingleLine(path + ": " + restored.error()) << "\n";
            status = kExitLoadFailed;
        }
        return status;
    }

private:
    CFileArguments files_;
};

} // namespace

std::unique_ptr<CCliCommand> MakeRevertCommand() {
    return std::make_unique<CRevertCommand>();
}

} // namespace mirado
