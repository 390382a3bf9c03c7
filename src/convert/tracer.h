#pragma once
// The region tracer: every 4-connected region of one exact colour in a colour-reduced picture
// becomes one closed polygon in that colour, in raster order of the regions' first pixels.
#include "model/shape.h"
#include "platform/canvas.h"
#include "platform/raster.h"
#include "platform/report.h"

#include <cstdint>
#include <vector>

namespace pigmentaria {

// Where outline vertices go: the item index of the import dialog's outline method.
enum class TOutlineMethod : int { Outline = 0, Inline = 1, HalfLine = 2 };

// The item index the radio group shows and the settings store.
constexpr int OutlineMethodIndex(TOutlineMethod method) {
    return static_cast<int>(method);
}
// An item index held to 0..2.
constexpr TOutlineMethod OutlineMethodFromIndex(int index) {
    return static_cast<TOutlineMethod>(index < 0 ? 0 : index > 2 ? 2 : index);
}

struct TTraceSettings {
    TOutlineMethod OutlineMethod = TOutlineMethod::Outline;
    // Keep every n-th outline vertex, 1..10.
    int VertexStep = 1;
    // Drop shapes whose outline is a straight line out and back.
    bool EliminateLines = false;
};

// Reported once per run when a single boundary grows past this many steps; the trace goes on.
constexpr int BigBoundarySteps = 31998;
inline constexpr const char* BigBoundaryMessage = "Hoo a biggie";
inline constexpr const char* TracingMessage = "Tracing Picture...";

class TRegionTracer {
public:
    // `original` is the picture before colour reduction, the same size as `source`; it gives each
    // shape's acquired colour.
    TRegionTracer(const TRaster24& source, const TRaster24& original, TTraceSettings settings,
                  IProgressSink& progress, IMessageSink& messages);

    // Fills the (empty) shape list: the frame shape, then one shape per traced region. Returns
    // the running shape count: 1 for the frame plus one per region, eliminated ones included.
    // Throws EAborted when the progress sink asks to stop; the list then holds what was traced.
    int TraceRegions(TShapeList& shapes);

    // Traces the boundary of the region whose first pixel is (sx, sy) into the shape: colour,
    // acquired colour, bounds and outline (before thinning), and leaves the pixel path behind.
    void FollowBoundary(int sx, int sy, TPaintShape& shape);

    // The colour of the neighbour of (x, y) in direction k (0 N, 1 NE, … 7 NW, y downwards), or
    // -1 where the step is not allowed: outside the picture, or a diagonal whose two flanking
    // pixels both differ from it.
    std::int64_t ProbeNeighbour(int x, int y, int k) const;

    // Centres of the pixels the last boundary trace visited, in order.
    const std::vector<TPoint>& PixelPath() const { return PixelPath_; }

private:
    TColor SourceAt(int x, int y) const {
        const std::uint8_t* p = Source_.Row(y) + 3 * static_cast<std::size_t>(x);
        return p[2] | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
    }

    const TRaster24& Source_;
    const TRaster24& Original_;
    TTraceSettings Settings_;
    IProgressSink& Progress_;
    IMessageSink& Messages_;
    int Width_;
    int Height_;
    bool BigReported_ = false;
    std::vector<std::uint8_t> History_;
    std::vector<TPoint> PixelPath_;
};

// Convenience wrapper: traces `source` into `shapes` and returns the shape count.
int TraceRegions(const TRaster24& source, const TRaster24& original, const TTraceSettings& settings,
                 TShapeList& shapes, IProgressSink& progress, IMessageSink& messages);

} // namespace pigmentaria
