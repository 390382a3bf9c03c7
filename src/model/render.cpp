#include "model/render.h"

#include <algorithm>
#include <vector>

namespace pigmentaria {

void DrawShape(TCanvas& canvas, const TPaintShape& shape, double scale, bool outlinesOnly) {
    const int width = canvas.Pen().Width;
    if (outlinesOnly) {
        canvas.SetBrush({clWhite, TBrushStyle::Solid});
        canvas.SetPen({clBlack, width, TPenStyle::Solid});
    } else {
        canvas.SetBrush({shape.Color, TBrushStyle::Solid});
        canvas.SetPen({shape.Color, width, TPenStyle::Solid});
    }
    // One buffer reused for every polygon: drawing a painting allocates once.
    thread_local std::vector<TPoint> points;
    points.clear();
    for (const TShapePoint& p : shape.Points)
        points.push_back({ScaleCoord(p.X, scale), ScaleCoord(p.Y, scale)});
    canvas.Polygon(points.data(), points.size());
}

void DrawShapes(TCanvas& canvas, const TShapeList& shapes, double scale, bool outlinesOnly) {
    for (const TPaintShape& s : shapes)
        DrawShape(canvas, s, scale, outlinesOnly);
}

int RenderedSize(std::int32_t paintingSize, double zoom) {
    const std::int32_t n = ScaleCoord(paintingSize, zoom);
    return n > 0 ? n : 0;
}

TRaster24 RenderPainting(const TShapeList& shapes, double zoom, bool outlinesOnly) {
    TRaster24 raster(RenderedSize(shapes.PaintingWidth(), zoom),
                     RenderedSize(shapes.PaintingHeight(), zoom));
    TRasterCanvas canvas(raster);
    DrawShapes(canvas, shapes, zoom, outlinesOnly);
    return raster;
}

namespace {

// One byte a pixel: whether anything but the frame covers it.
class TCoverMask final : public TPixelSurface {
public:
    TCoverMask(int w, int h)
        : W_(w), H_(h), Bits_(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), 0) {}
    int Width() const override { return W_; }
    int Height() const override { return H_; }
    TColor GetPixel(int x, int y) const override { return Bits_[Index(x, y)] ? clWhite : clBlack; }
    void SetPixel(int x, int y, TColor) override { Bits_[Index(x, y)] = 1; }
    void FillSpan(int y, int x0, int x1, TColor) override {
        std::fill(Bits_.begin() + static_cast<std::ptrdiff_t>(Index(x0, y)),
                  Bits_.begin() + static_cast<std::ptrdiff_t>(Index(x1, y)), std::uint8_t{1});
    }
    bool AllCovered() const {
        return std::all_of(Bits_.begin(), Bits_.end(), [](std::uint8_t b) { return b != 0; });
    }

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(W_) +
               static_cast<std::size_t>(x);
    }
    int W_, H_;
    std::vector<std::uint8_t> Bits_;
};

bool IsFrameRectangle(const TPaintShape& s) {
    const std::int32_t w = s.Right, h = s.Bottom;
    return s.Points.size() == 4 && s.Left == 0 && s.Top == 0 && s.Points[0] == TShapePoint{0, 0} &&
           s.Points[1] == TShapePoint{w, 0} && s.Points[2] == TShapePoint{w, h} &&
           s.Points[3] == TShapePoint{0, h};
}

} // namespace

bool FrameShowsThrough(const TShapeList& shapes) {
    const TPaintShape* frame = shapes.First();
    if (!frame || !IsFrameRectangle(*frame)) return true;
    const int w = RenderedSize(shapes.PaintingWidth(), 1.0);
    const int h = RenderedSize(shapes.PaintingHeight(), 1.0);
    if (w <= 0 || h <= 0) return true;
    TCoverMask mask(w, h);
    TRasterCanvas canvas(mask);
    for (const TPaintShape* s = frame->Next; s; s = s->Next)
        DrawShape(canvas, *s, 1.0);
    return !mask.AllCovered();
}

std::uint64_t OutlineFingerprint(const TShapeList& shapes) {
    // FNV-1a over every vertex and a mark between shapes.
    std::uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](std::uint64_t v) {
        h ^= v;
        h *= 1099511628211ull;
    };
    for (const TPaintShape& s : shapes) {
        mix(0xFFFFFFFFull);
        for (const TShapePoint& p : s.Points)
            mix((static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.X)) << 32) |
                static_cast<std::uint32_t>(p.Y));
    }
    return h;
}

void MarkSelection(TCanvas& canvas, const TSelection& selection, double zoom) {
    canvas.SetPen({clRed, 1, TPenStyle::Solid});
    for (const TPaintShape* s : selection) {
        if (s->Points.empty()) continue;
        const TShapePoint& first = s->Points.front();
        canvas.MoveTo(ScaleCoord(first.X, zoom), ScaleCoord(first.Y, zoom));
        for (std::size_t i = 1; i < s->Points.size(); ++i)
            canvas.LineTo(ScaleCoord(s->Points[i].X, zoom), ScaleCoord(s->Points[i].Y, zoom));
        canvas.LineTo(ScaleCoord(first.X, zoom), ScaleCoord(first.Y, zoom));
    }
}

} // namespace pigmentaria
