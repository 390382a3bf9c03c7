// The metafile reader: recognising metafiles by content, the placeable header rules, sizes,
// colour types, information texts, and the record player on hand-made metafiles.
#include "image/metafile_fixtures.h"
#include "image/metafile_reader.h"
#include "model/metafile_canvas.h"
#include "model/render.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <set>

namespace pigmentaria {
namespace {

using namespace metafile;
using test::Hi;
using test::Lo;
using test::TEmfBuilder;
using test::TWmfBuilder;

std::vector<std::uint8_t> PaintingWmf(int w, int h) {
    const TShapeList shapes = test::TracedPainting(w, h);
    TMetafileCanvas canvas(w, h);
    DrawShapes(canvas, shapes, 1.0);
    return canvas.WindowsMetafile();
}

std::vector<std::uint8_t> WithoutPlaceable(std::vector<std::uint8_t> b) {
    b.erase(b.begin(), b.begin() + 22);
    return b;
}

// ---- recognition ---------------------------------------------------------------------------

TEST(MetafileDetect, WindowsMetafileWithAndWithoutPlaceableHeader) {
    const std::vector<std::uint8_t> wmf = PaintingWmf(20, 10);
    EXPECT_TRUE(DetectWmf(wmf));
    EXPECT_TRUE(DetectWmf(WithoutPlaceable(wmf)));
    EXPECT_FALSE(DetectEmf(wmf));
    // Type 2 (a disk metafile) is recognised as well as type 1.
    std::vector<std::uint8_t> disk = WithoutPlaceable(wmf);
    disk[0] = 2;
    EXPECT_TRUE(DetectWmf(disk));
    // A header size other than 9 words, a zero object count or a short head are not metafiles.
    std::vector<std::uint8_t> bad = WithoutPlaceable(wmf);
    bad[2] = 10;
    EXPECT_FALSE(DetectWmf(bad));
    bad = WithoutPlaceable(wmf);
    bad[10] = bad[11] = 0;
    EXPECT_FALSE(DetectWmf(bad));
    const std::vector<std::uint8_t> bare = WithoutPlaceable(wmf);
    EXPECT_FALSE(DetectWmf(std::span(bare).first(15)));
}

TEST(MetafileDetect, EnhancedMetafileBySizeOrSignature) {
    const std::vector<std::uint8_t> small = TEmfBuilder().Finish(10, 10, 88);
    const std::vector<std::uint8_t> modern = TEmfBuilder().Finish(10, 10, 108);
    EXPECT_TRUE(DetectEmf(small));
    EXPECT_FALSE(DetectWmf(small));
    // A 108-byte header, what current writers produce, is recognised by its signature.
    EXPECT_TRUE(DetectEmf(modern));
    EXPECT_EQ(GetMetafileInfo(modern, true).Width, 10);
    // Without the signature it stays unrecognised: "Unknown file format" for the registry.
    EXPECT_FALSE(DetectEmf(TEmfBuilder().Finish(10, 10, 108, {}, false)));
    // The size test alone still recognises a short header, which then fails to load.
    const std::vector<std::uint8_t> unsigned88 = TEmfBuilder().Finish(10, 10, 88, {}, false);
    EXPECT_TRUE(DetectEmf(unsigned88));
    EXPECT_TRUE(ReadMetafile(unsigned88, true).Raster.Empty());
}

// ---- placeable header ----------------------------------------------------------------------

TEST(MetafilePlaceable, ChecksumOfAZeroOriginHeader) {
    const std::vector<std::uint8_t> h = MakePlaceableHeader(0, 0, 300, 200, 1440);
    ASSERT_EQ(h.size(), 22u);
    EXPECT_EQ(GetU16(h.data(), 22, 20), 0x5711 ^ 300 ^ 200 ^ 1440);
}

TEST(MetafilePlaceable, MissingHeaderIsMadeUpWithTheDefaultBox) {
    const std::vector<std::uint8_t> bare = WithoutPlaceable(PaintingWmf(60, 40));
    const TMetafileInfo info = GetMetafileInfo(bare, false);
    EXPECT_EQ(info.SubFormat, NoHeaderSubFormat);
    EXPECT_EQ(info.Width, 99);
    EXPECT_EQ(info.Height, 49);
    // The whole picture is stretched over the default box: it covers all of it (no background
    // shows) in the painting's own colours.
    const TMetafilePicture p = ReadMetafile(bare, false);
    const TRaster24 full = ReadMetafile(PaintingWmf(60, 40), false).Raster;
    ASSERT_EQ(p.Raster.Width(), 99);
    std::set<TColor> own, stretched;
    for (int y = 0; y < full.Height(); ++y)
        for (int x = 0; x < full.Width(); ++x)
            own.insert(full.GetPixel(x, y));
    for (int y = 0; y < p.Raster.Height(); ++y)
        for (int x = 0; x < p.Raster.Width(); ++x)
            stretched.insert(p.Raster.GetPixel(x, y));
    EXPECT_TRUE(std::includes(own.begin(), own.end(), stretched.begin(), stretched.end()));
    EXPECT_GT(stretched.size(), own.size() / 2);

    TMetafileSettings settings;
    settings.DefaultBoxWidth = 41;
    settings.DefaultBoxHeight = 21;
    EXPECT_EQ(GetMetafileInfo(bare, false, settings).Width, 40);
    EXPECT_EQ(GetMetafileInfo(bare, false, settings).Height, 20);
}

TEST(MetafilePlaceable, OwnHeaderGivesSizeFromBoxAndUnits) {
    std::vector<std::uint8_t> wmf = PaintingWmf(60, 40);
    TMetafileInfo info = GetMetafileInfo(wmf, false);
    EXPECT_EQ(info.SubFormat, PlaceableSubFormat);
    EXPECT_EQ(info.Width, 60);
    EXPECT_EQ(info.Height, 40);
    EXPECT_EQ(info.BitCount, 24);
    EXPECT_EQ(info.ColorCountText, "16.7M");
    // Twice the units per inch halves the picture.
    const std::vector<std::uint8_t> h = MakePlaceableHeader(0, 0, 60, 40, 192);
    std::copy(h.begin(), h.end(), wmf.begin());
    info = GetMetafileInfo(wmf, false);
    EXPECT_EQ(info.Width, 30);
    EXPECT_EQ(info.Height, 20);
}

TEST(MetafilePlaceable, BadChecksumOrUselessBoxFallsBackToTheDefaultBox) {
    const std::vector<std::uint8_t> good = PaintingWmf(60, 40);
    std::vector<std::uint8_t> badSum = good;
    badSum[20] ^= 1;
    std::vector<std::uint8_t> empty = good;
    const auto e = MakePlaceableHeader(10, 0, 10, 40, 96);
    std::copy(e.begin(), e.end(), empty.begin());
    std::vector<std::uint8_t> huge = good;
    const auto g = MakePlaceableHeader(0, 0, 32767, 40, 96);
    std::copy(g.begin(), g.end(), huge.begin());
    for (const auto* b : {&badSum, &empty, &huge}) {
        const TMetafileInfo info = GetMetafileInfo(*b, false);
        EXPECT_EQ(info.Width, 99);
        EXPECT_EQ(info.Height, 49);
        EXPECT_EQ(info.SubFormat, PlaceableSubFormat);
        EXPECT_FALSE(ReadMetafile(*b, false).Raster.Empty());
    }
}

// ---- sizing and colour type ----------------------------------------------------------------

TEST(MetafileRead, PreviewKeepsBothSidesWithin130) {
    const std::vector<std::uint8_t> wmf = PaintingWmf(400, 300);
    const TRaster24 preview = ReadMetafile(wmf, false, {}, true).Raster;
    EXPECT_EQ(preview.Width(), 130);
    EXPECT_EQ(preview.Height(), 98); // 300 × 130 / 400 = 97.5, rounded
    // A small picture is not enlarged.
    EXPECT_EQ(ReadMetafile(PaintingWmf(50, 20), false, {}, true).Raster.Width(), 50);
}

TEST(MetafileRead, ScaleFactorAppliesOutsidePreview) {
    TMetafileSettings s;
    s.ScaleFactor = 0.5;
    const std::vector<std::uint8_t> wmf = PaintingWmf(61, 40);
    const TRaster24 r = ReadMetafile(wmf, false, s).Raster;
    EXPECT_EQ(r.Width(), 31); // 30.5 rounded
    EXPECT_EQ(r.Height(), 20);
    EXPECT_EQ(ReadMetafile(wmf, false, s, true).Raster.Width(), 61);
}

TEST(MetafileRead, EightEntryPaletteGivesAFourBitPicture) {
    std::vector<std::uint8_t> entries;
    std::vector<TColor> colors;
    for (int i = 0; i < 8; ++i) {
        colors.push_back(MakeColor(i * 30, 255 - i * 30, i * 10));
        entries.insert(entries.end(),
                       {std::uint8_t(i * 30), std::uint8_t(255 - i * 30), std::uint8_t(i * 10), 0});
    }
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder().Record(META_CREATEPALETTE, {0x300, 8}, entries).Finish(true);
    const TMetafileInfo info = GetMetafileInfo(wmf, false);
    EXPECT_EQ(info.BitCount, 4);
    EXPECT_EQ(info.ColorCountText, "16");
    const TMetafilePicture p = ReadMetafile(wmf, false);
    EXPECT_EQ(p.BitCount, 4);
    EXPECT_EQ(p.Palette, colors);

    const std::vector<std::uint8_t> emf = TEmfBuilder().Finish(10, 10, 88, {clBlack, clWhite});
    EXPECT_EQ(GetMetafileInfo(emf, true).BitCount, 1);
    EXPECT_EQ(GetMetafileInfo(emf, true).ColorCountText, "2");
    EXPECT_EQ(GetMetafileInfo(emf, true).SubFormat, "");
    std::vector<TColor> many(200, clRed);
    EXPECT_EQ(GetMetafileInfo(TEmfBuilder().Finish(10, 10, 88, many), true).ColorCountText, "256");
}

TEST(MetafileRead, BackgroundColourShowsWhereNothingIsDrawn) {
    TMetafileSettings s;
    s.BackgroundColor = MakeColor(1, 2, 3);
    const TRaster24 r = ReadMetafile(TWmfBuilder().Finish(true, 8, 8), false, s).Raster;
    ASSERT_EQ(r.Width(), 8);
    EXPECT_EQ(r.GetPixel(4, 4), MakeColor(1, 2, 3));
}

// ---- failures ------------------------------------------------------------------------------

TEST(MetafileRead, CorruptMetafilesGiveAnEmptyPictureOrInvalidMetafile) {
    const std::vector<std::uint8_t> wmf = PaintingWmf(10, 10);
    const std::vector<std::vector<std::uint8_t>> bad = {
        {},
        {0xD7, 0xCD, 0xC6, 0x9A},
        std::vector<std::uint8_t>(40, 0xFF),
        std::vector<std::uint8_t>(wmf.begin(), wmf.begin() + 30)};
    for (const auto& b : bad) {
        EXPECT_TRUE(ReadMetafile(b, false).Raster.Empty());
        EXPECT_TRUE(ReadMetafile(b, true).Raster.Empty());
        try {
            GetMetafileInfo(b, false);
            ADD_FAILURE() << "no exception";
        } catch (const EMetafile& e) {
            EXPECT_STREQ(e.what(), "Invalid Metafile");
        }
        EXPECT_THROW(GetMetafileInfo(b, true), EMetafile);
    }
}

TEST(MetafileRead, DamagedRecordsNeverStopTheReaderBadly) {
    const TShapeList shapes = test::TracedPainting(30, 20);
    TMetafileCanvas canvas(30, 20);
    DrawShapes(canvas, shapes, 1.0);
    std::mt19937 rng(7);
    for (bool enhanced : {false, true}) {
        const std::vector<std::uint8_t> good =
            enhanced ? canvas.EnhancedMetafile() : canvas.WindowsMetafile();
        for (int round = 0; round < 300; ++round) {
            std::vector<std::uint8_t> b = good;
            const int flips = 1 + round % 8;
            for (int i = 0; i < flips; ++i)
                b[rng() % b.size()] = static_cast<std::uint8_t>(rng());
            if (round % 3 == 0) b.resize(rng() % b.size());
            const TMetafilePicture p = ReadMetafile(b, enhanced, {}, true);
            EXPECT_LE(p.Raster.Width(), 130);
        }
    }
}

// Inputs the fuzzers found troublesome (pens of thousands of pixels drawn along long lines used
// to take minutes); each must load or fail quietly.
TEST(MetafileRead, FuzzFindingsReadQuietly) {
    const std::filesystem::path dir =
        std::filesystem::path(PIGMENTARIA_TEST_DATA) / "metafile" / "fuzz";
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> b{std::istreambuf_iterator<char>(in), {}};
        const bool enhanced = entry.path().extension() == ".emf";
        SCOPED_TRACE(entry.path().filename().string());
        const TMetafilePicture full = ReadMetafile(b, enhanced);
        const TMetafilePicture preview = ReadMetafile(b, enhanced, {}, true);
        EXPECT_LE(preview.Raster.Width(), 130);
        try {
            const TMetafileInfo info = GetMetafileInfo(b, enhanced);
            EXPECT_EQ(full.Raster.Width(), info.Width);
        } catch (const EMetafile&) {
            EXPECT_TRUE(full.Raster.Empty());
        }
        ++files;
    }
    EXPECT_GE(files, 2);
}

TEST(MetafileRead, TruncatedRecordsStopPlayingWithWhatWasDrawn) {
    std::vector<std::uint8_t> wmf =
        TWmfBuilder()
            .Record(META_CREATEBRUSHINDIRECT, {0, Lo(clRed), Hi(clRed), 0})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_RECTANGLE, {10, 10, 0, 0})
            .Finish(true, 20, 20);
    wmf.resize(wmf.size() - 4); // the end record is cut short
    const TRaster24 r = ReadMetafile(wmf, false).Raster;
    ASSERT_FALSE(r.Empty());
    EXPECT_EQ(r.GetPixel(5, 5), clRed);
}

