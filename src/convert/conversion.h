#pragma once
// A picture becomes a painting in pure steps over inputs they own: colour reduction of the scaled,
// cropped picture, then tracing of the reduction; and a painting's rendering traced again. Each
// step may run on a worker thread: it reports progress, stops when asked (EAborted) and keeps its
// messages for the result instead of showing them.
#include "convert/reduction.h"
#include "convert/tracer.h"
#include "image/pixel_graphic.h"
#include "model/shape.h"
#include "palette/palette.h"
#include "palette/recipes.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <memory>
#include <optional>
#include <vector>

namespace pigmentaria {

// The colour reduction and tracing controls, with their ranges and defaults.
struct TConversionControls {
    int ColorDepth = 90;         // 1..255
    int SimplificationLevel = 0; // 0..4
    TOutlineMethod OutlineMethod = TOutlineMethod::Outline;
    int AbstractionLevel = 4; // 1..10
    bool EliminateLines = true;
    // Holds every control to its range.
    void Clamp();
    friend bool operator==(const TConversionControls&, const TConversionControls&) = default;
};

// The conversion for a paint-by-number template, beside the default path (the import dialog's
// advanced group): colours by count instead of by step, the nearest real paints, and regions too
// small to paint merged away before tracing. Inactive by default, which is the default path.
struct TTemplateControls {
    // Colours by count (k-means in CIELAB), 1..255; 0 keeps ColorDepth's step.
    int PaletteSize = 0;
    // Regions of fewer pixels are merged into a neighbour; 0 or 1 keeps every size.
    int MinRegionPixels = 0;
    // Regions that cannot hold a circle this wide (pixels) are merged; 0 tests no width.
    double MinWidthPixels = 0;
    // Tongues and necks of regions narrower than this (pixels) go to the regions beside them;
    // under 3 cuts those of one or two pixels.
    double NeckWidthPixels = 0;
    // With colours by count, the picture's grain finer than this (pixels) is smoothed away, edges
    // kept, before the colours are fitted and given; 0 fits them on the picture as it is.
    double GrainPixels = 0;
    // The paints every colour is replaced by, nearest by CIEDE2000; none when empty.
    TNamedPalette Paints;
    // Only colours these tubes mix: every colour becomes its best recipe's predicted colour.
    std::shared_ptr<const TMixTable> Mixtures;
    bool Active() const {
        return PaletteSize > 0 || MinRegionPixels > 1 || MinWidthPixels > 0 || !Paints.Empty() ||
               Mixtures;
    }
    // Holds the palette size to 0..255 and the minimums to 0 or more.
    void Clamp();
};

// The template path's tracing: "Outline" at abstraction 1, lines eliminated. Every outline
// vertex is kept, so that neighbouring shapes share their borders exactly: thinned outlines leave
// slivers between them that print as tiny cells nobody can paint.
TConversionControls TemplateTraceControls(TConversionControls controls = {});

// A painting's width plus height may not exceed this; larger pictures are converted smaller.
constexpr int MaxPaintingExtent = 5000;

// What one import converts, copied from the import dialog before the work starts.
struct TConversionInput {
    TPixelGraphic Picture;
    double Zoom = 1.0;
    std::optional<TCropRect> Selection;
    TConversionControls Controls;
    TTemplateControls Template;
};

// A traced painting: the shape list, the tracer's running shape count and what the tracer said.
struct TTraceResult {
    TShapeList Shapes;
    int ShapeCount = 0;
    std::vector<TWorkMessage> Messages;
};

// An import's whole outcome: the reduction (which the import dialog keeps for its preview) and
// the painting traced from it.
struct TImportResult {
    TReducedPair Reduction;
    TTraceResult Trace;
};

// Refuses (std::runtime_error) a conversion at a scaled size whose rasters would not fit in the
// memory available.
void CheckConversionMemory(int width, int height);

// Scales the picture by the zoom, crops it to the selection (picture pixels, scaled with it),
// keeps the unreduced crop and quantises with the controls (held to their ranges); specks are
// removed when asked. Throws std::runtime_error when nothing is left to convert or it would not
// fit in memory, EAborted when stopped.
TReducedPair ReducePicture(const TPixelGraphic& picture, double zoom,
                           const std::optional<TCropRect>& selection, TConversionControls controls,
                           IProgressSink& progress);
// The same on the template path when its controls are active (ReduceForTemplate).
TReducedPair ReducePicture(const TPixelGraphic& picture, double zoom,
                           const std::optional<TCropRect>& selection, TConversionControls controls,
                           const TTemplateControls& templateControls, IProgressSink& progress);

// Traces a reduction (the reduced raster, and the original it came from for the shapes' colours)
// with the controls' outline method, abstraction level and line elimination.
TTraceResult TraceReduction(const TRaster24& reduced, const TRaster24& original,
                            const TConversionControls& controls, IProgressSink& progress);

// "Import Now" without the window: reduce (on the template path when its controls are active),
// then trace.
TImportResult ReduceAndTrace(const TConversionInput& input, IProgressSink& progress);

// Re-tracing traces the painting's own rendering at zoom 1 with "Half-line" and this vertex step;
// the rendering is also the original that the shapes take their colours from.
constexpr int RetraceVertexStep = 2;
TTraceResult RetraceRendering(const TRaster24& rendered, bool eliminateLines,
                              IProgressSink& progress);

} // namespace pigmentaria
