#include "cli/commands.h"

#include "cli/demo.h"
#include "cli/print.h"

namespace pigmentaria::cli {

const std::vector<TCommand>& Commands() {
    static const std::vector<TCommand> table = {
        {"demo", "demo                 trace a generated picture and report what came out",
         RunDemo},
        {"print",
         "print PAINTING.kvp -o TEMPLATE.pdf [options]   print the numbered template (--help)",
         RunPrint},
        {"palette",
         "palette PAINTING.kvp --print PALETTE.pdf [--names FILE.KVL]   print the palette",
         RunPalette},
    };
    return table;
}

void PrintUsage(std::FILE* out) {
    std::fprintf(out, "usage: pigmentaria-cli COMMAND [ARGS]\n\ncommands:\n");
    for (const TCommand& c : Commands())
        std::fprintf(out, "  %s\n", c.Usage);
}

} // namespace pigmentaria::cli
