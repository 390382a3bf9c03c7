#pragma once
// The device context that plays metafile records onto a raster: mapping, pen, brush, clip, mix
// mode, saved states, object table and path, in front of the raster canvas, so that polygons
// fill and pens draw by the same rules as everything else the program paints. The records of a
// Windows metafile and of an enhanced one are played in files of their own.
#include "image/metafile_reader.h"

#include "platform/canvas.h"
#include "platform/metafile_records.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <optional>
#include <vector>

namespace pigmentaria::metafile_playback {

using namespace metafile;

struct TXY {
    double X = 0, Y = 0;
};

// A device-independent bitmap read in place.
struct TDib {
    int Width = 0, Height = 0, Bits = 0;
    bool TopDown = false;
    std::size_t Stride = 0;
    const std::uint8_t* Data = nullptr;
    std::vector<TColor> Palette;
    std::uint32_t Masks[3] = {0, 0, 0};

    // Pixel (x, y) counted from the top row.
    TColor At(int x, int y) const {
        const std::size_t row = static_cast<std::size_t>(TopDown ? y : Height - 1 - y);
        const std::uint8_t* p = Data + row * Stride;
        auto indexed = [&](std::size_t i) { return i < Palette.size() ? Palette[i] : clBlack; };
        switch (Bits) {
        case 1:
            return indexed((p[x >> 3] >> (7 - (x & 7))) & 1);
        case 4:
            return indexed((p[x >> 1] >> ((x & 1) ? 0 : 4)) & 15);
        case 8:
            return indexed(p[x]);
        case 16: {
            const std::uint32_t v = p[2 * x] | (p[2 * x + 1] << 8);
            return MakeColor(Channel(v, Masks[0]), Channel(v, Masks[1]), Channel(v, Masks[2]));
        }
        case 24:
            return MakeColor(p[3 * x + 2], p[3 * x + 1], p[3 * x]);
        default: {
            const std::uint32_t v = p[4 * x] | (p[4 * x + 1] << 8) | (p[4 * x + 2] << 16) |
                                    (std::uint32_t(p[4 * x + 3]) << 24);
            return MakeColor(Channel(v, Masks[0]), Channel(v, Masks[1]), Channel(v, Masks[2]));
        }
        }
    }
    static int Channel(std::uint32_t v, std::uint32_t mask) {
        if (mask == 0) return 0;
        int shift = 0;
        while (!((mask >> shift) & 1))
            ++shift;
        const std::uint32_t m = mask >> shift;
        return static_cast<int>(((v >> shift) & m) * 255 / m);
    }
};

// Reads a DIB header, colour table and bits; nullopt when they do not fit in what is given or
// use a compression we do not unpack.
inline std::optional<TDib> ReadDib(const std::uint8_t* info, std::size_t infoSize,
                                   const std::uint8_t* bits, std::size_t bitsSize,
                                   bool bitsFollowTable) {
    if (infoSize < 12) return std::nullopt;
    TDib dib;
    const std::uint32_t headerSize = GetU32(info, infoSize, 0);
    std::uint32_t compression = 0, used = 0;
    std::size_t entrySize = 4;
    std::int64_t h;
    if (headerSize == 12) {
        dib.Width = GetU16(info, infoSize, 4);
        h = GetI16(info, infoSize, 6);
        dib.Bits = GetU16(info, infoSize, 10);
        entrySize = 3;
    } else if (headerSize >= 40 && headerSize <= infoSize) {
        dib.Width = GetI32(info, infoSize, 4);
        h = GetI32(info, infoSize, 8);
        dib.Bits = GetU16(info, infoSize, 14);
        compression = GetU32(info, infoSize, 16);
        used = GetU32(info, infoSize, 32);
    } else {
        return std::nullopt;
    }
    if (h < 0) {
        dib.TopDown = true;
        h = -h;
    }
    if (dib.Width <= 0 || h <= 0 || dib.Width > 65535 || h > 65535) return std::nullopt;
    dib.Height = static_cast<int>(h);
    if (dib.Bits != 1 && dib.Bits != 4 && dib.Bits != 8 && dib.Bits != 16 && dib.Bits != 24 &&
        dib.Bits != 32)
        return std::nullopt;
    std::size_t at = headerSize;
    if (compression == 3 && (dib.Bits == 16 || dib.Bits == 32)) {
        for (int i = 0; i < 3; ++i)
            dib.Masks[i] = GetU32(info, infoSize, at + 4 * i);
        if (headerSize == 40) at += 12;
    } else if (compression != 0) {
        return std::nullopt;
    } else if (dib.Bits == 16) {
        dib.Masks[0] = 0x7C00, dib.Masks[1] = 0x03E0, dib.Masks[2] = 0x001F;
    } else if (dib.Bits == 32) {
        dib.Masks[0] = 0xFF0000, dib.Masks[1] = 0xFF00, dib.Masks[2] = 0xFF;
    }
    if (dib.Bits <= 8) {
        std::size_t count = used ? used : (std::size_t(1) << dib.Bits);
        count = std::min<std::size_t>(count, 256);
        if (at > infoSize || (infoSize - at) / entrySize < count) return std::nullopt;
        for (std::size_t i = 0; i < count; ++i, at += entrySize)
            dib.Palette.push_back(MakeColor(info[at + 2], info[at + 1], info[at]));
    } else if (used && headerSize != 12) {
        at += std::size_t(std::min<std::uint32_t>(used, 1u << 16)) * 4;
    }
    if (bitsFollowTable) {
        if (at > infoSize) return std::nullopt;
        bits = info + at;
        bitsSize = infoSize - at;
    }
    dib.Stride = ((std::size_t(dib.Width) * std::size_t(dib.Bits) + 31) / 32) * 4;
    if (bits == nullptr || bitsSize / dib.Stride < std::size_t(dib.Height)) return std::nullopt;
    dib.Data = bits;
    return dib;
}

inline TColor Rop2(int mode, TColor pen, TColor dst) {
    const int table = std::clamp(mode, 1, 16) - 1;
    TColor out = 0;
    for (int i = 0; i < 4; ++i)
        if ((table >> i) & 1) out |= ((i & 2) ? pen : ~pen) & ((i & 1) ? dst : ~dst);
    return out & 0xFFFFFF;
}

inline TColor Rop3(std::uint32_t rop, TColor pat, TColor src, TColor dst) {
    const int table = static_cast<int>((rop >> 16) & 0xFF);
    TColor out = 0;
    for (int i = 0; i < 8; ++i)
        if ((table >> i) & 1)
            out |= ((i & 4) ? pat : ~pat) & ((i & 2) ? src : ~src) & ((i & 1) ? dst : ~dst);
    return out & 0xFFFFFF;
}

enum TBrushKind { bkSolid, bkNull, bkHatched, bkPattern };

struct TLogBrush {
    TBrushKind Kind = bkSolid;
    TColor Color = clWhite;
    int Hatch = 0;
    std::shared_ptr<const TRaster24> Pattern;
};

struct TLogPen {
    bool Null = false;
    TColor Color = clBlack;
    double Width = 0; // logical units; 0 is one pixel
};

// The raster as seen through the clip rectangle, the mix mode and the brush pattern.
class TPlaySurface final : public TPixelSurface {
public:
    explicit TPlaySurface(TRaster24& r) : R_(r) {}
    int Width() const override { return R_.Width(); }
    int Height() const override { return R_.Height(); }
    TColor GetPixel(int x, int y) const override { return R_.GetPixel(x, y); }
    void SetPixel(int x, int y, TColor c) override {
        if (x < ClipL || x >= ClipR || y < ClipT || y >= ClipB) return;
        if (Brush) {
            if (Brush->Kind == bkHatched) {
                if (!Hatched(x, y)) {
                    if (!OpaqueBackground) return;
                    c = BackgroundColor;
                }
            } else if (Brush->Kind == bkPattern && Brush->Pattern && !Brush->Pattern->Empty()) {
                const TRaster24& p = *Brush->Pattern;
                c = p.GetPixel(x % p.Width(), y % p.Height());
            }
        }
        R_.SetPixel(x, y, Mix == 13 ? c : Rop2(Mix, c, R_.GetPixel(x, y)));
    }
    void FillSpan(int y, int x0, int x1, TColor c) override {
        if (y < ClipT || y >= ClipB) return;
        x0 = std::max(x0, ClipL);
        x1 = std::min(x1, ClipR);
        if (x0 >= x1) return;
        if (Mix == 13 && (!Brush || Brush->Kind == bkSolid)) {
            R_.FillSpan(y, x0, x1, c);
            return;
        }
        for (int x = x0; x < x1; ++x)
            SetPixel(x, y, c);
    }

