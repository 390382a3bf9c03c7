#include "convert/shared_borders.h"

#include "model/render.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <numeric>

namespace pigmentaria {

namespace {

// Steps from a pixel corner: 0 east, 1 south, 2 west, 3 north (y downwards).
constexpr int StepX[4] = {1, 0, -1, 0};
constexpr int StepY[4] = {0, 1, 0, -1};

constexpr std::uint32_t Unassigned = 0xFFFFFFFF;

// The crack edges between pixels and the labels on either side, over one region map.
class TCracks {
public:
    explicit TCracks(const TRegionMap& m) : M_(m), W_(m.Width), H_(m.Height) {}

    std::uint32_t Label(int x, int y) const {
        return x < 0 || y < 0 || x >= W_ || y >= H_ ? OutsideRegion : M_.At(x, y);
    }
    // The pixels on the right and left of the edge leaving corner (x, y) in direction d.
    std::uint32_t RightOf(int x, int y, int d) const {
        static constexpr int Dx[4] = {0, -1, -1, 0}, Dy[4] = {0, 0, -1, -1};
        return Label(x + Dx[d], y + Dy[d]);
    }
    std::uint32_t LeftOf(int x, int y, int d) const {
        static constexpr int Dx[4] = {0, 0, -1, -1}, Dy[4] = {-1, 0, 0, -1};
        return Label(x + Dx[d], y + Dy[d]);
    }
    bool Exists(int x, int y, int d) const {
        return d == 0 ? x < W_ : d == 1 ? y < H_ : d == 2 ? x > 0 : y > 0;
    }
    bool IsBorder(int x, int y, int d) const {
        return Exists(x, y, d) && RightOf(x, y, d) != LeftOf(x, y, d);
    }
    // Horizontal edges (x, y)-(x + 1, y) first, then vertical ones (x, y)-(x, y + 1).
    std::size_t EdgeCount() const {
        return static_cast<std::size_t>(W_) * (H_ + 1) + static_cast<std::size_t>(W_ + 1) * H_;
    }
    std::size_t Edge(int x, int y, int d) const {
        switch (d) {
        case 0:
            return static_cast<std::size_t>(y) * W_ + x;
        case 2:
            return static_cast<std::size_t>(y) * W_ + (x - 1);
        case 1:
            return Vertical(x, y);
        default:
            return Vertical(x, y - 1);
        }
    }

private:
    std::size_t Vertical(int x, int y) const {
        return static_cast<std::size_t>(W_) * (H_ + 1) + static_cast<std::size_t>(y) * (W_ + 1) + x;
    }
    const TRegionMap& M_;
    int W_, H_;
};

struct TPointD {
    double X = 0, Y = 0;
};

// Plain Euclidean length: the coordinates are small, so std::hypot's care is not needed here.
double Length(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
}

double SegmentDistance(TPointD p, TPointD a, TPointD b) {
    const double dx = b.X - a.X, dy = b.Y - a.Y;
    const double len = dx * dx + dy * dy;
    double t = len > 0 ? ((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len : 0;
    t = std::clamp(t, 0.0, 1.0);
    return Length(p.X - (a.X + t * dx), p.Y - (a.Y + t * dy));
}

// Douglas–Peucker: the points kept so that no point of the curve is farther than `tolerance`
// from the polyline through them; both ends kept.
std::vector<TPointD> Simplify(const std::vector<TPointD>& curve, double tolerance) {
    const std::size_t n = curve.size();
    if (n <= 2) return curve;
    std::vector<bool> keep(n, false);
    keep[0] = keep[n - 1] = true;
    std::vector<std::pair<std::size_t, std::size_t>> stack{{0, n - 1}};
    while (!stack.empty()) {
        const auto [a, b] = stack.back();
        stack.pop_back();
        double worst = -1;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double dist = SegmentDistance(curve[i], curve[a], curve[b]);
            if (dist > worst) worst = dist, at = i;
        }
        if (at != a && worst > tolerance) {
            keep[at] = true;
            stack.push_back({a, at});
            stack.push_back({at, b});
        }
    }
    std::vector<TPointD> out;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(curve[i]);
    return out;
}

std::vector<double> GaussianKernel(double sigma) {
    const int radius = std::max(1, static_cast<int>(std::ceil(3 * sigma)));
    std::vector<double> k(static_cast<std::size_t>(2 * radius + 1));
    double sum = 0;
    for (int i = -radius; i <= radius; ++i)
        sum += k[static_cast<std::size_t>(i + radius)] = std::exp(-i * i / (2 * sigma * sigma));
    for (double& v : k)
        v /= sum;
    return k;
}

// The midpoints of a border's crack edges, which already lie on the line a staircase follows;
// an open border keeps its two end corners, a loop ends on its first midpoint.
std::vector<TPointD> Midpoints(const TBorder& border) {
    const std::vector<TShapePoint>& c = border.Corners;
    std::vector<TPointD> base;
    if (!border.Loop) base.push_back({double(c.front().X), double(c.front().Y)});
    for (std::size_t i = 0; i + 1 < c.size(); ++i)
        base.push_back({(c[i].X + c[i + 1].X) / 2.0, (c[i].Y + c[i + 1].Y) / 2.0});
    // A loop comes back to its first point.
    base.push_back(border.Loop ? base.front() : TPointD{double(c.back().X), double(c.back().Y)});
    return base;
}

// Points every `step` along a polyline; a loop's polyline ends where it starts, and its points
// leave that end off.
std::vector<TPointD> Resample(const std::vector<TPointD>& line, double step, bool loop) {
    std::vector<TPointD> out{line.front()};
    double carry = 0;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        const TPointD a = line[i], b = line[i + 1];
        const double len = Length(b.X - a.X, b.Y - a.Y);
        double t = step - carry;
        for (; t < len; t += step)
            out.push_back({a.X + (b.X - a.X) * t / len, a.Y + (b.Y - a.Y) * t / len});
        carry = len - (t - step);
    }
    if (!loop) {
        // The last point is the end itself; one too close before it goes.
        if (out.size() > 1 && carry < step / 2) out.pop_back();
        out.push_back(line.back());
    }
    return out;
}

// A Gaussian along the points. An open line is mirrored through each end point, so that both
// ends stay exactly where they are and the line leaves them straight; a loop wraps round and
// comes back closed.
std::vector<TPointD> Smooth(const std::vector<TPointD>& base, bool loop,
                            const std::vector<double>& kernel) {
    const int n = static_cast<int>(base.size());
    const int radius = static_cast<int>(kernel.size() / 2);
    const int last = n - 1;
    auto at = [&](int j) {
        if (loop) return base[static_cast<std::size_t>(((j % n) + n) % n)];
        // Odd reflection through the ends, repeated for a line shorter than the kernel.
        double sx = 1, ox = 0, oy = 0;
        while (j < 0 || j > last) {
            const TPointD& e = j < 0 ? base.front() : base.back();
            j = j < 0 ? -j : 2 * last - j;
            ox += sx * 2 * e.X;
            oy += sx * 2 * e.Y;
            sx = -sx;
        }
        const TPointD& p = base[static_cast<std::size_t>(j)];
        return TPointD{ox + sx * p.X, oy + sx * p.Y};
    };
    std::vector<TPointD> out(base.size());
    for (int i = 0; i < n; ++i) {
        TPointD s;
        for (int k = -radius; k <= radius; ++k) {
            const TPointD p = at(i + k);
            const double w = kernel[static_cast<std::size_t>(k + radius)];
            s.X += w * p.X;
            s.Y += w * p.Y;
        }
        out[static_cast<std::size_t>(i)] = s;
    }
    if (loop) {
        out.push_back(out.front());
    } else {
        out.front() = base.front();
        out.back() = base.back();
    }
    return out;
}

// The point of `raw` between its points `from` and `to` nearest to `p`.
TPointD NearestOn(const std::vector<TPointD>& raw, TPointD p, std::size_t from, std::size_t to) {
    TPointD best = raw[from];
    double bestD = 1e300;
    for (std::size_t i = from; i < to; ++i) {
        const TPointD a = raw[i], b = raw[i + 1];
        const double dx = b.X - a.X, dy = b.Y - a.Y, len = dx * dx + dy * dy;
        const double t =
            len > 0 ? std::clamp(((p.X - a.X) * dx + (p.Y - a.Y) * dy) / len, 0.0, 1.0) : 0;
        const TPointD q{a.X + t * dx, a.Y + t * dy};
        const double d = (q.X - p.X) * (q.X - p.X) + (q.Y - p.Y) * (q.Y - p.Y);
        if (d < bestD) bestD = d, best = q;
    }
    return best;
}

// The raw points a point drawn back to the pixel border may lie by: those within a few lengths.
std::size_t RawReach(const std::vector<TPointD>& raw, double length) {
    return std::min(raw.size() - 1, static_cast<std::size_t>(4 * length) + 8);
}

// Near its ends a smooth border goes back to the pixel border, so that it leaves a junction the
// way the pixels do: two borders that leave one junction close together would otherwise make a
// wedge too thin to draw, whose tip breaks into crumbs of pixels. Within `length` of an end each
// point is drawn towards the nearest point of `raw`, fully at the end.
void Taper(std::vector<TPointD>& curve, const std::vector<TPointD>& raw, double length) {
    if (curve.size() < 3 || raw.size() < 2) return;
    const std::size_t reach = RawReach(raw, length);
    auto taperFrom = [&](bool fromStart) {
        double s = 0;
        const std::size_t n = curve.size();
        for (std::size_t k = 1; k + 1 < n; ++k) {
            const std::size_t i = fromStart ? k : n - 1 - k;
            const std::size_t prev = fromStart ? i - 1 : i + 1;
            s += Length(curve[i].X - curve[prev].X, curve[i].Y - curve[prev].Y);
            if (s >= length) break;
            const TPointD q =
                fromStart ? NearestOn(raw, curve[i], 0, reach)
                          : NearestOn(raw, curve[i], raw.size() - 1 - reach, raw.size() - 1);
            const double w = s / length;
            curve[i] = {q.X + (curve[i].X - q.X) * w, q.Y + (curve[i].Y - q.Y) * w};
        }
    };
    taperFrom(true);
    taperFrom(false);
}

// Where a smooth border came too close to another one, it goes back to the pixel border there
// alone, as it does at its ends: within `length` along the curve of its point nearest to `at`,
// each point is drawn towards the nearest point of `raw`, fully at that point. The rest of the
// border keeps its smoothing.
void Hold(std::vector<TPointD>& curve, const std::vector<TPointD>& raw, bool loop, TPointD at,
          double length) {
    if (curve.size() < 3 || raw.size() < 2 || length <= 0) return;
    auto nearestIndex = [&](const std::vector<TPointD>& line) {
        std::size_t best = 0;
        double bestD = 1e300;
        for (std::size_t i = 0; i < line.size(); ++i) {
            const double d = Length(line[i].X - at.X, line[i].Y - at.Y);
            if (d < bestD) bestD = d, best = i;
        }
        return best;
    };
    const std::size_t centre = nearestIndex(curve), rawCentre = nearestIndex(raw);
    const std::size_t reach = RawReach(raw, length);
    const std::size_t from = rawCentre > reach ? rawCentre - reach : 0;
    const std::size_t to = std::min(raw.size() - 1, rawCentre + reach);
    // A loop's last point is its first; an open border's ends are held already.
    const std::size_t n = loop ? curve.size() - 1 : curve.size();
    auto pull = [&](std::size_t i, double s) {
        const TPointD q = NearestOn(raw, curve[i], from, to);
        const double w = s / length;
        curve[i] = {q.X + (curve[i].X - q.X) * w, q.Y + (curve[i].Y - q.Y) * w};
    };
    auto walk = [&](int direction) {
        double s = 0;
        std::size_t i = centre;
        for (std::size_t k = 1; k < n / 2; ++k) {
            const std::size_t prev = i;
            if (loop)
                i = (i + n + direction) % n;
            else if ((direction < 0 && i == 0) || (direction > 0 && i + 1 >= n))
                break;
            else
                i = direction > 0 ? i + 1 : i - 1;
            if (!loop && (i == 0 || i + 1 == n)) break;
            s += Length(curve[i].X - curve[prev].X, curve[i].Y - curve[prev].Y);
            if (s >= length) break;
            pull(i, s);
        }
    };
    // Each side stops short of half the points, so the two never meet; the centre goes last.
    walk(1);
    walk(-1);
    if (loop || (centre != 0 && centre + 1 != curve.size())) pull(centre, 0);
    if (loop) curve.back() = curve.front();
}

// Where rounding cut a corner deeply, the curve is drawn back to within `limit` of the pixel
// border it follows, so that no border strays far from the photo's edge. The nearest raw point
// is looked for near the one the previous point found: both run the same way.
void KeepNear(std::vector<TPointD>& curve, const std::vector<TPointD>& raw, double limit) {
    if (raw.size() < 2) return;
    const std::size_t window = 64;
    std::size_t at = 0;
    for (TPointD& p : curve) {
        const std::size_t from = at > window ? at - window : 0;
        const std::size_t to = std::min(raw.size() - 1, at + window);
        TPointD best = raw[from];
        double bestD2 = 1e300;
        for (std::size_t i = from; i < to; ++i) {
            const TPointD q = NearestOn(raw, p, i, i + 1);
            const double d2 = (q.X - p.X) * (q.X - p.X) + (q.Y - p.Y) * (q.Y - p.Y);
            if (d2 < bestD2) bestD2 = d2, best = q, at = i;
        }
        const double bestD = std::sqrt(bestD2);
        if (bestD > limit)
            p = {best.X + (p.X - best.X) * limit / bestD, best.Y + (p.Y - best.Y) * limit / bestD};
    }
}

// A border's smooth curve in region pixels: its staircase evened out, the wiggles smaller than
// the flattening tolerance dropped by keeping only the corners that matter, and those corners
// rounded off, then brought back to its pixel border near its ends and at `holds`. Each step
// moves the border by a fraction of a millimetre at most.
std::vector<TPointD> SmoothBorder(const TBorder& border, const TBorderSmoothing& smoothing,
                                  const std::vector<TPointD>& holds) {
    constexpr double Step = 0.5; // region pixels between the points a Gaussian runs over
    const double mm = smoothing.PixelMm > 0 ? smoothing.PixelMm : 0.2;
    const std::vector<TPointD> raw = Midpoints(border);
    std::vector<TPointD> curve = raw;
    if (smoothing.DestairMm > 0)
        curve = Smooth(Resample(curve, Step, border.Loop), border.Loop,
                       GaussianKernel(smoothing.DestairMm / mm / Step));
    if (smoothing.FlattenMm > 0) {
        if (border.Loop) {
            // A loop keeps its first point and the point farthest from it.
            std::size_t far = 0;
            double best = -1;
            for (std::size_t i = 0; i < curve.size(); ++i) {
                const double d = Length(curve[i].X - curve[0].X, curve[i].Y - curve[0].Y);
                if (d > best) best = d, far = i;
            }
            std::vector<TPointD> a(curve.begin(), curve.begin() + far + 1),
                b(curve.begin() + far, curve.end());
            a = Simplify(a, smoothing.FlattenMm / mm);
            b = Simplify(b, smoothing.FlattenMm / mm);
            a.insert(a.end(), b.begin() + 1, b.end());
            curve = std::move(a);
        } else {
            curve = Simplify(curve, smoothing.FlattenMm / mm);
        }
    }
    if (smoothing.RoundMm > 0) {
        curve = Smooth(Resample(curve, Step, border.Loop), border.Loop,
                       GaussianKernel(smoothing.RoundMm / mm / Step));
    }
    if (smoothing.MaxShiftMm > 0) KeepNear(curve, raw, smoothing.MaxShiftMm / mm);
    if (!border.Loop && smoothing.TaperMm > 0) Taper(curve, raw, smoothing.TaperMm / mm);
    for (const TPointD& at : holds)
        Hold(curve, raw, border.Loop, at, smoothing.TaperMm / mm);
    return curve;
}

TShapePoint Round(TPointD p) {
    return {static_cast<std::int32_t>(std::lround(p.X)),
            static_cast<std::int32_t>(std::lround(p.Y))};
}

} // namespace

TBorderGraph BuildBorderGraph(const TRegionMap& regions) {
    TBorderGraph g;
    const int w = regions.Width, h = regions.Height;
    g.Width = w;
    g.Height = h;
    g.Outlines.resize(regions.Count);
    if (w <= 0 || h <= 0) return g;
    const TCracks cracks(regions);

    // Corners where a border may end: three or more borders meet (a saddle of two regions
    // touching at a corner counts), and the picture's corners.
    const std::size_t cw = static_cast<std::size_t>(w) + 1;
    std::vector<std::uint8_t> junction(cw * (static_cast<std::size_t>(h) + 1), 0);
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x) {
            int degree = 0;
            for (int d = 0; d < 4; ++d)
                degree += cracks.IsBorder(x, y, d);
            const bool corner = (x == 0 || x == w) && (y == 0 || y == h);
            junction[static_cast<std::size_t>(y) * cw + x] = degree >= 3 || corner;
        }
    auto isJunction = [&](int x, int y) { return junction[static_cast<std::size_t>(y) * cw + x]; };

