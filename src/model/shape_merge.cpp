#include "model/shape_merge.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_map>
#include <utility>

namespace pigmentaria {

namespace {

// One directed edge of an outline. A border two shapes share is the same edges walked the other
// way: the edge from p to q in one outline is the edge from q to p in the other.
struct TEdgeKey {
    TShapePoint From, To;
    friend bool operator==(const TEdgeKey&, const TEdgeKey&) = default;
};

struct TEdgeHash {
    std::size_t operator()(const TEdgeKey& e) const noexcept {
        const auto pack = [](TShapePoint p) {
            return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(p.X)) << 32) |
                   static_cast<std::uint32_t>(p.Y);
        };
        std::uint64_t h = pack(e.From) * 0x9E3779B97F4A7C15ull;
        h ^= pack(e.To) + 0x7F4A7C159E3779B9ull + (h << 6) + (h >> 2);
        return static_cast<std::size_t>(h ^ (h >> 29));
    }
};

using TEdgeOwners = std::unordered_map<TEdgeKey, TPaintShape*, TEdgeHash>;

TShapePoint Following(const std::vector<TShapePoint>& p, std::size_t i) {
    return p[i + 1 < p.size() ? i + 1 : 0];
}

double EdgeLength(TShapePoint a, TShapePoint b) {
    return std::hypot(static_cast<double>(b.X) - a.X, static_cast<double>(b.Y) - a.Y);
}

void AddEdges(TEdgeOwners& edges, TPaintShape& s) {
    for (std::size_t i = 0; i < s.Points.size(); ++i)
        edges.emplace(TEdgeKey{s.Points[i], Following(s.Points, i)}, &s);
}

// The shape other than `s` whose outline walks the edge from q to p, or null.
TPaintShape* OtherSide(const TEdgeOwners& edges, const TPaintShape& s, TShapePoint p,
                       TShapePoint q) {
    const auto it = edges.find({q, p});
    return it == edges.end() || it->second == &s ? nullptr : it->second;
}

struct TBounds {
    std::int32_t Left, Top, Right, Bottom;
};

TBounds BoundsOf(const TPaintShape& s) {
    return {s.Left, s.Top, s.Right, s.Bottom};
}

TBounds BoundsOf(const std::vector<TShapePoint>& points) {
    TBounds b{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const TShapePoint& p : points) {
        b.Left = std::min(b.Left, p.X);
        b.Top = std::min(b.Top, p.Y);
        b.Right = std::max(b.Right, p.X);
        b.Bottom = std::max(b.Bottom, p.Y);
    }
    return b;
}

bool BoundsHold(const TBounds& outer, const TBounds& inner) {
    return outer.Left <= inner.Left && inner.Right <= outer.Right && outer.Top <= inner.Top &&
           inner.Bottom <= outer.Bottom;
}

bool BoundsMeet(const TBounds& a, const TBounds& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

// Where a point given at twice its coordinates lies against a polygon: 1 inside, -1 outside, 0
// on its outline. Exact, in whole numbers.
int Where(const std::vector<TShapePoint>& poly, std::int64_t px, std::int64_t py) {
    bool inside = false;
    const std::size_t n = poly.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
        const std::int64_t xi = 2 * std::int64_t(poly[i].X), yi = 2 * std::int64_t(poly[i].Y);
        const std::int64_t xj = 2 * std::int64_t(poly[j].X), yj = 2 * std::int64_t(poly[j].Y);
        const std::int64_t cross = (xj - xi) * (py - yi) - (yj - yi) * (px - xi);
        if (cross == 0 && std::min(xi, xj) <= px && px <= std::max(xi, xj) &&
            std::min(yi, yj) <= py && py <= std::max(yi, yj))
            return 0;
        if ((yi > py) != (yj > py)) {
            // The edge crosses the point's row right of the point.
            const std::int64_t lhs = (px - xi) * (yj - yi), rhs = (py - yi) * (xj - xi);
            if (yj > yi ? lhs < rhs : lhs > rhs) inside = !inside;
        }
    }
    return inside ? 1 : -1;
}

// Whether the polygon's area holds the shape. Shapes of the painting never cross each other's
// outlines, so one vertex (or edge midpoint) off the polygon's outline decides; a shape whose
// outline is all on the polygon's fills it exactly, as a shape fills the pocket around it.
bool Holds(const std::vector<TShapePoint>& poly, const TPaintShape& s) {
    if (poly.size() < 3) return false;
    for (const TShapePoint& p : s.Points)
        if (const int w = Where(poly, 2 * std::int64_t(p.X), 2 * std::int64_t(p.Y)); w != 0)
            return w > 0;
    for (std::size_t i = 0; i < s.Points.size(); ++i) {
        const TShapePoint p = s.Points[i], q = Following(s.Points, i);
        if (const int w = Where(poly, std::int64_t(p.X) + q.X, std::int64_t(p.Y) + q.Y); w != 0)
            return w > 0;
    }
    return !s.Points.empty();
}

