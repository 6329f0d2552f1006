#pragma once
// Options that several commands take, declared once: the files a command reads, the
// file it writes and integers with their ranges.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace CLI {
class App;
class Option;
} // namespace CLI

namespace mirado {

// Adds the FILE arguments (one or more measurement files).
void AddFileArguments(CLI::App& command, std::vector<std::string>& files);

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
