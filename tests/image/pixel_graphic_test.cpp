// The picture's memory layout, size and pixel access, palette handling, events, copies,
// resampling, drawing and loading with gamma correction.
#include "image/file_format.h"
#include "image/palette_match.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"
#include "image_test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

namespace pigmentaria {
namespace {

TEST(PixelLayout, StrideAndImageSize) {
    TPixelGraphic g;
    g.SetSize(3, 1, ct1Bit);
    EXPECT_EQ(g.RowStride(), 4u);
    g.SetSize(3, 1, ct24Bit);
    EXPECT_EQ(g.RowStride(), 12u);
    g.SetSize(33, 5, ct1Bit);
    EXPECT_EQ(g.RowStride(), 8u);
    EXPECT_EQ(g.ImageSize(), 40u);
    g.SetSize(9, 2, ct4Bit);
    EXPECT_EQ(g.RowStride(), 8u);
    g.SetSize(5, 2, ct8Bit);
    EXPECT_EQ(g.RowStride(), 8u);
}

TEST(PixelLayout, RowsBottomUpWithDibBitOrder) {
    TPixelGraphic one;
    one.SetSize(10, 2, ct1Bit);
    one.SetPixel(0, 0, 1);
    one.SetPixel(9, 1, 1);
    EXPECT_EQ(one.Bits()[4], 0x80); // top row is the second stored row
    EXPECT_EQ(one.Bits()[1], 0x40); // bottom row, pixel 9
    one.SetPixel(0, 0, 2);          // anything but 1 clears
    EXPECT_EQ(one.Bits()[4], 0x00);

    TPixelGraphic four;
    four.SetSize(3, 1, ct4Bit);
    four.SetPixel(0, 0, 0xA);
    four.SetPixel(1, 0, 0x5);
    four.SetPixel(2, 0, 0xC);
    EXPECT_EQ(four.Bits()[0], 0xA5);
    EXPECT_EQ(four.Bits()[1], 0xC0);
    EXPECT_EQ(four.GetPixel(1, 0), 5u);

    TPixelGraphic rgb;
    rgb.SetSize(2, 2, ct24Bit);
    rgb.SetPixelColor(1, 1, MakeColor(1, 2, 3));
    EXPECT_EQ(rgb.Bits()[3], 3); // blue first
    EXPECT_EQ(rgb.Bits()[4], 2);
    EXPECT_EQ(rgb.Bits()[5], 1);
    EXPECT_EQ(rgb.ScanLine(1), rgb.Bits());
    EXPECT_EQ(rgb.ScanLine(0), rgb.Bits() + 8);
    EXPECT_EQ(rgb.ScanLine(2), nullptr);
}

TEST(PixelSize, SameSizeClearsInsteadOfReallocating) {
    TPixelGraphic g;
    g.SetSize(4, 4, ct8Bit);
    g.SetPaletteIdent(pGray256);
    const std::uint8_t* before = g.Bits();
    g.SetPixel(1, 1, 77);
    g.SetFillColor(MakeColor(9, 9, 9));
    g.SetSize(4, 4, ct8Bit);
    EXPECT_EQ(g.Bits(), before);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(g.GetPixel(x, y), 9u);

    TPixelGraphic four;
    four.SetSize(3, 2, ct4Bit);
    four.SetPaletteIdent(pSys16);
    four.SetFillColor(MakeColor(255, 0, 0));
    four.Clear();
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(four.GetPixel(x, 1), 9u);
}

TEST(PixelSize, NegativeSizesAndBadBitCounts) {
    TPixelGraphic g;
    try {
        g.SetSize(-1, 2, ct8Bit);
        FAIL();
    } catch (const EPGInvalidSize& e) {
        EXPECT_STREQ(e.what(), "Negative width");
    }
    try {
        g.SetHeight(-3);
        FAIL();
    } catch (const EPGInvalidSize& e) {
        EXPECT_STREQ(e.what(), "Negative height");
    }
    try {
        ColorTypeOfBitCount(16);
        FAIL();
    } catch (const EPGInvalidBitCountNum& e) {
        EXPECT_STREQ(e.what(), "Invalid value for BitCountNum");
    }
    EXPECT_EQ(ColorTypeOfBitCount(4), ct4Bit);
    g.SetSize(0, 5, ct24Bit);
    EXPECT_TRUE(g.Empty());
}

TEST(PixelAccess, OutsideReadsTheFillColourOrRaises) {
    TPixelGraphic g;
    g.SetSize(2, 2, ct24Bit);
    g.SetFillColor(0x112233);
    EXPECT_EQ(g.GetPixel(-1, 0), 0x112233u);
    EXPECT_EQ(g.GetPixel(2, 0), 0x112233u);
    g.SetPixel(5, 5, 1); // ignored
    g.RaiseOnBadCoordinates = true;
    try {
        g.GetPixel(-1, 0);
        FAIL();
    } catch (const EPGXYIndexOutOfRange& e) {
        EXPECT_STREQ(e.what(), "X, Y index out of range");
    }
    EXPECT_THROW(g.SetPixelColor(0, 2, 0), EPGXYIndexOutOfRange);
}

TEST(PixelAccess, ColoursMapToTheNearestIndex) {
    TPixelGraphic g;
    g.SetSize(2, 1, ct4Bit);
    g.SetPaletteIdent(pSys16);
    g.SetPixelColor(0, 0, MakeColor(0, 0, 250));
    EXPECT_EQ(g.GetPixel(0, 0), 12u);
    EXPECT_EQ(g.GetPixelColor(0, 0), MakeColor(0, 0, 255));
}

TEST(Palette, EditsAndIdentity) {
    TPixelGraphic g;
    g.SetSize(2, 2, ct8Bit);
    EXPECT_EQ(g.PaletteIdent(), pNone);
    EXPECT_THROW(g.SetPaletteColor(0, clRed), EPGNoPalette);
    g.SetPaletteCount(3);
    EXPECT_EQ(g.PaletteIdent(), pUnknown);
    EXPECT_EQ(g.PaletteColor(2), clBlack);
    g.SetPaletteColor(1, clRed);
    EXPECT_EQ(g.PaletteColor(1), clRed);
    try {
        g.PaletteColor(3);
        FAIL();
    } catch (const EPGInvalidPaletteIndex& e) {
        EXPECT_STREQ(e.what(), "Invalid palette index");
    }
    EXPECT_THROW(g.SetPaletteColor(-1, clRed), EPGInvalidPaletteIndex);
    g.SetPaletteCount(0);
    EXPECT_EQ(g.PaletteIdent(), pNone);

    g.SetPalette({clBlack, clWhite});
    EXPECT_EQ(g.PaletteIdent(), pBlackWhite);
    EXPECT_TRUE(g.Gray());
    g.SetPalette({clWhite, clBlack});
    EXPECT_EQ(g.PaletteIdent(), pUnknown);
    // An edit makes the palette unknown even when it then matches a standard one.
    g.SetPaletteIdent(pGray4);
    g.SetPaletteColor(0, clBlack);
    EXPECT_EQ(g.PaletteIdent(), pUnknown);
    g.RecognizePalette();
    EXPECT_EQ(g.PaletteIdent(), pGray4);

    TPixelGraphic rgb;
    rgb.SetSize(1, 1, ct24Bit);
    EXPECT_EQ(rgb.PaletteIdent(), pTrueColor);
    EXPECT_EQ(rgb.PaletteColor(0x123), 0x123u);
    EXPECT_THROW(rgb.SetPaletteColor(0, clRed), EPGNoPalette);
}

TEST(Palette, TrimmedToTheColourTypesCapacity) {
    TPixelGraphic g;
    g.SetSize(2, 2, ct8Bit);
    g.SetPaletteIdent(pSys16);
    g.SetColorType(ct1Bit);
    EXPECT_EQ(g.PaletteCount(), 2);
    EXPECT_EQ(g.PaletteIdent(), pUnknown);
    // Indices answered for a palette never exceed what the pixels can hold.
    EXPECT_LE(g.NearestPaletteIndex(clWhite), 1u);
    g.SetPaletteIdent(pGray256);
    EXPECT_EQ(g.PaletteCount(), 2);
    g.SetPaletteCount(40);
    EXPECT_EQ(g.PaletteCount(), 2);
}

TEST(Events, ChangeIsSuppressedDuringUpdates) {
    TPixelGraphic g;
    int changes = 0;
    g.OnChange = [&](const TPixelGraphic&) { ++changes; };
    g.SetSize(2, 2, ct24Bit);
    EXPECT_EQ(changes, 1);
    g.BeginUpdate();
    g.BeginUpdate();
    g.SetSize(3, 3, ct24Bit);
    g.Clear();
    g.EndUpdate();
    EXPECT_EQ(changes, 1);
    g.EndUpdate();
    EXPECT_EQ(changes, 2);
    // A failed load restores the counter.
    const std::vector<std::uint8_t> junk = {'B', 'M', 0, 0};
    EXPECT_THROW(test::LoadBytes(g, junk), EPixelGraphic);
    EXPECT_TRUE(g.Empty());
    const int before = changes;
    g.SetSize(1, 1, ct24Bit);
    EXPECT_EQ(changes, before + 1);
}

TEST(Copies, AssignCopiesPixelsPaletteAndSettings) {
    TPixelGraphic src;
    src.SetSize(3, 2, ct4Bit);
    src.SetPaletteIdent(pSys16);
    src.SetPixel(2, 1, 11);
    src.Dither = false;
    src.DitherErrorLimit = 5;
    src.Gamma = 2.2L;
    src.StretchMode = smFast;
    src.SetRGBWeighting(false);
    src.SaveColorResWarningAction = pgwaRaise;
    TPixelGraphic dst;
    dst.Assign(&src);
    EXPECT_EQ(dst.Width(), 3);
    EXPECT_EQ(dst.ColorType(), ct4Bit);
    EXPECT_EQ(dst.GetPixel(2, 1), 11u);
    EXPECT_EQ(dst.PaletteIdent(), pSys16);
    EXPECT_FALSE(dst.Dither);
    EXPECT_EQ(dst.DitherErrorLimit, 5);
    EXPECT_EQ(dst.Gamma, 2.2L);
    EXPECT_EQ(dst.StretchMode, smFast);
    EXPECT_FALSE(dst.RGBWeighting());
    EXPECT_EQ(dst.SaveColorResWarningAction, pgwaRaise);
    dst.Assign(nullptr);
    EXPECT_TRUE(dst.Empty());
    EXPECT_EQ(dst.ColorType(), ct24Bit);
}

TEST(Copies, AssignSettingsTakesTheSettingsAndLeavesThePicture) {
    TPixelGraphic src;
    src.Dither = false;
    src.DitherErrorLimit = 7;
    src.DitherErrorLimitAuto = false;
    src.DitherErrorLimitSoft = false;
    src.SetColorCacheEnabled(false);
    src.Gamma = 1.0L;
    src.SetRGBWeighting(false);
    src.StretchMode = smMedium;
    src.Transparent = true;
    src.ReadWarningAction = pgwaIgnore;
    src.RaiseOnBadCoordinates = true;
    src.SaveColorResWarningAction = pgwaRaise;
    TPixelGraphic dst;
    dst.SetSize(2, 2, ct8Bit);
    dst.SetPaletteIdent(pGray256);
    dst.SetFillColor(MakeColor(9, 9, 9));
    dst.AssignSettings(src);
    EXPECT_FALSE(dst.Dither);
    EXPECT_EQ(dst.DitherErrorLimit, 7);
    EXPECT_FALSE(dst.DitherErrorLimitAuto);
    EXPECT_FALSE(dst.DitherErrorLimitSoft);
    EXPECT_FALSE(dst.ColorCacheEnabled());
    EXPECT_EQ(dst.Gamma, 1.0L);
    EXPECT_FALSE(dst.RGBWeighting());
    EXPECT_EQ(dst.StretchMode, smMedium);
    EXPECT_TRUE(dst.Transparent);
    EXPECT_EQ(dst.ReadWarningAction, pgwaIgnore);
    EXPECT_TRUE(dst.RaiseOnBadCoordinates);
    EXPECT_EQ(dst.SaveColorResWarningAction, pgwaRaise);
    // Size, palette and fill colour are the picture's own.
    EXPECT_EQ(dst.Width(), 2);
    EXPECT_EQ(dst.PaletteIdent(), pGray256);
    EXPECT_EQ(dst.FillColor(), 9u);
    // Without RGB weighting a grey's index is the plain channel mean.
    EXPECT_EQ(dst.NearestPaletteIndex(MakeColor(255, 0, 0)), 85u);
}

// A picture saved in fewer colours than it holds is converted by its own settings: without
// dithering every pixel takes its nearest colour.
TEST(Copies, ASavingConversionGoesByThePicturesSettings) {
    TPixelGraphic ramp;
    ramp.SetSize(64, 4, ct24Bit);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            ramp.SetPixelColor(x, y, MakeColor(x * 4, x * 4, x * 4));
    ramp.SaveColorResWarningAction = pgwaIgnore;
    const auto saved = [&ramp] {
        TMemoryStream s;
        ramp.SaveToStreamAs(s, "pbm");
        s.Seek(0);
        TPixelGraphic back;
        back.LoadFromStreamAs(s, "pbm");
        return back.ToRaster24();
    };
    TPixelGraphic nearest;
    nearest.SetSize(64, 4, ct1Bit);
    nearest.SetPaletteIdent(pBlackWhite);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 64; ++x)
            nearest.SetPixelColor(x, y, ramp.GetPixelColor(x, y));
    ramp.Dither = false;
    EXPECT_EQ(saved(), nearest.ToRaster24());
    ramp.Dither = true;
    EXPECT_NE(saved(), nearest.ToRaster24());
}

TEST(Copies, Raster24RoundTrip) {
    TRaster24 r(5, 3, MakeColor(10, 20, 30));
    r.SetPixel(4, 2, MakeColor(200, 100, 50));
    TPixelGraphic g;
    g.AssignRaster24(r);
    EXPECT_EQ(g.ColorType(), ct24Bit);
    EXPECT_EQ(g.GetPixelColor(4, 2), MakeColor(200, 100, 50));
    EXPECT_TRUE(g.ToRaster24() == r);

    TPixelGraphic pal;
    pal.SetSize(2, 1, ct1Bit);
    pal.SetPalette({MakeColor(1, 2, 3), MakeColor(4, 5, 6)});
    pal.SetPixel(1, 0, 1);
    const TRaster24 pr = pal.ToRaster24();
    EXPECT_EQ(pr.GetPixel(0, 0), MakeColor(1, 2, 3));
    EXPECT_EQ(pr.GetPixel(1, 0), MakeColor(4, 5, 6));
}

TEST(Canvas, DrawsThroughThePalette) {
    TPixelGraphic g;
    g.SetSize(6, 4, ct8Bit);
    g.SetPaletteIdent(pSys16);
    TRasterCanvas& c = g.Canvas();
    c.SetBrush({MakeColor(250, 5, 5), TBrushStyle::Solid});
    c.FillRect(1, 1, 4, 3);
    EXPECT_EQ(g.GetPixel(1, 1), 9u);
    EXPECT_EQ(g.GetPixel(3, 2), 9u);
    EXPECT_EQ(g.GetPixel(4, 2), 0u);
    c.SetPixel(5, 0, MakeColor(0, 0, 200));
    EXPECT_EQ(g.GetPixel(5, 0), 12u);
    EXPECT_EQ(c.GetPixel(5, 0), MakeColor(0, 0, 255));

    TPixelGraphic mono;
    mono.SetSize(9, 2, ct1Bit);
    mono.SetPaletteIdent(pBlackWhite);
    mono.Canvas().SetPen({clWhite, 1, TPenStyle::Solid});
    mono.Canvas().MoveTo(0, 1);
    mono.Canvas().LineTo(9, 1);
    for (int x = 0; x < 9; ++x)
        EXPECT_EQ(mono.GetPixel(x, 1), 1u);
}

// ---- Resampling

TPixelGraphic Row24(const std::vector<int>& values) {
    TPixelGraphic g;
    g.SetSize(static_cast<int>(values.size()), 1, ct24Bit);
    for (std::size_t x = 0; x < values.size(); ++x)
        g.SetPixelColor(static_cast<int>(x), 0, MakeColor(values[x], values[x], values[x]));
    return g;
}

std::vector<int> Reds(const TPixelGraphic& g) {
    std::vector<int> v;
    for (int x = 0; x < g.Width(); ++x)
        v.push_back(RedOf(g.GetPixelColor(x, 0)));
    return v;
}

std::vector<int> Stretch(const std::vector<int>& src, int width, TStretchMode mode) {
    TPixelGraphic s = Row24(src);
    TPixelGraphic d;
    d.SetSize(width, 1, ct24Bit);
    d.StretchMode = mode;
    d.StretchFromWhole(s);
    return Reds(d);
}

TEST(StretchFrom, ModesPerAxis) {
    EXPECT_EQ(Stretch({0, 200}, 4, smFast), (std::vector<int>{0, 0, 200, 200}));
    EXPECT_EQ(Stretch({0, 100, 200, 255}, 2, smFast), (std::vector<int>{0, 200}));
    // Precise: linear when enlarging, box average when shrinking.
    EXPECT_EQ(Stretch({0, 200}, 4, smPrecise), (std::vector<int>{0, 50, 150, 200}));
    EXPECT_EQ(Stretch({0, 100, 200, 255}, 2, smPrecise), (std::vector<int>{50, 228}));
    EXPECT_EQ(Stretch({0, 90, 180}, 2, smPrecise), (std::vector<int>{30, 150}));
    // Medium: box when enlarging, linear when shrinking.
    EXPECT_EQ(Stretch({0, 200}, 4, smMedium), (std::vector<int>{0, 0, 200, 200}));
    EXPECT_EQ(Stretch({0, 200}, 3, smMedium), (std::vector<int>{0, 100, 200}));
    EXPECT_EQ(Stretch({0, 100, 200, 255}, 2, smMedium), (std::vector<int>{50, 228}));
}

TEST(StretchFrom, FlatPicturesStayFlatAtAnyRatio) {
    TPixelGraphic src;
    src.SetSize(7, 5, ct24Bit);
    src.SetFillColor(MakeColor(37, 140, 222));
    src.Clear();
    for (TStretchMode mode : {smFast, smMedium, smPrecise})
        for (auto [w, h] : {std::pair{3, 2}, {11, 13}, {7, 5}, {1, 1}, {20, 2}}) {
            TPixelGraphic d;
            d.SetSize(w, h, ct24Bit);
            d.StretchMode = mode;
            d.StretchFromWhole(src);
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    ASSERT_EQ(d.GetPixelColor(x, y), MakeColor(37, 140, 222))
                        << int(mode) << " " << w << "x" << h;
        }
}

TEST(StretchFrom, EqualSizesCopyAndRectanglesAreClipped) {
    TPixelGraphic src;
    src.SetSize(4, 3, ct24Bit);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            src.SetPixelColor(x, y, MakeColor(x * 50, y * 80, 7));
    TPixelGraphic d;
    d.SetSize(5, 5, ct24Bit);
    d.SetFillColor(clWhite);
    d.Clear();
    // Two columns fall off the left of the destination, one row below the source.
    d.StretchFrom(-2, 3, 4, 3, src, 0, 1, 4, 3);
    EXPECT_EQ(d.GetPixelColor(0, 3), src.GetPixelColor(2, 1));
    EXPECT_EQ(d.GetPixelColor(1, 4), src.GetPixelColor(3, 2));
    EXPECT_EQ(d.GetPixelColor(2, 3), clWhite);
    EXPECT_EQ(d.GetPixelColor(0, 2), clWhite);
    // Nothing happens for empty rectangles or pictures.
    d.StretchFrom(0, 0, 0, 3, src, 0, 0, 4, 3);
    TPixelGraphic none;
    d.StretchFromWhole(none);
    EXPECT_EQ(d.GetPixelColor(0, 0), clWhite);
    // A picture stretched onto itself reads its old pixels.
    src.StretchFrom(1, 0, 3, 3, src, 0, 0, 3, 3);
    EXPECT_EQ(src.GetPixelColor(1, 0), MakeColor(0, 0, 7));
    EXPECT_EQ(src.GetPixelColor(3, 2), MakeColor(100, 160, 7));
}

TEST(StretchFrom, PaletteToPaletteCopiesIndicesAndMapsOtherwise) {
    TPixelGraphic src;
    src.SetSize(3, 1, ct8Bit);
    // Two entries of the same colour: a copy must keep which one each pixel uses.
    src.SetPalette({clBlack, clRed, clRed});
    src.SetPixel(1, 0, 2);
    TPixelGraphic same;
    same.SetSize(3, 1, ct8Bit);
    same.SetPalette({clBlack, clRed, clRed});
    same.StretchFromWhole(src);
    EXPECT_EQ(same.GetPixel(1, 0), 2u);

    TPixelGraphic sys;
    sys.SetSize(3, 1, ct4Bit);
    sys.SetPaletteIdent(pSys16);
    sys.Dither = false;
    sys.StretchFromWhole(src);
    EXPECT_EQ(sys.GetPixel(1, 0), 9u);
    EXPECT_EQ(sys.GetPixel(0, 0), 0u);
}

// ---- Loading with gamma correction

class TGammaReader : public TFileFormatReader {
public:
    explicit TGammaReader(long double gamma)
        : TFileFormatReader("TGammaReader", "gam", "Gamma"), Gamma_(gamma) {
        Detectable = true;
    }
    bool IsFormat(const std::uint8_t* h, std::size_t n) const override {
        return n >= 1 && h[0] == 'G';
    }
    void Read(TPGStream&, TPixelGraphic& g, int) const override {
        g.SetSize(2, 1, ct24Bit);
        g.SetPixelColor(0, 0, MakeColor(128, 64, 255));
        g.Gamma = Gamma_;
    }

private:
    long double Gamma_;
};

TEST(Loading, GammaIsCorrectedToTheDisplayGamma) {
    const std::vector<std::uint8_t> data = {'G'};
    auto load = [&](long double gamma) {
        TFileFormatRegistry reg;
        reg.AddReader(std::make_unique<TGammaReader>(gamma));
        TPixelGraphic g;
        TSpanStream s(data.data(), data.size());
        g.LoadFromStreamAs(s, "", reg);
        return g;
    };
    const TPixelGraphic corrected = load(1.0L);
    const auto expect = [](int v) {
        return static_cast<int>(std::lround(255.0 * std::pow(v / 255.0, 1.0 / 1.8)));
    };
    EXPECT_EQ(corrected.GetPixelColor(0, 0), MakeColor(expect(128), expect(64), 255));
    EXPECT_EQ(corrected.Gamma, PGLibrarySettings().DisplayGamma);
    // Within five percent of the display gamma nothing changes.
    EXPECT_EQ(load(1.85L).GetPixelColor(0, 0), MakeColor(128, 64, 255));
    PGLibrarySettings().GammaCorrection = false;
    EXPECT_EQ(load(1.0L).GetPixelColor(0, 0), MakeColor(128, 64, 255));
    PGLibrarySettings().GammaCorrection = true;
}

TEST(Loading, PropertyStreamingWrapsABmpImage) {
    TPixelGraphic g;
    g.SetSize(3, 2, ct8Bit);
    g.SetPaletteIdent(pGray256);
    g.SetPixel(2, 1, 200);
    TMemoryStream s;
    g.WriteData(s);
    s.Write("tail", 4);
    s.Seek(0);
    TPixelGraphic back;
    back.ReadData(s);
    EXPECT_EQ(back.GetPixel(2, 1), 200u);
    char tail[4];
    ASSERT_EQ(s.Read(tail, 4), 4u);
    EXPECT_EQ(std::string(tail, 4), "tail");
}

} // namespace
} // namespace pigmentaria
