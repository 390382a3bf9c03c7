#pragma once
// Colour reduction: every channel of the scaled, cropped picture rounded down to a multiple of
// one step, then specks voted away by their neighbours.
#include "platform/raster.h"
#include "platform/report.h"

#include <optional>

namespace pigmentaria {

inline constexpr const char* ReductionMessage = "Performing Color Reduction...";
inline constexpr const char* SimplificationMessage = "Performing Simplification...";

// A rectangle in picture pixels; right and bottom exclusive.
struct TCropRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    friend bool operator==(const TCropRect&, const TCropRect&) = default;
};

// The part of the picture scaled by `zoom` that is reduced: the selection's coordinates times the
// zoom, truncated, or the whole scaled picture without a selection.
TCropRect ScaledCropRect(int width, int height, double zoom,
                         const std::optional<TCropRect>& selection);

// The tracer's two inputs: the reduced picture and the unreduced one it came from.
struct TReducedPair {
    TRaster24 Reduced;
    TRaster24 Original;
};

// Crops the already scaled picture, keeps the unreduced crop, quantises with `step` (1..255) and,
// with `specks` above 0, removes specks. The crop is clipped to the picture. Throws EAborted when
// the progress sink asks to stop.
TReducedPair ReduceScaledPicture(const TRaster24& scaled, TCropRect crop, int step, int specks,
                                 IProgressSink& progress);

// Speck removal in place at level 1..4: a pixel with fewer than `level` of its eight neighbours in
// its own colour takes the colour most common among them. Border pixels stay. Throws EAborted
// when the progress sink asks to stop (the raster is then part-way done).
void RemoveSpecks(TRaster24& raster, int level, IProgressSink& progress);

} // namespace pigmentaria
