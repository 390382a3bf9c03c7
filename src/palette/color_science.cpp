#include "palette/color_science.h"

#include <array>
#include <cmath>
#include <numbers>

namespace pigmentaria {

namespace {

// Linear sRGB to XYZ (IEC 61966-2-1, D65). The white point is the image of RGB = (1, 1, 1), so
// white has a* = b* = 0 exactly.
constexpr double M[3][3] = {{0.4124564, 0.3575761, 0.1804375},
                            {0.2126729, 0.7151522, 0.0721750},
                            {0.0193339, 0.1191920, 0.9503041}};
constexpr double Xn = M[0][0] + M[0][1] + M[0][2];
constexpr double Yn = M[1][0] + M[1][1] + M[1][2];
constexpr double Zn = M[2][0] + M[2][1] + M[2][2];

// CIELAB's cube root with its linear toe below (6/29)^3.
constexpr double Delta = 6.0 / 29.0;
double LabF(double t) {
    return t > Delta * Delta * Delta ? std::cbrt(t) : t / (3 * Delta * Delta) + 4.0 / 29.0;
}
double LabFInverse(double f) {
    return f > Delta ? f * f * f : 3 * Delta * Delta * (f - 4.0 / 29.0);
}

struct TDecodeTable {
    std::array<double, 256> Linear{};
    TDecodeTable() {
        for (int v = 0; v < 256; ++v)
            Linear[static_cast<std::size_t>(v)] = SrgbToLinear(v / 255.0);
    }
};
const TDecodeTable& Decode() {
    static const TDecodeTable table;
    return table;
}

constexpr double Deg = std::numbers::pi / 180.0;

int Channel(double linear) {
    const double v = std::round(LinearToSrgb(linear) * 255.0);
    return v < 0 ? 0 : v > 255 ? 255 : static_cast<int>(v);
}

} // namespace

double SrgbToLinear(double e) {
    return e <= 0.04045 ? e / 12.92 : std::pow((e + 0.055) / 1.055, 2.4);
}

double LinearToSrgb(double l) {
    return l <= 0.0031308 ? 12.92 * l : 1.055 * std::pow(l, 1 / 2.4) - 0.055;
}

TLab LinearRgbToLab(double r, double g, double b) {
    const double x = M[0][0] * r + M[0][1] * g + M[0][2] * b;
    const double y = M[1][0] * r + M[1][1] * g + M[1][2] * b;
    const double z = M[2][0] * r + M[2][1] * g + M[2][2] * b;
    const double fx = LabF(x / Xn), fy = LabF(y / Yn), fz = LabF(z / Zn);
    return {116 * fy - 16, 500 * (fx - fy), 200 * (fy - fz)};
}

void LabToLinearRgb(const TLab& lab, double& r, double& g, double& b) {
    const double fy = (lab.L + 16) / 116;
    const double x = Xn * LabFInverse(fy + lab.A / 500);
    const double y = Yn * LabFInverse(fy);
    const double z = Zn * LabFInverse(fy - lab.B / 200);
    // The inverse of M.
    r = 3.2404542 * x - 1.5371385 * y - 0.4985314 * z;
    g = -0.9692660 * x + 1.8760108 * y + 0.0415560 * z;
    b = 0.0556434 * x - 0.2040259 * y + 1.0572252 * z;
}

TLab ColorToLab(TColor c) {
    const auto& t = Decode().Linear;
    return LinearRgbToLab(t[static_cast<std::size_t>(RedOf(c))],
                          t[static_cast<std::size_t>(GreenOf(c))],
                          t[static_cast<std::size_t>(BlueOf(c))]);
}

TColor LabToColor(const TLab& lab) {
    double r = 0, g = 0, b = 0;
    LabToLinearRgb(lab, r, g, b);
    return MakeColor(Channel(r), Channel(g), Channel(b));
}

double DeltaE2000(const TLab& p, const TLab& q) {
    const double c1 = std::hypot(p.A, p.B), c2 = std::hypot(q.A, q.B);
    const double cMean = (c1 + c2) / 2;
    const double cMean7 = std::pow(cMean, 7);
    const double pow25_7 = 6103515625.0; // 25^7
    const double g = 0.5 * (1 - std::sqrt(cMean7 / (cMean7 + pow25_7)));
    const double a1 = (1 + g) * p.A, a2 = (1 + g) * q.A;
    const double cp1 = std::hypot(a1, p.B), cp2 = std::hypot(a2, q.B);
    // Hue angles in degrees, 0..360; a colour without chroma has hue 0.
    auto hue = [](double b, double a) {
        if (a == 0 && b == 0) return 0.0;
        const double h = std::atan2(b, a) / Deg;
        return h < 0 ? h + 360 : h;
    };
    const double hp1 = hue(p.B, a1), hp2 = hue(q.B, a2);

    const double dL = q.L - p.L;
    const double dC = cp2 - cp1;
    const double chromaProduct = cp1 * cp2;
    double dh = 0;
    if (chromaProduct != 0) {
        dh = hp2 - hp1;
        if (dh > 180)
            dh -= 360;
        else if (dh < -180)
            dh += 360;
    }
    const double dH = 2 * std::sqrt(chromaProduct) * std::sin(dh * Deg / 2);

    const double lMean = (p.L + q.L) / 2;
    const double cpMean = (cp1 + cp2) / 2;
    double hMean = hp1 + hp2;
    if (chromaProduct != 0) {
        if (std::abs(hp1 - hp2) <= 180)
            hMean /= 2;
        else if (hMean < 360)
            hMean = (hMean + 360) / 2;
        else
            hMean = (hMean - 360) / 2;
    }
    const double t = 1 - 0.17 * std::cos((hMean - 30) * Deg) + 0.24 * std::cos(2 * hMean * Deg) +
                     0.32 * std::cos((3 * hMean + 6) * Deg) -
                     0.20 * std::cos((4 * hMean - 63) * Deg);
    const double dTheta = 30 * std::exp(-((hMean - 275) / 25) * ((hMean - 275) / 25));
    const double cpMean7 = std::pow(cpMean, 7);
    const double rc = 2 * std::sqrt(cpMean7 / (cpMean7 + pow25_7));
    const double l50 = (lMean - 50) * (lMean - 50);
    const double sl = 1 + 0.015 * l50 / std::sqrt(20 + l50);
    const double sc = 1 + 0.045 * cpMean;
    const double sh = 1 + 0.015 * cpMean * t;
    const double rt = -std::sin(2 * dTheta * Deg) * rc;
    const double tl = dL / sl, tc = dC / sc, th = dH / sh;
    return std::sqrt(tl * tl + tc * tc + th * th + rt * tc * th);
}

double DeltaE2000(TColor p, TColor q) {
    return DeltaE2000(ColorToLab(p), ColorToLab(q));
}

} // namespace pigmentaria
