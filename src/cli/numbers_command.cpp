// Places the paint-by-number labels of a painting and lists them.
#include "cli/painting_args.h"
#include "cli/painting_commands.h"

#include <cstdio>

namespace pigmentaria::cli {

int RunNumbers(int argc, char** argv) {
    const auto args = ParsePaintingArgs(argc, argv, "numbers", {});
    if (!args) return 2;
    TCountingMessages messages;
    TPaintingDocument document(messages);
    if (!document.OpenPainting(args->Painting)) return 1;
    TTerminalProgress progress;
    document.PlaceNumbers(progress);
    for (const TNumberLabel& l : document.NumberLabels())
        std::printf("%s\t%d\t%d\t%d\t%d\n", l.Text.c_str(), l.Left, l.Top, l.Right, l.Bottom);
    return messages.Errors ? 1 : 0;
}

} // namespace pigmentaria::cli
