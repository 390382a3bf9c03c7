#include "convert/regions.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace pigmentaria {

namespace {

std::uint32_t Find(std::vector<std::uint32_t>& parent, std::uint32_t i) {
    while (parent[i] != i) {
        parent[i] = parent[parent[i]];
        i = parent[i];
    }
    return i;
}

// One row of a raster as colour values, so neighbours compare as whole numbers.
void ReadRow(const TRaster24& r, int y, std::vector<std::uint32_t>& out) {
    const std::uint8_t* p = r.Row(y);
    for (int x = 0; x < r.Width(); ++x, p += 3)
        out[static_cast<std::size_t>(x)] =
            p[0] | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

// Lower envelope of the parabolas (i - j)^2 + f[j] over one run, written to d (Felzenszwalb and
// Huttenlocher's one-dimensional distance transform).
void Envelope(const std::int64_t* f, std::int64_t* d, int n, std::vector<int>& v,
              std::vector<double>& z) {
    v.resize(static_cast<std::size_t>(n));
    z.resize(static_cast<std::size_t>(n) + 1);
    int k = 0;
    v[0] = 0;
    z[0] = -std::numeric_limits<double>::infinity();
    z[1] = std::numeric_limits<double>::infinity();
    auto cross = [&](int q, int p) {
        return (static_cast<double>(f[q] + std::int64_t(q) * q) -
                static_cast<double>(f[p] + std::int64_t(p) * p)) /
               (2.0 * (q - p));
    };
    for (int q = 1; q < n; ++q) {
        // z[0] is minus infinity, so the search stops at the first parabola at the latest.
        double s = cross(q, v[static_cast<std::size_t>(k)]);
        while (s <= z[static_cast<std::size_t>(k)]) {
            --k;
            s = cross(q, v[static_cast<std::size_t>(k)]);
        }
        ++k;
        v[static_cast<std::size_t>(k)] = q;
        z[static_cast<std::size_t>(k)] = s;
        z[static_cast<std::size_t>(k) + 1] = std::numeric_limits<double>::infinity();
    }
    k = 0;
    for (int q = 0; q < n; ++q) {
        while (z[static_cast<std::size_t>(k) + 1] < q)
            ++k;
        const int p = v[static_cast<std::size_t>(k)];
        d[q] = std::int64_t(q - p) * (q - p) + f[p];
    }
}

} // namespace

TRegionMap LabelRegions(const TRaster24& raster) {
    TRegionMap m;
    m.Width = raster.Width();
    m.Height = raster.Height();
    if (raster.Empty()) {
        m.Width = m.Height = 0;
        return m;
    }
    const std::size_t w = static_cast<std::size_t>(m.Width);
    m.Label.resize(w * static_cast<std::size_t>(m.Height));
    std::vector<std::uint32_t> parent;
    std::vector<std::uint32_t> above(w), row(w);
    // First pass: provisional labels joined where the pixel above has the same colour.
    for (int y = 0; y < m.Height; ++y) {
        ReadRow(raster, y, row);
        std::uint32_t* lab = m.Label.data() + static_cast<std::size_t>(y) * w;
        const std::uint32_t* labAbove = y > 0 ? lab - w : nullptr;
        for (std::size_t x = 0; x < w; ++x) {
            const bool left = x > 0 && row[x - 1] == row[x];
            const bool up = labAbove && above[x] == row[x];
            if (left) {
                lab[x] = lab[x - 1];
                if (up) {
                    const std::uint32_t a = Find(parent, lab[x]), b = Find(parent, labAbove[x]);
                    if (a != b) parent[std::max(a, b)] = std::min(a, b);
                }
            } else if (up) {
                lab[x] = labAbove[x];
            } else {
                lab[x] = static_cast<std::uint32_t>(parent.size());
                parent.push_back(lab[x]);
            }
        }
        std::swap(above, row);
    }
    // Second pass: roots numbered in the order their regions first appear.
    constexpr std::uint32_t None = std::numeric_limits<std::uint32_t>::max();
    std::vector<std::uint32_t> number(parent.size(), None);
    for (std::uint32_t& l : m.Label) {
        const std::uint32_t root = Find(parent, l);
        if (number[root] == None) number[root] = m.Count++;
        l = number[root];
    }
    return m;
}

std::vector<std::int32_t> RegionDistanceSquared(const TRegionMap& m) {
    const std::size_t w = static_cast<std::size_t>(m.Width), h = static_cast<std::size_t>(m.Height);
    std::vector<std::int32_t> out(w * h);
    if (out.empty()) return out;
    // Columns: distance to the first pixel above or below that leaves the vertical run.
    std::vector<std::int64_t> g(w * h);
    for (std::size_t x = 0; x < w; ++x) {
        std::size_t y0 = 0;
        while (y0 < h) {
            std::size_t y1 = y0;
            const std::uint32_t l = m.Label[y0 * w + x];
            while (y1 + 1 < h && m.Label[(y1 + 1) * w + x] == l)
                ++y1;
            for (std::size_t y = y0; y <= y1; ++y) {
                const std::int64_t d = static_cast<std::int64_t>(std::min(y - y0, y1 - y)) + 1;
                g[y * w + x] = d * d;
            }
            y0 = y1 + 1;
        }
    }
    // Rows: within each horizontal run the nearest outside pixel is either straight beyond one
    // of the run's ends or, through some pixel of the run, above or below it.
    std::vector<std::int64_t> d(w);
    std::vector<int> v;
    std::vector<double> z;
    for (std::size_t y = 0; y < h; ++y) {
        const std::uint32_t* lab = m.Label.data() + y * w;
        const std::int64_t* gr = g.data() + y * w;
        std::size_t x0 = 0;
        while (x0 < w) {
            std::size_t x1 = x0;
            while (x1 + 1 < w && lab[x1 + 1] == lab[x0])
                ++x1;
            const int n = static_cast<int>(x1 - x0 + 1);
            Envelope(gr + x0, d.data(), n, v, z);
            for (int i = 0; i < n; ++i) {
                const std::int64_t end = std::min(i, n - 1 - i) + 1;
                const std::int64_t best = std::min(d[static_cast<std::size_t>(i)], end * end);
                out[y * w + x0 + static_cast<std::size_t>(i)] = static_cast<std::int32_t>(
                    std::min<std::int64_t>(best, std::numeric_limits<std::int32_t>::max()));
            }
            x0 = x1 + 1;
        }
    }
    return out;
}

std::vector<TRegionRoom> MeasureRegions(const TRegionMap& m,
                                        const std::vector<std::int32_t>& dist) {
    std::vector<TRegionRoom> rooms(m.Count);
    for (int y = 0; y < m.Height; ++y)
        for (int x = 0; x < m.Width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * static_cast<std::size_t>(m.Width) +
                                  static_cast<std::size_t>(x);
            TRegionRoom& r = rooms[m.Label[i]];
            ++r.Area;
            if (r.PoleX < 0 || dist[i] > r.MaxDistanceSquared) {
                r.MaxDistanceSquared = dist[i];
                r.PoleX = x;
                r.PoleY = y;
            }
        }
    return rooms;
}

double InscribedDiameter(std::int32_t maxDistanceSquared) {
    return maxDistanceSquared > 0 ? 2 * std::sqrt(static_cast<double>(maxDistanceSquared)) - 1 : 0;
}

std::int32_t DistanceSquaredForDiameter(double diameter) {
    if (!(diameter > 1)) return 1;
    const double r = (diameter + 1) / 2;
    return static_cast<std::int32_t>(std::ceil(r * r - 1e-9));
}

} // namespace pigmentaria