    int ClipL = 0, ClipT = 0, ClipR = 0, ClipB = 0;
    int Mix = 13;
    const TLogBrush* Brush = nullptr; // set while a fill is drawn
    bool OpaqueBackground = true;
    TColor BackgroundColor = clWhite;

private:
    bool Hatched(int x, int y) const {
        const int h = Brush->Hatch;
        const bool horizontal = (y & 7) == 0, vertical = (x & 7) == 0;
        const bool fdiag = ((x - y) & 7) == 0, bdiag = ((x + y) & 7) == 0;
        switch (h) {
        case 0:
            return horizontal;
        case 1:
            return vertical;
        case 2:
            return fdiag;
        case 3:
            return bdiag;
        case 4:
            return horizontal || vertical;
        default:
            return fdiag || bdiag;
        }
    }
    TRaster24& R_;
};

enum {
    MM_TEXT = 1,
    MM_LOMETRIC,
    MM_HIMETRIC,
    MM_LOENGLISH,
    MM_HIENGLISH,
    MM_TWIPS,
    MM_ISOTROPIC,
    MM_ANISOTROPIC
};

struct TDc {
    int MapMode = MM_TEXT;
    double WOx = 0, WOy = 0, WEx = 1, WEy = 1, VOx = 0, VOy = 0, VEx = 1, VEy = 1;
    double M11 = 1, M12 = 0, M21 = 0, M22 = 1, Dx = 0, Dy = 0;
    TLogPen Pen;
    TLogBrush Brush;
    TXY Current;
    int ClipL = INT32_MIN, ClipT = INT32_MIN, ClipR = INT32_MAX, ClipB = INT32_MAX;
    int Mix = 13;
    int BkMode = 2;
    TColor BkColor = clWhite;
    std::vector<TColor> Palette;
};

struct TObject {
    enum TKind { okNone, okPen, okBrush, okPalette, okOther } Kind = okNone;
    TLogPen Pen;
    TLogBrush Brush;
    std::vector<TColor> Palette;
};

// A count or index from a computed value: nothing outside [lo, hi] or not a number reaches the
// conversion to int, which would be undefined for it. Far-off values come out as `outside`.
inline int Bounded(double v, int lo, int hi, int outside) {
    if (!(v >= lo && v <= hi)) return outside;
    return static_cast<int>(v);
}

// Object tables are grown on demand up to this many entries.
constexpr std::size_t MaxObjects = 65536;
// How far outside the target a pen line may reach before it is cut.
constexpr int StrokeMargin = 4096;
// Saved states kept at most; deeper saves are ignored rather than grown without end.
constexpr std::size_t MaxSavedStates = 4096;

class TPlayer {
public:
    TPlayer(const TLoadedMetafile& m, TRaster24& target, const std::function<bool()>& onRecord)
        : M_(m), Target_(target), Surface_(target), Canvas_(Surface_), OnRecord_(onRecord) {}

