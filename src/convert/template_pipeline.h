#pragma once
// The conversion for a paint-by-number template, beside the import's default path: colours by
// count instead of by step, the nearest real paints, and region clean-up before tracing; and
// "Simplify For Printing", which cleans up a finished painting for a print size and traces it
// again. Pure steps over inputs they own, as a worker runs them: progress with abort (EAborted),
// messages kept for the result.
#include "convert/color_count.h"
#include "convert/conversion.h"
#include "convert/reduction.h"
#include "convert/region_cleanup.h"
#include "platform/raster.h"
#include "platform/report.h"

namespace pigmentaria {

// The clean-up the template controls ask for. A minimum width of 3 pixels or more also cuts
// necks: the outline of every shape reaches one pixel into its neighbours, which cuts a part one
// or two pixels wide off its region and leaves a crumb on the print.
TCleanupSettings TemplateCleanup(const TTemplateControls& controls);

// The reduction of an import on the template path: crop, colour reduction (by count with a
// palette size, else by the step), speck removal, paints or mixable colours, then clean-up against
// the unreduced crop. With inactive template controls it is the import's own reduction. Throws
// EAborted when stopped; the picture is never changed.
TReducedPair ReduceForTemplate(const TRaster24& scaled, TCropRect crop,
                               const TConversionControls& controls,
                               const TTemplateControls& templateControls, IProgressSink& progress);

// How far apart two colours are, in RGB units, before smoothing the grain keeps them apart.
constexpr double TemplateEdgeColorDistance = 40;

// An edge-preserving (bilateral) smoothing: each pixel becomes the mean of the pixels within
// about 2 sigma of it, weighted by a Gaussian of their distance (`sigma` pixels) and of their
// colour difference (`colorSigma` RGB units), so that noise and the fine grain of a gradient go
// while edges between colours stay where they are. Rows are shared among the machine's workers.
TRaster24 SmoothKeepingEdges(const TRaster24& picture, double sigma, double colorSigma);

// A painting cleaned up for a print and traced again.
struct TSimplifiedPainting {
    TTraceResult Trace;
    TCleanupResult Cleanup;
};

// Simplify For Printing: the painting rendered at zoom 1 is cleaned up with the limits (see
// print/print_scale.h for a print's minimum diameter in painting pixels) and traced again with
// the import's trace controls (outline method, abstraction, line elimination). `original` is the
// picture the shapes take their acquired colours from, the rendering's size; the shapes keep the
// rendering's colours. Throws std::invalid_argument when the sizes differ, EAborted when stopped.
TSimplifiedPainting SimplifyForPrinting(const TRaster24& rendered, const TRaster24& original,
                                        const TConversionControls& controls,
                                        const TCleanupSettings& limits, IProgressSink& progress);

} // namespace pigmentaria
