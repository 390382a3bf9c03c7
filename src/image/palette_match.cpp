#include "image/palette_match.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace pigmentaria {

namespace {

constexpr int Sq(int v) {
    return v * v;
}

int Dist2(TColor a, int r, int g, int b) {
    return Sq(RedOf(a) - r) + Sq(GreenOf(a) - g) + Sq(BlueOf(a) - b);
}

// Cell of the 32 x 64 x 32 grid shared by the nearest-colour cache and the histogram.
inline int Cell32x64x32(int r, int g, int b) {
    return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
}

std::array<TColor, 252> BuildSpecial252() {
    std::array<TColor, 252> table{};
    const auto& sys = SystemColors16();
    std::copy(sys.begin(), sys.end(), table.begin());
    // Farthest-point selection over the 9-level grid: each new colour is the grid colour farthest
    // from every colour already in the table (the first in grid order on ties), so the table
    // covers the colour cube evenly around the Windows colours.
    constexpr int kLevels[9] = {0, 32, 64, 96, 128, 160, 192, 224, 255};
    std::vector<TColor> grid;
    for (int r : kLevels)
        for (int g : kLevels)
            for (int b : kLevels)
                grid.push_back(MakeColor(r, g, b));
    std::vector<int> nearest(grid.size(), std::numeric_limits<int>::max());
    auto include = [&](TColor c) {
        for (std::size_t k = 0; k < grid.size(); ++k)
            nearest[k] =
                std::min(nearest[k], Dist2(c, RedOf(grid[k]), GreenOf(grid[k]), BlueOf(grid[k])));
    };
    for (TColor c : sys)
        include(c);
    for (std::size_t i = 16; i < table.size(); ++i) {
        std::size_t best = 0;
        for (std::size_t k = 1; k < grid.size(); ++k)
            if (nearest[k] > nearest[best]) best = k;
        table[i] = grid[best];
        include(grid[best]);
    }
    return table;
}

// Candidate runs of the 9 x 9 x 9 grid of the 252-colour table. A cell keeps every entry whose
// smallest distance to the cell's colour box is not above the smallest largest distance any entry
// has to the box: the nearest entry of every colour in the cell is then among them.
struct TSpecial252Runs {
    std::array<std::uint16_t, 730> Start{};
    std::vector<std::uint8_t> List;
};

int CellLow(int c) {
    return std::max(0, 32 * c - 16);
}
int CellHigh(int c) {
    return std::min(255, 32 * c + 15);
}

TSpecial252Runs BuildSpecial252Runs() {
    const auto& table = Special252Table();
    TSpecial252Runs runs;
    auto axisMin = [](int v, int lo, int hi) { return v < lo ? lo - v : (v > hi ? v - hi : 0); };
    auto axisMax = [](int v, int lo, int hi) {
        return std::max(std::abs(v - lo), std::abs(v - hi));
    };
    for (int cell = 0; cell < 729; ++cell) {
        const int cr = cell / 81, cg = cell / 9 % 9, cb = cell % 9;
        const int rl = CellLow(cr), rh = CellHigh(cr), gl = CellLow(cg), gh = CellHigh(cg),
                  bl = CellLow(cb), bh = CellHigh(cb);
        std::array<int, 252> minD{};
        int bound = std::numeric_limits<int>::max();
        for (std::size_t i = 0; i < table.size(); ++i) {
            const int r = RedOf(table[i]), g = GreenOf(table[i]), b = BlueOf(table[i]);
            minD[i] = Sq(axisMin(r, rl, rh)) + Sq(axisMin(g, gl, gh)) + Sq(axisMin(b, bl, bh));
            bound = std::min(bound, Sq(axisMax(r, rl, rh)) + Sq(axisMax(g, gl, gh)) +
                                        Sq(axisMax(b, bl, bh)));
        }
        runs.Start[static_cast<std::size_t>(cell)] = static_cast<std::uint16_t>(runs.List.size());
        for (std::size_t i = 0; i < table.size(); ++i)
            if (minD[i] <= bound) runs.List.push_back(static_cast<std::uint8_t>(i));
    }
    runs.Start[729] = static_cast<std::uint16_t>(runs.List.size());
    return runs;
}

const TSpecial252Runs& Special252Runs() {
    static const TSpecial252Runs runs = BuildSpecial252Runs();
    return runs;
}

// Index of the 236-gray palette nearest to v / 3, for brightness v = 0 .. 765.
const std::array<std::uint8_t, 766>& Gray236Table() {
    static const std::array<std::uint8_t, 766> table = [] {
        std::array<std::uint8_t, 766> t{};
        const std::vector<TColor> grays = StandardPalette(pGray236);
        for (int v = 0; v < 766; ++v) {
            int best = 0, bestD = std::numeric_limits<int>::max();
            for (int i = 0; i < 236; ++i) {
                const int d = std::abs(3 * RedOf(grays[static_cast<std::size_t>(i)]) - v);
                if (d < bestD) best = i, bestD = d;
            }
            t[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(best);
        }
        return t;
    }();
    return table;
}

// Candidates of the pSys16 cells (R div 64) * 16 + (G div 64) * 4 + (B div 64).
constexpr std::uint8_t kSys16Candidates[64][3] = {
    {0, 0, 0},   {4, 4, 4},    {4, 4, 4},    {12, 12, 12}, {2, 2, 2},    {6, 6, 6},    {6, 6, 6},
    {6, 12, 12}, {2, 2, 2},    {6, 6, 6},    {6, 6, 6},    {6, 14, 14},  {10, 10, 10}, {6, 10, 10},
    {6, 14, 14}, {14, 14, 14}, {1, 1, 1},    {5, 5, 5},    {5, 5, 5},    {5, 12, 12},  {3, 3, 3},
    {8, 8, 8},   {8, 8, 8},    {8, 12, 12},  {3, 3, 3},    {8, 8, 8},    {8, 8, 8},    {7, 8, 14},
    {3, 10, 10}, {8, 10, 10},  {7, 8, 14},   {7, 14, 14},  {1, 1, 1},    {5, 5, 5},    {5, 5, 5},
    {5, 13, 13}, {3, 3, 3},    {8, 8, 8},    {8, 8, 8},    {7, 8, 13},   {3, 3, 3},    {8, 8, 8},
    {7, 8, 8},   {7, 7, 7},    {3, 11, 11},  {7, 8, 11},   {7, 7, 7},    {7, 7, 7},    {9, 9, 9},
    {5, 9, 9},   {5, 13, 13},  {13, 13, 13}, {3, 9, 9},    {8, 9, 9},    {7, 8, 13},   {7, 13, 13},
    {3, 11, 11}, {7, 8, 11},   {7, 7, 7},    {7, 7, 7},    {11, 11, 11}, {7, 11, 11},  {7, 7, 7},
    {7, 15, 15},
};

bool SamePalette(const std::vector<TColor>& a, const std::vector<TColor>& b) {
    return a == b;
}

} // namespace

const std::array<TColor, 16>& SystemColors16() {
    static const std::array<TColor, 16> colors = {
        MakeColor(0, 0, 0),       MakeColor(128, 0, 0),     MakeColor(0, 128, 0),
        MakeColor(128, 128, 0),   MakeColor(0, 0, 128),     MakeColor(128, 0, 128),
        MakeColor(0, 128, 128),   MakeColor(192, 192, 192), MakeColor(128, 128, 128),
        MakeColor(255, 0, 0),     MakeColor(0, 255, 0),     MakeColor(255, 255, 0),
        MakeColor(0, 0, 255),     MakeColor(255, 0, 255),   MakeColor(0, 255, 255),
        MakeColor(255, 255, 255),
    };
    return colors;
}

const std::array<TColor, 252>& Special252Table() {
    static const std::array<TColor, 252> table = BuildSpecial252();
    return table;
}

std::vector<TColor> StandardPalette(TPaletteIdent ident) {
    std::vector<TColor> p;
    auto gray = [](int v) { return MakeColor(v, v, v); };
    switch (ident) {
    case pBlackWhite:
        p = {clBlack, clWhite};
        break;
    case pSysGray4:
        p = {clBlack, gray(128), gray(192), clWhite};
        break;
    case pSys16:
        p.assign(SystemColors16().begin(), SystemColors16().end());
        break;
    case pGray4:
        for (int i = 0; i < 4; ++i)
            p.push_back(gray(i * 255 / 3));
        break;
    case pGray16:
        for (int i = 0; i < 16; ++i)
            p.push_back(gray(i * 255 / 15));
        break;
    case pGray236:
        // round(i * 255 / 235); the quotient is never exactly half-way.
        for (int i = 0; i < 236; ++i)
            p.push_back(gray((i * 255 * 2 + 235) / 470));
        break;
    case pGray256:
        for (int i = 0; i < 256; ++i)
            p.push_back(gray(i));
        break;
    case pSpecial125:
        for (int r = 0; r < 5; ++r)
            for (int g = 0; g < 5; ++g)
                for (int b = 0; b < 5; ++b)
                    p.push_back(MakeColor((r * 255 + 3) / 4, (g * 255 + 3) / 4, (b * 255 + 3) / 4));
        break;
    case pSpecial216:
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    p.push_back(MakeColor((r * 255 + 4) / 5, (g * 255 + 4) / 5, (b * 255 + 4) / 5));
        break;
    case pSpecial252:
        p.assign(Special252Table().begin(), Special252Table().end());
        break;
    default:
        break;
    }
    return p;
}

TPaletteIdent RecognizePaletteIdent(const std::vector<TColor>& palette, bool& gray) {
    gray = !palette.empty() && std::all_of(palette.begin(), palette.end(), [](TColor c) {
        return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
    });
    if (palette.empty()) return pNone;
    static const TPaletteIdent order[] = {pBlackWhite, pGray4,     pSysGray4, pGray16,
                                          pGray236,    pGray256,   pSys16,    pSpecial216,
                                          pSpecial125, pSpecial252};
    for (TPaletteIdent id : order) {
        static const auto sizeOf = [](TPaletteIdent i) -> std::size_t {
            switch (i) {
            case pBlackWhite:
                return 2;
            case pGray4:
            case pSysGray4:
                return 4;
            case pGray16:
            case pSys16:
                return 16;
            case pGray236:
                return 236;
            case pGray256:
                return 256;
            case pSpecial216:
                return 216;
            case pSpecial125:
                return 125;
            case pSpecial252:
                return 252;
            default:
                return 0;
            }
        };
        if (palette.size() == sizeOf(id) && SamePalette(palette, StandardPalette(id))) return id;
    }
    return pUnknown;
}

std::uint32_t NearestSys16(int r, int g, int b) {
    const auto& sys = SystemColors16();
    const std::uint8_t* cand = kSys16Candidates[(r >> 6) * 16 + (g >> 6) * 4 + (b >> 6)];
    std::uint32_t result = cand[0];
    int best = Dist2(sys[result], r, g, b);
    if (cand[1] != result) {
        const int d = Dist2(sys[cand[1]], r, g, b);
        if (d < best) result = cand[1], best = d;
    }
    if (cand[2] != cand[1]) {
        const int d = Dist2(sys[cand[2]], r, g, b);
        if (d < best) result = cand[2];
    }
    return result;
}

std::uint32_t NearestSpecial252(int r, int g, int b) {
    const auto& table = Special252Table();
    const auto& runs = Special252Runs();
    const int cell = ((r + 16) >> 5) * 81 + ((g + 16) >> 5) * 9 + ((b + 16) >> 5);
    const std::uint8_t* p = runs.List.data() + runs.Start[static_cast<std::size_t>(cell)];
    const std::uint8_t* end = runs.List.data() + runs.Start[static_cast<std::size_t>(cell) + 1];
    std::uint32_t result = *p;
    int best = Dist2(table[*p], r, g, b);
    for (++p; p < end; ++p) {
        const int d = Dist2(table[*p], r, g, b);
        if (d < best) result = *p, best = d;
    }
    return result;
}

std::vector<std::uint8_t> Special252Candidates(int cell) {
    const auto& runs = Special252Runs();
    if (cell < 0 || cell >= 729) return {};
    return {runs.List.begin() + runs.Start[static_cast<std::size_t>(cell)],
            runs.List.begin() + runs.Start[static_cast<std::size_t>(cell) + 1]};
}

// ---- TPixelGraphic: palette matching

void TPixelGraphic::InvalidateColorCache() {
    LastValid_ = false;
    CacheInvalid_ = true;
}

void TPixelGraphic::SetColorCacheEnabled(bool on) {
    ColorCacheEnabled_ = on;
    PaletteChanged();
}

void TPixelGraphic::SetRGBWeighting(bool on) {
    RGBWeighting_ = on;
    InvalidateColorCache();
}

std::uint32_t TPixelGraphic::FullSearch(TColor color) const {
    const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
    std::uint32_t best = 0;
    int bestD = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < Palette_.size(); ++i) {
        const int d = Dist2(Palette_[i], r, g, b);
        if (d < bestD) best = static_cast<std::uint32_t>(i), bestD = d;
    }
    return best;
}

