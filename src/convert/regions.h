#pragma once
// The regions of a colour-reduced picture as the tracer sees them: 4-connected areas of one exact
// colour, numbered in raster order of their first pixel, with how much room each one has.
#include "platform/raster.h"

#include <cstdint>
#include <vector>

namespace pigmentaria {

struct TRegionMap {
    int Width = 0, Height = 0;
    // Region number per pixel, row by row; numbers run 0 .. Count - 1 in raster order of the
    // regions' first pixels, which is also the order the tracer meets them in.
    std::vector<std::uint32_t> Label;
    std::uint32_t Count = 0;

    std::uint32_t At(int x, int y) const {
        return Label[static_cast<std::size_t>(y) * static_cast<std::size_t>(Width) +
                     static_cast<std::size_t>(x)];
    }
};

TRegionMap LabelRegions(const TRaster24& raster);

// For every pixel, the squared distance from its centre to the centre of the nearest pixel of
// another region; everything outside the picture counts as another region. Exact, linear time.
std::vector<std::int32_t> RegionDistanceSquared(const TRegionMap& regions);

struct TRegionRoom {
    std::int64_t Area = 0;
    // The largest squared distance inside the region, and where it is first reached in raster
    // order: the region's most central pixel.
    std::int32_t MaxDistanceSquared = 0;
    int PoleX = -1, PoleY = -1;
};
std::vector<TRegionRoom> MeasureRegions(const TRegionMap& regions,
                                        const std::vector<std::int32_t>& distanceSquared);

// The diameter of the widest circle centred on a pixel that stays inside the region's pixels:
// a pixel at distance d from the nearest outside pixel centre holds a circle of 2d - 1 (a lone
// pixel holds 1, the middle of a 9 × 9 square 9).
double InscribedDiameter(std::int32_t maxDistanceSquared);

// The smallest squared distance a region's most central pixel needs for a circle of `diameter`.
std::int32_t DistanceSquaredForDiameter(double diameter);

} // namespace pigmentaria