    std::vector<std::uint32_t> borderOf(cracks.EdgeCount(), Unassigned);
    std::vector<std::size_t> firstEdge, lastEdge;
    // Walks a border from a corner until a junction, or round to its start.
    auto walk = [&](int x, int y, int d, bool loop) {
        TBorder b;
        b.Loop = loop;
        b.Right = cracks.RightOf(x, y, d);
        b.Left = cracks.LeftOf(x, y, d);
        const std::uint32_t id = static_cast<std::uint32_t>(g.Borders.size());
        const int sx = x, sy = y;
        b.Corners.push_back({x, y});
        std::size_t edge = cracks.Edge(x, y, d);
        firstEdge.push_back(edge);
        for (;;) {
            edge = cracks.Edge(x, y, d);
            borderOf[edge] = id;
            x += StepX[d];
            y += StepY[d];
            b.Corners.push_back({x, y});
            if (loop ? x == sx && y == sy : isJunction(x, y)) break;
            const int back = (d + 2) % 4;
            for (int nd = 0; nd < 4; ++nd)
                if (nd != back && cracks.IsBorder(x, y, nd)) {
                    d = nd;
                    break;
                }
        }
        lastEdge.push_back(edge);
        g.Borders.push_back(std::move(b));
    };
    for (int y = 0; y <= h; ++y)
        for (int x = 0; x <= w; ++x)
            if (isJunction(x, y))
                for (int d = 0; d < 4; ++d)
                    if (cracks.IsBorder(x, y, d) && borderOf[cracks.Edge(x, y, d)] == Unassigned)
                        walk(x, y, d, false);
    // What is left are loops round a region inside another with no junction on them; the top
    // edge of their first pixel is a start.
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cracks.IsBorder(x, y, 0) && borderOf[cracks.Edge(x, y, 0)] == Unassigned)
                walk(x, y, 0, true);

    // Each region's outer outline, clockwise from the top edge of its first pixel, keeping the
    // region on the right; at a saddle it turns away from the diagonal, as 4-connection asks.
    std::uint32_t next = 0;
    for (int y = 0; y < h && next < regions.Count; ++y)
        for (int x = 0; x < w && next < regions.Count; ++x) {
            const std::uint32_t r = regions.At(x, y);
            if (r != next) continue;
            ++next;
            std::vector<TBorderUse>& uses = g.Outlines[r];
            int vx = x, vy = y, d = 0;
            do {
                const std::size_t e = cracks.Edge(vx, vy, d);
                const std::uint32_t id = borderOf[e];
                const TBorder& b = g.Borders[id];
                const TShapePoint v{vx, vy};
                if (e == firstEdge[id] && v == b.Corners.front())
                    uses.push_back({id, false});
                else if (e == lastEdge[id] && v == b.Corners.back())
                    uses.push_back({id, true});
                vx += StepX[d];
                vy += StepY[d];
                if (cracks.RightOf(vx, vy, d) != r)
                    d = (d + 1) % 4;
                else if (cracks.LeftOf(vx, vy, d) == r)
                    d = (d + 3) % 4;
            } while (!(vx == x && vy == y && d == 0));
        }
    return g;
}