TEST(MetafileRead, ProgressStartsAtTwoStepsByFifteenAndCanAbort) {
    const std::vector<std::uint8_t> wmf = PaintingWmf(30, 20);
    std::vector<int> steps;
    ReadMetafile(wmf, false, {}, false, [&](int step, int max, bool&) {
        EXPECT_EQ(max, 100);
        steps.push_back(step);
    });
    ASSERT_GE(steps.size(), 4u);
    EXPECT_EQ(steps[0], 2);
    EXPECT_EQ(steps[1], 17);
    EXPECT_EQ(steps[2], 32);
    EXPECT_EQ(steps.back(), 100);
    // Aborting at the first drawing (the frame shape) leaves only the black frame.
    int calls = 0;
    const TRaster24 r = ReadMetafile(wmf, false, {}, false, [&](int, int, bool& abort) {
                            abort = ++calls >= 2;
                        }).Raster;
    ASSERT_FALSE(r.Empty());
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            ASSERT_EQ(r.GetPixel(x, y), clBlack);
}

// ---- the record player ---------------------------------------------------------------------

TColor At(const std::vector<std::uint8_t>& mf, bool enhanced, int x, int y) {
    const TRaster24 r = ReadMetafile(mf, enhanced).Raster;
    return r.Contains(x, y) ? r.GetPixel(x, y) : 0xFFFFFFFF;
}

