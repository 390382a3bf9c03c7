#pragma once
// Which pixels a polygon fill and a one-pixel pen cover, the rules of the Windows drawing services
// that the tracer's marks, the renderer and the hit test must all agree on.
//
// Fill (alternate, even-odd rule): pixel (x, y) is sampled at the integer point (x, y). An edge
// counts on the rows it spans from its upper end inclusive to its lower end exclusive; horizontal
// edges count on no row. Pixel (x, y) is inside when an odd number of the edges counting on row y
// cross it at or left of x. So a polygon (0,0) (4,0) (4,4) (0,4) fills pixels 0..3 in x and y:
// the right and bottom edges are not filled.
//
// Pen (one pixel wide): a line from A to B lights, along its major axis (x when |dx| >= |dy|), one
// pixel per step from A up to but excluding B; the minor coordinate is the exact line position
// rounded to the nearest pixel. A line passing exactly half-way between two pixels lights the
// one with the smaller coordinate: the upper pixel of a mostly-horizontal line, the left pixel of
// a mostly-vertical one, as the grid-intersection ("diamond") rule for one-pixel lines has it.
// (Lines at exactly 45 degrees between whole points never pass half-way.) The set of pixels does
// not depend on the direction the line is drawn in, apart from the excluded end.
//
// A polygon whose points all coincide fills nothing and its outline is empty under those rules; we
// light its one pixel instead (in the pen's colour, else the brush's), so a one-pixel shape shows.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace pigmentaria {

struct TPoint {
    std::int32_t X = 0;
    std::int32_t Y = 0;
    friend bool operator==(const TPoint&, const TPoint&) = default;
};

namespace gdi {

inline std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
    std::int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return q;
}
inline std::int64_t CeilDiv(std::int64_t a, std::int64_t b) {
    return -FloorDiv(-a, b);
}

// Minor coordinate of the line through (a0, b0) with slope db/da at major coordinate a: the exact
// value n / d rounded to the nearest integer, half-way going down (to the smaller coordinate):
// ceil(n / d - 1/2) = ceil((2n - d) / 2d). da is not 0.
inline std::int64_t MinorAt(std::int64_t a0, std::int64_t b0, std::int64_t da, std::int64_t db,
                            std::int64_t a) {
    const std::int64_t sign = da < 0 ? -1 : 1;
    const std::int64_t d = da * sign;
    const std::int64_t num = 2 * sign * (b0 * da + (a - a0) * db) - d;
    return CeilDiv(num, 2 * d);
}

// Calls pixel(x, y) for every pixel the pen lights on the line from a to b, b excluded.
template <class PixelFn> void ForEachLinePixel(TPoint a, TPoint b, PixelFn&& pixel) {
    const std::int64_t dx = std::int64_t(b.X) - a.X, dy = std::int64_t(b.Y) - a.Y;
    if (dx == 0 && dy == 0) return;
    if (std::llabs(dx) >= std::llabs(dy)) {
        const std::int64_t sx = dx > 0 ? 1 : -1;
        for (std::int64_t k = 0; k < std::llabs(dx); ++k) {
            const std::int64_t x = a.X + k * sx;
            pixel(x, dy == 0 ? std::int64_t(a.Y) : MinorAt(a.X, a.Y, dx, dy, x));
        }
    } else {
        const std::int64_t sy = dy > 0 ? 1 : -1;
        for (std::int64_t k = 0; k < std::llabs(dy); ++k) {
            const std::int64_t y = a.Y + k * sy;
            pixel(dx == 0 ? std::int64_t(a.X) : MinorAt(a.Y, a.X, dy, dx, y), y);
        }
    }
}

// True when the pen line from a to b (b excluded) lights pixel (x, y); constant time.
inline bool LineCoversPixel(TPoint a, TPoint b, std::int64_t x, std::int64_t y) {
    const std::int64_t dx = std::int64_t(b.X) - a.X, dy = std::int64_t(b.Y) - a.Y;
    if (dx == 0 && dy == 0) return false;
    if (std::llabs(dx) >= std::llabs(dy)) {
        const std::int64_t k = (x - a.X) * (dx > 0 ? 1 : -1);
        if (k < 0 || k >= std::llabs(dx)) return false;
        return y == (dy == 0 ? std::int64_t(a.Y) : MinorAt(a.X, a.Y, dx, dy, x));
    }
    const std::int64_t k = (y - a.Y) * (dy > 0 ? 1 : -1);
    if (k < 0 || k >= std::llabs(dy)) return false;
    return x == (dx == 0 ? std::int64_t(a.X) : MinorAt(a.Y, a.X, dy, dx, y));
}

inline bool AllPointsEqual(const TPoint* p, std::size_t n) {
    for (std::size_t i = 1; i < n; ++i)
        if (!(p[i] == p[0])) return false;
    return n > 0;
}