    void Play() {
        if (M_.Enhanced)
            PlayEmf();
        else
            PlayWmf();
    }

private:
    // ---- mapping ---------------------------------------------------------------------------
    TXY ToDevice(TXY p) const {
        const double wx = p.X * Dc_.M11 + p.Y * Dc_.M21 + Dc_.Dx;
        const double wy = p.X * Dc_.M12 + p.Y * Dc_.M22 + Dc_.Dy;
        double sx = 1, sy = 1;
        switch (Dc_.MapMode) {
        case MM_TEXT:
            break;
        case MM_ISOTROPIC:
        case MM_ANISOTROPIC: {
            sx = Dc_.WEx != 0 ? Dc_.VEx / Dc_.WEx : 1;
            sy = Dc_.WEy != 0 ? Dc_.VEy / Dc_.WEy : 1;
            if (Dc_.MapMode == MM_ISOTROPIC) {
                const double s = std::min(std::abs(sx), std::abs(sy));
                sx = std::copysign(s, sx);
                sy = std::copysign(s, sy);
            }
            break;
        }
        default: {
            static const double unitsPerInch[] = {254, 2540, 100, 1000, 1440};
            const double s = DevicePpi_ / unitsPerInch[Dc_.MapMode - MM_LOMETRIC];
            sx = s;
            sy = -s;
        }
        }
        return {(wx - Dc_.WOx) * sx + Dc_.VOx, (wy - Dc_.WOy) * sy + Dc_.VOy};
    }
    TXY ToOutput(TXY p) const {
        const TXY d = ToDevice(p);
        return {d.X * OutSx_ + OutOx_, d.Y * OutSy_ + OutOy_};
    }
    static std::int32_t Pixel(double v) {
        if (!(v > -1e9)) return -1000000000;
        if (v > 1e9) return 1000000000;
        return static_cast<std::int32_t>(std::floor(v + 0.5));
    }
    TPoint ToPixel(TXY p) const {
        const TXY o = ToOutput(p);
        return {Pixel(o.X), Pixel(o.Y)};
    }
    // Output pixels per logical unit along x, for pen widths and curve steps.
    double Scale() const {
        const TXY a = ToOutput({0, 0}), b = ToOutput({1, 0}), c = ToOutput({0, 1});
        return std::max(std::hypot(b.X - a.X, b.Y - a.Y), std::hypot(c.X - a.X, c.Y - a.Y));
    }

