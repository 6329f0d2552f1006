#pragma once
// Options that several commands take, declared once: the files a command reads, the
// file it writes and integers with their ranges.

#include "document/FileList.h" // AbsolutePath, shared with the window's file list
#include "files/Result.h"

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>
#include <utility>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace mirado {

// The measurement files a command reads: FILE arguments, and with --files-from the lines
// of a list (for more files than a command line holds).
class CFileArguments {
public:
    // Adds FILE..., and --files-from LIST when withList is set.
    void AddTo(CLI::App& command, bool withList);
    // Gathers the files (the arguments first, then the list's lines) as absolute paths;
    // a failure gives the usage problem.
    Result<void> Collect(std::istream& in);
    const std::vector<std::string>& Paths() const { return paths_; }
    // Hands the paths over (Paths is empty afterwards), for a run that keeps its own list.
    std::vector<std::string> TakePaths() { return std::move(paths_); }

private:
    std::vector<std::string> arguments_;
    std::string list_;
    std::vector<std::string> paths_;
};

// Appends the paths a file list names, one a line (empty lines skipped), as absolute paths.
// A failure gives the problem, naming the list: a line holding a NUL byte (with its number)
// or a read error.
Result<void> ReadFileListLines(std::istream& lines, const std::string& listName,
                               std::vector<std::string>& paths);

// Fails when an input is the output file (under any name or link).
Result<void> CheckOutputIsNoInput(const std::string& output,
                                  const std::vector<std::string>& inputs);

// Adds -o OUT, the file the command writes, as a required option.
void AddOutputOption(CLI::App& command, std::string& output, const std::string& help);

// Adds an integer option written in decimal ("010" is ten) whose range the parser
// checks; store receives the value.
CLI::Option* AddIntegerOption(CLI::App& command, const std::string& name, int64_t lowest,
                              int64_t highest, std::function<void(int64_t)> store,
                              const std::string& help);

// Adds an unsigned 64-bit integer option written in decimal.
CLI::Option* AddUnsignedOption(CLI::App& command, const std::string& name, uint64_t& value,
                               const std::string& help);

} // namespace mirado
