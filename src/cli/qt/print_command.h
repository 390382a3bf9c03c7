#pragma once
// The command line's printing: a painting's template to a PDF file (and preview sheets as PNG),
// and its palette printout, through the Qt printer. The painting comes through a loader so that
// tests and benchmarks can hand one in.
#include "model/shape.h"
#include "palette/palette.h"
#include "print/page_render.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pigmentaria::cli {

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
    // The painting palette; rebuilt from the shapes when empty.
    TNamedPalette Palette;
};

using TPaintingLoader = std::function<std::unique_ptr<TPaintingForPrint>(const std::string&)>;

// A painting file with its stored layout, its painting palette and number placement as the
// document does it.
std::unique_ptr<TPaintingForPrint> LoadPaintingForPrint(const std::string& fileName);

// `print PAINTING -o TEMPLATE.pdf [options]`; the arguments after the command's name. Throws
// EUsageError (a std::runtime_error) for a mistake on the command line, before the painting is
// loaded, and std::runtime_error when the work fails. Returns the exit status.
int RunPrintCommand(const std::vector<std::string>& args, const TPaintingLoader& load);
// `palette PAINTING --print PALETTE.pdf [--names FILE.KVL] [--paper ...] [--dpi N]`.
int RunPaletteCommand(const std::vector<std::string>& args, const TPaintingLoader& load);

} // namespace pigmentaria::cli