namespace {

// One border fitted at the fine scale with the smoothing scaled by `strength`. At 0 its staircase
// is only cut at the corners, through the midpoints of its pixel edges, which stay inside the
// pixels at its turns and so meet no other border; below 0 it keeps its pixel steps.
std::vector<TShapePoint> FitBorder(const TBorder& b, const TBorderSmoothing& smoothing,
                                   double strength, const std::vector<TPointD>& holds) {
    const int scale = std::max(1, smoothing.Scale);
    TBorderSmoothing s = smoothing;
    s.DestairMm *= std::max(strength, 0.0);
    s.FlattenMm *= std::max(strength, 0.0);
    s.RoundMm *= std::max(strength, 0.0);
    const bool smooth = !b.OnPictureEdge() && (s.DestairMm > 0 || s.FlattenMm > 0 || s.RoundMm > 0);
    const bool chamfer = !b.OnPictureEdge() && !smooth && strength == 0 && scale % 2 == 0;
    std::vector<TPointD> curve;
    if (smooth) {
        curve = SmoothBorder(b, s, holds);
    } else if (chamfer) {
        curve = Midpoints(b);
    } else {
        for (const TShapePoint& c : b.Corners)
            curve.push_back({double(c.X), double(c.Y)});
    }
    for (TPointD& p : curve)
        p = {p.X * scale, p.Y * scale};
    curve = Simplify(curve, smooth ? smoothing.Tolerance : 0.0);
    std::vector<TShapePoint> fitted;
    for (const TPointD& p : curve) {
        const TShapePoint q = Round(p);
        if (fitted.empty() || !(fitted.back() == q)) fitted.push_back(q);
    }
    // Rounding may fold a tiny loop into one point; its ends stay separate.
    if (fitted.size() == 1) fitted.push_back(fitted.front());
    return fitted;
}

std::int64_t Cross(TShapePoint a, TShapePoint b, TShapePoint c) {
    return std::int64_t(b.X - a.X) * (c.Y - a.Y) - std::int64_t(b.Y - a.Y) * (c.X - a.X);
}

int Sign(std::int64_t v) {
    return (v > 0) - (v < 0);
}

bool OnSegment(TShapePoint a, TShapePoint b, TShapePoint p) {
    return std::min(a.X, b.X) <= p.X && p.X <= std::max(a.X, b.X) && std::min(a.Y, b.Y) <= p.Y &&
           p.Y <= std::max(a.Y, b.Y);
}

// Whether two segments meet anywhere but at one end they share and leave in two directions.
bool SegmentsMeet(TShapePoint a, TShapePoint b, TShapePoint c, TShapePoint d) {
    const bool ac = a == c, ad = a == d, bc = b == c, bd = b == d;
    if (ac + ad + bc + bd >= 2) return true;
    if (ac || ad || bc || bd) {
        const TShapePoint s = ac || ad ? a : b, p = ac || ad ? b : a, q = ac || bc ? d : c;
        return Cross(s, p, q) == 0 &&
               std::int64_t(p.X - s.X) * (q.X - s.X) + std::int64_t(p.Y - s.Y) * (q.Y - s.Y) > 0;
    }
    const int d1 = Sign(Cross(c, d, a)), d2 = Sign(Cross(c, d, b)), d3 = Sign(Cross(a, b, c)),
              d4 = Sign(Cross(a, b, d));
    if (d1 * d2 < 0 && d3 * d4 < 0) return true;
    return (d1 == 0 && OnSegment(c, d, a)) || (d2 == 0 && OnSegment(c, d, b)) ||
           (d3 == 0 && OnSegment(a, b, c)) || (d4 == 0 && OnSegment(a, b, d));
}

// Where each border's polyline meets another border, or itself, anywhere but at the ends they
// share (the middle of its segment there, at the fine scale): smoothing would open a gap or make
// an overlap there.
std::vector<std::vector<TPointD>>
MeetingBorders(const std::vector<std::vector<TShapePoint>>& fitted) {
    constexpr int Cell = 32;
    struct TEntry {
        std::uint64_t Key;
        std::uint32_t Border, Segment;
    };
    std::vector<TEntry> entries;
    for (std::uint32_t b = 0; b < fitted.size(); ++b)
        for (std::uint32_t i = 0; i + 1 < fitted[b].size(); ++i) {
            const TShapePoint p = fitted[b][i], q = fitted[b][i + 1];
            const int x0 = std::min(p.X, q.X) >> 5, x1 = std::max(p.X, q.X) >> 5;
            const int y0 = std::min(p.Y, q.Y) >> 5, y1 = std::max(p.Y, q.Y) >> 5;
            for (int y = y0; y <= y1; ++y)
                for (int x = x0; x <= x1; ++x)
                    entries.push_back(
                        {(std::uint64_t(std::uint32_t(y)) << 32) | std::uint32_t(x), b, i});
        }
    static_assert(Cell == 32);
    std::sort(entries.begin(), entries.end(),
              [](const TEntry& a, const TEntry& b) { return a.Key < b.Key; });
    std::vector<std::vector<TPointD>> meets(fitted.size());
    auto record = [&](std::uint32_t border, std::uint32_t segment) {
        const TShapePoint a = fitted[border][segment], b = fitted[border][segment + 1];
        const TPointD m{(a.X + b.X) / 2.0, (a.Y + b.Y) / 2.0};
        for (const TPointD& p : meets[border])
            if (std::abs(p.X - m.X) + std::abs(p.Y - m.Y) < 1) return;
        meets[border].push_back(m);
    };
    for (std::size_t lo = 0; lo < entries.size();) {
        std::size_t hi = lo;
        while (hi < entries.size() && entries[hi].Key == entries[lo].Key)
            ++hi;
        for (std::size_t i = lo; i < hi; ++i)
            for (std::size_t j = i + 1; j < hi; ++j) {
                const TEntry& e = entries[i];
                const TEntry& f = entries[j];
                if (e.Border == f.Border && (e.Segment + 1 == f.Segment ||
                                             f.Segment + 1 == e.Segment || e.Segment == f.Segment))
                    continue;
                const auto& u = fitted[e.Border];
                const auto& v = fitted[f.Border];
                if (SegmentsMeet(u[e.Segment], u[e.Segment + 1], v[f.Segment], v[f.Segment + 1])) {
                    record(e.Border, e.Segment);
                    record(f.Border, f.Segment);
                }
            }
        lo = hi;
    }
    return meets;
}

} // namespace

