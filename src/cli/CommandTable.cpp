#include "cli/CliCommand.h"
#include "platform/ConsolePrompts.h"

#include <CLI/CLI.hpp>

#include <ostream>

namespace mirado {

namespace {

constexpr const char* kToolName = "mirado-cli";
constexpr const char* kExitStatusText =
    "Exit status: 0 when every file loaded, 1 when any failed, 2 on wrong usage.";

struct CommandEntry {
    const char* name;
    const char* summary; // one line for the overview
    std::unique_ptr<CCliCommand> (*make)();
};

const CommandEntry kCommands[] = {
    {"info", "print each measurement file's header and stored result as JSON Lines",
     MakeInfoCommand},
    {"samples", "print a file's decoded channels as CSV", MakeSamplesCommand},
    {"synth", "write synthetic measurement files", MakeSynthCommand},
    {"render", "draw printed pages to PDF or PNG", MakeRenderCommand},
    {"export", "write the text export of files (one line per file or per animal)",
     MakeExportCommand},
    {"summary", "write each animal's pressures per session or over all sessions (CSV or JSON)",
     MakeSummaryCommand},
    {"edit", "correct identification texts and markers, saved as the viewer saves",
     MakeEditCommand},
    {"revert", "give files back their original bytes from the kept copy", MakeRevertCommand},
    {"profiles", "list the built-in acceptance profiles with their rules as JSON Lines",
     MakeProfilesCommand},
    {"review", "accept, reject or clear readings, or show their status or log events",
     MakeReviewCommand},
    {"report", "write the exclusion report under an acceptance profile (CSV or JSON)",
     MakeReportCommand},
    {"stats", "test the groups of a study over its sessions: mixed ANOVA, Welch's t (CSV or JSON)",
     MakeStatsCommand},
};

struct DeclaredCommand {
    CLI::App* parser;
    std::unique_ptr<CCliCommand> command;
};

std::string CommandPath(const CLI::App& parser) {
    return parser.get_parent() == nullptr ? kToolName
                                          : std::string(kToolName) + " " + parser.get_name();
}

int UsageError(std::ostream& err, const CLI::App& parser, const std::string& problem) {
    const std::string path = CommandPath(parser);
    err << path << ": " << SingleLine(problem) << "\nRun '" << path
        << " --help' for the options.\n";
    return kExitUsage;
}

// The command the arguments named, or the tool itself when none was recognised.
const CLI::App& ChosenParser(const CLI::App& tool) {
    const std::vector<CLI::App*> chosen = tool.get_subcommands();
    return chosen.empty() ? tool : *chosen.front();
}

// The tool's help lists every command's options after the overview.
void PrintHelp(const CLI::App& tool, std::ostream& out) {
    const CLI::App& chosen = ChosenParser(tool);
    if (&chosen != &tool) {
        out << chosen.help(kToolName);
        return;
    }
    out << tool.help();
    for (const CLI::App* command : tool.get_subcommands([](const CLI::App*) { return true; }))
        out << "\n" << command->help(kToolName);
}

// Parses the arguments and runs the command they name; returns the exit status.
int ParseAndRun(CLI::App& tool, std::vector<DeclaredCommand>& commands, const CliArgs& args,
                CliStreams& io) {
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        tool.parse(reversed);
    } catch (const CLI::CallForHelp&) {
        PrintHelp(tool, io.out);
        return kExitOk;
    } catch (const CLI::CallForVersion& version) {
        io.out << version.what() << "\n";
        return kExitOk;
    } catch (const CLI::ParseError& error) {
        const CLI::App& chosen = ChosenParser(tool);
        const std::vector<std::string> unknown = tool.remaining();
        if (&chosen == &tool && !unknown.empty()) {
            const bool option = unknown.front().rfind('-', 0) == 0;
            return UsageError(io.err, tool,
                              (option ? "unknown option '" : "unknown command '") +
                                  unknown.front() + "'");
        }
        return UsageError(io.err, chosen, error.what());
    }
    for (DeclaredCommand& declared : commands) {
        if (!declared.parser->parsed())
            continue;
        if (const Result<void> prepared = declared.command->Prepare(io.in); !prepared.ok())
            return UsageError(io.err, *declared.parser, prepared.error());
        return declared.command->Run(io);
    }
    return UsageError(io.err, tool, "no command given");
}

} // namespace

int RunCli(const CliArgs& args, std::istream& in, std::ostream& out, std::ostream& err) {
    CLI::App tool("Batch tool for tail-cuff blood-pressure measurement files.", kToolName);
    // A repeated option takes its last value.
    tool.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    tool.set_version_flag("--version", std::string(kToolName) + " " + MIRADO_VERSION,
                          "Print the version and exit");
    tool.require_subcommand(1);
    tool.footer(kExitStatusText);
    std::vector<DeclaredCommand> commands;
    for (const CommandEntry& entry : kCommands) {
        DeclaredCommand declared{tool.add_subcommand(entry.name, entry.summary), entry.make()};
        declared.command->Declare(*declared.parser);
        declared.parser->footer(declared.parser->get_footer() + "\n\n" + kExitStatusText);
        commands.push_back(std::move(declared));
    }
    if (args.empty()) {
        err << tool.help();
        return kExitUsage;
    }
    CliStreams io{in, out, err};
    const int status = ParseAndRun(tool, commands, args, io);
    // Output cut short is a failure even when everything else went well.
    if (!out.flush()) {
        err << CommandPath(ChosenParser(tool)) << ": cannot write standard output\n";
        return kExitLoadFailed;
    }
    return status;
}

} // namespace mirado