void TPixelGraphic::BuildColorCache() {
    CellIndex_.assign(32 * 64 * 32, 0);
    CellValid_.assign(32 * 64 * 32 / 64, 0);
    auto claim = [&](int cr, int cg, int cb, std::uint8_t index) {
        const int cell = cr << 11 | cg << 5 | cb;
        std::uint64_t& word = CellValid_[static_cast<std::size_t>(cell >> 6)];
        const std::uint64_t bit = std::uint64_t{1} << (cell & 63);
        if (word & bit) return;
        word |= bit;
        CellIndex_[static_cast<std::size_t>(cell)] = index;
    };
    const std::size_t count = std::min<std::size_t>(Palette_.size(), 256);
    for (int radius = 0; radius <= 4; ++radius) {
        for (std::size_t i = 0; i < count; ++i) {
            const TColor c = Palette_[i];
            const int r0 = RedOf(c) >> 3, g0 = GreenOf(c) >> 2, b0 = BlueOf(c) >> 3;
            const auto index = static_cast<std::uint8_t>(i);
            for (int dr = -radius; dr <= radius; ++dr) {
                const int cr = r0 + dr;
                if (cr < 0 || cr > 31) continue;
                for (int dg = -radius; dg <= radius; ++dg) {
                    const int cg = g0 + dg;
                    if (cg < 0 || cg > 63) continue;
                    // On the cube's surface: the red or green face, or else both blue faces.
                    if (std::abs(dr) == radius || std::abs(dg) == radius) {
                        for (int db = -radius; db <= radius; ++db) {
                            const int cb = b0 + db;
                            if (cb >= 0 && cb <= 31) claim(cr, cg, cb, index);
                        }
                    } else {
                        if (b0 - radius >= 0) claim(cr, cg, b0 - radius, index);
                        if (b0 + radius <= 31) claim(cr, cg, b0 + radius, index);
                    }
                }
            }
        }
    }
    CacheInvalid_ = false;
}