TEST(MetafilePlayer, WindowsShapesPensBrushesAndObjectSlots) {
    const TColor blue = MakeColor(0, 0, 255), green = MakeColor(0, 160, 0);
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder(3)
            .Record(META_SETWINDOWORG, {0, 0})
            .Record(META_SETWINDOWEXT, {200, 200})           // twice the 100-pixel box: half scale
            .Record(META_CREATEPENINDIRECT, {5, 1, 0, 0, 0}) // null pen, slot 0
            .Record(META_CREATEBRUSHINDIRECT, {0, Lo(blue), Hi(blue), 0}) // slot 1
            .Record(META_SELECTOBJECT, {0})
            .Record(META_SELECTOBJECT, {1})
            .Record(META_RECTANGLE, {40, 40, 0, 0}) // pixels 0..19 less the last row/column
            .Record(0x0999, {1, 2, 3})              // unknown: skipped
            .Record(META_DELETEOBJECT, {0})
            .Record(META_CREATEBRUSHINDIRECT, {0, Lo(green), Hi(green), 0}) // takes slot 0
            .Record(META_SAVEDC, {})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_ELLIPSE, {200, 200, 100, 100}) // pixels 50..99
            .Record(META_RESTOREDC, {-1})
            .Record(META_POLYGON, {3, 100, 0, 180, 0, 140, 60}) // blue again
            .Finish(true, 100, 100);
    EXPECT_EQ(At(wmf, false, 5, 5), blue);
    EXPECT_EQ(At(wmf, false, 18, 18), blue);
    EXPECT_EQ(At(wmf, false, 19, 5), clWhite);
    EXPECT_EQ(At(wmf, false, 75, 75), green);
    EXPECT_EQ(At(wmf, false, 52, 52), clWhite); // outside the ellipse's corner
    EXPECT_EQ(At(wmf, false, 70, 5), blue);
}

