#include "cli/CliCommand.h"

#include <ostream>

namespace mirado {

namespace {

const CliCommand kCommands[] = {
    {"info", "print each measurement file's header and stored result as JSON Lines", kInfoUsage,
     RunInfo},
    {"samples", "print a file's decoded channels as CSV", kSamplesUsage, RunSamples},
    {"synth", "write synthetic measurement files", kSynthUsage, RunSynth},
    {"render", "draw printed pages to PDF or PNG", kRenderUsage, RunRender},
    {"export", "write the text export of files (one line per file or per animal)", kExportUsage,
     RunExport},
};

void PrintOverview(std::ostream& out) {
    out << "Usage: mirado-cli COMMAND [ARGS...]\n"
           "Batch tool for tail-cuff blood-pressure measurement files.\n\nCommands:\n";
    for (const CliCommand& command : kCommands)
        out << "  " << command.name << std::string(10 - std::string(command.name).size(), ' ')
            << command.summary << "\n";
    out << "\nExit status: 0 when every file loaded, 1 when any failed, 2 on wrong usage.\n"
           "Run 'mirado-cli --help' for every command's options.\n";
}

void PrintFullHelp(std::ostream& out) {
    PrintOverview(out);
    for (const CliCommand& command : kCommands)
        out << "\n" << command.usage;
}

} // namespace

bool WantsHelp(const CliArgs& args) {
    for (const std::string& arg : args) {
        if (arg == "-h" || arg == "--help")
            return true;
    }
    return false;
}

int RunCli(const CliArgs& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        PrintOverview(err);
        return kExitUsage;
    }
    if (args[0] == "-h" || args[0] == "--help" || args[0] == "help") {
        PrintFullHelp(out);
        return kExitOk;
    }
    for (const CliCommand& command : kCommands) {
        if (args[0] != command.name)
            continue;
        const CliArgs rest(args.begin() + 1, args.end());
        if (WantsHelp(rest)) {
            out << command.usage;
            return kExitOk;
        }
        return command.run(rest, out, err);
    }
    err << "mirado-cli: unknown command '" << args[0] << "'\n";
    PrintOverview(err);
    return kExitUsage;
}

} // namespace mirado
