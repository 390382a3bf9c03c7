#pragma once
// Smooth outlines for a template. The regions of a colour-reduced picture become a graph of
// shared borders: every border between two regions is one chain of pixel corners, used by both
// regions, ending where three or more regions meet or at the picture's corners. Each border is
// smoothed once with its ends held fixed and fitted as a polyline at a finer pixel scale, so that
// the two shapes on either side share their outline point for point: smoothing opens no gap and
// makes no overlap, and a border is drawn the same wherever the painting is drawn.
#include "convert/conversion.h"
#include "convert/regions.h"
#include "model/shape.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <cstdint>
#include <vector>

namespace pigmentaria {

// The side of a border that lies outside the picture.
constexpr std::uint32_t OutsideRegion = 0xFFFFFFFF;

// A border between two regions: the pixel corners it runs through, (x, y) being the top-left
// corner of pixel (x, y). Walking from the first corner to the last, Right is the region on the
// right-hand side (y grows downwards) and Left the one on the left. A border around a region with
// no junction on it is a loop: its last corner is its first.
struct TBorder {
    std::vector<TShapePoint> Corners;
    std::uint32_t Left = OutsideRegion, Right = OutsideRegion;
    bool Loop = false;
    bool OnPictureEdge() const { return Left == OutsideRegion || Right == OutsideRegion; }
};

// One border as a part of a region's outline, walked forwards or backwards.
struct TBorderUse {
    std::uint32_t Border = 0;
    bool Reversed = false;
};

struct TBorderGraph {
    int Width = 0, Height = 0;
    std::vector<TBorder> Borders;
    // Every region's outer outline, clockwise on screen (the region on the right): its borders in
    // order, each ending where the next begins. Holes are the outlines of the regions inside.
    std::vector<std::vector<TBorderUse>> Outlines;
};

TBorderGraph BuildBorderGraph(const TRegionMap& regions);

// How a border between two regions is smoothed, in millimetres on paper; all three 0 keep the
// pixel steps.
struct TBorderSmoothing {
    // Millimetres a region pixel covers on paper.
    double PixelMm = 0.2;
    // The Gaussian that evens out the pixel staircase.
    double DestairMm = 0.2;
    // Wiggles within this of the line through the corners that matter are dropped.
    double FlattenMm = 0.2;
    // The Gaussian that rounds off the corners left.
    double RoundMm = 1.0;
    // How far from a junction the border comes back to the pixels' own direction.
    double TaperMm = 1.0;
    // The farthest a smoothed border may lie from the pixel border it follows; 0 sets no limit.
    double MaxShiftMm = 0.4;
    // Fine pixels per region pixel in the painting the borders are fitted for.
    int Scale = 4;
    // How far, in fine pixels, the fitted polyline may stray from the smoothed curve.
    double Tolerance = 0.6;
};

// Every border fitted at the fine scale with whole-pixel vertices; its ends are its end corners
// times the scale, exactly. Borders on the picture's edge stay straight.
std::vector<std::vector<TShapePoint>> FitBorders(const TBorderGraph& graph,
                                                 const TBorderSmoothing& smoothing);

// A region's outline at the fine scale from the fitted borders: closed, without the repeated
// first point.
std::vector<TShapePoint> RegionOutline(const TBorderGraph& graph,
                                       const std::vector<std::vector<TShapePoint>>& fitted,
                                       std::uint32_t region);

// The template's painting traced with smooth shared outlines, `smoothing.Scale` times the size
// of `reduced`: the frame shape, then one shape per region in the region's colour (its acquired
// colour the mean of `original` over it), larger bounding boxes first so that a region lying in
// another's hole is drawn after it. Throws EAborted when stopped.
TTraceResult TraceSharedBorders(const TRaster24& reduced, const TRaster24& original,
                                const TBorderSmoothing& smoothing, IProgressSink& progress);

} // namespace pigmentaria
