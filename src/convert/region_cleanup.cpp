#include "convert/region_cleanup.h"

#include "convert/regions.h"
#include "palette/color_science.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <queue>
#include <stdexcept>
#include <tuple>

namespace pigmentaria {

namespace {

constexpr std::uint32_t None = std::numeric_limits<std::uint32_t>::max();

struct TOffset {
    int Dx, Dy;
};

struct TBox {
    int MinX, MinY, MaxX, MaxY;
    void Extend(int x, int y) {
        MinX = std::min(MinX, x);
        MinY = std::min(MinY, y);
        MaxX = std::max(MaxX, x);
        MaxY = std::max(MaxY, y);
    }
    void Extend(const TBox& b) {
        MinX = std::min(MinX, b.MinX);
        MinY = std::min(MinY, b.MinY);
        MaxX = std::max(MaxX, b.MaxX);
        MaxY = std::max(MaxY, b.MaxY);
    }
};

class TCleanup {
public:
    TCleanup(TRaster24& reduced, const TRaster24& original, const TCleanupSettings& settings,
             IProgressSink& progress, std::vector<TRegionMerge>* log)
        : Reduced_(reduced), Original_(original), S_(settings), Progress_(progress), Log_(log) {}

    TCleanupResult Run() {
        TCleanupResult result;
        Map_ = LabelRegions(Reduced_);
        W_ = Map_.Width;
        H_ = Map_.Height;
        const std::uint32_t n = Map_.Count;
        result.RegionsBefore = result.RegionsAfter = n;
        if (n == 0) return result;
        // The bar counts merges; a region count past int's range is shown at its end.
        TProgressRun run(Progress_, CleanupMessage, 0,
                         static_cast<int>(std::min<std::uint32_t>(n, INT_MAX)));
        Init();
        // Nothing is written to the picture before the last report: stopping leaves it whole.
        run.Step(0);

        using TEntry = std::tuple<std::int64_t, std::uint32_t, std::uint32_t>; // area, number, root
        std::priority_queue<TEntry, std::vector<TEntry>, std::greater<>> queue;
        for (std::uint32_t r = 0; r < n; ++r)
            if (TooSmall(r)) queue.emplace(Area_[r], r, r);
        while (!queue.empty()) {
            const auto [area, number, r] = queue.top();
            queue.pop();
            // Stale entries: the region was merged away or grew since it was queued.
            if (Parent_[r] != r || Area_[r] != area || Number_[r] != number || !TooSmall(r))
                continue;
            const std::uint32_t into = ChooseNeighbour(r);
            if (into == None) continue;
            const std::uint32_t root = Merge(r, into);
            ++result.Merges;
            if (TooSmall(root)) queue.emplace(Area_[root], Number_[root], root);
            if ((result.Merges & 255) == 0)
                run.Step(static_cast<int>(std::min<std::uint32_t>(result.Merges, INT_MAX)));
        }
        run.Step(static_cast<int>(std::min<std::uint32_t>(n, INT_MAX)));
        Paint();
        result.RegionsAfter = n - result.Merges;
        return result;
    }

private:
    std::size_t Index(int x, int y) const {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(W_) +
               static_cast<std::size_t>(x);
    }

    std::uint32_t Find(std::uint32_t r) {
        while (Parent_[r] != r) {
            Parent_[r] = Parent_[Parent_[r]];
            r = Parent_[r];
        }
        return r;
    }
    std::uint32_t RootAt(std::size_t pixel) { return Find(Map_.Label[pixel]); }

