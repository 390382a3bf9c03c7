#include "print/numbers.h"

#include "model/render.h"

#include <algorithm>
#include <climits>

namespace pigmentaria {

namespace {

constexpr double NumberScale = 2.0;
// Reserved colours on the work raster: a region already numbered, and the region being numbered.
constexpr TColor DoneMark = 0xFFFFFE;
constexpr TColor ActiveMark = 0x000001;
// A square wider than this (in work raster pixels) earns a label of its own at once.
constexpr int OwnLabelWidth = 25;

inline TColor PixelAt(const TRaster24& r, int x, int y) {
    const std::uint8_t* p = r.Row(y) + 3 * static_cast<std::size_t>(x);
    return TColor(p[2]) | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
}

// The shapes whose scaled bounds reach into each cell of a coarse grid over the work raster, in
// list order, so that the hit test for a region looks at the few shapes near it and not at the
// whole list. Same answer as ShapeAtPixel: the last shape in list order of the pixel's colour
// whose scaled bounds hold the pixel and whose polygon covers it.
class TShapeGrid {
public:
    TShapeGrid(const TShapeList& shapes, int width, int height) {
        Cols_ = (width + CellSize - 1) / CellSize;
        Rows_ = (height + CellSize - 1) / CellSize;
        struct TSpan {
            int C0, C1, R0, R1;
        };
        std::vector<TSpan> spans;
        for (const TPaintShape* s = shapes.First(); s; s = s->Next) {
            const TBox b{ScaleCoord(s->Left, NumberScale), ScaleCoord(s->Top, NumberScale),
                         ScaleCoord(s->Right, NumberScale), ScaleCoord(s->Bottom, NumberScale)};
            if (b.Right < 0 || b.Bottom < 0 || b.Left >= width || b.Top >= height ||
                b.Left > b.Right || b.Top > b.Bottom)
                continue;
            Shapes_.push_back(s);
            Boxes_.push_back(b);
            spans.push_back({std::max(b.Left, 0) / CellSize,
                             std::min(b.Right, width - 1) / CellSize, std::max(b.Top, 0) / CellSize,
                             std::min(b.Bottom, height - 1) / CellSize});
        }
        Start_.assign(static_cast<std::size_t>(Cols_) * Rows_ + 1, 0);
        for (const TSpan& sp : spans)
            for (int r = sp.R0; r <= sp.R1; ++r)
                for (int c = sp.C0; c <= sp.C1; ++c)
                    ++Start_[Cell(c, r) + 1];
        for (std::size_t i = 1; i < Start_.size(); ++i)
            Start_[i] += Start_[i - 1];
        Items_.resize(Start_.back());
        std::vector<std::uint32_t> fill(Start_.begin(), Start_.end() - 1);
        for (std::uint32_t i = 0; i < spans.size(); ++i)
            for (int r = spans[i].R0; r <= spans[i].R1; ++r)
                for (int c = spans[i].C0; c <= spans[i].C1; ++c)
                    Items_[fill[Cell(c, r)]++] = i;
    }

    const TPaintShape* At(TColor color, int x, int y) const {
        const std::size_t cell = Cell(x / CellSize, y / CellSize);
        for (std::uint32_t k = Start_[cell + 1]; k > Start_[cell]; --k) {
            const std::uint32_t i = Items_[k - 1];
            const TPaintShape* s = Shapes_[i];
            const TBox& b = Boxes_[i];
            if (s->Color != color || x < b.Left || x > b.Right || y < b.Top || y > b.Bottom)
                continue;
            if (ShapeCoversPixel(*s, NumberScale, x, y)) return s;
        }
        return nullptr;
    }

private:
    static constexpr int CellSize = 64;
    struct TBox {
        std::int32_t Left, Top, Right, Bottom;
    };
    std::size_t Cell(int c, int r) const { return static_cast<std::size_t>(r) * Cols_ + c; }

