// pigmentaria-cli: the command-line front end.
#include "cli/commands.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

using namespace pigmentaria::cli;

int main(int argc, char** argv) {
    if (argc < 2 || !std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "-h")) {
        PrintUsage(stdout);
        return argc < 2 ? 1 : 0;
    }
    const std::string command = argv[1];
    try {
        for (const TCommand& c : Commands())
            if (command == c.Name) return c.Run(argc - 2, argv + 2);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "pigmentaria-cli %s: %s\n", command.c_str(), e.what());
        return 1;
    }
    std::fprintf(stderr, "pigmentaria-cli: unknown command \"%s\"\n", command.c_str());
    PrintUsage(stderr);
    return 1;
}
