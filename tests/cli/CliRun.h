#pragma once
// Runs mirado-cli in-process and keeps what it wrote.

#include "cli/CliCommand.h"

#include <sstream>
#include <string>

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

} // namespace mirado::test