TEST(MetafilePlayer, PolyPolygonFillsUnderTheAlternateRule) {
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder(2)
            .Record(META_CREATEBRUSHINDIRECT, {0, Lo(clBlack), Hi(clBlack), 0})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_CREATEPENINDIRECT, {5, 0, 0, 0, 0})
            .Record(META_SELECTOBJECT, {1})
            .Record(META_POLYPOLYGON,
                    {2, 4, 4, 0, 0, 30, 0, 30, 30, 0, 30, 10, 10, 20, 10, 20, 20, 10, 20})
            .Finish(true, 30, 30);
    EXPECT_EQ(At(wmf, false, 5, 5), clBlack);
    EXPECT_EQ(At(wmf, false, 15, 15), clWhite); // the hole
    EXPECT_EQ(At(wmf, false, 25, 25), clBlack);
}

std::vector<std::uint8_t> Dib2x2() {
    // 2 × 2, 24 bits, bottom-up: bottom row red, green; top row blue, white.
    TByteWriter w;
    for (std::uint32_t v : {40u, 2u, 2u})
        w.U32(v);
    w.U16(1);
    w.U16(24);
    for (int i = 0; i < 6; ++i)
        w.U32(0);
    for (std::uint8_t b : {0, 0, 255, 0, 255, 0, 0, 0}) // red, green, pad
        w.U8(b);
    for (std::uint8_t b : {255, 0, 0, 255, 255, 255, 0, 0}) // blue, white, pad
        w.U8(b);
    return w.Bytes();
}