    // ---- drawing ---------------------------------------------------------------------------
    void ApplyClip() {
        Surface_.ClipL = std::max(0, Dc_.ClipL);
        Surface_.ClipT = std::max(0, Dc_.ClipT);
        Surface_.ClipR = std::min(Target_.Width(), Dc_.ClipR);
        Surface_.ClipB = std::min(Target_.Height(), Dc_.ClipB);
        Surface_.Mix = Dc_.Mix;
        Surface_.OpaqueBackground = Dc_.BkMode == 2;
        Surface_.BackgroundColor = Dc_.BkColor;
    }
    int PenPixels() const {
        if (Dc_.Pen.Width <= 0) return 1;
        const double w = Dc_.Pen.Width * Scale();
        if (!(w >= 1.5)) return 1; // also a mapping that overflowed
        return Bounded(w + 0.5, 1, 4096, 4096);
    }
    std::vector<TPoint> Pixels(const std::vector<TXY>& pts) const {
        std::vector<TPoint> out;
        out.reserve(pts.size());
        for (const TXY& p : pts)
            out.push_back({Pixel(p.X), Pixel(p.Y)});
        return out;
    }
    std::vector<TXY> Out(const std::vector<TXY>& logical) const {
        std::vector<TXY> out;
        out.reserve(logical.size());
        for (const TXY& p : logical)
            out.push_back(ToOutput(p));
        return out;
    }

    // Drawing takes points on the target (output space). Fills the rings together under the
    // alternate rule, then outlines each.
    void DrawRings(const std::vector<std::vector<TXY>>& rings, bool fill, bool stroke) {
        ApplyClip();
        std::vector<std::vector<TPoint>> px;
        for (const auto& r : rings)
            if (!r.empty()) px.push_back(Pixels(r));
        if (px.empty()) return;
        if (fill && Dc_.Brush.Kind != bkNull) {
            // The rings joined into one polygon through bridges from their first points that are
            // each drawn twice, so that they cancel under the alternate rule.
            std::vector<TPoint> all;
            for (const auto& r : px) {
                all.insert(all.end(), r.begin(), r.end());
                all.push_back(r.front());
            }
            for (std::size_t i = px.size(); i-- > 1;)
                all.push_back(px[i].front());
            Surface_.Brush = &Dc_.Brush;
            Canvas_.SetPen({clBlack, 1, TPenStyle::Clear});
            Canvas_.SetBrush({Dc_.Brush.Color, TBrushStyle::Solid});
            if (px.size() == 1) {
                Canvas_.Polygon(px[0]);
            } else {
                Canvas_.Polygon(all);
            }
            Surface_.Brush = nullptr;
        }
        if (stroke && !Dc_.Pen.Null)
            for (const auto& r : px)
                Stroke(r, true);
    }
    void DrawPolyline(const std::vector<TXY>& pts) {
        if (pts.size() < 2 || Dc_.Pen.Null) return;
        ApplyClip();
        Stroke(Pixels(pts), false);
    }