    int Cols_ = 0, Rows_ = 0;
    std::vector<const TPaintShape*> Shapes_;
    std::vector<TBox> Boxes_;
    std::vector<std::uint32_t> Start_;
    std::vector<std::uint32_t> Items_;
};

// Where the region being numbered lies: per row the first and last marked column.
struct TMarkedExtent {
    std::vector<int> RowMin, RowMax;
    int MinY = INT_MAX, MaxY = INT_MIN;

    explicit TMarkedExtent(int height) : RowMin(height, INT_MAX), RowMax(height, INT_MIN) {}
    void Add(int y, int x0, int x1) {
        RowMin[y] = std::min(RowMin[y], x0);
        RowMax[y] = std::max(RowMax[y], x1);
        MinY = std::min(MinY, y);
        MaxY = std::max(MaxY, y);
    }
    void Reset() {
        for (int y = MinY; y <= MaxY; ++y) {
            RowMin[y] = INT_MAX;
            RowMax[y] = INT_MIN;
        }
        MinY = INT_MAX;
        MaxY = INT_MIN;
    }
};

// Repaints with `to` the 4-connected area of colour `from` that contains (x, y), as the
// surface flood fill does, noting the area's extent when asked.
void FloodFill(TRaster24& r, int x, int y, TColor from, TColor to, TMarkedExtent* extent,
               std::vector<TPoint>& stack) {
    if (from == to || PixelAt(r, x, y) != from) return;
    const int w = r.Width(), h = r.Height();
    stack.clear();
    stack.push_back({x, y});
    while (!stack.empty()) {
        const TPoint seed = stack.back();
        stack.pop_back();
        if (PixelAt(r, seed.X, seed.Y) != from) continue;
        int x0 = seed.X, x1 = seed.X + 1;
        while (x0 > 0 && PixelAt(r, x0 - 1, seed.Y) == from)
            --x0;
        while (x1 < w && PixelAt(r, x1, seed.Y) == from)
            ++x1;
        r.FillSpan(seed.Y, x0, x1, to);
        if (extent) extent->Add(seed.Y, x0, x1 - 1);
        for (int ny : {seed.Y - 1, seed.Y + 1}) {
            if (ny < 0 || ny >= h) continue;
            bool inRun = false;
            for (int xx = x0; xx < x1; ++xx) {
                const bool match = PixelAt(r, xx, ny) == from;
                if (match && !inRun) stack.push_back({xx, ny});
                inRun = match;
            }
        }
    }
}

struct TBoxI {
    int Left, Top, Right, Bottom;
};

TNumberLabel MakeLabel(const TBoxI& box, const std::string& text) {
    TNumberLabel l{text, box.Left / 2, box.Top / 2, box.Right / 2, box.Bottom / 2};
    if (l.Left == l.Right) l.Right = l.Left + 2;
    if (l.Top == l.Bottom) l.Bottom = l.Top + 2;
    return l;
}

class TNumberPlacer {
public:
    TNumberPlacer(TRaster24& raster, bool extentsExact)
        : R_(raster), W_(raster.Width()), H_(raster.Height()), Exact_(extentsExact),
          Extent_(raster.Height()) {}

    bool Marked(int x, int y) const {
        return x >= 0 && y >= 0 && x < W_ && y < H_ && PixelAt(R_, x, y) == ActiveMark;
    }

