// Places the paint-by-number labels of a painting and lists them.
#include "cli/commands.h"
#include "cli/terminal.h"
#include "editor/document.h"

#include <cstdio>

namespace pigmentaria::cli {

namespace {

int RunNumbers(const std::vector<std::string>& args) {
    const TArguments a = ParseArguments(args, {});
    ExpectPositionals(a, {"painting file"});
    TCountingMessages messages;
    TPaintingDocument document(messages);
    if (!document.OpenPainting(a.Positionals[0])) return 1;
    TTerminalProgress progress;
    document.PlaceNumbers(progress);
    for (const TNumberLabel& l : document.NumberLabels())
        std::printf("%s\t%d\t%d\t%d\t%d\n", l.Text.c_str(), l.Left, l.Top, l.Right, l.Bottom);
    return messages.Errors ? 1 : 0;
}

} // namespace

const TCommand NumbersCommand = {
    "numbers", "PAINTING.kvp  list the number labels: text, left, top, right, bottom",
    "usage: pigmentaria-cli numbers PAINTING.kvp\n"
    "Places the paint-by-number labels and lists one a line: the number, then the label's left,\n"
    "top, right and bottom in painting pixels, separated by tabs.\n",
    RunNumbers};

} // namespace pigmentaria::cli