    void Init() {
        const std::uint32_t n = Map_.Count;
        const std::size_t pixels = Map_.Label.size();
        Parent_.resize(n);
        for (std::uint32_t r = 0; r < n; ++r)
            Parent_[r] = r;
        Number_ = Parent_;
        Area_.assign(n, 0);
        Sum_.assign(static_cast<std::size_t>(n) * 3, 0);
        Color_.assign(n, 0);
        Head_.assign(n, None);
        Box_.assign(n, {INT32_MAX, INT32_MAX, -1, -1});
        Tail_.assign(n, None);
        Next_.assign(pixels, None);
        Edges_.resize(n);
        Acc_.assign(n, 0);
        AccRound_.assign(n, 0);
        LabValid_.assign(n, false);
        Lab_.resize(n);

        for (int y = 0; y < H_; ++y) {
            const std::uint8_t* o = Original_.Row(y);
            const std::uint8_t* c = Reduced_.Row(y);
            for (int x = 0; x < W_; ++x, o += 3, c += 3) {
                const std::size_t i = Index(x, y);
                const std::uint32_t r = Map_.Label[i];
                if (Area_[r]++ == 0) {
                    Head_[r] = static_cast<std::uint32_t>(i);
                    Color_[r] = c[2] | (TColor(c[1]) << 8) | (TColor(c[0]) << 16);
                } else {
                    Next_[Tail_[r]] = static_cast<std::uint32_t>(i);
                }
                Tail_[r] = static_cast<std::uint32_t>(i);
                Box_[r].Extend(x, y);
                Sum_[3 * r] += o[2];
                Sum_[3 * r + 1] += o[1];
                Sum_[3 * r + 2] += o[0];
                if (x + 1 < W_) AddBorder(r, Map_.Label[i + 1]);
                if (y + 1 < H_) AddBorder(r, Map_.Label[i + static_cast<std::size_t>(W_)]);
            }
        }

        Thick_.assign(n, true);
        if (S_.MinDiameter > 0) {
            Need_ = DistanceSquaredForDiameter(S_.MinDiameter);
            std::vector<std::int32_t> dist = RegionDistanceSquared(Map_);
            std::fill(Thick_.begin(), Thick_.end(), false);
            for (std::size_t i = 0; i < pixels; ++i) {
                if (dist[i] >= Need_) {
                    Thick_[Map_.Label[i]] = true;
                    dist[i] = Need_;
                }
            }
            Distance_ = std::move(dist);
            // Every offset nearer than the radius, nearest first; FirstAtLeast_[d] is the first
            // offset at squared distance d or more.
            Reach_ = static_cast<int>(std::sqrt(static_cast<double>(Need_))) + 1;
            for (int dy = -Reach_; dy <= Reach_; ++dy)
                for (int dx = -Reach_; dx <= Reach_; ++dx)
                    if (dx * dx + dy * dy < Need_) Disc_.push_back({dx, dy});
            std::stable_sort(Disc_.begin(), Disc_.end(), [](const TOffset& a, const TOffset& b) {
                return a.Dx * a.Dx + a.Dy * a.Dy < b.Dx * b.Dx + b.Dy * b.Dy;
            });
            FirstAtLeast_.assign(static_cast<std::size_t>(Need_) + 1, Disc_.size());
            for (std::size_t k = Disc_.size(); k-- > 0;) {
                const int d = Disc_[k].Dx * Disc_[k].Dx + Disc_[k].Dy * Disc_[k].Dy;
                for (int e = d; e >= 0 && FirstAtLeast_[static_cast<std::size_t>(e)] > k; --e)
                    FirstAtLeast_[static_cast<std::size_t>(e)] = k;
            }
            // Half the width of the disc in each row, for the neighbourhood of a border.
            for (int dy = -Reach_; dy <= Reach_; ++dy) {
                int half = -1;
                while ((half + 1) * (half + 1) + dy * dy < Need_)
                    ++half;
                HalfWidth_.push_back(half);
            }
            Stamp_.assign(pixels, 0);
            RowRound_.assign(static_cast<std::size_t>(H_), 0);
            RowLo_.assign(static_cast<std::size_t>(H_), 0);
            RowHi_.assign(static_cast<std::size_t>(H_), 0);
        }
    }

    void AddBorder(std::uint32_t a, std::uint32_t b) {
        if (a == b) return;
        Edges_[a].push_back({b, 1});
        Edges_[b].push_back({a, 1});
    }

    // Resolves a region's border entries to the current regions and adds up the entries of each
    // neighbour; entries inside the region (borders merged away) go.
    void Compact(std::uint32_t r) {
        ++AccCounter_;
        Touched_.clear();
        for (const TEdge& e : Edges_[r]) {
            const std::uint32_t c = Find(e.To);
            if (c == r) continue;
            if (AccRound_[c] != AccCounter_) {
                AccRound_[c] = AccCounter_;
                Acc_[c] = 0;
                Touched_.push_back(c);
            }
            Acc_[c] += e.Length;
        }
        std::vector<TEdge>& edges = Edges_[r];
        edges.clear();
        for (const std::uint32_t c : Touched_)
            edges.push_back({c, Acc_[c]});
    }

