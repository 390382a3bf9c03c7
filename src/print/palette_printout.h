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

// A template's paints mixed from tubes: per paint its recipe and amount, and the tubes to buy.
struct TPaintRecipeLine {
    int Number = 0;
    TColor Color = 0;
    std::string Name;
    // "2 Titanium White + 1 Ultramarine Blue", and CIEDE2000 from the paint to the mixture.
    std::string Recipe;
    double DeltaE = 0;
    double Percent = 0;
    double AreaCm2 = 0;
    // What covers the area, and that rounded up to what a person can measure.
    double Ml = 0, MeasuredMl = 0;
};
struct TTubeAmount {
    std::string Name;
    TColor Color = 0;
    double Ml = 0;
};
struct TRecipeSheet {
    std::vector<TPaintRecipeLine> Paints;
    // The tubes the recipes use, in the tube set's order.
    std::vector<TTubeAmount> Tubes;
    double CanvasWidthCm = 0, CanvasHeightCm = 0;
    double CoverageM2PerL = 0;
    int Coats = 0;
    int MaxTubes = 0;
    // The colours were picked from what the tubes mix.
    bool Mixable = false;
    // Mean CIEDE2000 of the recipes to their paints (by area), and of the painting to the photo
    // pixel by pixel.
    double MeanRecipeDeltaE = 0, PhotoDeltaE = 0;
};

inline constexpr const char* RecipeSheetHeading = "Paints of the template, mixed from tubes";

// The sheet as CSV (RFC 4180, full stops, LF ends): a header and a row per paint, an empty line,
// then a header and a row per tube:
//   number,name,red,green,blue,recipe,delta_e,area_percent,area_cm2,ml
//   tube,red,green,blue,ml
std::string RecipeSheetCsv(const TRecipeSheet& sheet);
// The sheet printed: a heading with the canvas, coverage and coats, per paint its swatch,
// "n: name", the recipe below, and dE, share and ml at the right; then the tubes with their ml.
// One job titled "Pigmentaria Paints".
void PrintRecipeSheet(IPrinter& printer, const TRecipeSheet& sheet);
// "2.5 ml": one decimal.
std::string MlText(double ml);

} // namespace pigmentaria