// Boxes and bitmap sources at the far ends of the 32-bit range: the arcs are cut to a bounded
// number of points and the copies skip what lies outside the bitmap, with no conversion of an
// out-of-range value to a pixel count. What is in range still draws.
TEST(MetafilePlayer, HugeArcsAndBitmapSourcesDrawWhatIsInRange) {
    const std::int32_t big = 2'000'000'000;
    const std::vector<std::uint8_t> emf =
        TEmfBuilder()
            .Record(EMR_CREATEPEN, {1, 0, 1, 0, static_cast<std::int32_t>(clRed)})
            .Record(EMR_SELECTOBJECT, {1})
            .Record(EMR_ARC, {-big, -big, big, big, big, 0, -big, 0})
            .Record(EMR_PIE, {-big, -big, big, big, 0, -big, big, 0})
            .Record(EMR_ELLIPSE, {-big, 3, big, 5})
            .Record(EMR_ROUNDRECT, {-big, -big, big, big, big, big})
            .Record(EMR_STRETCHDIBITS,
                    {0, 0, 19, 19, 0, 0, big, -big, big, big, 80, 40, 120, 16, 0, 0xCC0020, 20, 20},
                    Dib2x2())
            .Record(EMR_ARC, {10, 10, 18, 18, 18, 14, 18, 14})
            .Finish(20, 20);
    const TMetafilePicture p = ReadMetafile(emf, true);
    ASSERT_EQ(p.Raster.Width(), 20);
    // The small full circle at the end has its leftmost point at (10, 14).
    EXPECT_EQ(p.Raster.GetPixel(10, 14), clRed);
}