    bool TooSmall(std::uint32_t r) const { return Area_[r] < S_.MinArea || !Thick_[r]; }

    const TLab& MeanLab(std::uint32_t r) {
        if (!LabValid_[r]) {
            const double a = static_cast<double>(Area_[r]) * 255.0;
            Lab_[r] = LinearRgbToLab(SrgbToLinear(static_cast<double>(Sum_[3 * r]) / a),
                                     SrgbToLinear(static_cast<double>(Sum_[3 * r + 1]) / a),
                                     SrgbToLinear(static_cast<double>(Sum_[3 * r + 2]) / a));
            LabValid_[r] = true;
        }
        return Lab_[r];
    }

    // The neighbour sharing the longest border; then the nearest mean colour; then the lowest
    // number. The choice does not depend on the order the neighbours are stored in.
    std::uint32_t ChooseNeighbour(std::uint32_t r) {
        Compact(r);
        std::uint32_t longest = 0, ties = 0;
        for (const auto& [c, border] : Edges_[r]) {
            if (border > longest) {
                longest = border;
                ties = 0;
            }
            ties += border == longest;
        }
        std::uint32_t best = None;
        double bestDelta = 0;
        for (const auto& [c, border] : Edges_[r]) {
            if (border != longest) continue;
            if (ties == 1) return c;
            const double delta = DeltaE2000(MeanLab(r), MeanLab(c));
            if (best == None || delta < bestDelta ||
                (delta == bestDelta && Number_[c] < Number_[best])) {
                best = c;
                bestDelta = delta;
            }
        }
        return best;
    }

    // Merges region r into its neighbour `into`; returns the root of the merged region.
    std::uint32_t Merge(std::uint32_t r, std::uint32_t into) {
        const bool thick = Thick_[r] || Thick_[into] || HoldsCircleTogether(r, into);
        if (Log_) Log_->push_back({Number_[r], Number_[into], Area_[r]});

        // The region with more border entries stays the root, so that fewer entries move; the
        // neighbours' own entries name former regions and are resolved when they are next looked
        // at.
        const bool keepInto = Edges_[into].size() >= Edges_[r].size();
        const std::uint32_t root = keepInto ? into : r, gone = keepInto ? r : into;
        const TColor color = Color_[into];
        Parent_[gone] = root;
        Color_[root] = color;
        Number_[root] = std::min(Number_[r], Number_[into]);
        Area_[root] += Area_[gone];
        for (int k = 0; k < 3; ++k)
            Sum_[3 * root + k] += Sum_[3 * gone + k];
        Thick_[root] = thick;
        Box_[root].Extend(Box_[gone]);
        LabValid_[root] = false;
        Next_[Tail_[root]] = Head_[gone];
        Tail_[root] = Tail_[gone];

        std::vector<TEdge>& edges = Edges_[root];
        edges.insert(edges.end(), Edges_[gone].begin(), Edges_[gone].end());
        std::vector<TEdge>().swap(Edges_[gone]);
        return root;
    }