bool Holds(const TPaintShape& outer, const TPaintShape& inner) {
    return BoundsHold(BoundsOf(outer), BoundsOf(inner)) && Holds(outer.Points, inner);
}

// The shape whose hole `s` lies in, as the painting is drawn: the last one before it whose area
// holds it; the frame when there is none.
TPaintShape* Container(const TShapeList& shapes, const TPaintShape& s) {
    TPaintShape* frame = shapes.First();
    for (TPaintShape* y = s.Prev; y && y != frame; y = y->Prev)
        if (Holds(*y, s)) return y;
    return frame;
}

bool Before(const TPaintShape& a, const TPaintShape& b) {
    for (const TPaintShape* s = a.Next; s; s = s->Next)
        if (s == &b) return true;
    return false;
}

std::int64_t TwiceArea(const std::vector<TShapePoint>& p) {
    std::int64_t a = 0;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const TShapePoint u = p[i], v = Following(p, i);
        a += std::int64_t(u.X) * v.Y - std::int64_t(v.X) * u.Y;
    }
    return a;
}

// The outline around two shapes side by side: their edges without the ones they share. Its
// outer loop runs clockwise on screen like every outline; loops the other way round are pockets
// the two enclose between them.
struct TUnion {
    std::vector<TShapePoint> Outline;
    std::vector<std::vector<TShapePoint>> Pockets;
};

std::optional<TUnion> Unite(const std::vector<TShapePoint>& a, const std::vector<TShapePoint>& b) {
    if (a.size() < 3 || b.size() < 3) return std::nullopt;
    const std::vector<TShapePoint>* pts[2] = {&a, &b};
    std::vector<std::ptrdiff_t> match[2] = {std::vector<std::ptrdiff_t>(a.size(), -1),
                                            std::vector<std::ptrdiff_t>(b.size(), -1)};
    std::unordered_map<TEdgeKey, std::size_t, TEdgeHash> edgesOfB;
    for (std::size_t j = 0; j < b.size(); ++j)
        edgesOfB.emplace(TEdgeKey{b[j], Following(b, j)}, j);
    bool shared = false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto it = edgesOfB.find({Following(a, i), a[i]});
        if (it == edgesOfB.end() || match[1][it->second] >= 0) continue;
        match[0][i] = static_cast<std::ptrdiff_t>(it->second);
        match[1][it->second] = static_cast<std::ptrdiff_t>(i);
        shared = true;
    }
    if (!shared) return std::nullopt;

    // Each loop follows one outline and passes over to the other wherever a shared edge would
    // come next, at the vertex both have there.
    std::vector<char> used[2] = {std::vector<char>(a.size(), 0), std::vector<char>(b.size(), 0)};
    std::vector<std::vector<TShapePoint>> loops;
    const std::size_t guard = a.size() + b.size();
    for (int side = 0; side < 2; ++side)
        for (std::size_t start = 0; start < pts[side]->size(); ++start) {
            if (match[side][start] >= 0 || used[side][start]) continue;
            std::vector<TShapePoint> loop;
            int s = side;
            std::size_t k = start;
            while (!used[s][k]) {
                used[s][k] = 1;
                loop.push_back((*pts[s])[k]);
                std::size_t next = k + 1 < pts[s]->size() ? k + 1 : 0;
                for (std::size_t hops = 0; match[s][next] >= 0; ++hops) {
                    if (hops > guard) return std::nullopt;
                    const auto j = static_cast<std::size_t>(match[s][next]);
                    s = 1 - s;
                    next = j + 1 < pts[s]->size() ? j + 1 : 0;
                }
                k = next;
            }
            // A walk that closes anywhere but where it began is a tangle, not an outline.
            if (s != side || k != start) return std::nullopt;
            loops.push_back(std::move(loop));
        }

    TUnion u;
    int outer = 0;
    for (std::vector<TShapePoint>& loop : loops) {
        const std::int64_t area = TwiceArea(loop);
        if (area > 0) {
            ++outer;
            u.Outline = std::move(loop);
        } else if (area < 0) {
            u.Pockets.push_back(std::move(loop));
        }
        // A loop without area (a line out and back) encloses nothing and is dropped.
    }
    if (outer != 1 || u.Outline.size() < 3) return std::nullopt;
    return u;
}