    bool NearTarget(TPoint p) const {
        return p.X >= -StrokeMargin && p.Y >= -StrokeMargin &&
               p.X <= Target_.Width() + StrokeMargin && p.Y <= Target_.Height() + StrokeMargin;
    }
    // A segment cut to the target and its margin; false when nothing of it is left.
    bool ClipSegment(TPoint& a, TPoint& b) const {
        const double x0 = -StrokeMargin, y0 = -StrokeMargin;
        const double x1 = Target_.Width() + StrokeMargin, y1 = Target_.Height() + StrokeMargin;
        double t0 = 0, t1 = 1;
        const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
        const double p[4] = {-dx, dx, -dy, dy};
        const double q[4] = {a.X - x0, x1 - a.X, a.Y - y0, y1 - a.Y};
        for (int i = 0; i < 4; ++i) {
            if (p[i] == 0) {
                if (q[i] < 0) return false;
                continue;
            }
            const double t = q[i] / p[i];
            if (p[i] < 0)
                t0 = std::max(t0, t);
            else
                t1 = std::min(t1, t);
        }
        if (t0 > t1) return false;
        const TPoint na{Pixel(a.X + t0 * dx), Pixel(a.Y + t0 * dy)};
        b = {Pixel(a.X + t1 * dx), Pixel(a.Y + t1 * dy)};
        a = na;
        return true;
    }
    // Draws the pen along the points. A one-pixel pen draws as the raster canvas does (segments
    // far outside the target are cut first, so that their length costs nothing); a wider pen
    // fills a band around each segment and a square at each joint.
    void Stroke(const std::vector<TPoint>& px, bool closed) {
        if (px.empty()) return;
        const int width = PenPixels();
        const std::size_t segments = closed ? px.size() : px.size() - 1;
        if (width == 1) {
            Canvas_.SetPen({Dc_.Pen.Color, 1, TPenStyle::Solid});
            Canvas_.SetBrush({clWhite, TBrushStyle::Clear});
            if (std::all_of(px.begin(), px.end(), [&](TPoint p) { return NearTarget(p); })) {
                if (closed) {
                    Canvas_.Polygon(px);
                } else {
                    Canvas_.MoveTo(px[0].X, px[0].Y);
                    for (std::size_t i = 1; i < px.size(); ++i)
                        Canvas_.LineTo(px[i].X, px[i].Y);
                }
                return;
            }
            for (std::size_t i = 0; i < segments; ++i) {
                TPoint a = px[i], b = px[(i + 1) % px.size()];
                if (!ClipSegment(a, b)) continue;
                Canvas_.MoveTo(a.X, a.Y);
                Canvas_.LineTo(b.X, b.Y);
            }
            return;
        }
        Canvas_.SetPen({clBlack, 1, TPenStyle::Clear});
        Canvas_.SetBrush({Dc_.Pen.Color, TBrushStyle::Solid});
        const double h = width / 2.0;
        auto joint = [&](TPoint p) {
            if (!NearTarget(p)) return;
            const std::vector<TPoint> sq{{Pixel(p.X - h), Pixel(p.Y - h)},
                                         {Pixel(p.X + h), Pixel(p.Y - h)},
                                         {Pixel(p.X + h), Pixel(p.Y + h)},
                                         {Pixel(p.X - h), Pixel(p.Y + h)}};
            Canvas_.Polygon(sq);
        };
        for (std::size_t i = 0; i < segments; ++i) {
            TPoint a = px[i], b = px[(i + 1) % px.size()];
            if (!ClipSegment(a, b)) continue;
            const double dx = double(b.X) - a.X, dy = double(b.Y) - a.Y;
            const double len = std::hypot(dx, dy);
            if (len > 0) {
                const double nx = -dy / len * h, ny = dx / len * h;
                const std::vector<TPoint> band{{Pixel(a.X + nx), Pixel(a.Y + ny)},
                                               {Pixel(b.X + nx), Pixel(b.Y + ny)},
                                               {Pixel(b.X - nx), Pixel(b.Y - ny)},
                                               {Pixel(a.X - nx), Pixel(a.Y - ny)}};
                Canvas_.Polygon(band);
            }
            joint(a);
        }
        if (!closed) joint(px.back());
    }

    // A figure of the path being recorded, or drawn at once when no path is open.
    void Figure(std::vector<TXY> pts, bool closed, bool fill) {
        if (InPath_) {
            PathFigures_.push_back({std::move(pts), closed});
            return;
        }
        if (closed)
            DrawRings({pts}, fill, true);
        else
            DrawPolyline(pts);
    }
    // Lines from the current position (logical points): joined onto the open path figure, or
    // drawn.
    void LinesFromCurrent(const std::vector<TXY>& to) {
        if (to.empty()) return;
        const std::vector<TXY> out = Out(to);
        if (InPath_) {
            if (PathFigures_.empty() || PathFigures_.back().Closed || !PathOpen_)
                PathFigures_.push_back({{ToOutput(Dc_.Current)}, false});
            auto& f = PathFigures_.back().Points;
            f.insert(f.end(), out.begin(), out.end());
            PathOpen_ = true;
        } else {
            std::vector<TXY> pts{ToOutput(Dc_.Current)};
            pts.insert(pts.end(), out.begin(), out.end());
            DrawPolyline(pts);
        }
        Dc_.Current = to.back();
    }
    void PathEnded(bool fill, bool stroke) {
        std::vector<std::vector<TXY>> rings;
        for (const auto& f : PathFigures_)
            rings.push_back(f.Points);
        if (fill) DrawRings(rings, true, false);
        if (stroke)
            for (const auto& f : PathFigures_) {
                if (f.Closed)
                    DrawRings({f.Points}, false, true);
                else
                    DrawPolyline(f.Points);
            }
        PathFigures_.clear();
        InPath_ = false;
    }