    // True when a circle of the minimum diameter fits in a and b together although it fits in
    // neither alone. Such a circle's centre lies within its radius of a pixel on the border the
    // two share (a pixel of one with the other among its eight neighbours): along the line from a
    // centre to its nearest outside pixel, the last pixel before that one is such a border pixel.
    // Only those pixels are looked at, each from the distance it is known to have onwards.
    bool HoldsCircleTogether(std::uint32_t a, std::uint32_t b) {
        // Too few pixels, or too narrow a box, for the circle's own pixels.
        TBox box = Box_[a];
        box.Extend(Box_[b]);
        const int span = 2 * HalfWidth_[static_cast<std::size_t>(Reach_)] + 1;
        if (Area_[a] + Area_[b] < static_cast<std::int64_t>(Disc_.size()) ||
            box.MaxX - box.MinX + 1 < span || box.MaxY - box.MinY + 1 < span)
            return false;

        const std::uint32_t small = Area_[a] <= Area_[b] ? a : b;
        const std::uint32_t large = small == a ? b : a;
        Round_ += 2;
        const std::uint32_t border = Round_, seen = Round_ + 1;
        Border_.clear();
        auto addBorder = [&](std::uint32_t q) {
            if (Stamp_[q] == border) return;
            Stamp_[q] = border;
            Border_.push_back(q);
        };
        for (std::uint32_t p = Head_[small]; p != None; p = Next_[p]) {
            const int x = static_cast<int>(p % static_cast<std::uint32_t>(W_));
            const int y = static_cast<int>(p / static_cast<std::uint32_t>(W_));
            bool onBorder = false;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx) {
                    const int nx = x + dx, ny = y + dy;
                    if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= W_ || ny >= H_) continue;
                    const std::size_t q = Index(nx, ny);
                    if (RootAt(q) != large) continue;
                    onBorder = true;
                    addBorder(static_cast<std::uint32_t>(q));
                }
            if (onBorder) addBorder(p);
        }
        // The pixels within the radius of the border, row by row. With the border in raster
        // order, the part of a row one border pixel reaches mostly continues the part the one
        // before it reached, so each row keeps the stretch it has covered and only the rest is
        // visited.
        std::sort(Border_.begin(), Border_.end());
        for (const std::uint32_t e : Border_) {
            const int ex = static_cast<int>(e % static_cast<std::uint32_t>(W_));
            const int ey = static_cast<int>(e / static_cast<std::uint32_t>(W_));
            for (int dy = -Reach_; dy <= Reach_; ++dy) {
                const int y = ey + dy, half = HalfWidth_[static_cast<std::size_t>(dy + Reach_)];
                if (half < 0 || y < 0 || y >= H_) continue;
                const std::size_t row = static_cast<std::size_t>(y);
                const int x0 = std::max(0, ex - half), x1 = std::min(W_ - 1, ex + half);
                int from = x0;
                if (RowRound_[row] == Round_ && x0 >= RowLo_[row] && x0 <= RowHi_[row] + 1) {
                    from = RowHi_[row] + 1;
                    RowHi_[row] = std::max(RowHi_[row], x1);
                } else {
                    RowRound_[row] = Round_;
                    RowLo_[row] = x0;
                    RowHi_[row] = x1;
                }
                for (int x = from; x <= x1; ++x) {
                    const std::size_t p = Index(x, y);
                    if (Stamp_[p] == seen) continue;
                    Stamp_[p] = seen;
                    if (Distance_[p] >= Need_) continue;
                    const std::uint32_t rp = RootAt(p);
                    if (rp != small && rp != large) continue;
                    if (Grow(x, y, small, large)) return true;
                }
            }
        }
        return false;
    }

    // Brings the pixel's distance up to date for the merged region (distances only grow as
    // regions do, so the search starts at the one known); true when it reaches the radius.
    bool Grow(int x, int y, std::uint32_t a, std::uint32_t b) {
        const std::size_t p = Index(x, y);
        for (std::size_t k = FirstAtLeast_[static_cast<std::size_t>(Distance_[p])];
             k < Disc_.size(); ++k) {
            const TOffset& o = Disc_[k];
            const int qx = x + o.Dx, qy = y + o.Dy;
            bool outside = qx < 0 || qy < 0 || qx >= W_ || qy >= H_;
            if (!outside) {
                const std::uint32_t r = RootAt(Index(qx, qy));
                outside = r != a && r != b;
            }
            if (outside) {
                Distance_[p] = o.Dx * o.Dx + o.Dy * o.Dy;
                return false;
            }
        }
        Distance_[p] = Need_;
        return true;
    }

    void Paint() {
        for (int y = 0; y < H_; ++y) {
            std::uint8_t* c = Reduced_.Row(y);
            for (int x = 0; x < W_; ++x, c += 3) {
                const TColor color = Color_[RootAt(Index(x, y))];
                c[0] = static_cast<std::uint8_t>(color >> 16);
                c[1] = static_cast<std::uint8_t>(color >> 8);
                c[2] = static_cast<std::uint8_t>(color);
            }
        }
    }

    TRaster24& Reduced_;
    const TRaster24& Original_;
    TCleanupSettings S_;
    IProgressSink& Progress_;
    std::vector<TRegionMerge>* Log_;

