#pragma once
// Pure functions on colour values: quantising, the near-grey test, hue, and the palette colour
// nearest to a colour.
#include "palette/palette.h"
#include "platform/color.h"

#include <optional>
#include <string>

namespace pigmentaria {

// Every channel rounded down to a multiple of the step (1..255).
TColor QuantizeColor(TColor color, int step);
// True when the three channels lie within 24 of each other.
bool IsNearGray(TColor color);
// Hue in degrees, 0 (inclusive) to 360 (exclusive); 0 for a grey without any spread.
long double HueOf(TColor color);
// The colour of the entry nearest to `color` by channel distance plus hue distance in degrees; of
// two entries at the same distance the later wins; 0 (black) for an empty palette.
TColor NearestPaletteColor(TColor color, const TNamedPalette& palette);

// Up to two decimals, no trailing zeros: 0.5, 1, 342.86 (with a window's decimal point when
// given).
std::string FormatTwoDecimals(double value, char decimalPoint = '.');
// The status bar's description of the paint colour: the custom palette's name for the colour when
// it has a non-empty one, else "RGB:(r, g, b)  HSV:(h, s, v)".
std::string PaintLabelText(TColor color, const TNamedPalette* customPalette,
                           char decimalPoint = '.');

// A colour as a screen reader says it: "red 200, green 30, blue 40".
std::string ColorSpokenText(TColor color);
// A swatch's accessible name: "Paint color: red 200, green 30, blue 40", "Paint color: none".
std::string SwatchSpokenText(const std::string& what, std::optional<TColor> color);
// One cell of a swatch grid: "3: Cadmium Red, red 227, green 0, blue 34" (its number is its
// position; the name when it has one).
std::string SwatchCellSpokenText(int position, const TPaletteEntry& entry);

} // namespace pigmentaria
