// Metafiles through the image library: the registry chooses the metafile readers by content,
// loads them into pictures of the metafile's colour type and reports their file information.
#include "image/file_format.h"
#include "image/metafile_fixtures.h"
#include "image/metafile_format.h"
#include "image/metafile_reader.h"
#include "image/pg_stream.h"
#include "image/pixel_graphic.h"
#include "model/metafile_canvas.h"
#include "model/render.h"
#include "platform/file_io.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace pigmentaria {
namespace {

using namespace metafile;
using test::Hi;
using test::Lo;
using test::TEmfBuilder;
using test::TTempDir;
using test::TWmfBuilder;

const std::filesystem::path ClipArt = std::filesystem::path(PIGMENTARIA_TEST_DATA) / "metafile";

std::vector<std::uint8_t> EightColourWmf(std::vector<TColor>& colors) {
    std::vector<std::uint8_t> entries;
    for (int i = 0; i < 8; ++i) {
        colors.push_back(MakeColor(i * 30, 255 - i * 30, i * 10));
        entries.insert(entries.end(),
                       {std::uint8_t(i * 30), std::uint8_t(255 - i * 30), std::uint8_t(i * 10), 0});
    }
    // A palette, then a rectangle in palette colour 3 without outline over the white background.
    const TColor fill = colors[3];
    return TWmfBuilder()
        .Record(META_CREATEPALETTE, {0x300, 8}, entries)              // slot 0
        .Record(META_CREATEPENINDIRECT, {5, 1, 0, 0, 0})              // null pen, slot 1
        .Record(META_CREATEBRUSHINDIRECT, {0, Lo(fill), Hi(fill), 0}) // slot 2
        .Record(META_SELECTOBJECT, {1})
        .Record(META_SELECTOBJECT, {2})
        .Record(META_RECTANGLE, {30, 60, 10, 20})
        .Finish(true, 80, 40);
}

TEST(MetafileFormats, RegisteredAsDetectableReadersWithoutWriters) {
    const TFileFormatRegistry& r = PGFormats();
    const std::string filter = r.OpenFilter();
    EXPECT_NE(filter.find("WMF - Windows Metafile|*.wmf|"), std::string::npos);
    EXPECT_NE(filter.find("EMF - Enhanced Metafile|*.emf|"), std::string::npos);
    int found = 0;
    for (const auto& reader : r.Readers())
        if (reader->Extension == "wmf" || reader->Extension == "emf") {
            EXPECT_TRUE(reader->Detectable);
            EXPECT_TRUE(reader->Listed);
            ++found;
        }
    EXPECT_EQ(found, 2);
    EXPECT_EQ(r.FindWriter("wmf"), nullptr);
    EXPECT_EQ(r.FindWriter("EMF"), nullptr);
}

TEST(MetafileFormats, PaintingMetafilesLoadAsTheRenderedPainting) {
    TTempDir dir;
    const TShapeList shapes = test::TracedPainting(47, 31);
    TMetafileCanvas canvas(47, 31);
    DrawShapes(canvas, shapes, 1.0);
    // Saved under the wrong extension: the content decides.
    ReplaceFileContents(dir / "painting.emf", canvas.WindowsMetafile());
    ReplaceFileContents(dir / "painting.dat", canvas.EnhancedMetafile());
    const TRaster24 expected = RenderPainting(shapes, 1.0);
    for (const char* name : {"painting.emf", "painting.dat"}) {
        SCOPED_TRACE(name);
        TPixelGraphic g;
        g.LoadFromFile((dir / name).string());
        EXPECT_EQ(g.ColorType(), ct24Bit);
        EXPECT_EQ(g.ToRaster24(), expected);
    }
}

TEST(MetafileFormats, ClipArtWithALongEnhancedHeaderIsRecognisedByTheRegistry) {
    // LibreOffice writes a 108-byte header record; its signature lies beyond the first 40 bytes.
    const std::vector<std::uint8_t> emf = ReadFileBytes(ClipArt / "clip.emf");
    ASSERT_EQ(emf[4], 108);
    TPixelGraphic fromEmf, fromWmf;
    fromEmf.LoadFromFile((ClipArt / "clip.emf").string());
    fromWmf.LoadFromFile((ClipArt / "clip.wmf").string());
    ASSERT_FALSE(fromEmf.Empty());
    ASSERT_FALSE(fromWmf.Empty());
    EXPECT_EQ(fromEmf.ToRaster24(), ReadMetafile(emf, true).Raster);
    const TGraphicFileInfo info = GetGraphicFileInfo((ClipArt / "clip.emf").string());
    ASSERT_TRUE(info.Ok);
    EXPECT_EQ(info.FormatDescription, "Enhanced Metafile");
    EXPECT_EQ(info.Info.Width, fromEmf.Width());
    EXPECT_EQ(info.Info.Subformat, "");
}

TEST(MetafileFormats, EightEntryPaletteGivesAFourBitPictureOfThoseEntries) {
    std::vector<TColor> colors;
    const std::vector<std::uint8_t> wmf = EightColourWmf(colors);
    TMemoryStream stream(wmf);
    TPixelGraphic g;
    g.LoadFromStream(stream);
    ASSERT_EQ(g.ColorType(), ct4Bit);
    EXPECT_EQ(g.Palette(), colors);
    // The rectangle's colour is entry 3 itself; white, not in the palette, the nearest entry.
    EXPECT_EQ(g.GetPixel(30, 15), 3u);
    TPixelGraphic copy;
    copy.SetSize(1, 1, ct4Bit);
    copy.SetPalette(colors);
    EXPECT_EQ(g.GetPixel(2, 2), copy.NearestPaletteIndex(clWhite));
    EXPECT_EQ(g.FillColor(), copy.NearestPaletteIndex(clWhite));
}

TEST(MetafileFormats, PreviewFlagLimitsThePicture) {
    const TShapeList shapes = test::TracedPainting(300, 200);
    TMetafileCanvas canvas(300, 200);
    DrawShapes(canvas, shapes, 1.0);
    for (const std::vector<std::uint8_t>& bytes :
         {canvas.WindowsMetafile(), canvas.EnhancedMetafile()}) {
        TMemoryStream stream(bytes);
        TPixelGraphic g;
        g.PreviewFlag = true;
        g.LoadFromStream(stream);
        EXPECT_EQ(g.Width(), 130);
        EXPECT_EQ(g.Height(), 87);
    }
}

TEST(MetafileFormats, LibrarySettingsSizeAndClearThePicture) {
    TMetafileSettings& settings = PGMetafileSettings();
    const TMetafileSettings saved = settings;
    settings.ScaleFactor = 2.0;
    settings.BackgroundColor = MakeColor(10, 20, 30);
    TMemoryStream stream(TWmfBuilder().Finish(true, 20, 10));
    TPixelGraphic g;
    g.LoadFromStream(stream);
    settings = saved;
    EXPECT_EQ(g.Width(), 40);
    EXPECT_EQ(g.Height(), 20);
    EXPECT_EQ(g.GetPixelColor(5, 5), MakeColor(10, 20, 30));
}

TEST(MetafileFormats, WindowsMetafileWithoutPlaceableHeaderIsCalledNoHeader) {
    TTempDir dir;
    const std::vector<std::uint8_t> bare =
        TWmfBuilder().Record(META_RECTANGLE, {10, 10, 0, 0}).Finish(false);
    ReplaceFileContents(dir / "bare.wmf", bare);
    const TGraphicFileInfo info = GetGraphicFileInfo((dir / "bare.wmf").string());
    ASSERT_TRUE(info.Ok);
    EXPECT_EQ(info.FormatDescription, "Windows Metafile");
    EXPECT_EQ(info.Info.Subformat, NoHeaderSubFormat);
    EXPECT_EQ(info.Info.BitCount, 24);
    EXPECT_EQ(info.Info.ColorCountText, "16.7M");
    // The made-up header's default box: 100 x 50 less one.
    EXPECT_EQ(info.Info.Width, 99);
    TPixelGraphic g;
    g.LoadFromFile((dir / "bare.wmf").string());
    EXPECT_EQ(g.Width(), 99);
    EXPECT_EQ(g.Height(), 49);
}

TEST(MetafileFormats, CorruptMetafileLoadsEmptyAndHasNoInformation) {
    // Recognised by its placeable magic, but nothing usable follows.
    std::vector<std::uint8_t> bad = {0xD7, 0xCD, 0xC6, 0x9A, 1, 2, 3};
    TMemoryStream stream(bad);
    TPixelGraphic g;
    EXPECT_NO_THROW(g.LoadFromStream(stream));
    EXPECT_TRUE(g.Empty());

    TWMFFileFormatReader reader;
    TMemoryStream again(bad);
    try {
        reader.GetInfo(again, 0);
        ADD_FAILURE() << "no exception";
    } catch (const EPixelGraphic& e) {
        EXPECT_STREQ(e.what(), "Invalid Metafile");
    }
    TTempDir dir;
    ReplaceFileContents(dir / "bad.wmf", bad);
    EXPECT_FALSE(GetGraphicFileInfo((dir / "bad.wmf").string()).Ok);
}

TEST(MetafileFormats, EnhancedHeaderWithoutSignatureIsAnUnknownFormat) {
    // A 108-byte header record that does not carry the signature is not taken for a metafile,
    // even under the metafile extension.
    TTempDir dir;
    ReplaceFileContents(dir / "odd.emf", TEmfBuilder().Finish(10, 10, 108, {}, false));
    TPixelGraphic g;
    try {
        g.LoadFromFile((dir / "odd.emf").string());
        ADD_FAILURE() << "no exception";
    } catch (const EPGUnknownFileFormat& e) {
        EXPECT_STREQ(e.what(), "Unknown file format");
    }
}

} // namespace
} // namespace pigmentaria