    TRegionMap Map_;
    int W_ = 0, H_ = 0;
    std::vector<std::uint32_t> Parent_, Number_;
    std::vector<std::int64_t> Area_;
    std::vector<std::uint64_t> Sum_;
    std::vector<TColor> Color_;
    std::vector<bool> Thick_;
    std::vector<std::uint32_t> Head_, Tail_, Next_;
    std::vector<TBox> Box_;
    // Per region root, its border entries: a neighbour (possibly since merged into another) and
    // the length shared with it; one neighbour may have several entries until compacted.
    struct TEdge {
        std::uint32_t To, Length;
    };
    std::vector<std::vector<TEdge>> Edges_;
    std::vector<std::uint32_t> Acc_, AccRound_, Touched_;
    std::uint32_t AccCounter_ = 0;
    std::vector<bool> LabValid_;
    std::vector<TLab> Lab_;

    // The squared distance a centre needs, and each pixel's known squared distance to the
    // outside of its region, held at that need.
    std::int32_t Need_ = 0;
    std::vector<std::int32_t> Distance_;
    int Reach_ = 0;
    std::vector<TOffset> Disc_;
    std::vector<std::size_t> FirstAtLeast_;
    std::vector<int> HalfWidth_;
    std::vector<std::uint32_t> Stamp_;
    std::uint32_t Round_ = 0;
    std::vector<std::uint32_t> Border_;
    std::vector<std::uint32_t> RowRound_;
    std::vector<int> RowLo_, RowHi_;
};

} // namespace

TCleanupResult CleanUpRegions(TRaster24& reduced, const TRaster24& original,
                              const TCleanupSettings& settings, IProgressSink& progress,
                              std::vector<TRegionMerge>* log) {
    if (original.Width() != reduced.Width() || original.Height() != reduced.Height())
        throw std::invalid_argument("original picture differs in size from the reduced one");
    if (!settings.Active()) {
        const std::uint32_t n = LabelRegions(reduced).Count;
        return {n, n, 0, 0};
    }
    if (!settings.CutNecks) return TCleanup(reduced, original, settings, progress, log).Run();
    // On a copy, so that stopping in any step leaves the picture whole. A merge can leave a new
    // neck where the merged region meets its neighbour: necks are cut again until none is left,
    // a few rounds at the most.
    TRaster24 work = reduced;
    TCleanupResult result = TCleanup(work, original, settings, progress, log).Run();
    for (int round = 0; round < MaxNeckRounds; ++round) {
        const std::int64_t cut = CutNecks(work, progress, settings.NeckDiameter);
        if (cut == 0) break;
        result.NeckPixels += cut;
        const TCleanupResult merged = TCleanup(work, original, settings, progress, log).Run();
        result.Merges += merged.Merges;
        result.RegionsAfter = merged.RegionsAfter;
    }
    reduced = std::move(work);
    return result;
}

