#pragma once
// The painting palette printed as a numbered list of swatches, so that the numbers on a printed
// template can be matched to colours.
#include "palette/palette.h"
#include "platform/report.h"
#include "print/printer.h"

#include <string>
#include <vector>

namespace pigmentaria {

struct TNamedColor {
    TColor Color = 0;
    std::string Name;
};

// Swatch geometry on a printable page of W × H printer pixels.
struct TPaletteSheetGeometry {
    int SwatchWidth = 0, SwatchHeight = 0;
    int SwatchLeft = 0;
    int LineStep = 0;
    int FirstLine = 0; // the swatch bottom before the first step is added
};
TPaletteSheetGeometry PaletteSheetGeometry(int pageWidth, int pageHeight);

// A colour's printed name: its name in the custom palette, else "RGB(r, g, b)".
std::string PaletteColorName(TColor color, const std::vector<TNamedColor>& customPalette);

inline constexpr const char* PaletteJobTitle = "Pigmentaria Palette";
inline constexpr const char* PaletteJobMessage = "Printing...";

// Prints every painting-palette colour in order as a swatch with "n: name" beside it, starting
// new sheets as needed, in one job titled "Pigmentaria Palette". With a progress sink the bar
// counts the colours ("Printing..."); asked to stop, or when drawing fails, the job is abandoned
// (IPrinter::AbortDoc) and the exception passed on (EAborted when stopped).
void PrintPalette(IPrinter& printer, const std::vector<TColor>& paintingPalette,
                  const std::vector<TNamedColor>& customPalette);
void PrintPalette(IPrinter& printer, const std::vector<TColor>& paintingPalette,
                  const std::vector<TNamedColor>& customPalette, IProgressSink& progress);
// The same for the program's palettes: the painting palette, named from the custom palette when
// there is one.
void PrintPalette(IPrinter& printer, const TNamedPalette& paintingPalette,
                  const TNamedPalette* customPalette);
void PrintPalette(IPrinter& printer, const TNamedPalette& paintingPalette,
                  const TNamedPalette* customPalette, IProgressSink& progress);

} // namespace pigmentaria
