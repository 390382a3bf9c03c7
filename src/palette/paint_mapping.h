#pragma once
// Real paints: the colours of a painting replaced by the nearest entries of a palette file (a
// maker's paint range, with the paints' names), nearest by CIEDE2000.
#include "model/shape.h"
#include "palette/color_science.h"
#include "palette/palette.h"
#include "platform/raster.h"

#include <unordered_map>
#include <vector>

namespace pigmentaria {

// Finds the paint nearest to a colour; remembers the colours it has matched.
class TPaintMatcher {
public:
    explicit TPaintMatcher(const TNamedPalette& paints);

    // Position (from 1) of the nearest paint by CIEDE2000, the lower position of two at the same
    // distance; 0 when there are no paints.
    int NearestPosition(TColor color);
    // The nearest paint's colour; the colour itself when there are no paints.
    TColor NearestColor(TColor color);

    const TNamedPalette& Paints() const { return *Paints_; }

private:
    const TNamedPalette* Paints_;
    std::vector<TLab> Labs_;
    std::unordered_map<TColor, int> Known_;
};

// Every pixel repainted in its nearest paint.
void MapRasterToPaints(TRaster24& raster, TPaintMatcher& matcher);
// Every shape's colour replaced by its nearest paint; returns how many shapes changed colour.
int MapShapesToPaints(TShapeList& shapes, TPaintMatcher& matcher);
// The paints a painting uses, with their names, in the order of first use in the shape list:
// what the palette printout lists beside the template.
TNamedPalette PaintsInUse(const TShapeList& shapes, const TNamedPalette& paints);

} // namespace pigmentaria