std::uint32_t TPixelGraphic::NearestUnknown(TColor color) {
    if (!ColorCacheEnabled_) return FullSearch(color);
    if (CacheInvalid_ || CellIndex_.empty()) BuildColorCache();
    const int cell = Cell32x64x32(RedOf(color), GreenOf(color), BlueOf(color));
    std::uint64_t& word = CellValid_[static_cast<std::size_t>(cell >> 6)];
    const std::uint64_t bit = std::uint64_t{1} << (cell & 63);
    if (word & bit) return CellIndex_[static_cast<std::size_t>(cell)];
    const std::uint32_t index = FullSearch(color);
    CellIndex_[static_cast<std::size_t>(cell)] = static_cast<std::uint8_t>(index);
    word |= bit;
    return index;
}

std::uint32_t TPixelGraphic::NearestPaletteIndexUncached(TColor c) {
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    std::uint32_t result = 0;
    switch (Ident_) {
    case pNone:
        throw EPGNoPalette(msgNoPalette);
    case pTrueColor:
        result = c;
        break;
    case pUnknown:
        result = NearestUnknown(c);
        break;
    case pBlackWhite:
        result = static_cast<std::uint32_t>((Brightness(r, g, b) + 1) / 384);
        break;
    case pSysGray4: {
        const int v = Brightness(r, g, b);
        result = v <= 192 ? 0 : v <= 480 ? 1 : v <= 670 ? 2 : 3;
        break;
    }
    case pSys16:
        result = NearestSys16(r, g, b);
        break;
    case pGray4:
        result = static_cast<std::uint32_t>((Brightness(r, g, b) + 127) / 255);
        break;
    case pGray16:
        result = static_cast<std::uint32_t>((Brightness(r, g, b) + 25) / 51);
        break;
    case pGray236:
        result = Gray236Table()[static_cast<std::size_t>(Brightness(r, g, b))];
        break;
    case pGray256:
        result = static_cast<std::uint32_t>((Brightness(r, g, b) + 1) / 3);
        break;
    case pSpecial125: {
        // A channel of 224 belongs to the top level: it is nearer 255 than 192.
        auto level = [](int v) { return ((v == 224 ? 225 : v) + 31) / 64; };
        result = static_cast<std::uint32_t>(level(r) * 25 + level(g) * 5 + level(b));
        break;
    }
    case pSpecial216:
        result =
            static_cast<std::uint32_t>(((r + 24) / 51) * 36 + ((g + 24) / 51) * 6 + (b + 24) / 51);
        break;
    case pSpecial252:
        result = NearestSpecial252(r, g, b);
        break;
    case pOptimized252Sys16:
    case pSource:
        result = 0;
        break;
    }
    LastColor_ = c;
    LastIndex_ = result;
    LastValid_ = true;
    return result;
}