std::int64_t CutNecks(TRaster24& raster, IProgressSink& progress, int diameter) {
    const int w = raster.Width(), h = raster.Height();
    if (w == 0 || h == 0) return 0;
    const int r = std::max(1, diameter / 2);
    TProgressRun run(progress, CleanupMessage, 0, 2 * h);
    const std::size_t ws = static_cast<std::size_t>(w);
    std::vector<TColor> color(ws * static_cast<std::size_t>(h));
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* p = raster.Row(y);
        for (int x = 0; x < w; ++x, p += 3)
            color[y * ws + x] = p[2] | (TColor(p[1]) << 8) | (TColor(p[0]) << 16);
    }
    auto at = [&](int x, int y) { return color[static_cast<std::size_t>(y) * ws + x]; };
    // Whether the square centred on a pixel is of its colour; outside the picture matches. A run
    // of one colour across the square's columns, row by row, then the square's rows of such runs.
    std::vector<std::uint8_t> across(color.size()), solid(color.size());
    for (int y = 0; y < h; ++y) {
        // The pixels left and right of each pixel in its own colour, up to r.
        int runStart = 0;
        for (int x = 0; x < w; ++x) {
            if (x > 0 && at(x - 1, y) != at(x, y)) runStart = x;
            int runEnd = x;
            while (runEnd + 1 < w && runEnd < x + r && at(runEnd + 1, y) == at(x, y))
                ++runEnd;
            across[y * ws + x] =
                (x - runStart >= r || runStart == 0) && (runEnd == x + r || runEnd == w - 1);
        }
    }
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = y * ws + x;
            const TColor c = color[i];
            bool s = across[i];
            for (int dy = 1; dy <= r && s; ++dy) {
                if (y - dy >= 0) s = across[i - dy * ws] && color[i - dy * ws] == c;
                if (s && y + dy < h) s = across[i + dy * ws] && color[i + dy * ws] == c;
            }
            solid[i] = s;
        }
        run.Step(y + 1);
    }
    // A pixel is kept when a solid square covers it: a solid pixel lies within its own square
    // (whose colour is then the pixel's). Spread along rows, then along columns.
    std::vector<std::uint8_t> near(color.size()), kept(color.size());
    for (int y = 0; y < h; ++y) {
        int last = -r - 1;
        for (int x = 0; x < std::min(w, r); ++x)
            if (solid[y * ws + x]) last = x;
        for (int x = 0; x < w; ++x) {
            if (x + r < w && solid[y * ws + x + r]) last = x + r;
            near[y * ws + x] = last >= x - r;
        }
    }
    for (int x = 0; x < w; ++x) {
        int last = -r - 1;
        for (int y = 0; y < std::min(h, r); ++y)
            if (near[y * ws + x]) last = y;
        for (int y = 0; y < h; ++y) {
            if (y + r < h && near[(y + r) * ws + x]) last = y + r;
            kept[y * ws + x] = last >= y - r;
        }
    }
    struct TChange {
        std::size_t At;
        TColor To;
    };
    std::vector<TChange> changes;
    std::vector<std::size_t> pending;
    // The colour most of a pixel's neighbours of another colour have, the first in reading order
    // of equals; false when all of them are of its own colour.
    auto vote = [&](int x, int y, TColor own, const std::vector<TColor>& picture, TColor& to) {
        TColor others[8];
        int count = 0;
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                const int nx = x + dx, ny = y + dy;
                if ((dx == 0 && dy == 0) || nx < 0 || ny < 0 || nx >= w || ny >= h) continue;
                const TColor c = picture[static_cast<std::size_t>(ny) * ws + nx];
                if (c != own) others[count++] = c;
            }
        if (count == 0) return false;
        int best = 0, bestVotes = 0;
        for (int a = 0; a < count; ++a) {
            int votes = 0;
            for (int b = 0; b < count; ++b)
                votes += others[b] == others[a];
            if (votes > bestVotes) {
                bestVotes = votes;
                best = a;
            }
        }
        to = others[best];
        return true;
    };
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const std::size_t i = y * ws + x;
            if (kept[i]) continue;
            TColor to = 0;
            if (vote(x, y, color[i], color, to))
                changes.push_back({i, to});
            else
                pending.push_back(i);
        }
        run.Step(h + y + 1);
    }
    // Inside a tongue wider than three pixels, the pixels its rim gave away decide the rest,
    // pass by pass from the rim inwards.
    if (!pending.empty()) {
        std::vector<TColor> now = color;
        for (const TChange& c : changes)
            now[c.At] = c.To;
        while (!pending.empty()) {
            std::vector<std::size_t> still;
            std::vector<TChange> decided;
            for (const std::size_t i : pending) {
                TColor to = 0;
                if (vote(static_cast<int>(i % ws), static_cast<int>(i / ws), color[i], now, to))
                    decided.push_back({i, to});
                else
                    still.push_back(i);
            }
            if (decided.empty()) break;
            for (const TChange& c : decided)
                now[c.At] = c.To;
            changes.insert(changes.end(), decided.begin(), decided.end());
            pending = std::move(still);
        }
    }
    for (const TChange& c : changes) {
        std::uint8_t* p = raster.Row(static_cast<int>(c.At / ws)) + 3 * (c.At % ws);
        p[0] = static_cast<std::uint8_t>(c.To >> 16);
        p[1] = static_cast<std::uint8_t>(c.To >> 8);
        p[2] = static_cast<std::uint8_t>(c.To);
    }
    return static_cast<std::int64_t>(changes.size());
}

} // namespace pigmentaria
