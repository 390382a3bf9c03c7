// The mixing model's physical properties on the bundled tubes: a tube is its own colour, yellow
// and blue make green, white lightens without turning the hue, complements make browns.
#include "palette/pigment_mix.h"
#include "palette/tube_set.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace pigmentaria {
namespace {

const TTubeSet& Tubes() {
    static const TTubeSet set =
        LoadTubeSet(std::string(PIGMENTARIA_DATA_SOURCE) + "/tubes/acrylic12.gpl");
    return set;
}

struct TPaint {
    TSpectrum Ks;
    double S = 1;
};

TPaint Tube(const char* name) {
    const int i = FindTube(Tubes(), name);
    EXPECT_GE(i, 0) << name;
    const TColor c = Tubes().Tubes.at(static_cast<std::size_t>(i)).Color;
    return {AbsorptionOfReflectance(ReflectanceOfColor(c)), TubeScattering(c)};
}

TLab Mix(const TPaint& a, double pa, const TPaint& b, double pb) {
    const TMixPart parts[] = {{&a.Ks, a.S, pa}, {&b.Ks, b.S, pb}};
    return PredictedColorOfReflectance(MixReflectance(parts)).Lab;
}

double Hue(const TLab& lab) {
    const double h = std::atan2(lab.B, lab.A) * 180 / std::numbers::pi;
    return h < 0 ? h + 360 : h;
}
double Chroma(const TLab& lab) {
    return std::hypot(lab.A, lab.B);
}

TEST(PigmentMix, EveryTubeComesBackAsItsOwnColourFromACurveInsideZeroToOne) {
    for (const TTube& t : Tubes().Tubes) {
        const TSpectrum r = ReflectanceOfColor(t.Color);
        for (const double v : r) {
            EXPECT_GT(v, 0) << t.Name;
            EXPECT_LE(v, 1) << t.Name;
        }
        EXPECT_LT(DeltaE2000(ColorToLab(t.Color), PredictedColorOfReflectance(r).Lab), 0.1)
            << t.Name;
        EXPECT_EQ(ColorOfReflectance(r), t.Color) << t.Name;
        // Mixed with itself it stays itself.
        const TPaint p = Tube(t.Name.c_str());
        EXPECT_LT(DeltaE2000(ColorToLab(t.Color), Mix(p, 2, p, 3)), 0.1) << t.Name;
    }
}

TEST(PigmentMix, YellowAndBlueMakeGreenWhereScreenColoursAveragedMakeNone) {
    const TColor yellow =
        Tubes().Tubes[static_cast<std::size_t>(FindTube(Tubes(), "Hansa Yellow"))].Color;
    const TColor blue =
        Tubes().Tubes[static_cast<std::size_t>(FindTube(Tubes(), "Ultramarine Blue"))].Color;
    const TPaint y = Tube("Hansa Yellow"), b = Tube("Ultramarine Blue");
    int greens = 0, averagedGreens = 0;
    for (int parts = 1; parts <= 9; ++parts) {
        const TLab mixed = Mix(y, parts, b, 1);
        greens += Hue(mixed) > 120 && Hue(mixed) < 180 && Chroma(mixed) > 15;
        auto average = [parts](int p, int q) { return (parts * p + q) / (parts + 1); };
        const TLab averaged = ColorToLab(MakeColor(average(RedOf(yellow), RedOf(blue)),
                                                   average(GreenOf(yellow), GreenOf(blue)),
                                                   average(BlueOf(yellow), BlueOf(blue))));
        averagedGreens += Hue(averaged) > 120 && Hue(averaged) < 180 && Chroma(averaged) > 15;
    }
    EXPECT_GE(greens, 2);
    EXPECT_EQ(averagedGreens, 0);
}

// Kubelka-Munk tints drift in CIELAB hue as they lighten, blues most (CIELAB's blue hues bend
// too); a tint must stay recognisably the tube's colour, not turn to a neighbouring hue.
TEST(PigmentMix, WhiteLightensEveryColouredTubeAndKeepsItsHue) {
    const TPaint white = Tube("Titanium White");
    double sum = 0;
    int coloured = 0;
    for (const TTube& t : Tubes().Tubes) {
        const TPaint p = Tube(t.Name.c_str());
        const TLab pure = Mix(p, 1, white, 0), tint = Mix(p, 1, white, 1),
                   pale = Mix(p, 1, white, 3);
        if (t.Name != "Titanium White") {
            EXPECT_GT(tint.L, pure.L + 5) << t.Name;
            EXPECT_GT(pale.L, tint.L) << t.Name;
        }
        if (Chroma(pure) < 20) continue;
        double d = std::abs(Hue(tint) - Hue(pure));
        if (d > 180) d = 360 - d;
        EXPECT_LT(d, 15) << t.Name;
        sum += d;
        ++coloured;
    }
    EXPECT_GE(coloured, 9);
    EXPECT_LT(sum / coloured, 8);
}

TEST(PigmentMix, ComplementsMakeADarkLowChromaBrown) {
    const TPaint red = Tube("Cadmium Red Hue"), green = Tube("Phthalo Green");
    const TLab r = Mix(red, 1, green, 0), g = Mix(green, 1, red, 0), m = Mix(red, 1, green, 1);
    EXPECT_GT(Chroma(r), 25);
    EXPECT_GT(Chroma(g), 25);
    EXPECT_LT(Chroma(m), 15);
    EXPECT_LT(m.L, std::min(r.L, g.L));
    // Warm, not a blue-grey: the hue lies between red and yellow.
    EXPECT_GT(Hue(m), 20);
    EXPECT_LT(Hue(m), 90);
}

TEST(PigmentMix, KubelkaMunkRoundTripsAndBlackAndWhiteAreTheEnds) {
    TSpectrum r;
    for (int i = 0; i < SpectrumSamples; ++i)
        r[static_cast<std::size_t>(i)] = 0.001 + 0.998 * i / (SpectrumSamples - 1);
    const TSpectrum back = ReflectanceOfAbsorption(AbsorptionOfReflectance(r));
    for (int i = 0; i < SpectrumSamples; ++i)
        EXPECT_NEAR(back[static_cast<std::size_t>(i)], r[static_cast<std::size_t>(i)], 1e-12);
    EXPECT_EQ(ColorOfReflectance(ReflectanceOfColor(clWhite)), clWhite);
    EXPECT_EQ(ColorOfReflectance(ReflectanceOfColor(clBlack)), clBlack);
}

} // namespace
} // namespace pigmentaria