// ---- Dithering

namespace {
// Sum / 16 rounded to nearest, halves away from zero; limited to the clamp table's range.
inline int PixelError(int sum) {
    const int e = sum >= 0 ? (sum + 8) / 16 : -((-sum + 8) / 16);
    return std::clamp(e, -255, 255);
}
inline int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}
} // namespace

std::array<int, 511> TDitherPass::ClampTable(int limit, bool soft) {
    std::array<int, 256> t{};
    for (int e = 0; e <= 255; ++e)
        t[static_cast<std::size_t>(e)] = e;
    if (limit != 255)
        for (int e = limit; e <= 255; ++e)
            t[static_cast<std::size_t>(e)] = limit;
    if (soft)
        for (int e = limit / 2; e <= (3 * limit) / 2 && e < 255; ++e)
            t[static_cast<std::size_t>(e)] = e / 2 + limit / 4;
    std::array<int, 511> table{};
    for (int e = -255; e <= 255; ++e)
        table[static_cast<std::size_t>(e + 255)] =
            e >= 0 ? t[static_cast<std::size_t>(e)] : -t[static_cast<std::size_t>(-e)];
    return table;
}

TDitherPass::TDitherPass(TPixelGraphic& dest) : Dest_(dest) {
    const std::size_t slots = 3 * (static_cast<std::size_t>(std::max(dest.Width(), 0)) + 2);
    Current_.assign(slots, 0);
    Next_.assign(slots, 0);
    GrayPalette_ = dest.ColorType() != ct24Bit && !dest.Palette().empty() &&
                   std::all_of(dest.Palette().begin(), dest.Palette().end(), [](TColor c) {
                       return RedOf(c) == GreenOf(c) && GreenOf(c) == BlueOf(c);
                   });
    if (dest.DitherErrorLimitAuto) {
        Soft_ = true;
        switch (dest.PaletteIdent()) {
        case pBlackWhite:
            Limit_ = 255;
            break;
        case pSysGray4:
        case pSys16:
        case pGray4:
            Limit_ = 128;
            break;
        case pGray236:
            Limit_ = 3;
            break;
        case pGray256:
            Limit_ = 2;
            break;
        case pSpecial125:
        case pSpecial252:
            Limit_ = 104;
            break;
        case pSpecial216:
            Limit_ = 86;
            break;
        case pOptimized252Sys16:
        case pSource:
            Limit_ = 0;
            break;
        default:
            Limit_ = 32;
            break;
        }
    } else {
        Limit_ = std::clamp(dest.DitherErrorLimit, 0, 255);
        Soft_ = dest.DitherErrorLimitSoft;
    }
    Table_ = ClampTable(Limit_, Soft_);
    SumTable_.resize(2 * kMaxSum + 1);
    for (int sum = -kMaxSum; sum <= kMaxSum; ++sum)
        SumTable_[static_cast<std::size_t>(sum + kMaxSum)] = Clamp(PixelError(sum));
}

