#pragma once
// The print command's arguments, read before any painting is: the painting, where the template
// goes, and the print options that override the layout stored in the painting.
#include "platform/color.h"
#include "print/print_settings.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmentaria::cli {

// "letter", "a4", "legal" or "WIDTHxHEIGHTmm" (25 to 2000 mm, decimals with a full stop): the
// sheet, its orientation left portrait. Throws EUsageError for anything else.
TPaperChoice ParsePaper(const std::string& text);

struct TPrintCommandArgs {
    std::string Painting;
    // The PDF file, the folder of preview sheets; at least one is given.
    std::string Output, PreviewDir;
    TPrintOptions Options;
    // The painting's current colour for "--what color".
    std::optional<TColor> CurrentColor;
    std::optional<int> Dpi;
};

// `print PAINTING.kvp -o TEMPLATE.pdf [options]`, the arguments after the command's name.
// Throws THelpRequest or EUsageError.
TPrintCommandArgs ParsePrintArgs(const std::vector<std::string>& args);

inline constexpr const char* PrintUsage =
    "usage: pigmentaria-cli print PAINTING.kvp -o TEMPLATE.pdf [--across N] [--down N]\n"
    "        [--overlap INCHES] [--outlines|--fill gray|color|black] [--what all|selected|color]\n"
    "        [--color RRGGBB] [--line-weight 1..6] [--outline-color black|shape]\n"
    "        [--numbers|--no-numbers] [--marks|--no-marks] [--page-numbers]\n"
    "        [--paper letter|a4|legal|WxHmm] [--landscape|--portrait] [--dpi N]\n"
    "        [--frame LEFT,TOP,WIDTH,HEIGHT] [--preview DIR]\n"
    "Prints the numbered template to a PDF file (numbers on unless --no-numbers), and with\n"
    "--preview writes every page as a PNG sheet. Options given override the layout stored in the\n"
    "painting; numbers are written with a full stop (--overlap 0.5).\n";

} // namespace pigmentaria::cli
