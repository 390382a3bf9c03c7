#include "image/filters.h"

#include "image/palette_match.h"
#include "image/pixel_graphic.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

namespace pigmentaria {

namespace {

std::uint8_t ClampByte(int v) {
    return static_cast<std::uint8_t>(std::clamp(v, 0, 255));
}
std::uint8_t RoundByte(double v) {
    if (!(v > -1.0)) return 0;
    if (v >= 256.0) return 255;
    return ClampByte(RoundHalfEven(v));
}

TColor ToColor(double r, double g, double b) {
    return MakeColor(RoundByte(r), RoundByte(g), RoundByte(b));
}

// The table lookup of a hue in degrees: the table covers the circle from -180°, and neighbours
// are taken the short way round.
double HueLookup(const std::array<std::uint8_t, 256>& table, double h) {
    double p = std::fmod((h + 180) * 256 / 360, 256.0);
    if (p < 0) p += 256;
    const int i = std::min(static_cast<int>(p), 255);
    const double f = p - i;
    const double a = table[i];
    double b = table[(i + 1) % 256];
    if (b - a > 128) b -= 256;
    if (a - b > 128) b += 256;
    double out = std::fmod(((1 - f) * a + f * b) * 360 / 256 - 180, 360.0);
    if (out < 0) out += 360;
    return out;
}

} // namespace

int RoundHalfEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

TColor TPGFilter::FilterPixel(int x, int y) const {
    if (IsPointFilter() && Source_) return FilterColor(Source_->GetPixel(x, y));
    return 0;
}

TColor TNegativeFilter::FilterColor(TColor c) const {
    return (~c) & 0xFFFFFF;
}

TColor TGrayScaleFilter::FilterColor(TColor c) const {
    const int r = RedOf(c), g = GreenOf(c), b = BlueOf(c);
    const int v = RGBWeighting ? (897 * r + 1761 * g + 342 * b) / 1000 / 3 : (r + g + b) / 3;
    return MakeColor(v, v, v);
}

void TBCGFilter::PrepareTable() {
    for (int i = 0; i < 256; ++i) {
        double t =
            (std::pow(i / 255.0, Gamma) * 255 - 127.5) * Contrast + 127.5 + Brightness * 2.55;
        t = std::clamp(t, -1.0, 256.0);
        Table_[i] = ClampByte(RoundHalfEven(t));
    }
}

void TBCGFilter::Begin(const TPixelSurface& source) {
    TPGFilter::Begin(source);
    PrepareTable();
}

TColor TBCGFilter::FilterColor(TColor c) const {
    if (!UseY) return MakeColor(Table_[RedOf(c)], Table_[GreenOf(c)], Table_[BlueOf(c)]);
    const TTriple ycc = RGBToYCbCr(RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
    const double y = InterpolatedLookup(Table_, ycc.A * 255) / 255;
    const TTriple rgb = YCbCrToRGB(y, ycc.B, ycc.C);
    return ToColor(rgb.A * 255, rgb.B * 255, rgb.C * 255);
}

TColorSpaceShiftFilter::TColorSpaceShiftFilter() {
    for (auto& t : Tables)
        for (int i = 0; i < 256; ++i)
            t[i] = static_cast<std::uint8_t>(i);
}

TColor TRGBFilter::FilterColor(TColor c) const {
    return MakeColor(Tables[0][RedOf(c)], Tables[1][GreenOf(c)], Tables[2][BlueOf(c)]);
}

TColor TCMYFilter::FilterColor(TColor c) const {
    return MakeColor(255 - Tables[0][255 - RedOf(c)], 255 - Tables[1][255 - GreenOf(c)],
                     255 - Tables[2][255 - BlueOf(c)]);
}

TColor TYCbCrFilter::FilterColor(TColor c) const {
    const TTriple ycc = RGBToYCbCr(RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
    const double y = InterpolatedLookup(Tables[0], ycc.A * 255) / 255;
    const double cb = InterpolatedLookup(Tables[1], (ycc.B + 0.5) * 255) / 255 - 0.5;
    const double cr = InterpolatedLookup(Tables[2], (ycc.C + 0.5) * 255) / 255 - 0.5;
    const TTriple rgb = YCbCrToRGB(y, cb, cr);
    return ToColor(rgb.A * 255, rgb.B * 255, rgb.C * 255);
}

// Through a hue-based colour space: the first table acts on the hue, the other two on the
// space's other channels; `saturation` is the position of the saturation among the three. A
// colour whose saturation the tables take to 0 comes out grey instead of failing, and a grey
// colour (no hue) stays grey whatever the saturation table says.
template <class ToSpace, class FromSpace>
TColor FilterThroughHueSpace(const std::array<std::array<std::uint8_t, 256>, 3>& tables, TColor c,
                             int saturation, ToSpace toSpace, FromSpace fromSpace) {
    const TTriple in = toSpace(RedOf(c) / 255.0, GreenOf(c) / 255.0, BlueOf(c) / 255.0);
    double v[3] = {in.A, InterpolatedLookup(tables[1], in.B * 255) / 255,
                   InterpolatedLookup(tables[2], in.C * 255) / 255};
    if (in.A != UndefinedHue && v[saturation] > 0) {
        v[0] = HueLookup(tables[0], in.A);
    } else {
        v[0] = UndefinedHue;
        v[saturation] = 0;
    }
    const TTriple rgb = fromSpace(v[0], v[1], v[2]);
    return ToColor(rgb.A * 255, rgb.B * 255, rgb.C * 255);
}

TColor THLSFilter::FilterColor(TColor c) const {
    return FilterThroughHueSpace(Tables, c, 2, RGBToHLS, HLSToRGB);
}

TColor THSVFilter::FilterColor(TColor c) const {
    return FilterThroughHueSpace(Tables, c, 1, RGBToHSV, HSVToRGB);
}

// Convolution.

TConvFilter::TConvFilter() : Kernel_(1, 1) {}

void TConvFilter::SetWidth(int width) {
    if (width < 1 || width > 99) throw EPGConvFilter(msgOutOfRange, "TConvFilter.Width");
    if (width == Width_) return;
    Width_ = width;
    Kernel_.assign(static_cast<std::size_t>(Width_ * Height_), 0);
}

void TConvFilter::SetHeight(int height) {
    if (height < 1 || height > 99) throw EPGConvFilter(msgOutOfRange, "TConvFilter.Height");
    if (height == Height_) return;
    Height_ = height;
    Kernel_.assign(static_cast<std::size_t>(Width_ * Height_), 0);
}

std::int32_t TConvFilter::Weight(int column, int row) const {
    if (column < 0 || row < 0 || column >= Width_ || row >= Height_)
        throw EPGConvFilter(msgXYIndexOutOfRange);
    return Kernel_[row * Width_ + column];
}

void TConvFilter::SetWeight(int column, int row, std::int32_t weight) {
    if (column < 0 || row < 0 || column >= Width_ || row >= Height_)
        throw EPGConvFilter(msgXYIndexOutOfRange);
    Cell(column, row) = weight;
}

std::int32_t TConvFilter::CentreWeight() const {
    return Kernel_[(-RowOffset) * Width_ + (-ColumnOffset)];
}
void TConvFilter::SetCentreWeight(std::int32_t w) {
    Cell(-ColumnOffset, -RowOffset) = w;
}
void TConvFilter::Negate() {
    for (auto& w : Kernel_)
        w = -w;
}
std::int64_t TConvFilter::Sum() const {
    std::int64_t s = 0;
    for (auto w : Kernel_)
        s += w;
    return s;
}

TColor TConvFilter::FilterPixel(int x, int y) const {
    const TPixelSurface& s = *Source_;
    std::int64_t weights = 0, r = 0, g = 0, b = 0;
    for (int j = 0; j < Height_; ++j) {
        const int sy = y + RowOffset + j;
        if (sy < 0 || sy >= s.Height()) continue;
        for (int i = 0; i < Width_; ++i) {
            const int sx = x + ColumnOffset + i;
            if (sx < 0 || sx >= s.Width()) continue;
            const std::int32_t w = Kernel_[j * Width_ + i];
            const TColor c = s.GetPixel(sx, sy);
            weights += w;
            r += w * RedOf(c);
            g += w * GreenOf(c);
            b += w * BlueOf(c);
        }
    }
    const double bias = Bias * 255 / 100;
    const auto channel = [&](std::int64_t sum) {
        const double v = weights != 0 ? static_cast<double>(sum) / static_cast<double>(weights)
                                      : static_cast<double>(sum);
        return RoundByte(Factor * v + bias);
    };
    return MakeColor(channel(r), channel(g), channel(b));
}

namespace {

double Profile(TDistributionShape shape, double sigma, double x) {
    x = std::fabs(x);
    switch (shape) {
    case dsGaussian:
        return std::exp(-x * x / (2 * sigma * sigma)) / (sigma * std::sqrt(2 * std::numbers::pi));
    case dsTent: {
        const double a = std::sqrt(6.0) * sigma;
        return x <= a ? 1 / a - x / (a * a) : 0;
    }
    case dsRect: {
        const double a = std::sqrt(3.0) * sigma;
        return x <= a ? 1 / (2 * a) : 0;
    }
    }
    return 0;
}

} // namespace

void TConvFilter::Distribution(TDistributionShape shape, bool useDistance, double sigma) {
    // The kernel may be at most 99 wide: half-size 50.
    constexpr int maxHalf = 50;
    sigma = std::max(sigma, 1e-3);
    const double f0 = Profile(shape, sigma, 0);
    int e = 1;
    if (shape == dsRect) {
        while (e < maxHalf && Profile(shape, sigma, e) != 0)
            ++e;
    } else {
        while (e < maxHalf && RoundHalfEven(16 * Profile(shape, sigma, e) / f0) >= 1)
            ++e;
    }
    const int size = 2 * e - 1;
    Width_ = Height_ = size;
    Kernel_.assign(static_cast<std::size_t>(size * size), 0);
    ColumnOffset = RowOffset = -(e - 1);
    Bias = 0;
    Factor = 1;
    for (int j = 0; j < size; ++j)
        for (int i = 0; i < size; ++i) {
            const double dx = i - (e - 1), dy = j - (e - 1);
            const double d = std::sqrt(dx * dx + dy * dy);
            std::int32_t w;
            if (shape == dsRect)
                w = useDistance ? Profile(shape, sigma, d) > 0
                                : Profile(shape, sigma, dx) * Profile(shape, sigma, dy) > 0;
            else if (useDistance)
                w = RoundHalfEven(16 * Profile(shape, sigma, d) / f0);
            else
                w = RoundHalfEven(16 * Profile(shape, sigma, dx) * Profile(shape, sigma, dy) /
                                  (f0 * f0));
            Cell(i, j) = w;
        }
}

void TConvFilter::Smooth(TDistributionShape shape, bool useDistance, double strengthPercent,
                         double sigma) {
    Distribution(shape, useDistance, sigma);
    const double s = static_cast<double>(Sum());
    SetCentreWeight(CentreWeight() + RoundHalfEven((100 / strengthPercent - 1) * s));
}

void TConvFilter::Sharpen(TDistributionShape shape, bool useDistance, double strengthPercent,
                          double sigma) {
    Distribution(shape, useDistance, sigma);
    const double s = static_cast<double>(Sum());
    Negate();
    SetCentreWeight(RoundHalfEven(100 / strengthPercent * s));
}

void TConvFilter::Detail(TDistributionShape shape, bool useDistance, double strengthPercent,
                         double sigma) {
    Distribution(shape, useDistance, sigma);
    const double s = static_cast<double>(Sum());
    const double w0 = CentreWeight();
    Negate();
    SetCentreWeight(RoundHalfEven(100 / strengthPercent * (s - w0 + 1)));
}

void TConvFilter::Contour(TDistributionShape shape, bool useDistance, bool whiteBackground,
                          double strength, double sigma) {
    Distribution(shape, useDistance, sigma);
    const std::int64_t s = Sum();
    const std::int32_t w0 = CentreWeight();
    Negate();
    SetCentreWeight(static_cast<std::int32_t>(s - w0 + 1));
    Bias = whiteBackground ? 100 : 0;
    Factor = whiteBackground ? strength : -strength;
}

void TConvFilter::Blur(double strengthPercent, double radius) {
    const int r = std::clamp(RoundHalfEven(radius), 0, 49);
    const int size = 2 * r + 1;
    Width_ = Height_ = size;
    Kernel_.assign(static_cast<std::size_t>(size * size), 0);
    ColumnOffset = RowOffset = -r;
    Bias = 0;
    Factor = 1;
    for (int deg = 0; deg < 360; ++deg) {
        const double t = deg * std::numbers::pi / 180;
        const int i = std::clamp(r + RoundHalfEven(radius * std::cos(t)), 0, size - 1);
        const int j = std::clamp(r + RoundHalfEven(radius * std::sin(t)), 0, size - 1);
        ++Cell(i, j);
    }
    const double s = static_cast<double>(Sum());
    SetCentreWeight(CentreWeight() + RoundHalfEven((100 / strengthPercent - 1) * s));
}

// The pass.

namespace {

// Interior of a row for a kernel wholly inside the picture: integer sums over contiguous bytes,
// which the compiler vectorises; identical to the general per-pixel rule there.
void ConvolveInterior(const TConvFilter& f, const TRaster24& src, int y, int xa, int xb,
                      std::uint8_t* out, std::vector<std::int32_t>& acc) {
    const std::size_t n = 3 * static_cast<std::size_t>(xb - xa);
    acc.assign(n, 0);
    std::int64_t total = 0;
    for (int j = 0; j < f.Height(); ++j) {
        const std::uint8_t* row = src.Row(y + f.RowOffset + j);
        for (int i = 0; i < f.Width(); ++i) {
            const std::int32_t w = f.Kernel()[static_cast<std::size_t>(j * f.Width() + i)];
            total += w;
            if (w == 0) continue;
            const std::uint8_t* s = row + 3 * static_cast<std::size_t>(xa + f.ColumnOffset + i);
            std::int32_t* a = acc.data();
            for (std::size_t b = 0; b < n; ++b)
                a[b] += w * s[b];
        }
    }
    const double bias = f.Bias * 255 / 100;
    const double scale = total != 0 ? f.Factor / static_cast<double>(total) : f.Factor;
    std::uint8_t* o = out + 3 * static_cast<std::size_t>(xa);
    if (total != 0 && f.Factor == 1.0 && bias == 0.0) {
        const double t = static_cast<double>(total);
        for (std::size_t b = 0; b < n; ++b)
            o[b] = RoundByte(acc[b] / t);
    } else {
        for (std::size_t b = 0; b < n; ++b)
            o[b] = RoundByte(acc[b] * scale + bias);
    }
}

void FilterRow(const TPGFilter& filter, const TRaster24& src, int y, std::uint8_t* out,
               std::vector<std::int32_t>& acc) {
    const int w = src.Width();
    int xa = 0, xb = 0;
    if (const auto* conv = dynamic_cast<const TConvFilter*>(&filter)) {
        const bool rowInside =
            y + conv->RowOffset >= 0 && y + conv->RowOffset + conv->Height() <= src.Height();
        if (rowInside) {
            xa = std::max(0, -conv->ColumnOffset);
            xb = std::min(w, w - (conv->ColumnOffset + conv->Width() - 1));
            if (xa < xb)
                ConvolveInterior(*conv, src, y, xa, xb, out, acc);
            else
                xa = xb = 0;
        }
    }
    for (int x = 0; x < w; ++x) {
        if (x == xa && xa < xb) {
            x = xb - 1;
            continue;
        }
        const TColor c = filter.FilterPixel(x, y);
        out[3 * x] = static_cast<std::uint8_t>(BlueOf(c));
        out[3 * x + 1] = static_cast<std::uint8_t>(GreenOf(c));
        out[3 * x + 2] = static_cast<std::uint8_t>(RedOf(c));
    }
}

} // namespace

bool ApplyFilter(TPGFilter& filter, const TRaster24& source, TRaster24& destination,
                 const TFilterProgress& progress) {
    if (&source == &destination && !filter.IsPointFilter())
        throw EPGFilter(msgFilterSourceIsTarget);
    if (&source != &destination &&
        (destination.Width() != source.Width() || destination.Height() != source.Height()))
        destination = TRaster24(source.Width(), source.Height());
    const int h = source.Height();
    if (destination.Empty()) return true;

    filter.Begin(source);
    // Rows are independent of each other: bands of rows are shared between threads, and
    // progress is told row by row after each band.
    const unsigned threads = std::max(1u, std::min(4u, std::thread::hardware_concurrency()));
    const int band = 32;
    bool completed = true;
    std::vector<std::vector<std::int32_t>> acc(threads);
    // An in-place point filter writes each pixel after reading only that pixel.
    for (int top = 0; top < h && completed; top += band) {
        const int bottom = std::min(h, top + band);
        auto work = [&](unsigned t) {
            for (int y = top + static_cast<int>(t); y < bottom; y += static_cast<int>(threads))
                FilterRow(filter, source, y, destination.Row(y), acc[t]);
        };
        if (threads == 1 || bottom - top < 2) {
            for (unsigned t = 0; t < threads; ++t)
                work(t);
        } else {
            std::vector<std::jthread> pool;
            for (unsigned t = 1; t < threads; ++t)
                pool.emplace_back(work, t);
            work(0);
        }
        if (progress)
            for (int y = top; y < bottom && completed; ++y)
                completed = progress(y, h - 1);
    }
    filter.End();
    return completed;
}

// Colour spaces.

TTriple RGBToHSV(double r, double g, double b) {
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double s = mx != 0 ? (mx - mn) / mx : 0;
    return {s == 0 ? UndefinedHue : HueOfChannels(r, g, b), s, mx};
}

TTriple HSVToRGB(double h, double s, double v) {
    if (s == 0) {
        if (h != UndefinedHue) throw EPGSaturationHue(msgSaturationZeroHue);
        return {v, v, v};
    }
    if (h >= 360) h = std::fmod(h, 360.0);
    h /= 60;
    const int i = std::clamp(static_cast<int>(std::floor(h)), 0, 5);
    const double f = h - i, p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
    switch (i) {
    case 0:
        return {v, t, p};
    case 1:
        return {q, v, p};
    case 2:
        return {p, v, t};
    case 3:
        return {p, q, v};
    case 4:
        return {t, p, v};
    default:
        return {v, p, q};
    }
}

TTriple RGBToHLS(double r, double g, double b) {
    const double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    const double l = (mx + mn) / 2;
    if (mx == mn) return {UndefinedHue, l, 0};
    const double d = mx - mn;
    const double s = l <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    return {HueOfChannels(r, g, b), l, s};
}

namespace {
double HLSValue(double n1, double n2, double hue) {
    hue = std::fmod(hue, 360.0);
    if (hue < 0) hue += 360;
    if (hue < 60) return n1 + (n2 - n1) * hue / 60;
    if (hue < 180) return n2;
    if (hue < 240) return n1 + (n2 - n1) * (240 - hue) / 60;
    return n1;
}
} // namespace

TTriple HLSToRGB(double h, double l, double s) {
    if (s == 0) {
        if (h != UndefinedHue) throw EPGSaturationHue(msgSaturationZeroHue);
        return {l, l, l};
    }
    const double m2 = l <= 0.5 ? l * (1 + s) : l + s - l * s;
    const double m1 = 2 * l - m2;
    return {HLSValue(m1, m2, h + 120), HLSValue(m1, m2, h), HLSValue(m1, m2, h - 120)};
}

TTriple RGBToYCbCr(double r, double g, double b) {
    return {0.299 * r + 0.587 * g + 0.114 * b, -0.169 * r - 0.331 * g + 0.5 * b,
            0.5 * r - 0.419 * g - 0.081 * b};
}

TTriple YCbCrToRGB(double y, double cb, double cr) {
    return {y + 1.403 * cr, y - 0.344 * cb - 0.714 * cr, y + 1.773 * cb};
}

TTriple RGBToCMY(double r, double g, double b) {
    return {255 - r, 255 - g, 255 - b};
}
TTriple CMYToRGB(double c, double m, double y) {
    return {255 - c, 255 - m, 255 - y};
}

double InterpolatedLookup(const std::array<std::uint8_t, 256>& table, double v) {
    v = std::clamp(v, 0.0, 255.0);
    const int p = static_cast<int>(v);
    if (p > 254) return table[p];
    const double f = v - p;
    return (1 - f) * table[p] + f * table[p + 1];
}

double ContrastGammaFromPosition(int position) {
    return std::pow(5.0, position / 100.0);
}

int PositionFromContrastGamma(double value) {
    value = std::clamp(value, 0.2, 5.0);
    return std::clamp(RoundHalfEven(100 * std::log(value) / std::log(5.0)), -100, 100);
}

void SetPercentShiftTable(std::array<std::uint8_t, 256>& table, int percent) {
    for (int i = 0; i < 256; ++i)
        table[i] = ClampByte(i + percent * 255 / 100);
}

void SetHueRotationTable(std::array<std::uint8_t, 256>& table, int degrees) {
    const int shift = degrees * 256 / 360;
    for (int i = 0; i < 256; ++i)
        table[i] = static_cast<std::uint8_t>(((i + shift) % 256 + 256) % 256);
}

} // namespace pigmentaria

namespace pigmentaria {

void ApplyFilter(TPGFilter& filter, const TPixelGraphic& source, TPixelGraphic& destination) {
    const bool same = &source == &destination;
    if (same && !filter.IsPointFilter()) throw EPGFilter(msgFilterSourceIsTarget);
    if (!same) destination.SetSize(source.Width(), source.Height(), destination.ColorType());
    if (destination.Empty()) return;

    if (filter.IsPointFilter() && destination.ColorType() != ct24Bit &&
        destination.ColorType() >= source.ColorType()) {
        // Palette path: the pixels keep their indices, the palette entries are filtered.
        if (!same) destination.Assign(&source);
        if (destination.PaletteCount() > 0) {
            TRaster24 none;
            filter.Begin(none);
            for (int i = 0; i < destination.PaletteCount(); ++i)
                destination.SetPaletteColor(i, filter.FilterColor(destination.PaletteColor(i)));
            filter.End();
        }
        destination.Changed();
        return;
    }

    // Pixel path, reading the source as colours.
    const TRaster24 src = source.ToRaster24();
    const int h = src.Height(), w = src.Width();
    destination.ProgressStart();
    if (destination.ColorType() == ct24Bit) {
        // Rows not reached before an abort keep what the destination held.
        TRaster24 out = destination.ToRaster24();
        ApplyFilter(filter, src, out,
                    [&](int row, int last) { return !destination.Progress(row, last); });
        for (int y = 0; y < h; ++y)
            std::copy_n(out.Row(y), 3 * static_cast<std::size_t>(w), destination.ScanLine(y));
    } else {
        filter.Begin(src);
        const bool dither = destination.Dither;
        std::unique_ptr<TDitherPass> pass;
        if (dither) pass = std::make_unique<TDitherPass>(destination);
        for (int y = 0; y < h; ++y) {
            if (pass) pass->NextRow();
            for (int k = 0; k < w; ++k) {
                const int x = y % 2 == 0 ? k : w - 1 - k;
                const TColor c = filter.FilterPixel(x, y);
                if (pass)
                    pass->DiffusePixel(x, y, RedOf(c), GreenOf(c), BlueOf(c));
                else
                    destination.SetPixelColor(x, y, c);
            }
            if (destination.Progress(y, h - 1)) break;
        }
        filter.End();
    }
    destination.ProgressEnd();
    destination.Changed();
}

} // namespace pigmentaria
