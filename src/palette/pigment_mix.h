#pragma once
// How paints mix: not an average of screen colours but pigments absorbing and scattering light.
// A tube's sRGB masstone is turned into a plausible reflectance curve, curves are mixed with
// Kubelka-Munk theory, and the mixture's curve is seen again as sRGB under D65.
//
// - Reflectance from sRGB: S. A. Burns, "Numerical methods for smoothest reflectance
//   reconstruction", Color Research & Application 45 (2020) 8-21, method 3 ("LHTSS", least
//   hyperbolic tangent slope squared): the curve with the least squared slope of
//   atanh(2R - 1) whose colour under D65 is the given one, which keeps R inside (0, 1). Solved
//   with Newton's method on the Lagrange conditions, as the paper does.
// - Mixing: P. Kubelka and F. Munk (1931), for opaque layers K/S = (1 - R)^2 / 2R, with
//   D. R. Duncan's law (1940) that absorption K and scattering S add by concentration:
//   (K/S)mix = sum c_i K_i / sum c_i S_i. Two-constant, with one scattering per tube that does
//   not change with wavelength: K_i = S_i (K/S)_i, (K/S)_i from the tube's curve. A tube file
//   gives only a colour, so the scattering comes from the colour (TubeScattering): a white
//   scatters far more than coloured pigments (titanium dioxide's refractive index, about 2.7,
//   against about 1.5 for the binder), which is why a little colour tints a lot of white and
//   why tints stay light. Among coloured tubes the scattering is one value, so their mixtures
//   are those of the single-constant theory.
// - Seeing a curve: the CIE 1931 2° observer and illuminant D65 at 380-730 nm in 10 nm steps
//   (CIE 15:2004 tables), through the sRGB matrix (IEC 61966-2-1); the weights are scaled so that
//   a perfect white reflector is sRGB white exactly.
// No surface (Saunderson) correction: masstone colours are taken as seen, gloss included.
#include "palette/color_science.h"
#include "platform/color.h"

#include <array>
#include <span>

namespace pigmentaria {

// Samples of a curve: 380, 390, ... 730 nm.
constexpr int SpectrumSamples = 36;
constexpr int SpectrumFirstNm = 380, SpectrumStepNm = 10;
using TSpectrum = std::array<double, SpectrumSamples>;

struct TLinearRgb {
    double R = 0, G = 0, B = 0;
};

// The smoothest reflectance (every sample inside (0, 1)) that shows the colour under D65. Pure
// white gives 1 everywhere and pure black a very dark grey.
TSpectrum ReflectanceOfColor(TColor color);
// What a reflectance shows under D65: linear sRGB, unclamped, and the colour value (clamped).
TLinearRgb LinearRgbOfReflectance(const TSpectrum& reflectance);
TColor ColorOfReflectance(const TSpectrum& reflectance);

// Kubelka-Munk's K/S of an opaque layer of reflectance R, and back.
TSpectrum AbsorptionOfReflectance(const TSpectrum& reflectance);
TSpectrum ReflectanceOfAbsorption(const TSpectrum& ks);

// The relative scattering of a tube from its masstone: 1 for a white (CIELAB L* of 90 or more,
// chroma 10 or less), WhiteScatteringRatio times less for every other tube.
constexpr double WhiteScatteringRatio = 5.0;
double TubeScattering(TColor masstone);

// One pigment in a mixture: its K/S curve, its scattering and its share (parts; any positive
// scale).
struct TMixPart {
    const TSpectrum* Absorption = nullptr;
    double Scattering = 1;
    double Parts = 0;
};
// The reflectance of the mixture by Duncan's law; parts of zero or less are left out.
TSpectrum MixReflectance(std::span<const TMixPart> parts);

// A predicted colour: CIELAB of the clamped linear sRGB (what is compared) and the colour value.
struct TPredictedColor {
    TLab Lab;
    TColor Color = 0;
};
TPredictedColor PredictedColorOfReflectance(const TSpectrum& reflectance);

} // namespace pigmentaria
