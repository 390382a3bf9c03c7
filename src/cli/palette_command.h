#pragma once
// The palette command: a painting's colours in numbering order, listed, saved as a palette file,
// or printed as the numbered colour sheet (the printing is in cli/qt).
#include "print/print_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmentaria::cli {

struct TPaletteCommandArgs {
    std::string Painting;
    // -o: the palette file, and the description on its first line.
    std::optional<std::string> Output;
    std::optional<std::string> Description;
    // --print: the PDF file, the palette file that names the colours, paper and resolution.
    std::optional<std::string> Print;
    std::optional<std::string> Names;
    // Paper and Orientation only.
    TPrintOptions Paper;
    std::optional<int> Dpi;
};

// Throws THelpRequest or EUsageError; the saving and the printing options do not mix.
TPaletteCommandArgs ParsePaletteArgs(const std::vector<std::string>& args);

// Lists the colours ("n<TAB>colour<TAB>r,g,b") or, with Output, saves them.
int ListOrSavePalette(const TPaletteCommandArgs& args);

inline constexpr const char* PaletteUsage =
    "usage: pigmentaria-cli palette PAINTING.kvp\n"
    "       pigmentaria-cli palette PAINTING.kvp -o FILE.KVL [--description TEXT]\n"
    "       pigmentaria-cli palette PAINTING.kvp --print PALETTE.pdf [--names FILE.KVL]\n"
    "                [--paper letter|a4|a3|legal|WxHmm] [--landscape|--portrait] [--dpi N]\n"
    "Lists the painting's colours in numbering order (number, colour value, red, green, blue),\n"
    "saves them as a palette file (the description defaults to the file's name), or prints the\n"
    "numbered colour sheet with the names of a palette file.\n";

} // namespace pigmentaria::cli
