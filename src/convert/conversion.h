#pragma once
// A picture becomes a painting in pure steps over inputs they own: colour reduction of the scaled,
// cropped picture, then tracing of the reduction; and a painting's rendering traced again. Each
// step may run on a worker thread: it reports progress, stops when asked (EAborted) and keeps its
// messages for the result instead of showing them.
#include "convert/reduction.h"
#include "convert/tracer.h"
#include "image/pixel_graphic.h"
#include "model/shape.h"
#include "platform/raster.h"
#include "platform/report.h"

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

// A painting's width plus height may not exceed this; larger pictures are converted smaller.
constexpr int MaxPaintingExtent = 5000;

// What one import converts, copied from the import dialog before the work starts.
struct TConversionInput {
    TPixelGraphic Picture;
    double Zoom = 1.0;
    std::optional<TCropRect> Selection;
    TConversionControls Controls;
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

// Traces a reduction (the reduced raster, and the original it came from for the shapes' colours)
// with the controls' outline method, abstraction level and line elimination.
TTraceResult TraceReduction(const TRaster24& reduced, const TRaster24& original,
                            const TConversionControls& controls, IProgressSink& progress);

// "Import Now" without the window: reduce, then trace.
TImportResult ReduceAndTrace(const TConversionInput& input, IProgressSink& progress);

// Re-tracing traces the painting's own rendering at zoom 1 with "Half-line" and this vertex step;
// the rendering is also the original that the shapes take their colours from.
constexpr int RetraceVertexStep = 2;
TTraceResult RetraceRendering(const TRaster24& rendered, bool eliminateLines,
                              IProgressSink& progress);

} // namespace pigmentaria