    // The box a rectangle-like call covers on the target, [l, r) × [t, b): its corners'
    // pixels, right and bottom being the last column and row inside.
    void OutBox(double l, double t, double r, double b, TXY& o0, TXY& o1) const {
        const TXY a = ToOutput({l, t}), c = ToOutput({r, b});
        o0 = {std::min(a.X, c.X), std::min(a.Y, c.Y)};
        o1 = {std::max(a.X, c.X) - 1, std::max(a.Y, c.Y) - 1};
    }
    // Points on the ellipse in the output box from angle a0 sweeping ccw by `sweep`: about one
    // every two pixels of the curve, at least 4 and at most 2000 however large the box. A box
    // whose mapping overflowed gives no points.
    static std::vector<TXY> EllipseArc(TXY o0, TXY o1, double a0, double sweep) {
        if (!std::isfinite(o0.X) || !std::isfinite(o0.Y) || !std::isfinite(o1.X) ||
            !std::isfinite(o1.Y) || !std::isfinite(a0) || !std::isfinite(sweep))
            return {};
        const double cx = (o0.X + o1.X) / 2, cy = (o0.Y + o1.Y) / 2;
        const double rx = std::abs(o1.X - o0.X) / 2, ry = std::abs(o1.Y - o0.Y) / 2;
        const double steps = std::max(rx, ry) * std::abs(sweep) / 2;
        const int n = std::max(4, Bounded(steps, 0, 2000, 2000));
        std::vector<TXY> out;
        for (int i = 0; i <= n; ++i) {
            const double a = a0 + sweep * i / n;
            out.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
        }
        return out;
    }
    std::vector<TXY> Ellipse(double l, double t, double r, double b) const {
        TXY o0, o1;
        OutBox(l, t, r, b, o0, o1);
        auto pts = EllipseArc(o0, o1, 0, 2 * std::numbers::pi);
        if (!pts.empty()) pts.pop_back();
        return pts;
    }
    // kind: 0 arc, 1 chord, 2 pie.
    void Arc(double l, double t, double r, double b, TXY s, TXY e, int kind) {
        TXY o0, o1;
        OutBox(l, t, r, b, o0, o1);
        const double cx = (o0.X + o1.X) / 2, cy = (o0.Y + o1.Y) / 2;
        const TXY os = ToOutput(s), oe = ToOutput(e);
        const double a0 = std::atan2(-(os.Y - cy), os.X - cx);
        double a1 = std::atan2(-(oe.Y - cy), oe.X - cx);
        if (a1 <= a0) a1 += 2 * std::numbers::pi;
        std::vector<TXY> pts = EllipseArc(o0, o1, a0, a1 - a0);
        if (pts.empty()) return;
        if (kind == 2) pts.push_back({cx, cy});
        Figure(std::move(pts), kind != 0, true);
    }
    std::vector<TXY> RoundRect(double l, double t, double r, double b, double w, double h) const {
        TXY o0, o1;
        OutBox(l, t, r, b, o0, o1);
        const TXY z = ToOutput({0, 0}), c = ToOutput({w, h});
        w = std::min(std::abs(c.X - z.X), o1.X - o0.X);
        h = std::min(std::abs(c.Y - z.Y), o1.Y - o0.Y);
        const double pi = std::numbers::pi;
        std::vector<TXY> out;
        auto corner = [&](double x0, double y0, double a) {
            auto arc = EllipseArc({x0, y0}, {x0 + w, y0 + h}, a, pi / 2);
            out.insert(out.end(), arc.begin(), arc.end());
        };
        corner(o1.X - w, o0.Y, 0);
        corner(o0.X, o0.Y, pi / 2);
        corner(o0.X, o1.Y - h, pi);
        corner(o1.X - w, o1.Y - h, 3 * pi / 2);
        return out;
    }
    std::vector<TXY> Rect(double l, double t, double r, double b) const {
        TXY o0, o1;
        OutBox(l, t, r, b, o0, o1);
        return {o0, {o1.X, o0.Y}, o1, {o0.X, o1.Y}};
    }
    static void Bezier(std::vector<TXY>& out, TXY p0, TXY c1, TXY c2, TXY p3) {
        constexpr int steps = 16;
        for (int i = 1; i <= steps; ++i) {
            const double t = double(i) / steps, u = 1 - t;
            out.push_back(
                {u * u * u * p0.X + 3 * u * u * t * c1.X + 3 * u * t * t * c2.X + t * t * t * p3.X,
                 u * u * u * p0.Y + 3 * u * u * t * c1.Y + 3 * u * t * t * c2.Y +
                     t * t * t * p3.Y});
        }
    }
    // Rectangle to rectangle pixel copy with a ternary raster operation.
    void Blit(TXY d0, TXY d1, const TDib* dib, double sx, double sy, double sw, double sh,
              std::uint32_t rop) {
        ApplyClip();
        const TXY o0 = ToOutput(d0), o1 = ToOutput(d1);
        const double x0 = std::min(o0.X, o1.X), x1 = std::max(o0.X, o1.X);
        const double y0 = std::min(o0.Y, o1.Y), y1 = std::max(o0.Y, o1.Y);
        const int px0 = std::max<int>(Surface_.ClipL, Pixel(x0)),
                  px1 = std::min<int>(Surface_.ClipR, Pixel(x1));
        const int py0 = std::max<int>(Surface_.ClipT, Pixel(y0)),
                  py1 = std::min<int>(Surface_.ClipB, Pixel(y1));
        if (px0 >= px1 || py0 >= py1 || !(x1 > x0) || !(y1 > y0)) return;
        const bool flipX = (o1.X < o0.X) != (sw < 0), flipY = (o1.Y < o0.Y) != (sh < 0);
        sw = std::abs(sw), sh = std::abs(sh);
        const TColor pattern = Dc_.Brush.Color;
        for (int y = py0; y < py1; ++y) {
            double v = (y + 0.5 - y0) / (y1 - y0);
            if (flipY) v = 1 - v;
            // Source rows and columns outside the bitmap (however far) are skipped.
            const int syy = Bounded(std::floor(sy + v * sh), 0, INT32_MAX, -1);
            for (int x = px0; x < px1; ++x) {
                TColor src = 0;
                if (dib) {
                    double u = (x + 0.5 - x0) / (x1 - x0);
                    if (flipX) u = 1 - u;
                    const int sxx = Bounded(std::floor(sx + u * sw), 0, INT32_MAX, -1);
                    if (sxx < 0 || syy < 0 || sxx >= dib->Width || syy >= dib->Height) continue;
                    src = dib->At(sxx, syy);
                }
                const TColor dst = Target_.GetPixel(x, y);
                Target_.SetPixel(x, y, rop == 0x00CC0020 ? src : Rop3(rop, pattern, src, dst));
            }
        }
    }
    bool Drawn() { return !OnRecord_ || OnRecord_(); }

