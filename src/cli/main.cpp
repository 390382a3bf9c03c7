// pigmentaria-cli: the command-line front end.
#include "cli/commands.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace pigmentaria::cli;

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) {
        PrintProgramUsage(stderr);
        return 2;
    }
    const std::string& name = args[0];
    if (name == "--help" || name == "-h") {
        PrintProgramUsage(stdout);
        return 0;
    }
    const TCommand* command = FindCommand(name);
    if (!command) {
        if (name[0] == '-')
            std::fprintf(stderr,
                         "pigmentaria-cli: unknown option %s (see pigmentaria-cli --help)\n",
                         name.c_str());
        else
            std::fprintf(stderr,
                         "pigmentaria-cli: unknown command \"%s\" (see pigmentaria-cli --help)\n",
                         name.c_str());
        return 2;
    }
    return RunCommand(*command, std::vector<std::string>(args.begin() + 1, args.end()));
}
