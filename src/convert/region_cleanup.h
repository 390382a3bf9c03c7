#pragma once
// Region clean-up: before tracing, regions too small to paint are merged into a neighbour, so
// that every region of the painting can hold a brush and a number.
//
// A region is too small when it has fewer pixels than a minimum area, or when no circle of a
// minimum diameter, centred on one of its pixels, fits inside it. Repeatedly the smallest region
// that is too small is merged into the neighbour it shares the longest border with and takes that
// neighbour's colour. Ties, to the last:
//   - the smallest region first: fewest pixels, then the lowest region number (regions are
//     numbered in raster order of their first pixel; a merged region carries the lower number of
//     the two, which is the raster order of its own first pixel);
//   - the neighbour: longest shared border (pixel edges), then the smallest CIEDE2000 between the
//     two regions' mean colours in the unreduced picture, then the lowest region number.
// A region without neighbours (the whole picture) stays as it is.
//
// Regions, neighbours and border lengths are kept in union-find form with a priority queue keyed
// by size. Whether a merged region holds the circle is decided incrementally: a merge can only
// create a new centre near the border the two regions shared, so only pixels within the circle's
// radius of that border are tested, and a region that holds the circle holds it for good.
#include "platform/raster.h"
#include "platform/report.h"

#include <cstdint>
#include <vector>

namespace pigmentaria {

inline constexpr const char* CleanupMessage = "Merging Small Regions...";

// The narrowest part of a region that neck cutting keeps by default: a 3 × 3 square.
constexpr int MinNeckDiameter = 3;
constexpr int MaxNeckRounds = 4;

struct TCleanupSettings {
    // Regions of fewer pixels are merged; 0 or 1 keeps every size.
    int MinArea = 0;
    // Regions that cannot hold a circle this wide (pixels) are merged; 0 or less tests no width.
    double MinDiameter = 0;
    // After the merges, necks go (CutNecks) and the merges run again; repeated while neck
    // cutting finds any, up to MaxNeckRounds times.
    bool CutNecks = false;
    // The narrowest part of a region neck cutting keeps, a square this many pixels wide (odd).
    int NeckDiameter = MinNeckDiameter;
    bool Active() const { return MinArea > 1 || MinDiameter > 0 || CutNecks; }
    friend bool operator==(const TCleanupSettings&, const TCleanupSettings&) = default;
};

// Neck cutting: every pixel that lies in no `diameter` × `diameter` square of its own colour
// (squares may reach past the picture's edge) takes the colour most of its other eight neighbours
// have, the first in reading order of equals; all pixels decide on the picture as it was. So
// tongues and necks narrower than the square go to the regions beside them. A pixel deep inside a
// wide square's tongue, all of whose neighbours are of its colour, decides in a later pass, on
// the colours its neighbours took. Returns the pixels changed. Throws EAborted when stopped,
// before anything is changed.
std::int64_t CutNecks(TRaster24& raster, IProgressSink& progress, int diameter = MinNeckDiameter);

// One merge, in the order they happened. Regions are named by their number in raster order of
// their first pixel in the picture before the clean-up (a merged region by its lower number).
struct TRegionMerge {
    std::uint32_t Region = 0; // the region merged away
    std::uint32_t Into = 0;   // the neighbour whose colour it takes
    std::int64_t Area = 0;    // pixels of the region merged away
    friend bool operator==(const TRegionMerge&, const TRegionMerge&) = default;
};

struct TCleanupResult {
    std::uint32_t RegionsBefore = 0;
    std::uint32_t RegionsAfter = 0;
    // Merges of every run when necks are cut.
    std::uint32_t Merges = 0;
    // Pixels neck cutting gave to another region.
    std::int64_t NeckPixels = 0;
};

// Cleans up the reduced raster in place. `original` is the unreduced picture of the same size;
// it decides ties by colour and is not changed, so the tracer still gives each shape the average
// colour of the picture under it. Throws std::invalid_argument when the sizes differ, and EAborted
// when the progress sink asks to stop ("Merging Small Regions...", the bar counting merges); the
// picture is then left as it was. With CutNecks each later run of the log names the regions of
// the picture as neck cutting left it.
TCleanupResult CleanUpRegions(TRaster24& reduced, const TRaster24& original,
                              const TCleanupSettings& settings, IProgressSink& progress,
                              std::vector<TRegionMerge>* log = nullptr);

} // namespace pigmentaria
