#pragma once
// Which number a colour carries on a paint-by-number template. By default it is the colour's
// position in the painting palette; with real paints it can be the paint's position in its
// palette file, so that one paint keeps its number across paintings. Number placement asks this
// function instead of the painting palette.
#include "palette/palette.h"
#include "platform/color.h"

#include <functional>

namespace pigmentaria {

// The number of a colour; 0 for a colour that has none (printed as "0").
using TColorNumbering = std::function<int(TColor)>;

// The colour's position in the painting palette (the default numbers).
TColorNumbering NumberByPaintingPalette(const TNamedPalette& paintingPalette);
// The colour's position in a paint palette; 0 for a colour that is not one of its paints. The
// palette must outlive the function.
TColorNumbering NumberByPaintPosition(const TNamedPalette& paints);

} // namespace pigmentaria
