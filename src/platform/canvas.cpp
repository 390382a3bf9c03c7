#include "platform/canvas.h"

#include <algorithm>

namespace pigmentaria {

void TRasterCanvas::Span(int y, int x0, int x1, TColor c) {
    if (y < 0 || y >= Surface_->Height()) return;
    x0 = std::max(x0, 0);
    x1 = std::min(x1, Surface_->Width());
    if (x0 < x1) Surface_->FillSpan(y, x0, x1, c);
}

void TRasterCanvas::PenPixel(std::int64_t x, std::int64_t y) {
    const int w = std::max(Pen_.Width, 1);
    if (w == 1) {
        if (x >= 0 && y >= 0 && x < Surface_->Width() && y < Surface_->Height())
            Surface_->SetPixel(static_cast<int>(x), static_cast<int>(y), Pen_.Color);
        return;
    }
    // A wide pen stamps a square of its width centred on each pixel of the line.
    const std::int64_t x0 = x - (w - 1) / 2, y0 = y - (w - 1) / 2;
    for (std::int64_t yy = y0; yy < y0 + w; ++yy)
        if (yy >= 0 && yy < Surface_->Height())
            Span(static_cast<int>(yy), static_cast<int>(std::max<std::int64_t>(x0, -1)),
                 static_cast<int>(std::min<std::int64_t>(x0 + w, Surface_->Width())), Pen_.Color);
}

void TRasterCanvas::PenLine(TPoint a, TPoint b) {
    gdi::ForEachLinePixel(a, b, [&](std::int64_t x, std::int64_t y) { PenPixel(x, y); });
}

void TRasterCanvas::Polygon(const TPoint* points, std::size_t count) {
    if (count == 0) return;
    const bool pen = Pen_.Style == TPenStyle::Solid;
    const bool brush = Brush_.Style == TBrushStyle::Solid;
    if (gdi::AllPointsEqual(points, count)) {
        if (pen)
            PenPixel(points[0].X, points[0].Y);
        else if (brush && points[0].X >= 0 && points[0].Y >= 0 && points[0].X < Surface_->Width() &&
                 points[0].Y < Surface_->Height())
            Surface_->SetPixel(points[0].X, points[0].Y, Brush_.Color);
        return;
    }
    if (brush) {
        const TColor c = Brush_.Color;
        TPixelSurface& s = *Surface_;
        Scanner_.Scan(points, count, 0, 0, s.Width(), s.Height(),
                      [&](int y, int x0, int x1) { s.FillSpan(y, x0, x1, c); });
    }
    if (pen)
        for (std::size_t i = 0; i < count; ++i)
            PenLine(points[i], points[i + 1 == count ? 0 : i + 1]);
}

void TRasterCanvas::LineTo(int x, int y) {
    if (Pen_.Style == TPenStyle::Solid) PenLine(Current_, {x, y});
    Current_ = {x, y};
}

void TRasterCanvas::Rectangle(int left, int top, int right, int bottom) {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
    const bool pen = Pen_.Style == TPenStyle::Solid;
    if (!pen) {
        if (Brush_.Style == TBrushStyle::Solid)
            for (int y = top; y < bottom - 1; ++y)
                Span(y, left, right - 1, Brush_.Color);
        return;
    }
    if (right - left < 1 || bottom - top < 1) return;
    const int w =
        std::max(1, std::min({Pen_.Width, (right - left + 1) / 2, (bottom - top + 1) / 2}));
    if (Brush_.Style == TBrushStyle::Solid)
        for (int y = top + w; y < bottom - w; ++y)
            Span(y, left + w, right - w, Brush_.Color);
    for (int y = top; y < bottom; ++y) {
        if (y < top + w || y >= bottom - w) {
            Span(y, left, right, Pen_.Color);
        } else {
            Span(y, left, left + w, Pen_.Color);
            Span(y, right - w, right, Pen_.Color);
        }
    }
}

void TRasterCanvas::FillRect(int left, int top, int right, int bottom) {
    if (Brush_.Style == TBrushStyle::Solid) FillRect(left, top, right, bottom, Brush_.Color);
}

void TRasterCanvas::FillRect(int left, int top, int right, int bottom, TColor color) {
    for (int y = std::max(top, 0); y < std::min(bottom, Surface_->Height()); ++y)
        Span(y, left, right, color);
}

TColor TRasterCanvas::GetPixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= Surface_->Width() || y >= Surface_->Height()) return 0xFFFFFFFFu;
    return Surface_->GetPixel(x, y);
}

void TRasterCanvas::SetPixel(int x, int y, TColor color) {
    if (x < 0 || y < 0 || x >= Surface_->Width() || y >= Surface_->Height()) return;
    Surface_->SetPixel(x, y, color);
}

void TRasterCanvas::FloodFill(int x, int y, TColor surface) {
    TPixelSurface& s = *Surface_;
    const TColor fill = Brush_.Color;
    if (Brush_.Style != TBrushStyle::Solid || fill == surface) return;
    if (x < 0 || y < 0 || x >= s.Width() || y >= s.Height() || s.GetPixel(x, y) != surface) return;
    // Scanline fill with an explicit stack of seeds: deep regions never recurse.
    FloodStack_.clear();
    FloodStack_.push_back({x, y});
    while (!FloodStack_.empty()) {
        const TPoint seed = FloodStack_.back();
        FloodStack_.pop_back();
        if (s.GetPixel(seed.X, seed.Y) != surface) continue;
        int x0 = seed.X, x1 = seed.X + 1;
        while (x0 > 0 && s.GetPixel(x0 - 1, seed.Y) == surface)
            --x0;
        while (x1 < s.Width() && s.GetPixel(x1, seed.Y) == surface)
            ++x1;
        s.FillSpan(seed.Y, x0, x1, fill);
        for (int ny : {seed.Y - 1, seed.Y + 1}) {
            if (ny < 0 || ny >= s.Height()) continue;
            bool inRun = false;
            for (int xx = x0; xx < x1; ++xx) {
                const bool match = s.GetPixel(xx, ny) == surface;
                if (match && !inRun) FloodStack_.push_back({xx, ny});
                inRun = match;
            }
        }
    }
}

} // namespace pigmentaria