void TDitherPass::NextRow() {
    Current_.swap(Next_);
    std::fill(Next_.begin(), Next_.end(), 0);
}

void TDitherPass::DiffusePixel(int x, int y, int r, int g, int b) {
    if (x < 0 || x >= Dest_.Width() || y < 0 || y >= Dest_.Height()) return;
    if (Dest_.ColorType() == ct24Bit) {
        Dest_.SetPixel(x, y, MakeColor(r, g, b));
        return;
    }
    const std::size_t at = 3 * (static_cast<std::size_t>(x) + 1);
    const int* sums = &Current_[at];
    int er, eg, eb;
    std::uint32_t index;
    if (!GrayPalette_) {
        const int ar = Clamp255(r + ErrorOf(sums[0]));
        const int ag = Clamp255(g + ErrorOf(sums[1]));
        const int ab = Clamp255(b + ErrorOf(sums[2]));
        index = Dest_.NearestPaletteIndex(MakeColor(ar, ag, ab));
        const TColor entry = Dest_.IndexColor(index);
        er = ar - RedOf(entry);
        eg = ag - GreenOf(entry);
        eb = ab - BlueOf(entry);
    } else {
        const int ag = Clamp255(Dest_.Brightness(r, g, b) / 3 + ErrorOf(sums[1]));
        index = Dest_.NearestPaletteIndex(MakeColor(ag, ag, ag));
        er = eb = 0;
        eg = ag - GreenOf(Dest_.IndexColor(index));
    }
    if (Dest_.ColorType() == ct8Bit)
        Dest_.ScanLine(y)[x] = static_cast<std::uint8_t>(index);
    else
        Dest_.SetPixel(x, y, index);
    const std::ptrdiff_t ahead = (y % 2 == 0) ? 3 : -3;
    int* cur = &Current_[at];
    int* next = &Next_[at];
    const int e[3] = {er, eg, eb};
    for (int k = 0; k < 3; ++k) {
        cur[ahead + k] += 7 * e[k];
        next[ahead + k] += e[k];
        next[k] += 5 * e[k];
        next[-ahead + k] += 3 * e[k];
    }
}

