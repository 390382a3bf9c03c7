#include "palette/color_science.h"

#include <gtest/gtest.h>

#include <cmath>

namespace pigmentaria {
namespace {

struct TPair {
    TLab P, Q;
    double Expected;
};

// The 34 pairs of Sharma, Wu and Dalal, "The CIEDE2000 color-difference formula: implementation
// notes, supplementary test data, and mathematical observations" (Color Res. Appl. 30, 2005),
// Table 1, with the published differences to four decimals.
const TPair SharmaPairs[] = {
    {{50.0000, 2.6772, -79.7751}, {50.0000, 0.0000, -82.7485}, 2.0425},
    {{50.0000, 3.1571, -77.2803}, {50.0000, 0.0000, -82.7485}, 2.8615},
    {{50.0000, 2.8361, -74.0200}, {50.0000, 0.0000, -82.7485}, 3.4412},
    {{50.0000, -1.3802, -84.2814}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -1.1848, -84.8006}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, -0.9009, -85.5211}, {50.0000, 0.0000, -82.7485}, 1.0000},
    {{50.0000, 0.0000, 0.0000}, {50.0000, -1.0000, 2.0000}, 2.3669},
    {{50.0000, -1.0000, 2.0000}, {50.0000, 0.0000, 0.0000}, 2.3669},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0009}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0010}, 7.1792},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0011}, 7.2195},
    {{50.0000, 2.4900, -0.0010}, {50.0000, -2.4900, 0.0012}, 7.2195},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0009, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0010, -2.4900}, 4.8045},
    {{50.0000, -0.0010, 2.4900}, {50.0000, 0.0011, -2.4900}, 4.7461},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 0.0000, -2.5000}, 4.3065},
    {{50.0000, 2.5000, 0.0000}, {73.0000, 25.0000, -18.0000}, 27.1492},
    {{50.0000, 2.5000, 0.0000}, {61.0000, -5.0000, 29.0000}, 22.8977},
    {{50.0000, 2.5000, 0.0000}, {56.0000, -27.0000, -3.0000}, 31.9030},
    {{50.0000, 2.5000, 0.0000}, {58.0000, 24.0000, 15.0000}, 19.4535},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.1736, 0.5854}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2972, 0.0000}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 1.8634, 0.5757}, 1.0000},
    {{50.0000, 2.5000, 0.0000}, {50.0000, 3.2592, 0.3350}, 1.0000},
    {{60.2574, -34.0099, 36.2677}, {60.4626, -34.1751, 39.4387}, 1.2644},
    {{63.0109, -31.0961, -5.8663}, {62.8187, -29.7946, -4.0864}, 1.2630},
    {{61.2901, 3.7196, -5.3901}, {61.4292, 2.2480, -4.9620}, 1.8731},
    {{35.0831, -44.1164, 3.7933}, {35.0232, -40.0716, 1.5901}, 1.8645},
    {{22.7233, 20.0904, -46.6940}, {23.0331, 14.9730, -42.5619}, 2.0373},
    {{36.4612, 47.8580, 18.3852}, {36.2715, 50.5065, 21.2231}, 1.4146},
    {{90.8027, -2.0831, 1.4410}, {91.1528, -1.6435, 0.0447}, 1.4441},
    {{90.9257, -0.5406, -0.9208}, {88.6381, -0.8985, -0.7239}, 1.5381},
    {{6.7747, -0.2908, -2.4247}, {5.8714, -0.0985, -2.2286}, 0.6377},
    {{2.0776, 0.0795, -1.1350}, {0.9033, -0.0636, -0.5514}, 0.9082},
};

TEST(DeltaE2000Test, MatchesThePublishedPairsBothWays) {
    int pair = 0;
    for (const TPair& p : SharmaPairs) {
        ++pair;
        EXPECT_NEAR(DeltaE2000(p.P, p.Q), p.Expected, 5e-5) << "pair " << pair;
        EXPECT_NEAR(DeltaE2000(p.Q, p.P), p.Expected, 5e-5) << "pair " << pair << " swapped";
    }
    EXPECT_EQ(pair, 34);
}