    // ---- objects ---------------------------------------------------------------------------
    TObject* Slot(std::size_t i) {
        if (i >= MaxObjects) return nullptr;
        if (i >= Objects_.size()) Objects_.resize(i + 1);
        return &Objects_[i];
    }
    void Select(std::size_t i) {
        if (i >= Objects_.size()) return;
        const TObject& o = Objects_[i];
        if (o.Kind == TObject::okPen) Dc_.Pen = o.Pen;
        if (o.Kind == TObject::okBrush) Dc_.Brush = o.Brush;
        if (o.Kind == TObject::okPalette) Dc_.Palette = o.Palette;
    }
    TColor Color(std::uint32_t ref) const {
        if ((ref >> 24) == 1) {
            const std::size_t i = ref & 0xFFFF;
            const std::vector<TColor>& p = Dc_.Palette.empty() ? M_.Palette : Dc_.Palette;
            return i < p.size() ? p[i] : clBlack;
        }
        return ref & 0xFFFFFF;
    }
    TLogBrush MakeBrush(std::uint32_t style, std::uint32_t color, std::uint32_t hatch) const {
        TLogBrush b;
        b.Color = Color(color);
        b.Kind = style == 1 ? bkNull : style == 2 ? bkHatched : bkSolid;
        b.Hatch = static_cast<int>(hatch);
        return b;
    }
    TLogBrush PatternBrush(const std::optional<TDib>& dib) const {
        TLogBrush b;
        if (!dib) return b; // an unreadable pattern paints solid white
        auto tile =
            std::make_shared<TRaster24>(std::min(dib->Width, 64), std::min(dib->Height, 64));
        for (int y = 0; y < tile->Height(); ++y)
            for (int x = 0; x < tile->Width(); ++x)
                tile->SetPixel(x, y, dib->At(x, y));
        b.Kind = bkPattern;
        b.Color = tile->GetPixel(0, 0);
        b.Pattern = std::move(tile);
        return b;
    }
    void SaveDc() {
        if (Saved_.size() < MaxSavedStates) Saved_.push_back(Dc_);
    }
    void RestoreDc(std::int32_t n) {
        // Negative: that many states back; positive: the n-th state saved.
        std::size_t keep;
        if (n < 0) {
            if (std::size_t(-std::int64_t(n)) > Saved_.size()) return;
            keep = Saved_.size() - std::size_t(-std::int64_t(n));
        } else {
            if (n == 0 || std::size_t(n) > Saved_.size()) return;
            keep = std::size_t(n) - 1;
        }
        Dc_ = Saved_[keep];
        Saved_.resize(keep);
    }
    void IntersectClip(TXY a, TXY b) {
        const TXY o0 = ToOutput(a), o1 = ToOutput(b);
        Dc_.ClipL = std::max(Dc_.ClipL, Pixel(std::min(o0.X, o1.X)));
        Dc_.ClipT = std::max(Dc_.ClipT, Pixel(std::min(o0.Y, o1.Y)));
        Dc_.ClipR = std::min(Dc_.ClipR, Pixel(std::max(o0.X, o1.X)));
        Dc_.ClipB = std::min(Dc_.ClipB, Pixel(std::max(o0.Y, o1.Y)));
    }
    void ResetClip() {
        Dc_.ClipL = Dc_.ClipT = INT32_MIN;
        Dc_.ClipR = Dc_.ClipB = INT32_MAX;
    }

