#pragma once
// Colour as people see it: sRGB colour values in CIELAB (D65 white) and the CIEDE2000 colour
// difference, so that "how far apart do these two paints look" has one answer everywhere.
#include "platform/color.h"

namespace pigmentaria {

struct TLab {
    double L = 0, A = 0, B = 0;
    friend bool operator==(const TLab&, const TLab&) = default;
};

// The sRGB transfer curve: an encoded channel 0..1 to linear light 0..1, and back.
double SrgbToLinear(double encoded);
double LinearToSrgb(double linear);

// Linear sRGB (0..1 a channel) to CIELAB under the D65 white of sRGB, and back.
TLab LinearRgbToLab(double r, double g, double b);
void LabToLinearRgb(const TLab& lab, double& r, double& g, double& b);

// A colour value to CIELAB; the channels are decoded through a table, so this is cheap.
TLab ColorToLab(TColor color);
// The colour value nearest to a CIELAB colour: each channel rounded, out-of-gamut values held at
// 0 and 255.
TColor LabToColor(const TLab& lab);

// Squared Euclidean distance in CIELAB (ΔE*ab squared): what k-means minimises.
inline double LabDistanceSquared(const TLab& p, const TLab& q) {
    const double dl = p.L - q.L, da = p.A - q.A, db = p.B - q.B;
    return dl * dl + da * da + db * db;
}

// CIEDE2000 with the parametric factors kL = kC = kH = 1. Symmetric in its two arguments.
double DeltaE2000(const TLab& p, const TLab& q);
double DeltaE2000(TColor p, TColor q);

} // namespace pigmentaria
