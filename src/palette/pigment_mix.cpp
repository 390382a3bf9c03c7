#include "palette/pigment_mix.h"

#include <algorithm>
#include <cmath>

namespace pigmentaria {

namespace {

// CIE 1931 2° colour-matching functions, 380-730 nm by 10 nm (CIE 15:2004, table T.4).
constexpr double CmfX[SpectrumSamples] = {
    0.001368, 0.004243, 0.014310, 0.043510, 0.134380, 0.283900, 0.348280, 0.336200, 0.290800,
    0.195360, 0.095640, 0.032010, 0.004900, 0.009300, 0.063270, 0.165500, 0.290400, 0.433450,
    0.594500, 0.762100, 0.916300, 1.026300, 1.062200, 1.002600, 0.854450, 0.642400, 0.447900,
    0.283500, 0.164900, 0.087400, 0.046770, 0.022700, 0.011359, 0.005790, 0.002899, 0.001440};
constexpr double CmfY[SpectrumSamples] = {
    0.000039, 0.000120, 0.000396, 0.001210, 0.004000, 0.011600, 0.023000, 0.038000, 0.060000,
    0.090980, 0.139020, 0.208020, 0.323000, 0.503000, 0.710000, 0.862000, 0.954000, 0.994950,
    0.995000, 0.952000, 0.870000, 0.757000, 0.631000, 0.503000, 0.381000, 0.265000, 0.175000,
    0.107000, 0.061000, 0.032000, 0.017000, 0.008210, 0.004102, 0.002091, 0.001047, 0.000520};
constexpr double CmfZ[SpectrumSamples] = {
    0.006450, 0.020050, 0.067850, 0.207400, 0.645600, 1.385600, 1.747060, 1.772110, 1.669200,
    1.287640, 0.812950, 0.465180, 0.272000, 0.158200, 0.078250, 0.042160, 0.020300, 0.008750,
    0.003900, 0.002100, 0.001650, 0.001100, 0.000800, 0.000340, 0.000190, 0.000050, 0.000020,
    0.000000, 0.000000, 0.000000, 0.000000, 0.000000, 0.000000, 0.000000, 0.000000, 0.000000};
// CIE illuminant D65, relative spectral power (CIE 15:2004, table T.1).
constexpr double D65[SpectrumSamples] = {
    49.9755, 54.6482, 82.7549, 91.4860, 93.4318, 86.6823, 104.865, 117.008, 117.812,
    114.861, 115.923, 108.811, 109.354, 107.802, 104.790, 107.689, 104.405, 104.046,
    100.000, 96.3342, 95.7880, 88.6856, 90.0062, 89.5991, 87.6987, 83.2886, 83.6992,
    80.0268, 80.2146, 82.2778, 78.2842, 69.7213, 71.6091, 74.3490, 61.6040, 69.8856};

// XYZ to linear sRGB (IEC 61966-2-1), the inverse of the matrix in color_science.cpp.
constexpr double XyzToRgb[3][3] = {{3.2404542, -1.5371385, -0.4985314},
                                   {-0.9692660, 1.8760108, 0.0415560},
                                   {0.0556434, -0.2040259, 1.0572252}};

// Reflectance samples to linear sRGB under D65: the observer weighted by the illuminant, taken
// into sRGB, each row scaled to sum to 1 so that R = 1 everywhere is white.
struct TObserverMatrix {
    double T[3][SpectrumSamples] = {};
    TObserverMatrix() {
        for (int i = 0; i < SpectrumSamples; ++i) {
            const double xyz[3] = {CmfX[i] * D65[i], CmfY[i] * D65[i], CmfZ[i] * D65[i]};
            for (int c = 0; c < 3; ++c)
                T[c][i] =
                    XyzToRgb[c][0] * xyz[0] + XyzToRgb[c][1] * xyz[1] + XyzToRgb[c][2] * xyz[2];
        }
        for (auto& row : T) {
            double sum = 0;
            for (const double v : row)
                sum += v;
            for (double& v : row)
                v /= sum;
        }
    }
};
const TObserverMatrix& Observer() {
    static const TObserverMatrix m;
    return m;
}

constexpr int Unknowns = SpectrumSamples + 3;

// Solves a x = b in place by Gaussian elimination with partial pivoting; false when singular.
bool Solve(std::array<std::array<double, Unknowns>, Unknowns>& a, std::array<double, Unknowns>& b) {
    for (int col = 0; col < Unknowns; ++col) {
        int pivot = col;
        for (int r = col + 1; r < Unknowns; ++r)
            if (std::abs(a[r][col]) > std::abs(a[pivot][col])) pivot = r;
        if (std::abs(a[pivot][col]) < 1e-300) return false;
        std::swap(a[col], a[pivot]);
        std::swap(b[col], b[pivot]);
        for (int r = col + 1; r < Unknowns; ++r) {
            const double f = a[r][col] / a[col][col];
            if (f == 0) continue;
            for (int c = col; c < Unknowns; ++c)
                a[r][c] -= f * a[col][c];
            b[r] -= f * b[col];
        }
    }
    for (int r = Unknowns - 1; r >= 0; --r) {
        double s = b[r];
        for (int c = r + 1; c < Unknowns; ++c)
            s -= a[r][c] * b[c];
        b[r] = s / a[r][r];
    }
    return true;
}

constexpr double DarkestReflectance = 1e-4;

TSpectrum Constant(double v) {
    TSpectrum s;
    s.fill(v);
    return s;
}

} // namespace

TSpectrum ReflectanceOfColor(TColor color) {
    if (color == clWhite) return Constant(1.0);
    if (color == clBlack) return Constant(DarkestReflectance);
    // The target, kept a little inside (0, 1) where the curve can reach it.
    auto target = [](int channel) {
        return std::clamp(SrgbToLinear(channel / 255.0), 1e-6, 1 - 1e-6);
    };
    const double rgb[3] = {target(RedOf(color)), target(GreenOf(color)), target(BlueOf(color))};
    const auto& T = Observer().T;

    // Burns's LHTSS: R = (tanh z + 1) / 2; minimise the sum of squared differences of
    // neighbouring z subject to T R = rgb. D is twice the second-difference matrix.
    TSpectrum z{};
    double lambda[3] = {0, 0, 0};
    TSpectrum rho{};
    for (int iteration = 0; iteration < 100; ++iteration) {
        TSpectrum d1{}, d2{}, tl{};
        for (int i = 0; i < SpectrumSamples; ++i) {
            const double t = std::tanh(z[i]);
            const double sech2 = 1 - t * t;
            rho[i] = (t + 1) / 2;
            d1[i] = sech2 / 2;
            d2[i] = -sech2 * t;
            tl[i] = T[0][i] * lambda[0] + T[1][i] * lambda[1] + T[2][i] * lambda[2];
        }
        std::array<double, Unknowns> f{};
        double worst = 0;
        for (int i = 0; i < SpectrumSamples; ++i) {
            const double dz = (i > 0 ? 2 * (z[i] - z[i - 1]) : 0) +
                              (i + 1 < SpectrumSamples ? 2 * (z[i] - z[i + 1]) : 0);
            f[i] = dz + d1[i] * tl[i];
        }
        for (int c = 0; c < 3; ++c) {
            double s = -rgb[c];
            for (int i = 0; i < SpectrumSamples; ++i)
                s += T[c][i] * rho[i];
            f[SpectrumSamples + c] = s;
        }
        for (const double v : f)
            worst = std::max(worst, std::abs(v));
        if (worst < 1e-9) break;

        std::array<std::array<double, Unknowns>, Unknowns> j{};
        for (int i = 0; i < SpectrumSamples; ++i) {
            const bool first = i == 0, last = i + 1 == SpectrumSamples;
            j[i][i] = (first || last ? 2 : 4) + d2[i] * tl[i];
            if (!first) j[i][i - 1] = -2;
            if (!last) j[i][i + 1] = -2;
            for (int c = 0; c < 3; ++c) {
                j[i][SpectrumSamples + c] = d1[i] * T[c][i];
                j[SpectrumSamples + c][i] = T[c][i] * d1[i];
            }
        }
        for (double& v : f)
            v = -v;
        if (!Solve(j, f)) break;
        for (int i = 0; i < SpectrumSamples; ++i)
            z[i] += f[i];
        for (int c = 0; c < 3; ++c)
            lambda[c] += f[SpectrumSamples + c];
    }
    for (int i = 0; i < SpectrumSamples; ++i)
        rho[i] = std::clamp((std::tanh(z[i]) + 1) / 2, DarkestReflectance, 1.0);
    return rho;
}

TLinearRgb LinearRgbOfReflectance(const TSpectrum& r) {
    const auto& T = Observer().T;
    double out[3] = {0, 0, 0};
    for (int c = 0; c < 3; ++c)
        for (int i = 0; i < SpectrumSamples; ++i)
            out[c] += T[c][i] * r[i];
    return {out[0], out[1], out[2]};
}

TPredictedColor PredictedColorOfReflectance(const TSpectrum& reflectance) {
    const TLinearRgb l = LinearRgbOfReflectance(reflectance);
    const double r = std::clamp(l.R, 0.0, 1.0), g = std::clamp(l.G, 0.0, 1.0),
                 b = std::clamp(l.B, 0.0, 1.0);
    auto channel = [](double linear) {
        return static_cast<int>(std::lround(std::clamp(LinearToSrgb(linear), 0.0, 1.0) * 255));
    };
    return {LinearRgbToLab(r, g, b), MakeColor(channel(r), channel(g), channel(b))};
}

TColor ColorOfReflectance(const TSpectrum& reflectance) {
    return PredictedColorOfReflectance(reflectance).Color;
}

TSpectrum AbsorptionOfReflectance(const TSpectrum& reflectance) {
    TSpectrum ks{};
    for (int i = 0; i < SpectrumSamples; ++i) {
        const double r = std::clamp(reflectance[i], DarkestReflectance, 1.0);
        ks[i] = (1 - r) * (1 - r) / (2 * r);
    }
    return ks;
}

TSpectrum ReflectanceOfAbsorption(const TSpectrum& ks) {
    TSpectrum r{};
    // 1 + k - sqrt(k^2 + 2k), written as its reciprocal form so that dark mixtures keep their
    // digits.
    for (int i = 0; i < SpectrumSamples; ++i) {
        const double k = std::max(ks[i], 0.0);
        r[i] = 1 / (1 + k + std::sqrt(k * k + 2 * k));
    }
    return r;
}

double TubeScattering(TColor masstone) {
    const TLab lab = ColorToLab(masstone);
    return lab.L >= 90 && std::hypot(lab.A, lab.B) <= 10 ? 1.0 : 1.0 / WhiteScatteringRatio;
}

TSpectrum MixReflectance(std::span<const TMixPart> parts) {
    TSpectrum k{};
    double s = 0;
    for (const TMixPart& p : parts) {
        if (!(p.Parts > 0) || !(p.Scattering > 0) || !p.Absorption) continue;
        const double share = p.Parts * p.Scattering;
        s += share;
        for (int i = 0; i < SpectrumSamples; ++i)
            k[i] += share * (*p.Absorption)[i];
    }
    if (s > 0)
        for (double& v : k)
            v /= s;
    return ReflectanceOfAbsorption(k);
}

} // namespace pigmentaria
