#include "cli/painting_args.h"

#include <algorithm>
#include <cstdio>

namespace pigmentaria::cli {

std::optional<TPaintingArgs> ParsePaintingArgs(int argc, char** argv, const char* command,
                                               const std::vector<std::string>& allowed) {
    TPaintingArgs args;
    for (int i = 0; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.size() > 1 && a[0] == '-') {
            if (std::find(allowed.begin(), allowed.end(), a) == allowed.end() || i + 1 >= argc) {
                std::fprintf(stderr, "pigmentaria-cli %s: %s \"%s\"\n", command,
                             i + 1 >= argc ? "missing value after" : "unknown option", a.c_str());
                return std::nullopt;
            }
            args.Options[a] = argv[++i];
        } else if (args.Painting.empty()) {
            args.Painting = a;
        } else {
            std::fprintf(stderr, "pigmentaria-cli %s: more than one painting given\n", command);
            return std::nullopt;
        }
    }
    if (args.Painting.empty()) {
        std::fprintf(stderr, "pigmentaria-cli %s: no painting file given\n", command);
        return std::nullopt;
    }
    return args;
}

} // namespace pigmentaria::cli