namespace {

constexpr double Strengths[] = {1.0, 0.5, 0.25, 0.0, -1.0};
constexpr int PixelSteps = 4; // the level of Strengths that keeps the pixel steps
// Places along one border held at its pixel border before the whole border is smoothed less.
constexpr std::size_t MaxHolds = 6;

// How each border is fitted: its level of smoothing, and the places (in region pixels) where it
// goes back to its pixel border.
struct TFitLevels {
    std::vector<int> Level;
    std::vector<std::vector<TPointD>> Holds;
    explicit TFitLevels(std::size_t borders) : Level(borders, 0), Holds(borders) {}

    // Asks for less smoothing of border `b` at `at`: held there, unless it is held there already
    // or at enough places, when the whole border is smoothed less. False when nothing is left to
    // ease.
    bool Ease(std::size_t b, TPointD at) {
        bool near = false;
        for (const TPointD& p : Holds[b])
            near = near || Length(p.X - at.X, p.Y - at.Y) < 1.5;
        if (!near && Holds[b].size() < MaxHolds && Level[b] < PixelSteps - 1) {
            Holds[b].push_back(at);
            return true;
        }
        if (Level[b] >= PixelSteps) return false;
        ++Level[b];
        return true;
    }
};

std::vector<TShapePoint> FitLevel(const TBorderGraph& graph, const TBorderSmoothing& smoothing,
                                  const TFitLevels& levels, std::size_t b) {
    return FitBorder(graph.Borders[b], smoothing, Strengths[levels.Level[b]], levels.Holds[b]);
}

// Fits every border at its level of smoothing. Where a smoothed border meets another (in a narrow
// neck, or where borders leave a junction close together), it and the border it meets go back to
// their pixel borders there, and if that is not enough are fitted again with less smoothing, down
// to their pixel steps, which never meet.
std::vector<std::vector<TShapePoint>>
FitAtLevels(const TBorderGraph& graph, const TBorderSmoothing& smoothing, TFitLevels& levels) {
    const double scale = std::max(1, smoothing.Scale);
    std::vector<std::vector<TShapePoint>> out;
    out.reserve(graph.Borders.size());
    for (std::size_t b = 0; b < graph.Borders.size(); ++b)
        out.push_back(FitLevel(graph, smoothing, levels, b));
    for (std::size_t round = 0; round < MaxHolds + PixelSteps + 1; ++round) {
        const std::vector<std::vector<TPointD>> meets = MeetingBorders(out);
        bool again = false;
        for (std::size_t b = 0; b < out.size(); ++b) {
            bool eased = false;
            for (const TPointD& m : meets[b])
                eased = levels.Ease(b, {m.X / scale, m.Y / scale}) || eased;
            if (!eased) continue;
            out[b] = FitLevel(graph, smoothing, levels, b);
            again = true;
        }
        if (!again) break;
    }
    return out;
}

} // namespace

