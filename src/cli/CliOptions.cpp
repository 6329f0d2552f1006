#include "cli/CliOptions.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <fstream>
#include <sys/stat.h>

namespace mirado {

namespace {

// A decimal integer with an optional sign and nothing else around it.
template <typename T> bool ParseDecimal(std::string_view text, T& value) {
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return error == std::errc() && stop == end && !text.empty();
}

std::string RangeText(int64_t lowest, int64_t highest) {
    return std::to_string(lowest) + " to " + std::to_string(highest);
}

} // namespace

Result<void> ReadFileListLines(std::istream& lines, const std::string& listName,
                               std::vector<std::string>& paths) {
    size_t number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        // No path holds a NUL byte: the system would see a shorter name, another file.
        if (line.find('\0') != std::string::npos)
            return Fail("line " + std::to_string(number) + " of " + listName + " holds a NUL byte");
        if (!line.empty())
            paths.push_back(AbsolutePath(line));
    }
    if (lines.bad())
        return Fail("cannot read " + listName);
    return Ok();
}

void CFileArguments::AddTo(CLI::App& command, bool withList) {
    CLI::Option* files = command.add_option("FILE", arguments_, "measurement files")->type_name("");
    if (!withList) {
        files->required();
        return;
    }
    command
        .add_option("--files-from", list_,
                    "also read the files named in LIST, one path per line (\"-\": standard\n"
                    "input); empty lines are skipped, a line holding a NUL byte is an error")
        ->type_name("LIST");
}

Result<void> CFileArguments::Collect(std::istream& in) {
    paths_.clear();
    paths_.reserve(arguments_.size());
    for (const std::string& path : arguments_)
        paths_.push_back(AbsolutePath(path));
    // The arguments are not needed again: a long list is held once less.
    arguments_ = {};
    if (!list_.empty()) {
        std::ifstream file;
        if (list_ != "-") {
            file.open(list_, std::ios::binary);
            if (!file)
                return Fail("--files-from: cannot read " + list_ + " (" + std::strerror(errno) +
                            ")");
        }
        std::istream& lines = list_ == "-" ? in : file;
        const std::string listName = list_ == "-" ? "standard input" : list_;
        if (const Result<void> read = ReadFileListLines(lines, listName, paths_); !read.ok())
            return Fail("--files-from: " + read.error());
    }
    if (paths_.empty())
        return Fail("no FILE given");
    return Ok();
}

Result<void> CheckOutputIsNoInput(const std::string& output,
                                  const std::vector<std::string>& inputs) {
    // The output is looked up once; when nothing is there yet no input can be it.
    struct stat target {};
    if (::stat(output.c_str(), &target) != 0)
        return Ok();
    for (const std::string& input : inputs) {
        struct stat info {};
        if (::stat(input.c_str(), &info) == 0 && info.st_dev == target.st_dev &&
            info.st_ino == target.st_ino)
            return Fail("the output " + output + " is the input file " + input);
    }
    return Ok();
}

void AddOutputOption(CLI::App& command, std::string& output, const std::string& help) {
    command.add_option("-o,--output", output, help)->type_name("OUT")->required();
}

CLI::Option* AddIntegerOption(CLI::App& command, const std::string& name, int64_t lowest,
                              int64_t highest, std::function<void(int64_t)> store,
                              const std::string& help) {
    const CLI::Validator inRange(
        [lowest, highest](const std::string& text) -> std::string {
            int64_t value = 0;
            if (!ParseDecimal(text, value))
                return "'" + text + "' is not a whole number";
            if (value < lowest || value > highest)
                return text + " is not within " + RangeText(lowest, highest);
            return {};
        },
        "");
    return command
        .add_option_function<std::string>(
            name,
            [store = std::move(store)](const std::string& text) {
                int64_t value = 0;
                ParseDecimal(text, value);
                store(value);
            },
            help)
        ->type_name("N")
        ->check(inRange);
}

CLI::Option* AddUnsignedOption(CLI::App& command, const std::string& name, uint64_t& value,
                               const std::string& help) {
    const CLI::Validator isUnsigned(
        [](const std::string& text) -> std::string {
            uint64_t parsed = 0;
            return ParseDecimal(text, parsed) ? std::string()
                                              : "'" + text + "' is not a whole number";
        },
        "");
    return command
        .add_option_function<std::string>(
            name, [&value](const std::string& text) { ParseDecimal(text, value); }, help)
        ->type_name("N")
        ->check(isUnsigned);
}

} // namespace mirado
