#pragma once
// Roughness of a painting's printed outlines, measured from its shapes and its drawing alone. An
// outline is split at the junctions of the painting as drawn (pixel corners where three colours
// meet, or two crosswise) and where it meets the picture's edge: the pieces between are the
// borders. Each border, in millimetres on paper, is resampled every 0.02 mm and compared with
// itself smoothed by a Gaussian of 0.25 mm along its length (ends held, as junctions are); the
// figure is the root-mean-square distance in micrometres over all samples, so longer borders
// weigh more. Borders along the picture's edge are left out: they are straight.
#include "model/render.h"
#include "model/shape.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace pigmentaria::bench {

struct TRoughness {
    double RmsUm = 0;
    // What was measured: a border two shapes share is measured from both, a hole's rim once.
    double LengthMm = 0;
    int Pieces = 0;
};

namespace detail {

struct TMm {
    double X, Y;
};

// Sum of squared distances and sample count of one border.
inline void MeasurePiece(const std::vector<TMm>& piece, bool closed, double& sum, long& count,
                         double& length) {
    constexpr double Step = 0.02, Sigma = 0.25;
    std::vector<TMm> s;
    double carry = 0;
    s.push_back(piece.front());
    for (std::size_t i = 0; i + 1 < piece.size(); ++i) {
        const TMm a = piece[i], b = piece[i + 1];
        const double len = std::hypot(b.X - a.X, b.Y - a.Y);
        length += len;
        double t = Step - carry;
        while (t <= len) {
            s.push_back({a.X + (b.X - a.X) * t / len, a.Y + (b.Y - a.Y) * t / len});
            t += Step;
        }
        carry = len - (t - Step);
    }
    if (!closed) s.push_back(piece.back());
    const int n = static_cast<int>(s.size());
    if (n < 3) return;
    const double sigma = Sigma / Step;
    const int radius = static_cast<int>(std::ceil(3 * sigma));
    std::vector<double> k(static_cast<std::size_t>(2 * radius + 1));
    double ks = 0;
    for (int i = -radius; i <= radius; ++i)
        ks += k[static_cast<std::size_t>(i + radius)] = std::exp(-i * i / (2 * sigma * sigma));
    auto at = [&](int j) {
        if (closed) return s[static_cast<std::size_t>(((j % n) + n) % n)];
        double sign = 1, ox = 0, oy = 0;
        while (j < 0 || j > n - 1) {
            const TMm e = j < 0 ? s.front() : s.back();
            j = j < 0 ? -j : 2 * (n - 1) - j;
            ox += sign * 2 * e.X;
            oy += sign * 2 * e.Y;
            sign = -sign;
        }
        return TMm{ox + sign * s[static_cast<std::size_t>(j)].X,
                   oy + sign * s[static_cast<std::size_t>(j)].Y};
    };
    for (int i = 0; i < n; ++i) {
        double x = 0, y = 0;
        for (int d = -radius; d <= radius; ++d) {
            const TMm p = at(i + d);
            x += k[static_cast<std::size_t>(d + radius)] * p.X;
            y += k[static_cast<std::size_t>(d + radius)] * p.Y;
        }
        x /= ks;
        y /= ks;
        const double dx = x - s[static_cast<std::size_t>(i)].X,
                     dy = y - s[static_cast<std::size_t>(i)].Y;
        sum += dx * dx + dy * dy;
        ++count;
    }
}

} // namespace detail

// `mmX`, `mmY`: millimetres a painting pixel covers on paper.
inline TRoughness OutlineRoughness(const TShapeList& shapes, double mmX, double mmY) {
    const std::int32_t w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    auto onEdge = [&](TShapePoint p) { return p.X <= 0 || p.Y <= 0 || p.X >= w || p.Y >= h; };
    // Junctions from the painting as drawn: pixel corners where three colours meet, or two
    // meet crosswise; an outline vertex within two pixels of one ends a border.
    const TRaster24 drawn = RenderPainting(shapes, 1.0);
    const int dw = drawn.Width(), dh = drawn.Height();
    std::vector<std::uint8_t> near(static_cast<std::size_t>(dw + 1) * (dh + 1), 0);
    for (int y = 1; y < dh; ++y)
        for (int x = 1; x < dw; ++x) {
            const TColor a = drawn.GetPixel(x - 1, y - 1), b = drawn.GetPixel(x, y - 1),
                         c = drawn.GetPixel(x - 1, y), d = drawn.GetPixel(x, y);
            int distinct = 1 + (b != a) + (c != a && c != b) + (d != a && d != b && d != c);
            const bool crosswise = a == d && b == c && a != b;
            if (distinct < 3 && !crosswise) continue;
            for (int yy = std::max(0, y - 2); yy <= std::min(dh, y + 2); ++yy)
                for (int xx = std::max(0, x - 2); xx <= std::min(dw, x + 2); ++xx)
                    near[static_cast<std::size_t>(yy) * (dw + 1) + xx] = 1;
        }
    auto junctionAt = [&](const std::vector<TShapePoint>& pts, std::size_t i) {
        const TShapePoint p = pts[i];
        if (p.X < 0 || p.Y < 0 || p.X > dw || p.Y > dh) return false;
        if (near[static_cast<std::size_t>(p.Y) * (dw + 1) + p.X]) return true;
        // Where a border meets the picture's edge.
        const std::size_t n = pts.size();
        return onEdge(p) && !(onEdge(pts[(i + n - 1) % n]) && onEdge(pts[(i + 1) % n]));
    };
    double sum = 0, length = 0;
    long count = 0;
    int borders = 0;
    auto mm = [&](TShapePoint p) { return detail::TMm{p.X * mmX, p.Y * mmY}; };
    for (const TPaintShape& s : shapes) {
        if (&s == shapes.First() || s.Points.size() < 3) continue;
        const std::vector<TShapePoint>& pts = s.Points;
        const std::size_t n = pts.size();
        std::size_t start = n;
        std::vector<bool> split(n);
        for (std::size_t i = 0; i < n; ++i)
            split[i] = junctionAt(pts, i);
        for (std::size_t i = 0; i < n && start == n; ++i)
            if (split[i]) start = i;
        if (start == n) {
            std::vector<detail::TMm> piece;
            for (const TShapePoint& p : pts)
                piece.push_back(mm(p));
            piece.push_back(piece.front());
            detail::MeasurePiece(piece, true, sum, count, length);
            ++borders;
            continue;
        }
        std::vector<TShapePoint> piece{pts[start]};
        for (std::size_t k = 1; k <= n; ++k) {
            const TShapePoint p = pts[(start + k) % n];
            piece.push_back(p);
            if (!split[(start + k) % n]) continue;
            const bool edge = std::all_of(piece.begin(), piece.end(), onEdge);
            if (!edge && piece.size() >= 2) {
                std::vector<detail::TMm> m;
                for (const TShapePoint& q : piece)
                    m.push_back(mm(q));
                detail::MeasurePiece(m, false, sum, count, length);
                ++borders;
            }
            piece = {p};
        }
    }
    TRoughness r;
    r.RmsUm = count ? 1000 * std::sqrt(sum / static_cast<double>(count)) : 0;
    r.LengthMm = length;
    r.Pieces = borders;
    return r;
}

} // namespace pigmentaria::bench
