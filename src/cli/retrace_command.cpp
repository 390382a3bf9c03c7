// Re-traces a painting from its own rendering and writes the result.
#include "cli/painting_args.h"
#include "cli/painting_commands.h"
#include "editor/painting_view.h"

#include <cstdio>

namespace pigmentaria::cli {

int RunRetrace(int argc, char** argv) {
    const auto args = ParsePaintingArgs(argc, argv, "retrace", {"-o"});
    if (!args) return 2;
    if (!args->Has("-o")) {
        std::fprintf(stderr, "pigmentaria-cli retrace: no output file given (-o OUT.kvp)\n");
        return 2;
    }
    TCountingMessages messages;
    TPaintingDocument document(messages);
    const auto opened = document.OpenPainting(args->Painting);
    if (!opened) return 1;
    document.SetPrintLayout(opened->Layout);
    TPaintingView view(document);
    TTerminalProgress progress;
    if (!view.Retrace(progress)) return 1;
    if (!document.SavePainting(args->Get("-o"), opened->PaletteName)) return 1;
    std::printf("re-traced: %zu shapes, %zu points\n", document.Shapes().Count(),
                CountVertices(document.Shapes().First()));
    return 0;
}

} // namespace pigmentaria::cli
