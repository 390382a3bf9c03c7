#include "model/render.h"

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
