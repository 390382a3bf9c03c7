// Re-traces a painting from its own rendering and writes the result.
#include "cli/commands.h"
#include "cli/terminal.h"
#include "editor/document.h"
#include "editor/painting_view.h"

#include <cstdio>

namespace pigmentaria::cli {

namespace {

constexpr TOptionSpec Options[] = {{"-o", true}};

int RunRetrace(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, Options);
    ExpectPositionals(a, {"painting file"});
    const auto output = a.Value("-o");
    if (!output) throw EUsageError("no output file given (-o OUT.kvp)");
    TCountingMessages messages;
    TPaintingDocument document(messages);
    const auto opened = document.OpenPainting(a.Positionals[0]);
    if (!opened) return 1;
    document.SetPrintLayout(opened->Layout);
    TPaintingView view(document);
    TTerminalProgress progress;
    if (!view.Retrace(progress)) return 1;
    if (!document.SavePainting(*output, opened->PaletteName)) return 1;
    std::printf("re-traced: %zu shapes, %zu points\n", document.Shapes().Count(),
                CountVertices(document.Shapes().First()));
    return 0;
}

} // namespace

const TCommand RetraceCommand = {
    "retrace", "PAINTING.kvp -o OUT.kvp  re-trace the painting from its rendering",
    "usage: pigmentaria-cli retrace PAINTING.kvp -o OUT.kvp\n"
    "Traces the painting again from its own rendering (half-line outlines) and saves the result\n"
    "with the painting's palette name and print layout.\n",
    RunRetrace};

} // namespace pigmentaria::cli
