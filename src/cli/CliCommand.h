#pragma once
// The commands of mirado-cli. Each command is one function over its own arguments (the
// command name removed) writing to the given streams; RunCli dispatches by name. A new
// command is one more source file and one more row in the table of CommandTable.cpp.

#include <iosfwd>
#include <string>
#include <vector>

namespace mirado {

inline constexpr int kExitOk = 0;
inline constexpr int kExitLoadFailed = 1; // some file did not load (or could not be written)
inline constexpr int kExitUsage = 2;

using CliArgs = std::vector<std::string>;
using CliCommandFunction = int (*)(const CliArgs& args, std::ostream& out, std::ostream& err);

struct CliCommand {
    const char* name;
    const char* summary; // one line for the overview
    const char* usage;   // the command's full help text
    CliCommandFunction run;
};

int RunInfo(const CliArgs& args, std::ostream& out, std::ostream& err);
int RunSamples(const CliArgs& args, std::ostream& out, std::ostream& err);
int RunSynth(const CliArgs& args, std::ostream& out, std::ostream& err);
int RunRender(const CliArgs& args, std::ostream& out, std::ostream& err);
int RunExport(const CliArgs& args, std::ostream& out, std::ostream& err);
extern const char* const kInfoUsage;
extern const char* const kSamplesUsage;
extern const char* const kSynthUsage;
extern const char* const kRenderUsage;
extern const char* const kExportUsage;

// Runs mirado-cli with its arguments (program name excluded) and returns the exit status.
int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err);

// Whether the arguments ask for help (-h or --help anywhere).
bool WantsHelp(const CliArgs& args);

} // namespace mirado