    // Marks the region of (x, y), finds its largest squares and returns the best box; squares
    // wider than the limit add their own labels on the way.
    TBoxI NumberRegion(int x, int y, TColor b, const TPaintShape& shape, const std::string& text,
                       std::vector<TNumberLabel>& labels) {
        FloodFill(R_, x, y, b, ActiveMark, &Extent_, Stack_);
        TBoxI best{x, y, x, y};
        // The search window starts at the shape's unscaled top and left, as it always has.
        const std::int64_t syEnd = 2 * std::int64_t(shape.Bottom);
        const std::int64_t sxEnd = 2 * std::int64_t(shape.Right);
        // Skipping to the marked rows and columns gives the same squares as visiting every third
        // pixel of the window: unmarked pixels start no square and move nothing. That holds when
        // the flood fill made every marked pixel, i.e. when no shape is painted in the marker.
        const bool skip = Exact_ && Extent_.MinY <= Extent_.MaxY;
        std::int64_t sy = shape.Top;
        while (sy <= syEnd) {
            if (skip) {
                if (sy > Extent_.MaxY) break;
                if (sy < Extent_.MinY) {
                    sy += (Extent_.MinY - sy + 2) / 3 * 3;
                    continue;
                }
            }
            std::int64_t sx = shape.Left;
            while (sx <= sxEnd) {
                if (skip) {
                    if (sy > Extent_.MaxY || sy < Extent_.MinY) break;
                    const int rowMin = Extent_.RowMin[sy], rowMax = Extent_.RowMax[sy];
                    if (sx > rowMax) break;
                    if (sx < rowMin) {
                        sx += (rowMin - sx + 2) / 3 * 3;
                        continue;
                    }
                }
                if (Marked(int(sx), int(sy))) {
                    const int sx0 = int(sx), sy0 = int(sy);
                    int ex = sx0, ey = sy0;
                    for (;;) {
                        bool grows = true;
                        for (int r = sy0; r <= ey && grows; r += 2)
                            grows = Marked(ex + 2, r);
                        for (int c = sx0; c <= ex && grows; c += 2)
                            grows = Marked(c, ey + 2);
                        if (!grows) break;
                        ex += 2;
                        ey += 2;
                    }
                    if (ex - sx0 > best.Right - best.Left) {
                        best = {sx0, sy0, ex, ey};
                        if (ex - sx0 > OwnLabelWidth) {
                            labels.push_back(MakeLabel(best, text));
                            sy = ey;
                        }
                    }
                    sx = ex;
                }
                sx += 3;
            }
            sy += 3;
        }
        FloodFill(R_, x, y, ActiveMark, DoneMark, nullptr, Stack_);
        Extent_.Reset();
        return best;
    }

private:
    TRaster24& R_;
    int W_, H_;
    bool Exact_;
    TMarkedExtent Extent_;
    std::vector<TPoint> Stack_;
};

} // namespace

std::vector<TNumberLabel> PlaceNumbers(const TShapeList& shapes,
                                       const TNamedPalette& paintingPalette,
                                       IProgressSink& progress, IMessageSink& messages) {
    std::vector<TNumberLabel> labels;
    if (shapes.Empty()) return labels;
    TRaster24 raster = RenderPainting(shapes, NumberScale, false);
    const int w = raster.Width(), h = raster.Height();
    bool markerColored = false;
    for (const TPaintShape& s : shapes)
        markerColored |= s.Color == ActiveMark;
    const TShapeGrid grid(shapes, w, h);
    TNumberPlacer placer(raster, !markerColored);
    TProgressRun run(progress, PlacingNumbersMessage, 0, h);
    for (int y = 0; y < h - 2; ++y) {
        for (int x = 0; x < w - 2; ++x) {
            const TColor b = PixelAt(raster, x, y);
            if (b == DoneMark) continue;
            const TPaintShape* shape = grid.At(b, x, y);
            if (!shape) {
                messages.Error(FindingPolygonError + std::to_string(x) + "," + std::to_string(y));
                return labels;
            }
            const std::string text = std::to_string(PaintingPaletteIndex(paintingPalette, b));
            const TBoxI best = placer.NumberRegion(x, y, b, *shape, text, labels);
            labels.push_back(MakeLabel(best, text));
        }
        run.Step(y + 1);
    }
    return labels;
}

TNumberingResult PlaceNumbers(const TNumberingInput& input, IProgressSink& progress) {
    TNumberingResult out;
    TCollectedMessages messages;
    out.Labels = PlaceNumbers(input.Shapes, input.Palette, progress, messages);
    out.Messages = messages.Take();
    out.Generation = input.Generation;
    return out;
}

} // namespace pigmentaria