TEST(DeltaE2000Test, IsZeroOnlyForEqualColours) {
    EXPECT_EQ(DeltaE2000(TLab{52, 10, -30}, TLab{52, 10, -30}), 0.0);
    EXPECT_EQ(DeltaE2000(TLab{0, 0, 0}, TLab{0, 0, 0}), 0.0);
    EXPECT_GT(DeltaE2000(MakeColor(10, 20, 30), MakeColor(10, 20, 31)), 0.0);
}

TEST(CielabTest, WhiteBlackAndThePrimaries) {
    const TLab white = ColorToLab(clWhite);
    EXPECT_NEAR(white.L, 100, 1e-9);
    EXPECT_NEAR(white.A, 0, 1e-9);
    EXPECT_NEAR(white.B, 0, 1e-9);
    const TLab black = ColorToLab(clBlack);
    EXPECT_NEAR(black.L, 0, 1e-9);
    // Widely published CIELAB values of the sRGB primaries under D65.
    const TLab red = ColorToLab(MakeColor(255, 0, 0));
    EXPECT_NEAR(red.L, 53.24, 0.01);
    EXPECT_NEAR(red.A, 80.09, 0.01);
    EXPECT_NEAR(red.B, 67.20, 0.01);
    const TLab green = ColorToLab(MakeColor(0, 255, 0));
    EXPECT_NEAR(green.L, 87.73, 0.01);
    EXPECT_NEAR(green.A, -86.18, 0.01);
    EXPECT_NEAR(green.B, 83.18, 0.01);
    const TLab blue = ColorToLab(MakeColor(0, 0, 255));
    EXPECT_NEAR(blue.L, 32.30, 0.01);
    EXPECT_NEAR(blue.A, 79.19, 0.01);
    EXPECT_NEAR(blue.B, -107.86, 0.01);
    // Greys have no chroma.
    const TLab grey = ColorToLab(MakeColor(119, 119, 119));
    EXPECT_NEAR(grey.A, 0, 1e-9);
    EXPECT_NEAR(grey.B, 0, 1e-9);
    EXPECT_NEAR(grey.L, 50.0, 0.1);
}

TEST(CielabTest, EveryColourOfAGridComesBackFromLab) {
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 17)
            for (int b = 0; b < 256; b += 5) {
                const TColor c = MakeColor(r, g, b);
                ASSERT_EQ(LabToColor(ColorToLab(c)), c) << r << "," << g << "," << b;
            }
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(LabToColor(ColorToLab(MakeColor(v, v, v))), MakeColor(v, v, v));
}

TEST(CielabTest, OutOfGamutColoursAreHeldToTheChannelRange) {
    EXPECT_EQ(LabToColor({100, 0, 0}), clWhite);
    EXPECT_EQ(LabToColor({0, 0, 0}), clBlack);
    const TColor c = LabToColor({50, 127, 127}); // far beyond sRGB red
    EXPECT_EQ(RedOf(c), 255);
    EXPECT_EQ(LabToColor({120, 0, 0}), clWhite);
    EXPECT_EQ(LabToColor({-10, 0, 0}), clBlack);
}

TEST(CielabTest, TransferCurveRoundTripsAndMeetsAtTheKnee) {
    for (double v = 0; v <= 1.0; v += 0.01)
        EXPECT_NEAR(LinearToSrgb(SrgbToLinear(v)), v, 1e-12);
    // Both pieces of the curve agree at the knee.
    EXPECT_NEAR(0.04045 / 12.92, std::pow((0.04045 + 0.055) / 1.055, 2.4), 1e-7);
    EXPECT_NEAR(SrgbToLinear(0.5), 0.21404, 1e-5);
}

} // namespace
} // namespace pigmentaria