// ---- Palette optimiser

namespace {

struct TBox {
    int R0 = 0, R1 = 31, G0 = 0, G1 = 63, B0 = 0, B1 = 31;
    long long Weight = 0;
    long long Volume = 0;
};

class TBoxCut {
public:
    explicit TBoxCut(std::vector<std::uint16_t> hist) : Hist_(std::move(hist)) {}

    std::vector<TColor> Run(int m) {
        std::vector<TBox> boxes(1);
        Shrink(boxes[0]);
        while (static_cast<int>(boxes.size()) < m) {
            int pick = -1;
            if (m < 2 * static_cast<int>(boxes.size())) {
                for (std::size_t i = 0; i < boxes.size(); ++i)
                    if (pick < 0 || boxes[i].Weight > boxes[static_cast<std::size_t>(pick)].Weight)
                        pick = static_cast<int>(i);
                if (pick >= 0 && boxes[static_cast<std::size_t>(pick)].Weight == 0) pick = -1;
            } else {
                for (std::size_t i = 0; i < boxes.size(); ++i)
                    if (boxes[i].Weight > 0 &&
                        (pick < 0 ||
                         boxes[i].Volume > boxes[static_cast<std::size_t>(pick)].Volume))
                        pick = static_cast<int>(i);
            }
            if (pick < 0) break;
            TBox& box = boxes[static_cast<std::size_t>(pick)];
            TBox split = box;
            const int be = (box.B1 - box.B0) * 16, ge = (box.G1 - box.G0) * 12,
                      re = (box.R1 - box.R0) * 16;
            if (be > ge && be > re) {
                box.B1 = (box.B0 + box.B1) / 2;
                split.B0 = box.B1 + 1;
            } else if (re > ge) {
                box.R1 = (box.R0 + box.R1) / 2;
                split.R0 = box.R1 + 1;
            } else {
                box.G1 = (box.G0 + box.G1) / 2;
                split.G0 = box.G1 + 1;
            }
            Shrink(box);
            Shrink(split);
            boxes.push_back(split);
        }
        std::vector<TColor> colors;
        for (const TBox& box : boxes) {
            unsigned long long total = 0, sr = 0, sg = 0, sb = 0;
            for (int r = box.R0; r <= box.R1; ++r)
                for (int g = box.G0; g <= box.G1; ++g)
                    for (int b = box.B0; b <= box.B1; ++b) {
                        const unsigned long long n = At(r, g, b);
                        total += n;
                        sr += n * static_cast<unsigned long long>(r * 8 + 4);
                        sg += n * static_cast<unsigned long long>(g * 4 + 2);
                        sb += n * static_cast<unsigned long long>(b * 8 + 4);
                    }
            // A box holds no pixels only when counting was aborted before any were seen.
            if (total == 0) continue;
            colors.push_back(MakeColor(static_cast<int>((sr + total / 2) / total),
                                       static_cast<int>((sg + total / 2) / total),
                                       static_cast<int>((sb + total / 2) / total)));
        }
        return colors;
    }

private:
    unsigned At(int r, int g, int b) const {
        return Hist_[static_cast<std::size_t>(r << 11 | g << 5 | b)];
    }
    bool PlaneHasPixels(const TBox& box, int axis, int plane) const {
        for (int r = (axis == 0 ? plane : box.R0); r <= (axis == 0 ? plane : box.R1); ++r)
            for (int g = (axis == 1 ? plane : box.G0); g <= (axis == 1 ? plane : box.G1); ++g)
                for (int b = (axis == 2 ? plane : box.B0); b <= (axis == 2 ? plane : box.B1); ++b)
                    if (At(r, g, b)) return true;
        return false;
    }
    void ShrinkAxis(TBox& box, int axis, int& lo, int& hi) const {
        if (hi <= lo) return;
        int a = lo, z = hi;
        while (a <= z && !PlaneHasPixels(box, axis, a))
            ++a;
        if (a > z) return; // an empty box keeps its bounds
        lo = a;
        while (!PlaneHasPixels(box, axis, z))
            --z;
        hi = z;
    }
    void Shrink(TBox& box) const {
        ShrinkAxis(box, 2, box.B0, box.B1);
        ShrinkAxis(box, 1, box.G0, box.G1);
        ShrinkAxis(box, 0, box.R0, box.R1);
        const long long b = (box.B1 - box.B0) * 16, g = (box.G1 - box.G0) * 12,
                        r = (box.R1 - box.R0) * 16;
        box.Weight = b * b + g * g + r * r;
        box.Volume = static_cast<long long>(box.R1 - box.R0 + 1) * (box.G1 - box.G0 + 1) *
                     (box.B1 - box.B0 + 1);
    }

