#pragma once
// The commands of mirado-cli. Each command declares its options, with their help texts,
// on its own CLI11 subcommand and runs once the command line has been parsed; RunCli
// builds the parser from the table in CommandTable.cpp. A new command is one more
// source file and one more row in that table.

#include "files/Result.h"

#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

namespace CLI {
class App;
}

namespace mirado {

inline constexpr int kExitOk = 0;
inline constexpr int kExitLoadFailed = 1; // some file did not load (or could not be written)
inline constexpr int kExitUsage = 2;

using CliArgs = std::vector<std::string>;

struct CliStreams {
    std::istream& in;
    std::ostream& out;
    std::ostream& err;
};

class CCliCommand {
public:
    virtual ~CCliCommand() = default;
    // Declares the command's options and help texts on its subcommand.
    virtual void Declare(CLI::App& command) = 0;
    // Checks what the parser cannot (options that depend on each other, file lists);
    // a failure gives the usage problem.
    virtual Result<void> Prepare(std::istream& in) = 0;
    // Runs with the parsed options and returns the exit status.
    virtual int Run(CliStreams& io) = 0;
};

std::unique_ptr<CCliCommand> MakeInfoCommand();
std::unique_ptr<CCliCommand> MakeSamplesCommand();
std::unique_ptr<CCliCommand> MakeSynthCommand();
std::unique_ptr<CCliCommand> MakeRenderCommand();
std::unique_ptr<CCliCommand> MakeExportCommand();
std::unique_ptr<CCliCommand> MakeSummaryCommand();
std::unique_ptr<CCliCommand> MakeEditCommand();
std::unique_ptr<CCliCommand> MakeRevertCommand();
std::unique_ptr<CCliCommand> MakeProfilesCommand();
std::unique_ptr<CCliCommand> MakeReviewCommand();
std::unique_ptr<CCliCommand> MakeReportCommand();
std::unique_ptr<CCliCommand> MakeStatsCommand();

// Runs mirado-cli with its arguments (program name excluded) and returns the exit status.
// Standard input is read only for a file list given as "-".
int RunCli(const CliArgs& args, std::istream& in, std::ostream& out, std::ostream& err);

} // namespace mirado
