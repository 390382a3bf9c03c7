#pragma once
// The print command's arguments, read before any painting is: the painting, where the template
// goes, and the print options that override the layout stored in the painting.
#include "platform/color.h"
#include "print/legibility_text.h"
#include "print/print_labels.h"
#include "print/print_settings.h"
#include "print/template_job.h"

#include <optional>
#include <string>
#include <vector>

namespace pigmentaria::cli {

// "letter", "a4", "legal" or "WIDTHxHEIGHTmm" (25 to 2000 mm, decimals with a full stop): the
// sheet, its orientation left portrait. Throws EUsageError for anything else.
TPaperChoice ParsePaper(const std::string& text);

// A length on paper, 0.1 to 100 mm, with a full stop; EUsageError naming the option otherwise.
double Millimetres(const std::string& option, const std::string& value);

struct TPrintCommandArgs {
    std::string Painting;
    // The PDF file, the folder of preview sheets; at least one is given.
    std::string Output, PreviewDir;
    TPrintOptions Options;
    // The painting's current colour for "--what color".
    std::optional<TColor> CurrentColor;
    std::optional<int> Dpi;
    // --simplify-mm: the painting is simplified for this print first, regions under this
    // diameter on paper merged away.
    std::optional<double> SimplifyMm;
    // The narrowest region the legibility report expects (the simplification's, else 2.5 mm).
    double MinMm = DefaultTemplateMinMm;
    // --central-labels: regions number placement leaves without a number that fits get one at
    // their most central point.
    bool CentralLabels = false;
};

// `print PAINTING.kvp -o TEMPLATE.pdf [options]`, the arguments after the command's name.
// Throws THelpRequest or EUsageError.
TPrintCommandArgs ParsePrintArgs(const std::vector<std::string>& args);

inline constexpr const char* PrintUsage =
    "usage: pigmentaria-cli print PAINTING.kvp -o TEMPLATE.pdf [--across N] [--down N]\n"
    "        [--overlap INCHES] [--outlines|--fill gray|color|black] [--what all|selected|color]\n"
    "        [--color RRGGBB] [--line-weight 1..6] [--outline-color black|shape]\n"
    "        [--numbers|--no-numbers] [--marks|--no-marks] [--page-numbers]\n"
    "        [--paper letter|a4|a3|legal|WxHmm] [--landscape|--portrait] [--dpi N]\n"
    "        [--frame LEFT,TOP,WIDTH,HEIGHT] [--preview DIR]\n"
    "        [--simplify-mm D] [--min-mm D] [--central-labels]\n"
    "Prints the numbered template to a PDF file (numbers on unless --no-numbers), and with\n"
    "--preview writes every page as a PNG sheet. Options given override the layout stored in the\n"
    "painting; numbers are written with a full stop (--overlap 0.5).\n"
    "Then reports the template's legibility: the narrowest region's widest circle on paper, the\n"
    "regions under the minimum (--min-mm, default 2.5), the smallest number printed and the\n"
    "regions with no number that fits inside. --simplify-mm D first simplifies the painting for\n"
    "this print (regions narrower than D mm on paper merge into a neighbour, the rest is traced\n"
    "again; the painting file is left as it is) and makes D the minimum; --central-labels gives\n"
    "every region left without a number that fits one at its most central point.\n";

} // namespace pigmentaria::cli
