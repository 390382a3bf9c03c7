// Resampling one picture's rectangle into another's: nearest pixel, linear interpolation or box
// averaging per axis, then mapping to the destination's palette with optional error diffusion.
#include "image/palette_match.h"
#include "image/pixel_graphic.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>

namespace pigmentaria {

namespace {

// The source taps of one destination pixel along one axis.
struct TAxisPixel {
    int Dest = 0;     // destination coordinate
    int First = 0;    // index of the first tap in TAxis::Taps
    int Count = 0;    // number of taps
    double Total = 0; // sum of the tap weights
};

struct TTap {
    int Source = 0;
    double Weight = 0;
};

struct TAxis {
    std::vector<TAxisPixel> Pixels;
    std::vector<TTap> Taps;
};

enum class TKind { Copy, Nearest, Linear, Box };

TKind KindFor(TStretchMode mode, std::int64_t srcLen, std::int64_t destLen) {
    if (srcLen == destLen) return TKind::Copy;
    const bool shrink = srcLen > destLen;
    switch (mode) {
    case smFast:
        return TKind::Nearest;
    case smMedium:
        return shrink ? TKind::Linear : TKind::Box;
    case smPrecise:
        return shrink ? TKind::Box : TKind::Linear;
    }
    return TKind::Nearest;
}

// Builds the taps of destination pixels destOrigin .. destOrigin + destLen - 1 inside
// [0, destLimit), reading source pixels srcOrigin .. srcOrigin + srcLen - 1 inside [0, srcLimit).
// Taps outside the source are dropped; a destination pixel left without taps is skipped.
TAxis BuildAxis(std::int64_t destOrigin, std::int64_t destLen, int destLimit,
                std::int64_t srcOrigin, std::int64_t srcLen, int srcLimit, TStretchMode mode) {
    TAxis axis;
    const TKind kind = KindFor(mode, srcLen, destLen);
    const std::int64_t from = std::max<std::int64_t>(0, -destOrigin);
    const std::int64_t to = std::min<std::int64_t>(destLen, destLimit - destOrigin);
    std::vector<TTap> taps;
    for (std::int64_t p = from; p < to; ++p) {
        taps.clear();
        switch (kind) {
        case TKind::Copy:
            taps.push_back({static_cast<int>(srcOrigin + p), 1.0});
            break;
        case TKind::Nearest:
            taps.push_back({static_cast<int>(srcOrigin + p * srcLen / destLen), 1.0});
            break;
        case TKind::Linear: {
            // Source position of the pixel's centre, in units of 1 / (2 * destLen) pixel.
            const std::int64_t den = 2 * destLen;
            std::int64_t pos = (2 * p + 1) * srcLen - destLen;
            pos = std::clamp<std::int64_t>(pos, 0, (srcLen - 1) * den);
            const std::int64_t i = pos / den, frac = pos % den;
            taps.push_back({static_cast<int>(srcOrigin + i), static_cast<double>(den - frac)});
            if (frac)
                taps.push_back({static_cast<int>(srcOrigin + i + 1), static_cast<double>(frac)});
            break;
        }
        case TKind::Box: {
            // The pixel covers [p * srcLen, (p + 1) * srcLen) in units of 1 / destLen pixel.
            const std::int64_t lo = p * srcLen, hi = (p + 1) * srcLen;
            for (std::int64_t i = lo / destLen; i * destLen < hi; ++i) {
                const std::int64_t a = std::max(lo, i * destLen),
                                   b = std::min(hi, (i + 1) * destLen);
                if (b > a)
                    taps.push_back({static_cast<int>(srcOrigin + i), static_cast<double>(b - a)});
            }
            break;
        }
        }
        TAxisPixel px;
        px.Dest = static_cast<int>(destOrigin + p);
        px.First = static_cast<int>(axis.Taps.size());
        for (const TTap& t : taps)
            if (t.Source >= 0 && t.Source < srcLimit) {
                axis.Taps.push_back(t);
                px.Total += t.Weight;
                ++px.Count;
            }
        if (px.Count) axis.Pixels.push_back(px);
    }
    return axis;
}

// One source row as blue, green, red bytes.
void SourceRow(const TPixelGraphic& src, int y, std::vector<std::uint8_t>& out) {
    out.resize(3 * static_cast<std::size_t>(src.Width()));
    if (src.ColorType() == ct24Bit) {
        std::memcpy(out.data(), src.ScanLine(y), out.size());
        return;
    }
    for (int x = 0; x < src.Width(); ++x) {
        const TColor c = src.IndexColor(src.GetPixel(x, y));
        out[3 * static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(BlueOf(c));
        out[3 * static_cast<std::size_t>(x) + 1] = static_cast<std::uint8_t>(GreenOf(c));
        out[3 * static_cast<std::size_t>(x) + 2] = static_cast<std::uint8_t>(RedOf(c));
    }
}

// Writes one destination row of colours (blue, green, red a pixel, for the pixels `xs`),
// mapping and dithering for palette pictures.
class TRowWriter {
public:
    explicit TRowWriter(TPixelGraphic& dest) : Dest_(dest) {
        if (dest.ColorType() != ct24Bit && dest.Dither) Dither_.emplace(dest);
    }
    void Write(int y, const std::vector<int>& xs, const std::uint8_t* bgr) {
        const std::size_t n = xs.size();
        if (Dest_.ColorType() == ct24Bit) {
            std::uint8_t* row = Dest_.ScanLine(y);
            for (std::size_t i = 0; i < n; ++i)
                std::memcpy(row + 3 * static_cast<std::size_t>(xs[i]), bgr + 3 * i, 3);
            return;
        }
        if (!Dither_) {
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint8_t* p = bgr + 3 * i;
                Dest_.SetPixel(xs[i], y, Dest_.NearestPaletteIndex(MakeColor(p[2], p[1], p[0])));
            }
            return;
        }
        Dither_->NextRow();
        if (y % 2 == 0) {
            for (std::size_t i = 0; i < n; ++i) {
                const std::uint8_t* p = bgr + 3 * i;
                Dither_->DiffusePixel(xs[i], y, p[2], p[1], p[0]);
            }
        } else {
            for (std::size_t i = n; i-- > 0;) {
                const std::uint8_t* p = bgr + 3 * i;
                Dither_->DiffusePixel(xs[i], y, p[2], p[1], p[0]);
            }
        }
    }

private:
    TPixelGraphic& Dest_;
    std::optional<TDitherPass> Dither_;
};

} // namespace

void TPixelGraphic::StretchFromWhole(const TPixelGraphic& source) {
    StretchFrom(0, 0, Width_, Height_, source, 0, 0, source.Width(), source.Height());
}

void TPixelGraphic::StretchFrom(int destX, int destY, int destWidth, int destHeight,
                                const TPixelGraphic& source, int srcX, int srcY, int srcWidth,
                                int srcHeight) {
    if (Empty() || source.Empty() || destWidth < 1 || destHeight < 1 || srcWidth < 1 ||
        srcHeight < 1)
        return;
    if (&source == this) {
        TPixelGraphic copy;
        copy.Assign(this);
        StretchFrom(destX, destY, destWidth, destHeight, copy, srcX, srcY, srcWidth, srcHeight);
        return;
    }
    const TAxis xs =
        BuildAxis(destX, destWidth, Width_, srcX, srcWidth, source.Width(), StretchMode);
    const TAxis ys =
        BuildAxis(destY, destHeight, Height_, srcY, srcHeight, source.Height(), StretchMode);
    if (xs.Pixels.empty() || ys.Pixels.empty()) return;

    std::vector<int> destXs;
    for (const TAxisPixel& px : xs.Pixels)
        destXs.push_back(px.Dest);
    const std::size_t n = destXs.size();
    std::vector<std::uint8_t> out(3 * n);
    std::vector<std::uint8_t> srcRow;

    // Same palette on both sides and no resampling: the indices are copied as they are.
    const bool sameIndices = ColorType_ != ct24Bit && source.ColorType_ == ColorType_ &&
                             source.Palette_ == Palette_ && destWidth == srcWidth &&
                             destHeight == srcHeight;
    const bool copyX = destWidth == srcWidth;
    TRowWriter writer(*this);

    // Horizontal results of source rows, kept while later destination rows may need them.
    std::map<int, std::vector<double>> rows;
    auto horizontal = [&](int sy) -> const std::vector<double>& {
        auto it = rows.find(sy);
        if (it != rows.end()) return it->second;
        SourceRow(source, sy, srcRow);
        std::vector<double> h(3 * n);
        for (std::size_t i = 0; i < n; ++i) {
            const TAxisPixel& px = xs.Pixels[i];
            double b = 0, g = 0, r = 0;
            for (int k = 0; k < px.Count; ++k) {
                const TTap& t = xs.Taps[static_cast<std::size_t>(px.First + k)];
                const std::uint8_t* p = &srcRow[3 * static_cast<std::size_t>(t.Source)];
                b += t.Weight * p[0];
                g += t.Weight * p[1];
                r += t.Weight * p[2];
            }
            h[3 * i] = b / px.Total;
            h[3 * i + 1] = g / px.Total;
            h[3 * i + 2] = r / px.Total;
        }
        return rows.emplace(sy, std::move(h)).first->second;
    };

    for (const TAxisPixel& py : ys.Pixels) {
        const int firstSource = ys.Taps[static_cast<std::size_t>(py.First)].Source;
        if (sameIndices) {
            const int sy = firstSource;
            for (std::size_t i = 0; i < n; ++i)
                SetPixel(destXs[i], py.Dest,
                         source.GetPixel(
                             xs.Taps[static_cast<std::size_t>(xs.Pixels[i].First)].Source, sy));
            continue;
        }
        if (py.Count == 1 && copyX) {
            // A straight row copy needs no arithmetic.
            SourceRow(source, firstSource, srcRow);
            for (std::size_t i = 0; i < n; ++i)
                std::memcpy(
                    &out[3 * i],
                    &srcRow[3 * static_cast<std::size_t>(
                                    xs.Taps[static_cast<std::size_t>(xs.Pixels[i].First)].Source)],
                    3);
            writer.Write(py.Dest, destXs, out.data());
            continue;
        }
        rows.erase(rows.begin(), rows.lower_bound(firstSource));
        std::vector<double> acc(3 * n, 0.0);
        for (int k = 0; k < py.Count; ++k) {
            const TTap& t = ys.Taps[static_cast<std::size_t>(py.First + k)];
            const std::vector<double>& h = horizontal(t.Source);
            for (std::size_t i = 0; i < 3 * n; ++i)
                acc[i] += t.Weight * h[i];
        }
        for (std::size_t i = 0; i < 3 * n; ++i)
            out[i] = static_cast<std::uint8_t>(
                std::clamp(std::floor(acc[i] / py.Total + 0.5), 0.0, 255.0));
        writer.Write(py.Dest, destXs, out.data());
    }
    Changed();
}

} // namespace pigmentaria