// True when the even-odd interior of the polygon covers pixel (x, y); linear in the points.
inline bool PolygonFillCoversPixel(const TPoint* p, std::size_t n, std::int64_t x, std::int64_t y) {
    bool inside = false;
    for (std::size_t i = 0; i < n; ++i) {
        TPoint a = p[i], b = p[i + 1 == n ? 0 : i + 1];
        if (a.Y == b.Y) continue;
        if (a.Y > b.Y) std::swap(a, b);
        if (y < a.Y || y >= b.Y) continue;
        // The crossing lies at or left of x: ceil(crossing) <= x.
        const std::int64_t dy = std::int64_t(b.Y) - a.Y;
        const std::int64_t cx = a.X + CeilDiv((y - a.Y) * (std::int64_t(b.X) - a.X), dy);
        if (cx <= x) inside = !inside;
    }
    return inside;
}

// True when drawing the polygon with the given pen and brush visibility paints pixel (x, y).
inline bool PolygonCoversPixel(const TPoint* p, std::size_t n, std::int64_t x, std::int64_t y,
                               bool pen, bool brush) {
    if (n == 0 || (!pen && !brush)) return false;
    if (AllPointsEqual(p, n)) return x == p[0].X && y == p[0].Y;
    if (brush && PolygonFillCoversPixel(p, n, x, y)) return true;
    if (pen)
        for (std::size_t i = 0; i < n; ++i)
            if (LineCoversPixel(p[i], p[i + 1 == n ? 0 : i + 1], x, y)) return true;
    return false;
}

// Turns a polygon into the horizontal runs of its even-odd interior, row by row. Keeps its work
// buffers between calls so that drawing many polygons allocates nothing once warmed up; the cost
// of one polygon follows its own rows and edges, not the size of what it is drawn on.
class TPolygonScanner {
public:
    // Calls span(y, x0, x1) for the pixels x0 .. x1 - 1 of each interior run, clipped to the
    // columns [left, right) and rows [top, bottom).
    template <class SpanFn>
    void Scan(const TPoint* p, std::size_t n, int left, int top, int right, int bottom,
              SpanFn&& span) {
        Edges_.clear();
        std::int64_t ylo = INT64_MAX, yhi = INT64_MIN;
        for (std::size_t i = 0; i < n; ++i) {
            TPoint a = p[i], b = p[i + 1 == n ? 0 : i + 1];
            if (a.Y == b.Y) continue;
            if (a.Y > b.Y) std::swap(a, b);
            if (b.Y <= top || a.Y >= bottom) continue;
            Edges_.push_back(
                {a.X, a.Y, std::int64_t(b.X) - a.X, std::int64_t(b.Y) - a.Y, a.Y, b.Y});
            ylo = std::min<std::int64_t>(ylo, a.Y);
            yhi = std::max<std::int64_t>(yhi, b.Y);
        }
        if (Edges_.empty()) return;
        std::sort(Edges_.begin(), Edges_.end(),
                  [](const Edge& e, const Edge& f) { return e.YMin < f.YMin; });
        Active_.clear();
        std::size_t next = 0;
        const std::int64_t yStart = std::max<std::int64_t>(ylo, top);
        const std::int64_t yEnd = std::min<std::int64_t>(yhi, bottom);
        for (std::int64_t y = yStart; y < yEnd; ++y) {
            while (next < Edges_.size() && Edges_[next].YMin <= y)
                Active_.push_back(next++);
            std::size_t kept = 0;
            Xs_.clear();
            for (std::size_t k = 0; k < Active_.size(); ++k) {
                const Edge& e = Edges_[Active_[k]];
                if (e.YMax <= y) continue;
                Active_[kept++] = Active_[k];
                Xs_.push_back(e.X0 + CeilDiv((y - e.Y0) * e.DX, e.DY));
            }
            Active_.resize(kept);
            if (Xs_.size() > 2)
                std::sort(Xs_.begin(), Xs_.end());
            else if (Xs_.size() == 2 && Xs_[0] > Xs_[1])
                std::swap(Xs_[0], Xs_[1]);
            for (std::size_t k = 0; k + 1 < Xs_.size(); k += 2) {
                const std::int64_t x0 = std::max<std::int64_t>(Xs_[k], left);
                const std::int64_t x1 = std::min<std::int64_t>(Xs_[k + 1], right);
                if (x0 < x1) span(static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1));
            }
        }
    }

private:
    struct Edge {
        std::int64_t X0, Y0, DX, DY, YMin, YMax;
    };
    std::vector<Edge> Edges_;
    std::vector<std::size_t> Active_;
    std::vector<std::int64_t> Xs_;
};

} // namespace gdi
} // namespace pigmentaria
