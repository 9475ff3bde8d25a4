#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

#include "Arguments.h"
#include "ExitCode.h"
#include "Program.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args == std::vector<std::string>{"--version"}) {
        std::cout << "varnelctl " VARNEL_BUILD_VERSION "\n";
        return cli::Success;
    }
    const cli::ParseResult parsed = cli::parseArguments(args);
    if (!parsed.invocation) {
        std::cerr << "varnelctl: " << parsed.error << "\nRun 'varnelctl --help' for the usage.\n";
        return cli::UsageError;
    }
    return cli::execute(*parsed.invocation, std::cout, std::cerr, isatty(STDOUT_FILENO) == 1);
}
