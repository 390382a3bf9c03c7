#pragma once
// The conversion for a paint-by-number template, beside the import's default path: colours by
// count instead of by step, the nearest real paints, and region clean-up before tracing; and
// "Simplify For Printing", which cleans up a finished painting for a print size and traces it
// again. Pure functions: rasters in, rasters or shapes out.
#include "convert/color_count.h"
#include "convert/reduction.h"
#include "convert/region_cleanup.h"
#include "convert/tracer.h"
#include "model/shape.h"
#include "palette/palette.h"
#include "platform/raster.h"
#include "platform/report.h"

namespace pigmentaria {

struct TTemplateOptions {
    // Colours by count (k-means in CIELAB); 0 keeps the per-channel step below.
    int PaletteSize = 0;
    int ColorDepth = 90;         // the step, 1..255, when PaletteSize is 0
    int SimplificationLevel = 0; // speck removal, 0..4
    // The paints every colour is replaced by (nearest by CIEDE2000); none when null or empty.
    const TNamedPalette* Paints = nullptr;
    // Regions too small for the print are merged away; inactive by default.
    TCleanupSettings Cleanup;
    std::uint64_t Seed = TColorCountSettings{}.Seed;
    int Threads = 1;
};

// The reduction of an import with these options: crop, colour reduction (by step or by count),
// speck removal, paints, then clean-up against the unreduced crop. With the defaults it is the
// import's own reduction.
TReducedPair ReduceForTemplate(const TRaster24& scaled, TCropRect crop,
                               const TTemplateOptions& options, IProgressSink& progress);

struct TTracedPainting {
    TShapeList Shapes;
    // The tracer's running count: the frame shape plus one per region, eliminated ones included.
    int ShapeCount = 0;
};

// Simplify For Printing: the painting rendered at zoom 1 is cleaned up with the minimum sizes
// (see LayoutForPainting and MillimetresToPaintingPixels for a print's diameter in pixels) and
// traced again with the import's trace settings. `original` is the picture the painting came
// from at the rendering's size; shapes take their average colours from it. Throws
// std::invalid_argument when the sizes differ.
TTracedPainting SimplifyForPrinting(const TRaster24& rendered, const TRaster24& original,
                                    const TTraceSettings& trace, const TCleanupSettings& limits,
                                    IProgressSink& progress, IMessageSink& messages);

} // namespace pigmentaria
