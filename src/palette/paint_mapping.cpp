#include "palette/paint_mapping.h"

namespace pigmentaria {

TPaintMatcher::TPaintMatcher(const TNamedPalette& paints) : Paints_(&paints) {
    Labs_.reserve(paints.Count());
    for (const TPaletteEntry& e : paints.Entries())
        Labs_.push_back(ColorToLab(e.Color));
}

int TPaintMatcher::NearestPosition(TColor color) {
    if (Labs_.empty()) return 0;
    if (const auto it = Known_.find(color); it != Known_.end()) return it->second;
    const TLab lab = ColorToLab(color);
    int best = 0;
    double bestDelta = 0;
    for (std::size_t i = 0; i < Labs_.size(); ++i) {
        const double d = DeltaE2000(lab, Labs_[i]);
        if (i == 0 || d < bestDelta) {
            bestDelta = d;
            best = static_cast<int>(i) + 1;
        }
    }
    Known_.emplace(color, best);
    return best;
}

TColor TPaintMatcher::NearestColor(TColor color) {
    const int position = NearestPosition(color);
    return position > 0 ? Paints_->At(position)->Color : color;
}

void MapRasterToPaints(TRaster24& raster, TPaintMatcher& matcher) {
    if (matcher.Paints().Empty()) return;
    for (int y = 0; y < raster.Height(); ++y)
        for (int x = 0; x < raster.Width(); ++x)
            raster.SetPixel(x, y, matcher.NearestColor(raster.GetPixel(x, y)));
}

int MapShapesToPaints(TShapeList& shapes, TPaintMatcher& matcher) {
    int changed = 0;
    if (matcher.Paints().Empty()) return changed;
    for (TPaintShape& s : shapes) {
        const TColor c = matcher.NearestColor(s.Color);
        changed += c != s.Color;
        s.Color = c;
    }
    return changed;
}

TNamedPalette PaintsInUse(const TShapeList& shapes, const TNamedPalette& paints) {
    TNamedPalette used;
    for (const TPaintShape& s : shapes) {
        const int position = paints.PositionOf(s.Color);
        if (position > 0) used.Add(s.Color, paints.At(position)->Name);
    }
    return used;
}

} // namespace pigmentaria
