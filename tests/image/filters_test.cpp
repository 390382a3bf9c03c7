#include "image/filters.h"
#include "palette/color_functions.h"

#include <gtest/gtest.h>

#include <random>

namespace pigmentaria {
namespace {

using Kernel = std::vector<std::int32_t>;

Kernel Flat(const std::vector<std::vector<int>>& rows) {
    Kernel k;
    for (const auto& r : rows)
        k.insert(k.end(), r.begin(), r.end());
    return k;
}

TRaster24 RandomPicture(int w, int h, unsigned seed) {
    std::mt19937 rng(seed);
    TRaster24 r(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < 3 * w; ++x)
            r.Row(y)[x] = static_cast<std::uint8_t>(rng());
    return r;
}

// Expected kernels computed by a separate script from the builder formulas.
TEST(KernelBuilderTest, SharpenDetailSmoothFromGaussian) {
    TConvFilter f;
    f.Sharpen(dsGaussian, true, 50, 0.75);
    EXPECT_EQ(f.Width(), 3);
    EXPECT_EQ(f.ColumnOffset, -1);
    EXPECT_EQ(f.Kernel(), Flat({{-3, -7, -3}, {-7, 112, -7}, {-3, -7, -3}}));
    f.Detail(dsGaussian, true, 75, 0.75);
    EXPECT_EQ(f.Kernel(), Flat({{-3, -7, -3}, {-7, 55, -7}, {-3, -7, -3}}));
    f.Smooth(dsGaussian, true, 100, 1.3);
    EXPECT_EQ(f.Width(), 7);
    EXPECT_EQ(f.RowOffset, -3);
    EXPECT_EQ(f.Kernel(), Flat({{0, 0, 1, 1, 1, 0, 0},
                                {0, 2, 4, 5, 4, 2, 0},
                                {1, 4, 9, 12, 9, 4, 1},
                                {1, 5, 12, 16, 12, 5, 1},
                                {1, 4, 9, 12, 9, 4, 1},
                                {0, 2, 4, 5, 4, 2, 0},
                                {0, 0, 1, 1, 1, 0, 0}}));
}

TEST(KernelBuilderTest, ProductAndTentDistributions) {
    TConvFilter f;
    f.Distribution(dsGaussian, false, 1.0);
    EXPECT_EQ(f.Kernel(), Flat({{0, 1, 2, 1, 0},
                                {1, 6, 10, 6, 1},
                                {2, 10, 16, 10, 2},
                                {1, 6, 10, 6, 1},
                                {0, 1, 2, 1, 0}}));
    f.Distribution(dsTent, true, 1.0);
    EXPECT_EQ(f.Kernel(), Flat({{0, 1, 3, 1, 0},
                                {1, 7, 9, 7, 1},
                                {3, 9, 16, 9, 3},
                                {1, 7, 9, 7, 1},
                                {0, 1, 3, 1, 0}}));
}

TEST(KernelBuilderTest, ContourAndBlur) {
    TConvFilter f;
    f.Contour(dsRect, true, true, 1.0, 1.0);
    EXPECT_EQ(f.Kernel(), Flat({{-1, -1, -1}, {-1, 9, -1}, {-1, -1, -1}}));
    EXPECT_EQ(f.Bias, 100);
    EXPECT_EQ(f.Factor, 1.0);
    f.Contour(dsRect, true, false, 2.0, 1.0);
    EXPECT_EQ(f.Bias, 0);
    EXPECT_EQ(f.Factor, -2.0);
    f.Blur(50, 2.5);
    EXPECT_EQ(f.Kernel(), Flat({{17, 25, 23, 25, 17},
                                {25, 0, 0, 0, 25},
                                {23, 0, 360, 0, 23},
                                {25, 0, 0, 0, 25},
                                {17, 25, 23, 25, 17}}));
}

TEST(ConvFilterTest, SizeAndIndexChecks) {
    TConvFilter f;
    EXPECT_EQ(f.Kernel(), Kernel{1}); // a new filter is the identity
    f.SetWidth(3);
    EXPECT_EQ(f.Kernel(), Kernel(3, 0));
    try {
        f.SetHeight(100);
        FAIL();
    } catch (const EPGConvFilter& e) {
        EXPECT_STREQ(e.what(), "TConvFilter.Height out of range");
    }
    EXPECT_THROW(f.SetWeight(3, 0, 1), EPGConvFilter);
    EXPECT_THROW(f.Weight(0, -1), EPGConvFilter);
}

TEST(ConvFilterTest, BorderPixelsAreRenormalisedByTheWeightsInside) {
    // Box 3 × 3 over a picture whose left column is 90 and the rest 0: at the corner (0, 0) the
    // four cells inside are two of 90 and two of 0, so the mean is 45.
    TRaster24 src(4, 4);
    for (int y = 0; y < 4; ++y)
        src.SetPixel(0, y, MakeColor(90, 90, 90));
    TConvFilter box;
    box.SetWidth(3);
    box.SetHeight(3);
    box.ColumnOffset = box.RowOffset = -1;
    for (int j = 0; j < 3; ++j)
        for (int i = 0; i < 3; ++i)
            box.SetWeight(i, j, 1);
    TRaster24 dst;
    ApplyFilter(box, src, dst);
    EXPECT_EQ(dst.GetPixel(0, 0), MakeColor(45, 45, 45));
    EXPECT_EQ(dst.GetPixel(1, 1), MakeColor(30, 30, 30));
    EXPECT_EQ(dst.GetPixel(3, 3), 0u);
}

TEST(ConvFilterTest, FastPassEqualsThePerPixelRule) {
    const TRaster24 src = RandomPicture(37, 23, 7);
    TConvFilter filters[4];
    filters[0].Sharpen(dsGaussian, true, 50, 0.75);
    filters[1].Smooth(dsGaussian, true, 100, 1.3);
    filters[2].Contour(dsRect, true, true, 1.0, 1.0);
    filters[3].Blur(40, 3.0);
    for (TConvFilter& f : filters) {
        TRaster24 dst;
        ApplyFilter(f, src, dst);
        f.Begin(src);
        for (int y = 0; y < src.Height(); ++y)
            for (int x = 0; x < src.Width(); ++x)
                ASSERT_EQ(dst.GetPixel(x, y), f.FilterPixel(x, y)) << x << "," << y;
        f.End();
    }
}

TEST(ConvFilterTest, RefusesToFilterAPictureIntoItself) {
    TRaster24 pic(3, 3);
    TConvFilter f;
    try {
        ApplyFilter(f, pic, pic);
        FAIL();
    } catch (const EPGFilter& e) {
        EXPECT_STREQ(e.what(),
                     "Cannot apply this filter to a source that is identical to the target");
    }
    TNegativeFilter n; // point filters may
    ApplyFilter(n, pic, pic);
    EXPECT_EQ(pic.GetPixel(2, 2), 0xFFFFFFu);
}

TEST(ConvFilterTest, StoppedPassKeepsTheRowsDone) {
    const TRaster24 src = RandomPicture(8, 100, 3);
    TRaster24 dst(8, 100, 0x123456);
    TNegativeFilter n;
    int calls = 0;
    EXPECT_FALSE(ApplyFilter(n, src, dst, [&](int row, int last) {
        EXPECT_EQ(last, 99);
        EXPECT_EQ(row, calls++);
        return row < 40;
    }));
    EXPECT_EQ(calls, 41);
    EXPECT_EQ(dst.GetPixel(0, 0), (~src.GetPixel(0, 0)) & 0xFFFFFF);
}

TEST(PointFilterTest, NegativeAndGrayscale) {
    TNegativeFilter neg;
    EXPECT_EQ(neg.FilterColor(MakeColor(0, 100, 255)), MakeColor(255, 155, 0));
    TGrayScaleFilter gray;
    // (897·200 + 1761·100 + 342·50) div 1000 div 3 = 372 div 3 = 124
    EXPECT_EQ(gray.FilterColor(MakeColor(200, 100, 50)), MakeColor(124, 124, 124));
    gray.RGBWeighting = false;
    EXPECT_EQ(gray.FilterColor(MakeColor(200, 100, 50)), MakeColor(116, 116, 116));
}

TEST(PointFilterTest, DefaultsLeaveEveryColourUnchanged) {
    TBCGFilter bcg;
    TRGBFilter rgb;
    TCMYFilter cmy;
    THLSFilter hls;
    THSVFilter hsv;
    TBCGFilter bcgY;
    bcgY.UseY = true;
    TYCbCrFilter ycc;
    bcg.PrepareTable();
    bcgY.PrepareTable();
    std::mt19937 rng(11);
    for (int i = 0; i < 4000; ++i) {
        const TColor c = rng() & 0xFFFFFF;
        ASSERT_EQ(bcg.FilterColor(c), c);
        ASSERT_EQ(rgb.FilterColor(c), c);
        ASSERT_EQ(cmy.FilterColor(c), c);
        ASSERT_EQ(hls.FilterColor(c), c) << std::hex << c;
        ASSERT_EQ(hsv.FilterColor(c), c) << std::hex << c;
        // The luma-chroma coefficients are rounded: the way there and back is within one level.
        for (TColor out : {ycc.FilterColor(c), bcgY.FilterColor(c)}) {
            ASSERT_LE(std::abs(RedOf(out) - RedOf(c)), 1);
            ASSERT_LE(std::abs(GreenOf(out) - GreenOf(c)), 1);
            ASSERT_LE(std::abs(BlueOf(out) - BlueOf(c)), 1);
        }
    }
}

TEST(PointFilterTest, GreyKeepsItsValueThroughHueAndSaturationTables) {
    THLSFilter hls;
    SetHueRotationTable(hls.Tables[0], 90);
    SetPercentShiftTable(hls.Tables[2], 50);
    EXPECT_EQ(hls.FilterColor(MakeColor(77, 77, 77)), MakeColor(77, 77, 77));
    // Full desaturation gives grey rather than failing.
    THSVFilter hsv;
    SetPercentShiftTable(hsv.Tables[1], -100);
    const TColor out = hsv.FilterColor(MakeColor(200, 40, 40));
    EXPECT_EQ(RedOf(out), GreenOf(out));
    EXPECT_EQ(RedOf(out), 200);
    EXPECT_THROW(HLSToRGB(30, 0.5, 0), EPGSaturationHue);
}

// The colour spaces and the palette's nearest-colour search share one hue: on channels scaled to
// 0..1 it is the hue of the 0..255 channels, ties for the largest channel going to red, then
// green; greys have none.
TEST(PointFilterTest, ColourSpaceHueIsThePalettesHue) {
    for (int r = 0; r < 256; r += 15)
        for (int g = 0; g < 256; g += 15)
            for (int b = 0; b < 256; b += 15) {
                const double expected = static_cast<double>(HueOf(MakeColor(r, g, b)));
                const TTriple hsv = RGBToHSV(r / 255.0, g / 255.0, b / 255.0);
                const TTriple hls = RGBToHLS(r / 255.0, g / 255.0, b / 255.0);
                if (r == g && g == b) {
                    ASSERT_EQ(hsv.A, UndefinedHue);
                    ASSERT_EQ(hls.A, UndefinedHue);
                    continue;
                }
                ASSERT_NEAR(hsv.A, expected, 1e-9) << r << "," << g << "," << b;
                ASSERT_EQ(hls.A, hsv.A);
                ASSERT_GE(hsv.A, 0.0);
                ASSERT_LT(hsv.A, 360.0);
            }
    // Red and blue tied: red's formula, 300; green and blue tied: green's, 180.
    EXPECT_DOUBLE_EQ(RGBToHSV(1, 0, 1).A, 300.0);
    EXPECT_DOUBLE_EQ(RGBToHSV(0, 1, 1).A, 180.0);
}

TEST(PointFilterTest, HueRotationTurnsRedTowardsGreen) {
    THSVFilter hsv;
    SetHueRotationTable(hsv.Tables[0], 120);
    const TColor out = hsv.FilterColor(MakeColor(255, 0, 0));
    EXPECT_LE(RedOf(out), 3);
    EXPECT_EQ(GreenOf(out), 255);
}

TEST(PointFilterTest, BrightnessContrastGammaTable) {
    TBCGFilter f;
    f.Brightness = 10;
    f.PrepareTable();
    EXPECT_EQ(f.Table()[0], 26); // 25.5 rounds to even
    EXPECT_EQ(f.Table()[250], 255);
    f.Brightness = 0;
    f.Contrast = 2.0;
    f.PrepareTable();
    EXPECT_EQ(f.Table()[100], 72); // (100 - 127.5) · 2 + 127.5 = 72.5, to even
    EXPECT_EQ(f.Table()[10], 0);
    f.Contrast = 1.0;
    f.Gamma = 2.0;
    f.PrepareTable();
    EXPECT_EQ(f.Table()[128], 64); // (128/255)² · 255 = 64.25
}

TEST(FilterDialogMappingTest, SliderPositionsAndTables) {
    EXPECT_NEAR(ContrastGammaFromPosition(-100), 0.2, 1e-12);
    EXPECT_NEAR(ContrastGammaFromPosition(0), 1.0, 1e-12);
    EXPECT_NEAR(ContrastGammaFromPosition(100), 5.0, 1e-12);
    EXPECT_EQ(PositionFromContrastGamma(5.0), 100);
    EXPECT_EQ(PositionFromContrastGamma(99.0), 100);
    EXPECT_EQ(PositionFromContrastGamma(0.01), -100);
    EXPECT_EQ(PositionFromContrastGamma(2.0), 43);
    std::array<std::uint8_t, 256> t{};
    SetPercentShiftTable(t, 50);
    EXPECT_EQ(t[0], 127); // 50 · 255 div 100
    EXPECT_EQ(t[200], 255);
    SetPercentShiftTable(t, -10);
    EXPECT_EQ(t[10], 0);
    EXPECT_EQ(t[100], 75);
    SetHueRotationTable(t, -90);
    EXPECT_EQ(t[0], 192);
    EXPECT_EQ(t[100], 36);
    EXPECT_NEAR(InterpolatedLookup(t, 0.5), 0.5 * 192 + 0.5 * 193, 1e-12);
}

} // namespace
} // namespace pigmentaria
