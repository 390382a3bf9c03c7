#include "cli/commands.h"

namespace pigmentaria::cli {

const std::vector<const TCommand*>& Commands() {
    static const std::vector<const TCommand*> table = {
        &ConvertCommand, &DemoCommand,   &NumbersCommand, &PaletteCommand,
        &RetraceCommand, &RenderCommand, &ImageCommand,   &PrintCommand,
    };
    return table;
}

const TCommand* FindCommand(std::string_view name) {
    for (const TCommand* c : Commands())
        if (name == c->Name) return c;
    return nullptr;
}

void PrintProgramUsage(std::FILE* out) {
    std::fprintf(out, "usage: pigmentaria-cli COMMAND [ARGS]\n"
                      "       pigmentaria-cli COMMAND --help   (the command's usage)\n\n"
                      "commands:\n");
    for (const TCommand* c : Commands())
        std::fprintf(out, "  %-9s %s\n", c->Name, c->Summary);
    std::fprintf(out, "\nExit status: 0 done, 1 failed, 2 a mistake on the command line.\n");
}

} // namespace pigmentaria::cli
