#pragma once
// The command line's printing: a painting's template to a PDF file (and preview sheets as PNG),
// and its palette printout. The painting comes through a loader so that the painting file reader
// and number placement plug in from the document.
#include "model/shape.h"
#include "print/page_render.h"
#include "print/palette_printout.h"
#include "print/print_settings.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria {

// Everything printing needs from a painting file.
struct TPaintingForPrint {
    TShapeList Shapes;
    TSelection Selection;
    TColor CurrentColor = clBlack;
    // The stored print layout, when the file had one.
    std::optional<TPrintLayoutBlock> Layout;
    std::vector<TPrintLabel> Labels;
    // Numbers the painting: fills Labels. Without it the labels stay as loaded.
    std::function<void(TPaintingForPrint&)> PlaceNumbers;
    // The painting palette (colours in order of first use); computed from the shapes when empty.
    std::vector<TColor> Palette;
};

using TPaintingLoader = std::function<std::unique_ptr<TPaintingForPrint>(const std::string&)>;

// The colours of the shapes in order of first occurrence.
std::vector<TColor> ColorsInOrderOfUse(const TShapeList& shapes);

// Reads colour names from a palette file: a description line, then "colour,name" lines.
std::vector<TNamedColor> ReadPaletteNames(const std::string& fileName);

// `print PAINTING -o TEMPLATE.pdf [options]`; arguments after the command's name. Throws
// std::runtime_error on a usage or output error. Returns the process's exit code.
int RunPrintCommand(const std::vector<std::string>& args, const TPaintingLoader& load);
// `palette PAINTING --print PALETTE.pdf [--names FILE.KVL]`.
int RunPaletteCommand(const std::vector<std::string>& args, const TPaintingLoader& load);

inline constexpr const char* PrintUsage =
    "print PAINTING.kvp -o TEMPLATE.pdf [--across N] [--down N] [--overlap INCHES]\n"
    "        [--outlines|--fill gray|color|black] [--what all|selected|color] [--color RRGGBB]\n"
    "        [--line-weight 1..6] [--outline-color black|shape] [--numbers|--no-numbers]\n"
    "        [--marks|--no-marks] [--page-numbers] [--paper letter|a4|legal|WxHmm]\n"
    "        [--landscape|--portrait] [--dpi N] [--frame LEFT,TOP,WIDTH,HEIGHT] [--preview DIR]";
inline constexpr const char* PaletteUsage =
    "palette PAINTING.kvp --print PALETTE.pdf [--names FILE.KVL] [--paper ...] [--dpi N]";

} // namespace pigmentaria
