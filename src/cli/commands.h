#pragma once
// The command table: each command is one function taking the arguments after its name.
#include <cstdio>
#include <string>
#include <vector>

namespace pigmentaria::cli {

struct TCommand {
    const char* Name;
    const char* Usage;
    int (*Run)(int argc, char** argv);
};

const std::vector<TCommand>& Commands();
void PrintUsage(std::FILE* out);

} // namespace pigmentaria::cli