    // ---- Windows metafile (metafile_wmf.cpp) -----------------------------------------------
    void PlayWmf();
    void WmfCreate(TObject o);
    std::vector<TXY> WmfPoints(const std::uint8_t* p, std::size_t size, std::size_t at,
                               std::size_t count) const;
    bool WmfRecord(std::uint16_t fn, const std::uint8_t* p, std::size_t s);

    // ---- enhanced metafile (metafile_emf.cpp) ----------------------------------------------
    void PlayEmf();
    std::vector<TXY> EmfPoints(const std::uint8_t* p, std::size_t s, std::size_t at,
                               std::size_t count, bool small) const;
    std::optional<TDib> EmfDib(const std::uint8_t* p, std::size_t s, std::size_t offInfo,
                               std::size_t cbInfo, std::size_t offBits, std::size_t cbBits) const;
    void PolyBezier(std::vector<TXY> pts, bool fromCurrent);
    bool EmfRecord(std::uint32_t type, const std::uint8_t* p, std::size_t s);

    void StockObject(std::uint32_t i) {
        static const TColor grays[] = {clWhite, 0xC0C0C0, 0x808080, 0x404040, clBlack};
        if (i <= 4) {
            Dc_.Brush = TLogBrush{bkSolid, grays[i], 0, nullptr};
        } else if (i == 5) {
            Dc_.Brush = TLogBrush{bkNull, clWhite, 0, nullptr};
        } else if (i == 6 || i == 7) {
            Dc_.Pen = TLogPen{false, i == 6 ? clWhite : clBlack, 0};
        } else if (i == 8) {
            Dc_.Pen = TLogPen{true, clBlack, 0};
        } else if (i == 18) {
            Dc_.Brush = TLogBrush{bkSolid, clWhite, 0, nullptr};
        } else if (i == 19) {
            Dc_.Pen = TLogPen{false, clBlack, 0};
        }
    }

    struct TFigure {
        std::vector<TXY> Points;
        bool Closed = false;
    };

    const TLoadedMetafile& M_;
    TRaster24& Target_;
    TPlaySurface Surface_;
    TRasterCanvas Canvas_;
    const std::function<bool()>& OnRecord_;
    TDc Dc_;
    std::vector<TDc> Saved_;
    std::vector<TObject> Objects_;
    double OutSx_ = 1, OutSy_ = 1, OutOx_ = 0, OutOy_ = 0;
    double DevicePpi_ = 96;
    bool InPath_ = false, PathOpen_ = false;
    std::vector<TFigure> PathFigures_;
};

} // namespace pigmentaria::metafile_playback
