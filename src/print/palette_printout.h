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

// One line of a template's paint sheet.
struct TPaintShare {
    int Number = 0;
    TColor Color = 0;
    // The paint's name, else "RGB(r, g, b)".
    std::string Name;
    // Per cent of the painting's area painted in the colour.
    double Percent = 0;
};

inline constexpr const char* PaintSheetTitle = "Pigmentaria Paints";
inline constexpr const char* PaintSheetHeading =
    "Paints of the template, with the share of the painted area each covers";

// A template's paint sheet: a heading, then per paint its swatch with "n: name" beside it and
// its share ("12.3 %") at the right, laid out as the palette sheet, in one job titled
// "Pigmentaria Paints".
void PrintPaintShares(IPrinter& printer, const std::vector<TPaintShare>& shares);
// "12.3 %": one decimal, a full stop.
std::string ShareText(double percent);

} // namespace pigmentaria
