#pragma once
// The drawing interface shapes are drawn through, and the raster canvas that paints a pixel
// surface under the Windows drawing rules (see gdi_rules.h).
#include "platform/color.h"
#include "platform/gdi_rules.h"
#include "platform/raster.h"

#include <cstddef>
#include <vector>

namespace pigmentaria {

enum class TPenStyle { Solid, Clear };
enum class TBrushStyle { Solid, Clear };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    TColor Color = clWhite;
    TBrushStyle Style = TBrushStyle::Solid;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

// What shape drawing issues. Raster canvases paint pixels; a metafile canvas records the calls.
class TCanvas {
public:
    virtual ~TCanvas() = default;
    const TPen& Pen() const { return Pen_; }
    const TBrush& Brush() const { return Brush_; }
    virtual void SetPen(const TPen& pen) { Pen_ = pen; }
    virtual void SetBrush(const TBrush& brush) { Brush_ = brush; }
    // A closed polygon: interior by the alternate rule in the brush, outline in the pen.
    virtual void Polygon(const TPoint* points, std::size_t count) = 0;
    void Polygon(const std::vector<TPoint>& points) { Polygon(points.data(), points.size()); }
    virtual void MoveTo(int x, int y) { Current_ = {x, y}; }
    virtual void LineTo(int x, int y) = 0;
    // Pen border and brush interior over [left, right) × [top, bottom).
    virtual void Rectangle(int left, int top, int right, int bottom) = 0;
    // True for a canvas that records a metafile (the outlines-only view applies to those too).
    virtual bool IsMetafile() const { return false; }

protected:
    TPen Pen_;
    TBrush Brush_;
    TPoint Current_;
};

class TRasterCanvas final : public TCanvas {
public:
    explicit TRasterCanvas(TPixelSurface& surface) : Surface_(&surface) {}

    TPixelSurface& Surface() { return *Surface_; }

    void Polygon(const TPoint* points, std::size_t count) override;
    using TCanvas::Polygon;
    void LineTo(int x, int y) override;
    // With a visible pen the border is the outermost ring of [left, right) × [top, bottom) and
    // the brush fills inside it; with a clear pen the filled area loses its right column and
    // bottom row, as the Windows rectangle call does.
    void Rectangle(int left, int top, int right, int bottom) override;
    // The brush over [left, right) × [top, bottom), no border.
    void FillRect(int left, int top, int right, int bottom);
    void FillRect(int left, int top, int right, int bottom, TColor color);
    // Surface flood fill: repaints with the brush colour the 4-connected area of pixels whose
    // colour is `surface` and which contains (x, y). Nothing happens when (x, y) has another
    // colour.
    void FloodFill(int x, int y, TColor surface);
    TColor GetPixel(int x, int y) const;
    void SetPixel(int x, int y, TColor color);

private:
    void PenLine(TPoint a, TPoint b);
    void PenPixel(std::int64_t x, std::int64_t y);
    void Span(int y, int x0, int x1, TColor c);

    TPixelSurface* Surface_;
    gdi::TPolygonScanner Scanner_;
    std::vector<TPoint> FloodStack_;
};

} // namespace pigmentaria
