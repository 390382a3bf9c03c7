#pragma once
// Runs the built pigmentaria-cli with a shell command line and keeps what it said.
#include "test_util.h"

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace pigmentaria::test {

struct TCliRun {
    int Status = -1;
    std::string Out, Err;
};

// `args` go to the shell as they stand; `environment` (for example "LC_ALL=de_DE.UTF-8") goes in
// front of the program.
inline TCliRun RunCliCommand(const std::string& args, const std::string& environment = {}) {
    TTempDir dir;
    const std::string err = (dir / "stderr.txt").string();
    const std::string command = (environment.empty() ? "" : "env " + environment + " ") +
                                PIGMENTARIA_CLI + " " + args + " 2>" + err;
    TCliRun run;
    FILE* p = popen(command.c_str(), "r");
    if (!p) return run;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0)
        run.Out.append(buf, n);
    const int status = pclose(p);
    run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.Err = ReadText(err);
    return run;
}

} // namespace pigmentaria::test