TEST(MetafilePlayer, StretchedBitmapsInBothFormats) {
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder()
            .Record(META_STRETCHDIB, {Lo(0xCC0020), Hi(0xCC0020), 0, 2, 2, 0, 0, 20, 20, 0, 0},
                    Dib2x2())
            .Finish(true, 20, 20);
    const TColor blue = MakeColor(0, 0, 255);
    EXPECT_EQ(At(wmf, false, 2, 2), blue);
    EXPECT_EQ(At(wmf, false, 17, 2), clWhite);
    EXPECT_EQ(At(wmf, false, 2, 17), clRed);
    EXPECT_EQ(At(wmf, false, 17, 17), MakeColor(0, 255, 0));

    const std::vector<std::uint8_t> dib = Dib2x2();
    std::vector<std::uint8_t> tail = dib;
    const std::vector<std::uint8_t> emf =
        TEmfBuilder()
            .Record(EMR_STRETCHDIBITS,
                    {0, 0, 19, 19, 0, 0, 0, 0, 2, 2, 80, 40, 120, 16, 0, 0xCC0020, 20, 20}, tail)
            .Finish(20, 20);
    EXPECT_EQ(At(emf, true, 2, 2), blue);
    EXPECT_EQ(At(emf, true, 17, 17), MakeColor(0, 255, 0));
}

TEST(MetafilePlayer, EnhancedStockObjectsMappingAndPaths) {
    const TColor blue = MakeColor(0, 0, 255);
    const std::vector<std::uint8_t> emf =
        TEmfBuilder()
            .Record(EMR_SETMAPMODE, {8})
            .Record(EMR_SETWINDOWEXTEX, {1000, 1000})
            .Record(EMR_SETVIEWPORTEXTEX, {100, 100})             // a tenth
            .Record(EMR_SELECTOBJECT, {std::int32_t(0x80000008)}) // null pen
            .Record(EMR_SELECTOBJECT, {std::int32_t(0x80000004)}) // black brush
            .Record(EMR_RECTANGLE, {0, 0, 500, 500})
            .Record(EMR_CREATEBRUSHINDIRECT, {1, 0, std::int32_t(blue), 0})
            .Record(EMR_SELECTOBJECT, {1})
            .Record(EMR_BEGINPATH, {})
            .Record(EMR_MOVETOEX, {600, 600})
            .Record(EMR_LINETO, {900, 600})
            .Record(EMR_LINETO, {900, 900})
            .Record(EMR_LINETO, {600, 900})
            .Record(EMR_CLOSEFIGURE, {})
            .Record(EMR_ENDPATH, {})
            .Record(EMR_FILLPATH, {0, 0, 0, 0})
            .Record(0x7777, {1})
            .Finish(100, 100);
    EXPECT_EQ(At(emf, true, 10, 10), clBlack);
    EXPECT_EQ(At(emf, true, 55, 10), clWhite);
    EXPECT_EQ(At(emf, true, 75, 75), blue);
    EXPECT_EQ(At(emf, true, 95, 95), clWhite);
}

TEST(MetafilePlayer, WidePensAndLinesReachingFarOutside) {
    const TColor red = clRed;
    const std::vector<std::uint8_t> wmf =
        TWmfBuilder(1)
            .Record(META_SETWINDOWORG, {0, 0})
            .Record(META_SETWINDOWEXT, {1, 1}) // one unit is a whole 100-pixel picture
            .Record(META_CREATEPENINDIRECT, {0, 0, 0, Lo(red), Hi(red)})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_MOVETO, {-30000, -30000})
            .Record(META_LINETO, {30000, 30000}) // the diagonal, millions of pixels long
            .Finish(true, 100, 100);
    EXPECT_EQ(At(wmf, false, 50, 50), red);
    EXPECT_EQ(At(wmf, false, 50, 60), clWhite);

    const std::vector<std::uint8_t> wide =
        TWmfBuilder(1)
            .Record(META_CREATEPENINDIRECT, {0, 10, 0, Lo(red), Hi(red)})
            .Record(META_SELECTOBJECT, {0})
            .Record(META_MOVETO, {50, 20})
            .Record(META_LINETO, {50, 80})
            .Finish(true, 100, 100);
    EXPECT_EQ(At(wide, false, 50, 46), red);
    EXPECT_EQ(At(wide, false, 50, 53), red);
    EXPECT_EQ(At(wide, false, 50, 57), clWhite);
    EXPECT_EQ(At(wide, false, 10, 50), clWhite);
}

} // namespace
} // namespace pigmentaria