    std::vector<std::uint16_t> Hist_;
};

class TOctree {
public:
    explicit TOctree(int maxColors) : Max_(maxColors) { NewNode(0); }

    void Insert(TColor color, unsigned long long weight) {
        const int r = RedOf(color), g = GreenOf(color), b = BlueOf(color);
        int node = 0;
        Add(node, r, g, b, weight);
        while (!Nodes_[static_cast<std::size_t>(node)].Leaf &&
               Nodes_[static_cast<std::size_t>(node)].Level < LeafLevel_) {
            const int level = Nodes_[static_cast<std::size_t>(node)].Level;
            const int bit = 7 - level;
            const int ci = ((r >> bit) & 1) << 2 | ((g >> bit) & 1) << 1 | ((b >> bit) & 1);
            int child = Nodes_[static_cast<std::size_t>(node)].Children[ci];
            if (child < 0) {
                child = NewNode(level + 1);
                Nodes_[static_cast<std::size_t>(node)].Children[ci] = child;
                ++Nodes_[static_cast<std::size_t>(node)].ChildCount;
            } else {
                TNode& n = Nodes_[static_cast<std::size_t>(node)];
                if (n.ChildCount > 1 && !n.Listed) {
                    n.Listed = true;
                    Reducible_[static_cast<std::size_t>(level)].insert(
                        Reducible_[static_cast<std::size_t>(level)].begin(), node);
                }
            }
            node = child;
            Add(node, r, g, b, weight);
        }
        while (LeafCount_ > Max_ && Reduce()) {
        }
    }

    std::vector<TColor> Colors() const {
        std::vector<TColor> out;
        Collect(0, out);
        return out;
    }

private:
    struct TNode {
        int Level = 0;
        bool Leaf = false;
        bool Listed = false;
        unsigned long long Count = 0, R = 0, G = 0, B = 0;
        int ChildCount = 0;
        int Children[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
        unsigned long long Key() const { return 2 * R + 3 * G + B; }
    };

