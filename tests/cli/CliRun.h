#pragma once
// Runs mirado-cli in-process and keeps what it wrote.

#include "cli/CliCommand.h"

#include <sstream>
#include <string>
#include <vector>

namespace mirado::test {

struct CliRun {
    int status;
    std::string out, err;
};

inline CliRun Cli(const CliArgs& args, const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    const int status = RunCli(args, in, out, err);
    return {status, out.str(), err.str()};
}

// The lines of a tool's output, without their line ends.
inline std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace mirado::test