// `removed` joins `kept` side by side: the outline around both, drawn where `kept` is. What lies
// in their pockets, and what lies in the holes of `removed` when it was drawn first, is drawn
// after it.
TShapeMerge SideBySide(const TShapeList& shapes, TPaintShape& kept, TPaintShape& removed,
                       TColor color, TColor acquired, TUnion u) {
    TShapeMerge m;
    m.Kept = &kept;
    m.Removed = &removed;
    m.Color = color;
    m.AcquiredColor = acquired;
    std::vector<TBounds> pocketBounds;
    for (const auto& p : u.Pockets)
        pocketBounds.push_back(BoundsOf(p));
    bool pastRemoved = false;
    for (TPaintShape* s = shapes.First()->Next; s && s != &kept; s = s->Next) {
        if (s == &removed) {
            pastRemoved = true;
            continue;
        }
        bool raise = pastRemoved && Holds(removed, *s);
        for (std::size_t i = 0; !raise && i < u.Pockets.size(); ++i)
            raise = BoundsHold(pocketBounds[i], BoundsOf(*s)) && Holds(u.Pockets[i], *s);
        if (raise) m.Raised.push_back(s);
    }
    m.Outline = std::move(u.Outline);
    return m;
}

// Touching pairs of one colour, the one drawn first first, in list order.
std::vector<std::pair<TPaintShape*, TPaintShape*>>
TouchingPairsOfOneColour(const TShapeList& shapes) {
    std::vector<std::pair<TPaintShape*, TPaintShape*>> pairs;
    TPaintShape* frame = shapes.First();
    if (!frame) return pairs;
    TEdgeOwners edges;
    std::unordered_map<const TPaintShape*, std::size_t> order;
    for (TPaintShape* s = frame->Next; s; s = s->Next) {
        order.emplace(s, order.size());
        AddEdges(edges, *s);
    }
    const std::int32_t w = shapes.PaintingWidth(), h = shapes.PaintingHeight();
    for (TPaintShape* s = frame->Next; s; s = s->Next) {
        bool open = false;
        for (std::size_t i = 0; i < s->Points.size(); ++i) {
            TPaintShape* t = OtherSide(edges, *s, s->Points[i], Following(s->Points, i));
            if (!t)
                open = true;
            else if (t->Color == s->Color && order[s] < order[t])
                pairs.emplace_back(s, t);
        }
        // An outline on the picture's edge lies in no shape's hole.
        const bool onEdge = s->Left <= 0 || s->Top <= 0 || s->Right >= w || s->Bottom >= h;
        if (!open || onEdge) continue;
        TPaintShape* c = Container(shapes, *s);
        if (c != frame && c->Color == s->Color) pairs.emplace_back(c, s);
    }
    std::sort(pairs.begin(), pairs.end(), [&](const auto& x, const auto& y) {
        return std::pair(order[x.first], order[x.second]) <
               std::pair(order[y.first], order[y.second]);
    });
    pairs.erase(std::unique(pairs.begin(), pairs.end()), pairs.end());
    return pairs;
}

} // namespace

std::vector<TShapeNeighbour> ShapeNeighbours(const TShapeList& shapes, const TPaintShape& shape) {
    TPaintShape* frame = shapes.First();
    if (!frame || &shape == frame || shape.Points.size() < 3) return {};
    // Only shapes whose bounds meet the shape's can share a border with it or lie in its hole,
    // and the neighbours of those in its hole are among them too.
    const TBounds bounds = BoundsOf(shape);
    TEdgeOwners edges;
    std::vector<TPaintShape*> near;
    for (TPaintShape* s = frame->Next; s; s = s->Next)
        if (BoundsMeet(BoundsOf(*s), bounds)) {
            near.push_back(s);
            AddEdges(edges, *s);
        }
    std::unordered_map<const TPaintShape*, double> length;
    // Side by side, and where its outline is no other shape's, the shape whose hole it lies in.
    double open = 0;
    for (std::size_t i = 0; i < shape.Points.size(); ++i) {
        const TShapePoint p = shape.Points[i], q = Following(shape.Points, i);
        if (TPaintShape* t = OtherSide(edges, shape, p, q))
            length[t] += EdgeLength(p, q);
        else
            open += EdgeLength(p, q);
    }
    if (open > 0)
        if (TPaintShape* c = Container(shapes, shape); c != frame) length[c] += open;
    // The shapes in its hole that touch it: where their outlines are no other shape's.
    bool past = false;
    for (TPaintShape* s : near) {
        if (s == &shape) {
            past = true;
            continue;
        }
        if (!past || !BoundsHold(bounds, BoundsOf(*s))) continue;
        double free = 0;
        for (std::size_t i = 0; i < s->Points.size(); ++i) {
            const TShapePoint p = s->Points[i], q = Following(s->Points, i);
            if (!OtherSide(edges, *s, p, q)) free += EdgeLength(p, q);
        }
        if (free > 0 && Container(shapes, *s) == &shape) length[s] += free;
    }
    std::vector<TShapeNeighbour> out;
    for (TPaintShape* s = frame->Next; s; s = s->Next)
        if (const auto it = length.find(s); it != length.end()) out.push_back({s, it->second});
    return out;
}

