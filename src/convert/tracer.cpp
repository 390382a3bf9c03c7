#include "convert/tracer.h"

#include <stdexcept>

namespace pigmentaria {

namespace {

constexpr int StepX[8] = {0, 1, 1, 1, 0, -1, -1, -1};
constexpr int StepY[8] = {-1, -1, 0, 1, 1, 1, 0, -1};

// The colour the mark raster starts with: a source pixel of this colour that no earlier shape
// covers counts as traced.
constexpr TColor UntracedMark = 0xFFFFFE;

// Vertex for the step from pixel (x, y) in direction d, per outline method.
TShapePoint PlaceVertex(TOutlineMethod method, int x, int y, int d) {
    switch (method) {
    case TOutlineMethod::Outline:
        switch (d) {
        case 0:
            return {x - 1, y - 1};
        case 1:
            return {x, y - 1};
        case 2:
            return {x + 1, y - 1};
        case 3:
            return {x + 1, y};
        case 4:
            return {x + 1, y + 1};
        case 5:
            return {x, y + 1};
        case 6:
            return {x - 1, y + 1};
        case 7:
            return {x - 1, y};
        }
        break;
    case TOutlineMethod::HalfLine:
        switch (d) {
        case 0:
            return {x - 1, y - 1};
        case 1:
            return {x, y - 1};
        case 6:
            return {x - 1, y + 1};
        case 7:
            return {x - 1, y};
        }
        break;
    case TOutlineMethod::Inline:
        // The pixel's own centre.
        break;
    }
    return {x, y};
}

} // namespace

TRegionTracer::TRegionTracer(const TRaster24& source, const TRaster24& original,
                             TTraceSettings settings, IProgressSink& progress,
                             IMessageSink& messages)
    : Source_(source), Original_(original), Settings_(settings), Progress_(progress),
      Messages_(messages), Width_(source.Width()), Height_(source.Height()) {
    if (original.Width() != Width_ || original.Height() != Height_)
        throw std::invalid_argument("original picture differs in size from the traced one");
    if (Settings_.VertexStep < 1) Settings_.VertexStep = 1;
}

std::int64_t TRegionTracer::ProbeNeighbour(int x, int y, int k) const {
    const int nx = x + StepX[k], ny = y + StepY[k];
    if (nx < 0 || ny < 0 || nx >= Width_ || ny >= Height_) return -1;
    const TColor d = SourceAt(nx, ny);
    if ((k & 1) == 0) return d;
    // The two pixels flanking the diagonal: horizontal neighbour and vertical neighbour.
    if (d == SourceAt(nx, y) || d == SourceAt(x, ny)) return d;
    return -1;
}

void TRegionTracer::FollowBoundary(int sx, int sy, TPaintShape& shape) {
    const TColor c = SourceAt(sx, sy);
    shape.Color = c;
    shape.Left = shape.Right = sx;
    shape.Top = shape.Bottom = sy;
    shape.Points.clear();
    PixelPath_.clear();
    // Entry 0 is never written by a step; it reads as N.
    History_.assign(1, 0);

    int x = sx, y = sy, d = 2, i = 0, b = 0;
    bool done = false, deadEnd = false;
    std::uint64_t sumR = 0, sumG = 0, sumB = 0, count = 0;
    while (!done) {
        PixelPath_.push_back({x, y});
        const std::uint8_t* o = Original_.Row(y) + 3 * static_cast<std::size_t>(x);
        sumB += o[0];
        sumG += o[1];
        sumR += o[2];
        ++count;

        int k = (d + 5) & 7; // (d - 3) mod 8
        int found = -1;
        for (int t = 0; t < 8; ++t, k = (k + 1) & 7)
            if (ProbeNeighbour(x, y, k) == static_cast<std::int64_t>(c)) {
                found = k;
                break;
            }
        TShapePoint vertex;
        bool singlePixel = false;
        if (found < 0) {
            if (x == sx && y == sy) done = true;
            if (!deadEnd) {
                b = i;
                deadEnd = true;
            }
            // Back along the way we came; a region of one pixel has no way and reads entry 0.
            singlePixel = b == 0;
            d = (History_[static_cast<std::size_t>(b > 0 ? b : 0)] + 4) & 7;
            --b;
        } else {
            deadEnd = false;
            d = found;
        }
        ++i;
        History_.push_back(static_cast<std::uint8_t>(d));
        if (i > BigBoundarySteps && !BigReported_) {
            BigReported_ = true;
            Messages_.Error(BigBoundaryMessage);
        }
        // A one-pixel region's single vertex is the pixel itself, whatever the outline method,
        // so that the shape covers exactly that pixel.
        vertex = singlePixel ? TShapePoint{x, y} : PlaceVertex(Settings_.OutlineMethod, x, y, d);
        shape.Points.push_back(vertex);
        x += StepX[d];
        y += StepY[d];
        shape.ExtendBounds(vertex.X, vertex.Y);
        if (x == sx && y == sy) done = true;
    }
    shape.AcquiredColor = static_cast<TColor>(sumR / count) |
                          (static_cast<TColor>(sumG / count) << 8) |
                          (static_cast<TColor>(sumB / count) << 16);
}

int TRegionTracer::TraceRegions(TShapeList& shapes) {
    TRaster24 mark(Width_, Height_);
    TProgressRun run(Progress_, TracingMessage, 0, Height_);
    BigReported_ = false;

    int shapeCount = 1;
    shapes.FreeAll();
    shapes.Append(MakeFrameShape(Width_, Height_));

    TRasterCanvas markCanvas(mark);
    markCanvas.FillRect(0, 0, Width_, Height_, UntracedMark);

    for (int y = 0; y < Height_; ++y) {
        const std::uint8_t* src = Source_.Row(y);
        const std::uint8_t* mk = mark.Row(y);
        for (int x = 0; x < Width_; ++x) {
            const std::size_t o = 3 * static_cast<std::size_t>(x);
            if (src[o] == mk[o] && src[o + 1] == mk[o + 1] && src[o + 2] == mk[o + 2]) continue;

            TPaintShape* shape = shapes.Append(std::make_unique<TPaintShape>());
            ++shapeCount;
            FollowBoundary(x, y, *shape);

            // Mark the region and everything it encloses in the region's colour.
            markCanvas.SetPen({shape->Color, 1, TPenStyle::Solid});
            markCanvas.SetBrush({shape->Color, TBrushStyle::Solid});
            markCanvas.Polygon(PixelPath_);

            ThinOutline(*shape, Settings_.VertexStep);
            if (RemoveCollinearVertices(*shape) && Settings_.EliminateLines)
                shapes.UnlinkAndFree(shape);
        }
        run.Step(y);
    }
    return shapeCount;
}

int TraceRegions(const TRaster24& source, const TRaster24& original, const TTraceSettings& settings,
                 TShapeList& shapes, IProgressSink& progress, IMessageSink& messages) {
    TRegionTracer tracer(source, original, settings, progress, messages);
    return tracer.TraceRegions(shapes);
}

} // namespace pigmentaria
