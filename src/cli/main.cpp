// mirado-cli: hands its arguments and streams to the command dispatcher.
#include "cli/CliCommand.h"

#include <csignal>
#include <iostream>

int main(int argc, char** argv) {
    // A reader that goes away (`mirado-cli info ... | head`) ends the run at once and
    // silently, also when the caller started it with the signal ignored.
    std::signal(SIGPIPE, SIG_DFL);
    const mirado::CliArgs args(argv + 1, argv + argc);
    return mirado::RunCli(args, std::cin, std::cout, std::cerr);
}