    int NewNode(int level) {
        TNode n;
        n.Level = level;
        n.Leaf = level == LeafLevel_;
        if (n.Leaf) ++LeafCount_;
        Nodes_.push_back(n);
        return static_cast<int>(Nodes_.size()) - 1;
    }
    void Add(int node, int r, int g, int b, unsigned long long w) {
        TNode& n = Nodes_[static_cast<std::size_t>(node)];
        n.Count += w;
        n.R += w * static_cast<unsigned long long>(r);
        n.G += w * static_cast<unsigned long long>(g);
        n.B += w * static_cast<unsigned long long>(b);
    }
    void FreeBelow(int node) {
        TNode& n = Nodes_[static_cast<std::size_t>(node)];
        for (int& c : n.Children) {
            if (c < 0) continue;
            FreeBelow(c);
            TNode& child = Nodes_[static_cast<std::size_t>(c)];
            if (child.Leaf) --LeafCount_;
            if (child.Listed) {
                auto& list = Reducible_[static_cast<std::size_t>(child.Level)];
                list.erase(std::find(list.begin(), list.end(), c));
            }
            c = -1;
        }
        n.ChildCount = 0;
    }
    void MakeLeaf(int node) {
        FreeBelow(node);
        TNode& n = Nodes_[static_cast<std::size_t>(node)];
        n.Leaf = true;
        n.Listed = false;
        ++LeafCount_;
        if (n.Level + 1 < LeafLevel_) LeafLevel_ = n.Level + 1;
    }
    bool Reduce() {
        for (int level = 7; level >= 0; --level) {
            auto& list = Reducible_[static_cast<std::size_t>(level)];
            if (list.empty()) continue;
            std::size_t best = 0;
            for (std::size_t i = 1; i < list.size(); ++i)
                if (Nodes_[static_cast<std::size_t>(list[i])].Key() <
                    Nodes_[static_cast<std::size_t>(list[best])].Key())
                    best = i;
            const int node = list[best];
            list.erase(list.begin() + static_cast<std::ptrdiff_t>(best));
            MakeLeaf(node);
            return true;
        }
        // Nodes join the reducible lists only when a later colour passes through them, so a few
        // colours that part at the top can leave every list empty with too many leaves. Merge
        // the deepest node that has several children then, so the palette never outgrows n.
        int best = -1;
        FindBranch(0, best);
        if (best < 0) return false;
        MakeLeaf(best);
        return true;
    }
    void FindBranch(int node, int& best) const {
        const TNode& n = Nodes_[static_cast<std::size_t>(node)];
        if (n.Leaf) return;
        if (n.ChildCount > 1) {
            const TNode* b = best < 0 ? nullptr : &Nodes_[static_cast<std::size_t>(best)];
            if (!b || n.Level > b->Level || (n.Level == b->Level && n.Key() < b->Key()))
                best = node;
        }
        for (int c : n.Children)
            if (c >= 0) FindBranch(c, best);
    }
    void Collect(int node, std::vector<TColor>& out) const {
        const TNode& n = Nodes_[static_cast<std::size_t>(node)];
        if (n.Leaf) {
            if (n.Count)
                out.push_back(MakeColor(static_cast<int>(n.R / n.Count),
                                        static_cast<int>(n.G / n.Count),
                                        static_cast<int>(n.B / n.Count)));
            return;
        }
        for (int c : n.Children)
            if (c >= 0) Collect(c, out);
    }

    int Max_;
    int LeafLevel_ = 8;
    int LeafCount_ = 0;
    std::vector<TNode> Nodes_;
    std::array<std::vector<int>, 8> Reducible_;
};

std::vector<TColor> BoxCutColors(const TPixelGraphic& source, int m) {
    std::vector<std::uint16_t> hist(32 * 64 * 32, 0);
    for (int y = 0; y < source.Height(); ++y) {
        const std::uint8_t* p = source.ScanLine(y);
        for (int x = 0; x < source.Width(); ++x, p += 3) {
            std::uint16_t& h = hist[static_cast<std::size_t>(Cell32x64x32(p[2], p[1], p[0]))];
            if (h != 65535) ++h;
        }
        if (source.Progress(y + 1, source.Height())) break;
    }
    return TBoxCut(std::move(hist)).Run(m);
}

std::vector<TColor> OctreeColors(const TPixelGraphic& source, int m) {
    std::array<unsigned long long, 256> counts{};
    for (int y = 0; y < source.Height(); ++y) {
        for (int x = 0; x < source.Width(); ++x)
            ++counts[source.GetPixel(x, y) & 0xFF];
        if (source.Progress(y + 1, source.Height())) break;
    }
    TOctree tree(m);
    for (std::uint32_t i = 0; i < 256; ++i)
        if (counts[i] > 0) tree.Insert(source.IndexColor(i), counts[i]);
    return tree.Colors();
}

} // namespace

void OptimizePalette(TPixelGraphic& dest, const TPixelGraphic& source, int n,
                     bool withSystemColors) {
    const int m = withSystemColors ? n - 16 : n;
    if (source.Width() < 1 || source.Height() < 1 || source.Empty() || m < 1) {
        std::vector<TColor> sys = StandardPalette(pSys16);
        sys.resize(static_cast<std::size_t>(std::clamp(n, 0, 16)));
        dest.SetPalette(sys);
        return;
    }
    std::vector<TColor> colors =
        source.ColorType() == ct24Bit ? BoxCutColors(source, m) : OctreeColors(source, m);
    if (withSystemColors)
        for (TColor c : SystemColors16())
            if (static_cast<int>(colors.size()) < n) colors.push_back(c);
    dest.SetPalette(colors);
}

} // namespace pigmentaria