std::optional<TShapeMerge> PlanCellMerge(const TShapeList& shapes, TPaintShape& cell) {
    std::vector<TShapeNeighbour> neighbours = ShapeNeighbours(shapes, cell);
    // Longest border first; on a tie the one drawn first, as listed.
    std::stable_sort(neighbours.begin(), neighbours.end(),
                     [](const TShapeNeighbour& x, const TShapeNeighbour& y) {
                         return x.BorderLength > y.BorderLength;
                     });
    for (const TShapeNeighbour& nb : neighbours) {
        TPaintShape& n = *nb.Shape;
        if (auto u = Unite(n.Points, cell.Points))
            return SideBySide(shapes, n, cell, n.Color, n.AcquiredColor, std::move(*u));
        TShapeMerge m;
        m.Color = n.Color;
        m.AcquiredColor = n.AcquiredColor;
        if (Container(shapes, cell) == &n) {
            // The neighbour's area already covers the cell's.
            m.Kept = &n;
            m.Removed = &cell;
            return m;
        }
        if (Container(shapes, n) == &cell) {
            // The cell's area covers the neighbour's: it takes the neighbour's colours.
            m.Kept = &cell;
            m.Removed = &n;
            return m;
        }
    }
    return std::nullopt;
}

std::optional<TShapeMerge> PlanPairMerge(const TShapeList& shapes, TPaintShape& a, TPaintShape& b) {
    const TPaintShape* frame = shapes.First();
    if (&a == &b || &a == frame || &b == frame) return std::nullopt;
    TPaintShape& first = Before(a, b) ? a : b;
    TPaintShape& second = &first == &a ? b : a;
    if (auto u = Unite(first.Points, second.Points))
        return SideBySide(shapes, first, second, first.Color, first.AcquiredColor, std::move(*u));
    if (!Holds(first, second)) return std::nullopt;
    TShapeMerge m;
    m.Kept = &first;
    m.Removed = &second;
    m.Color = first.Color;
    m.AcquiredColor = first.AcquiredColor;
    return m;
}

TShapePtr ApplyMerge(TShapeList& shapes, const TShapeMerge& merge) {
    TShapePtr removed = shapes.Unlink(merge.Removed);
    TPaintShape& kept = *merge.Kept;
    kept.Color = merge.Color;
    kept.AcquiredColor = merge.AcquiredColor;
    if (merge.Outline) {
        kept.Points = *merge.Outline;
        kept.RecomputeBounds();
    }
    // Each one right after the kept shape, the last first, so that they keep their order.
    for (auto it = merge.Raised.rbegin(); it != merge.Raised.rend(); ++it) {
        TShapePtr s = shapes.Unlink(*it);
        s->Prev = &kept;
        s->Next = kept.Next;
        shapes.Relink(std::move(s));
    }
    return removed;
}

TShapePtr MergeCell(TShapeList& shapes, TPaintShape& cell, const TMergeWatch& watch) {
    const std::optional<TShapeMerge> plan = PlanCellMerge(shapes, cell);
    if (!plan) return nullptr;
    if (watch) watch(*plan);
    return ApplyMerge(shapes, *plan);
}

std::vector<TShapePtr> MergeTouchingShapesOfOneColour(TShapeList& shapes,
                                                      const TMergeWatch& watch) {
    std::vector<TShapePtr> removed;
    // Where each removed shape went, so that pairs found before a merge still find their shapes.
    std::unordered_map<const TPaintShape*, TPaintShape*> into;
    const auto now = [&into](TPaintShape* s) {
        for (auto it = into.find(s); it != into.end(); it = into.find(s))
            s = it->second;
        return s;
    };
    for (;;) {
        bool merged = false;
        for (auto [a, b] : TouchingPairsOfOneColour(shapes)) {
            a = now(a);
            b = now(b);
            if (a == b || a->Color != b->Color) continue;
            const std::optional<TShapeMerge> plan = PlanPairMerge(shapes, *a, *b);
            if (!plan) continue;
            if (watch) watch(*plan);
            into[plan->Removed] = plan->Kept;
            removed.push_back(ApplyMerge(shapes, *plan));
            merged = true;
        }
        if (!merged) break;
    }
    return removed;
}

} // namespace pigmentaria
