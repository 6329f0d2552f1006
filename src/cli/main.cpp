// mirado-cli: hands its arguments to the command dispatcher.
#include "cli/CliCommand.h"

#include <iostream>

int main(int argc, char** argv) {
    const mirado::CliArgs args(argv + 1, argv + argc);
    const int status = mirado::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    return status;
}
