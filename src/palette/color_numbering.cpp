#include "palette/color_numbering.h"

namespace pigmentaria {

TColorNumbering NumberByPaintingPalette(const TNamedPalette& paintingPalette) {
    return [&paintingPalette](TColor c) { return PaintingPaletteIndex(paintingPalette, c); };
}

TColorNumbering NumberByPaintPosition(const TNamedPalette& paints) {
    return [&paints](TColor c) { return paints.PositionOf(c); };
}

} // namespace pigmentaria