std::vector<std::vector<TShapePoint>> FitBorders(const TBorderGraph& graph,
                                                 const TBorderSmoothing& smoothing) {
    TFitLevels levels(graph.Borders.size());
    return FitAtLevels(graph, smoothing, levels);
}

std::vector<TShapePoint> RegionOutline(const TBorderGraph& graph,
                                       const std::vector<std::vector<TShapePoint>>& fitted,
                                       std::uint32_t region) {
    std::vector<TShapePoint> out;
    for (const TBorderUse& use : graph.Outlines[region]) {
        const std::vector<TShapePoint>& f = fitted[use.Border];
        if (use.Reversed)
            out.insert(out.end(), f.rbegin(), f.rend() - 1);
        else
            out.insert(out.end(), f.begin(), f.end() - 1);
    }
    return out;
}

TTraceResult TraceSharedBorders(const TRaster24& reduced, const TRaster24& original,
                                const TBorderSmoothing& smoothing, IProgressSink& progress) {
    TProgressRun run(progress, TracingMessage, 0, 3);
    const TRegionMap map = LabelRegions(reduced);
    run.Step(1);
    const TBorderGraph graph = BuildBorderGraph(map);
    run.Step(2);
    run.Step(3);

    struct TRegionInfo {
        TColor Color = 0;
        std::uint64_t R = 0, G = 0, B = 0, Count = 0;
        int Left = 0, Top = 0, Right = -1, Bottom = -1;
    };
    std::vector<TRegionInfo> info(map.Count);
    const bool sameSize =
        original.Width() == reduced.Width() && original.Height() == reduced.Height();
    for (int y = 0; y < map.Height; ++y) {
        const std::uint8_t* o = sameSize ? original.Row(y) : nullptr;
        for (int x = 0; x < map.Width; ++x) {
            TRegionInfo& r = info[map.At(x, y)];
            if (r.Count == 0) {
                r.Color = reduced.GetPixel(x, y);
                r.Left = r.Right = x;
                r.Top = r.Bottom = y;
            }
            r.Left = std::min(r.Left, x);
            r.Right = std::max(r.Right, x);
            r.Bottom = y;
            ++r.Count;
            if (o) {
                r.B += o[0];
                r.G += o[1];
                r.R += o[2];
                o += 3;
            }
        }
    }
    std::vector<std::uint32_t> order(map.Count);
    std::iota(order.begin(), order.end(), 0u);
    auto boxArea = [&](std::uint32_t i) {
        return std::int64_t(info[i].Right - info[i].Left + 1) * (info[i].Bottom - info[i].Top + 1);
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::uint32_t a, std::uint32_t b) { return boxArea(a) > boxArea(b); });

    const int scale = std::max(1, smoothing.Scale);
    auto makeShapes = [&](const std::vector<std::vector<TShapePoint>>& fitted) {
        TShapeList shapes;
        shapes.Append(MakeFrameShape(map.Width * scale, map.Height * scale));
        for (std::uint32_t i : order) {
            const TRegionInfo& r = info[i];
            const TColor acquired = sameSize && r.Count
                                        ? static_cast<TColor>(r.R / r.Count) |
                                              (static_cast<TColor>(r.G / r.Count) << 8) |
                                              (static_cast<TColor>(r.B / r.Count) << 16)
                                        : r.Color;
            shapes.Append(MakeShape(r.Color, RegionOutline(graph, fitted, i), acquired));
        }
        return shapes;
    };

    // A drawn painting may still hold crumbs: the tip of a thin wedge where borders leave a
    // junction close together breaks off into a pixel or two when drawn. The borders round each
    // crumb go back to their pixel borders there, then are fitted again with less smoothing,
    // until none is left (at their pixel steps the regions come back whole). Crumbs are looked
    // for at two pixels a region pixel, as the template's cells are measured.
    TFitLevels levels(graph.Borders.size());
    std::vector<std::vector<TShapePoint>> fitted = FitAtLevels(graph, smoothing, levels);
    TTraceResult out;
    out.Shapes = makeShapes(fitted);
    struct TBox {
        int Left, Top, Right, Bottom;
    };
    std::vector<TBox> boxes;
    for (const TBorder& b : graph.Borders) {
        TBox box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
        for (const TShapePoint& c : b.Corners)
            box = {std::min(box.Left, c.X), std::min(box.Top, c.Y), std::max(box.Right, c.X),
                   std::max(box.Bottom, c.Y)};
        boxes.push_back(box);
    }
    constexpr int Reach = 3; // region pixels round a crumb whose borders are eased
    for (int round = 0; round <= PixelSteps; ++round) {
        const TRaster24 drawn = RenderPainting(out.Shapes, 2.0 / scale);
        const TRegionMap cells = LabelRegions(drawn);
        std::vector<std::int64_t> area(cells.Count, 0);
        std::vector<std::int32_t> firstX(cells.Count, -1), firstY(cells.Count, -1);
        for (int y = 0; y < cells.Height; ++y)
            for (int x = 0; x < cells.Width; ++x) {
                const std::uint32_t c = cells.At(x, y);
                if (area[c]++ == 0) firstX[c] = x, firstY[c] = y;
            }
        bool eased = false;
        for (std::uint32_t c = 0; c < cells.Count; ++c) {
            const int u = std::min(firstX[c] / 2, map.Width - 1),
                      v = std::min(firstY[c] / 2, map.Height - 1);
            // A cell is whole when it covers about as much as the region it lies on.
            if (area[c] * 2 >= static_cast<std::int64_t>(info[map.At(u, v)].Count) * 4) continue;
            for (std::size_t b = 0; b < boxes.size(); ++b) {
                const TBox& box = boxes[b];
                if (u + Reach < box.Left || u - Reach > box.Right || v + Reach < box.Top ||
                    v - Reach > box.Bottom)
                    continue;
                for (const TShapePoint& p : graph.Borders[b].Corners)
                    if (std::abs(p.X - u) <= Reach && std::abs(p.Y - v) <= Reach) {
                        eased = levels.Ease(b, {u + 0.5, v + 0.5}) || eased;
                        break;
                    }
            }
        }
        if (!eased) break;
        fitted = FitAtLevels(graph, smoothing, levels);
        out.Shapes = makeShapes(fitted);
    }
    out.ShapeCount = static_cast<int>(map.Count) + 1;
    return out;
}

} // namespace pigmentaria
