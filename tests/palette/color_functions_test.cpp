#include "palette/color_functions.h"

#include <gtest/gtest.h>

namespace pigmentaria {
namespace {

TNamedPalette PaletteOf(std::initializer_list<TColor> colors) {
    TNamedPalette p;
    for (TColor c : colors)
        AddPaletteColor(p, c, "");
    return p;
}

TEST(ColorFunctionsTest, QuantizeRoundsEveryChannelDown) {
    EXPECT_EQ(QuantizeColor(clWhite, 90), MakeColor(180, 180, 180));
    EXPECT_EQ(QuantizeColor(clWhite, 255), clWhite);
    EXPECT_EQ(QuantizeColor(MakeColor(89, 90, 179), 90), MakeColor(0, 90, 90));
    EXPECT_EQ(QuantizeColor(MakeColor(254, 1, 128), 255), MakeColor(0, 0, 0));
    EXPECT_EQ(QuantizeColor(MakeColor(17, 200, 3), 1), MakeColor(17, 200, 3));
    // The top byte never survives.
    EXPECT_EQ(QuantizeColor(0xFF123456u, 1), 0x123456u);
}

TEST(ColorFunctionsTest, NearGrayNeedsAllThreeDifferencesBelow25) {
    EXPECT_TRUE(IsNearGray(MakeColor(100, 124, 110)));
    EXPECT_FALSE(IsNearGray(MakeColor(100, 125, 110)));
    EXPECT_FALSE(IsNearGray(MakeColor(100, 110, 125)));
    EXPECT_TRUE(IsNearGray(clBlack));
}

TEST(ColorFunctionsTest, HueOfPrimariesAndWrapBelowZero) {
    EXPECT_DOUBLE_EQ(static_cast<double>(HueOf(MakeColor(255, 0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(HueOf(MakeColor(0, 255, 0))), 120.0);
    EXPECT_DOUBLE_EQ(static_cast<double>(HueOf(MakeColor(0, 0, 255))), 240.0);
    // Red largest, blue above green: negative before wrapping.
    EXPECT_NEAR(static_cast<double>(HueOf(MakeColor(200, 0, 60))), 342.0, 1e-9);
    // Red and blue tied for the largest: red's formula (0 - 255) / 255 → -60 → 300.
    EXPECT_NEAR(static_cast<double>(HueOf(MakeColor(255, 0, 255))), 300.0, 1e-9);
}

TEST(ColorFunctionsTest, NearestColourWeighsHueAcrossTheWrap) {
    const TNamedPalette p = PaletteOf({MakeColor(255, 0, 0), MakeColor(0, 0, 255)});
    // Hue 342 against red's 0 is 18 degrees apart after wrapping: 55 + 0 + 60 + 18 = 133 beats
    // blue's 200 + 0 + 195 + 102 = 497.
    EXPECT_EQ(NearestPaletteColor(MakeColor(200, 0, 60), p), MakeColor(255, 0, 0));
}

TEST(ColorFunctionsTest, GreyPaysFixedPenaltyForSaturatedEntryOnly) {
    // Grey (100,100,100): to grey (160,160,160) 180; to red (150,100,100) 50 + 120 = 170.
    const TNamedPalette p = PaletteOf({MakeColor(160, 160, 160), MakeColor(150, 100, 100)});
    EXPECT_EQ(NearestPaletteColor(MakeColor(100, 100, 100), p), MakeColor(150, 100, 100));
    // Move the grey entry nearer: 150 < 170.
    const TNamedPalette q = PaletteOf({MakeColor(150, 150, 150), MakeColor(150, 100, 100)});
    EXPECT_EQ(NearestPaletteColor(MakeColor(100, 100, 100), q), MakeColor(150, 150, 150));
}

TEST(ColorFunctionsTest, TieGoesToTheLaterEntryAndEmptyPaletteGivesBlack) {
    // Two greys at the same channel distance from (100,100,100).
    const TNamedPalette p = PaletteOf({MakeColor(90, 100, 100), MakeColor(100, 110, 100)});
    EXPECT_EQ(NearestPaletteColor(MakeColor(100, 100, 100), p), MakeColor(100, 110, 100));
    const TNamedPalette q = PaletteOf({MakeColor(100, 110, 100), MakeColor(90, 100, 100)});
    EXPECT_EQ(NearestPaletteColor(MakeColor(100, 100, 100), q), MakeColor(90, 100, 100));
    EXPECT_EQ(NearestPaletteColor(MakeColor(1, 2, 3), TNamedPalette()), 0u);
}

TEST(ColorFunctionsTest, PaintLabelDescribesRgbAndHsv) {
    EXPECT_EQ(PaintLabelText(clBlack, nullptr), "RGB:(0, 0, 0)  HSV:(n/a, 0, 0)");
    EXPECT_EQ(PaintLabelText(MakeColor(255, 0, 0), nullptr), "RGB:(255, 0, 0)  HSV:(0, 1, 255)");
    // H = 60 × ((50 - 60) / 200 + 4) = 237, S = 200 / 250 = 0.8.
    EXPECT_EQ(PaintLabelText(MakeColor(50, 60, 250), nullptr),
              "RGB:(50, 60, 250)  HSV:(237, 0.8, 250)");
    // S = 2/3 shows two decimals.
    EXPECT_EQ(PaintLabelText(MakeColor(30, 90, 60), nullptr),
              "RGB:(30, 90, 60)  HSV:(150, 0.67, 90)");
}

TEST(ColorFunctionsTest, PaintLabelPrefersTheCustomPalettesName) {
    TNamedPalette custom;
    AddPaletteColor(custom, MakeColor(0, 128, 0), "Leaf");
    AddPaletteColor(custom, MakeColor(0, 0, 128), "");
    EXPECT_EQ(PaintLabelText(MakeColor(0, 128, 0), &custom), "Leaf");
    // An entry without a name falls back to the numbers.
    EXPECT_EQ(PaintLabelText(MakeColor(0, 0, 128), &custom).rfind("RGB:(0, 0, 128)", 0), 0u);
}

TEST(ColorFunctionsTest, TwoDecimalFormat) {
    EXPECT_EQ(FormatTwoDecimals(0), "0");
    EXPECT_EQ(FormatTwoDecimals(0.5), "0.5");
    EXPECT_EQ(FormatTwoDecimals(342.857142), "342.86");
    EXPECT_EQ(FormatTwoDecimals(1.999), "2");
    EXPECT_EQ(FormatTwoDecimals(0.004), "0");
}

} // namespace
} // namespace pigmentaria
