// Reader selection, saving with the colour-resolution fallback, filter strings, messages.
#include "image/bmp_format.h"
#include "image/file_format.h"
#include "image/palette_match.h"
#include "image/pg_stream.h"
#include "image_test_util.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace pigmentaria {
namespace {

// A stand-in format: reads a fixed 2 x 1 picture; detectable formats by their magic bytes.
class TFakeReader : public TFileFormatReader {
public:
    TFakeReader(std::string ext, std::string magic, TColor color)
        : TFileFormatReader("TFake" + ext + "Reader", ext, "Fake " + ext), Magic_(std::move(magic)),
          Color_(color) {
        Detectable = !Magic_.empty();
    }
    bool IsFormat(const std::uint8_t* header, std::size_t size) const override {
        return size >= Magic_.size() &&
               std::equal(Magic_.begin(), Magic_.end(), header,
                          [](char m, std::uint8_t h) { return static_cast<std::uint8_t>(m) == h; });
    }
    void Read(TPGStream& stream, TPixelGraphic& g, int) const override {
        std::uint8_t first = 0;
        FirstByte = stream.Read(&first, 1) ? first : -1;
        g.SetSize(2, 1, ct24Bit);
        g.SetPixelColor(0, 0, Color_);
    }
    mutable int FirstByte = -1;

private:
    std::string Magic_;
    TColor Color_;
};

// Records what it was asked to write.
class TFakeWriter : public TFileFormatWriter {
public:
    TFakeWriter(std::string ext, TPGColorResSet res)
        : TFileFormatWriter("TFake" + ext + "Writer", ext, "Fake " + ext) {
        CanWriteResolutions = res;
    }
    void Write(TPGStream& stream, TPixelGraphic& g) const override {
        Type = g.ColorType();
        Ident = g.PaletteIdent();
        Pixels.clear();
        for (int x = 0; x < g.Width(); ++x)
            Pixels.push_back(g.GetPixelColor(x, 0));
        if (Fail) {
            stream.Write("partial", 7);
            throw EPixelGraphic("write failed");
        }
        stream.Write("FAKE", 4);
    }
    mutable TPGColorType Type = ct24Bit;
    mutable TPaletteIdent Ident = pNone;
    mutable std::vector<TColor> Pixels;
    bool Fail = false;
};

TEST(ReaderSelection, ContentWinsOverExtension) {
    TFileFormatRegistry reg;
    RegisterBMPFormats(reg);
    reg.AddReader(std::make_unique<TFakeReader>("png", "\x89PNG", MakeColor(1, 2, 3)));
    reg.AddReader(std::make_unique<TFakeReader>("tga", "", MakeColor(4, 5, 6)));

    // A PNG named .bmp loads as PNG.
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
    TPixelGraphic g;
    TSpanStream s1(png.data(), png.size());
    g.LoadFromStreamAs(s1, "bmp", reg);
    EXPECT_EQ(g.GetPixelColor(0, 0), MakeColor(1, 2, 3));

    // Targa cannot be recognised: only its extension, in any case, selects it.
    std::vector<std::uint8_t> tga = {0, 0, 2, 0, 0, 0};
    for (const char* hint : {"tga", "TGA", ".Tga"}) {
        TSpanStream s(tga.data(), tga.size());
        g.LoadFromStreamAs(s, hint, reg);
        EXPECT_EQ(g.GetPixelColor(0, 0), MakeColor(4, 5, 6)) << hint;
    }
    TSpanStream s2(tga.data(), tga.size());
    try {
        g.LoadFromStreamAs(s2, "bmp", reg);
        FAIL();
    } catch (const EPGUnknownFileFormat& e) {
        EXPECT_STREQ(e.what(), "Unknown file format");
        EXPECT_TRUE(g.Empty());
    }
    // A detectable format is never chosen by its extension alone.
    TSpanStream s3(tga.data(), tga.size());
    EXPECT_THROW(g.LoadFromStreamAs(s3, "png", reg), EPGUnknownFileFormat);
}

TEST(ReaderSelection, StreamPositionIsRestoredForTheReader) {
    TFileFormatRegistry reg;
    auto reader = std::make_unique<TFakeReader>("xyz", "XY", clBlack);
    const TFakeReader* fake = reader.get();
    reg.AddReader(std::move(reader));
    std::vector<std::uint8_t> d = {'j', 'u', 'n', 'k', 'X', 'Y', 'Z'};
    TSpanStream s(d.data(), d.size());
    s.Seek(4);
    TPixelGraphic g;
    g.LoadFromStreamAs(s, "", reg);
    EXPECT_EQ(fake->FirstByte, 'X');
}

TEST(Registry, ListsAreKeptInExtensionOrderAndFiltersFollowThem) {
    const TFileFormatRegistry& reg = PGFormats();
    EXPECT_EQ(
        reg.OpenFilter(),
        "Image files|*.bmp; *.dib; *.emf; *.jif; *.jpeg; *.jpg; *.pbm; *.pcx; *.pgm; *.png; *.ppm; "
        "*.rle; *.tga; *.tif; *.tiff; *.wmf|BMP - Bitmap|*.bmp|DIB - Bitmap|*.dib|"
        "EMF - Enhanced Metafile|*.emf|JIF - JPEG (JFIF compliant)|*.jif|JPEG - JPEG (JFIF "
        "compliant)|*.jpeg|"
        "JPG - JPEG (JFIF compliant)|*.jpg|PBM - Portable Bitmap|*.pbm|PCX - Paintbrush|*.pcx|"
        "PGM - Portable Graymap|*.pgm|PNG - Portable Network Graphics|*.png|"
        "PPM - Portable Pixelmap|*.ppm|RLE - Bitmap|*.rle|TGA - Truevision Targa|*.tga|"
        "TIF - Tagged Image File Format|*.tif|TIFF - Tagged Image File Format|*.tiff|WMF - Windows "
        "Metafile|*.wmf|"
        "All files|*.*");
    // Only one writer of each shared codec is listed.
    EXPECT_EQ(reg.SaveFilter(), "BMP - Bitmap|*.bmp|JPG - JPEG (JFIF compliant)|*.jpg|"
                                "PBM - Portable Bitmap|*.pbm|PGM - Portable Graymap|*.pgm|"
                                "PNG - Portable Network Graphics|*.png|"
                                "PPM - Portable Pixelmap|*.ppm|TGA - Truevision Targa|*.tga|"
                                "TIF - Tagged Image File Format|*.tif|");
    EXPECT_EQ(reg.FindWriter("pcx"), nullptr);
    EXPECT_NE(reg.FindWriter("DIB"), nullptr);
    EXPECT_EQ(reg.FindWriter("rle"), nullptr);

    TFileFormatRegistry mine;
    mine.AddReader(std::make_unique<TFakeReader>("zzz", "", clBlack));
    mine.AddReader(std::make_unique<TFakeReader>("AAA", "", clBlack));
    mine.AddReader(std::make_unique<TFakeReader>("mmm", "", clBlack));
    EXPECT_EQ(mine.Readers()[0]->Extension, "aaa");
    EXPECT_EQ(mine.Readers()[2]->Extension, "zzz");
    TFileFormatRegistry none;
    EXPECT_EQ(none.OpenFilter(), "All files|*.*");
}

class SaveFallback : public ::testing::Test {
protected:
    void SetUp() override {
        auto ppm = std::make_unique<TFakeWriter>("ppm", ColorResBit(cr16M));
        Ppm = ppm.get();
        Reg.AddWriter(std::move(ppm));
        auto jpg =
            std::make_unique<TFakeWriter>("jpg", ColorResBit(cr256Grays) | ColorResBit(cr16M));
        Jpg = jpg.get();
        Reg.AddWriter(std::move(jpg));
        Gray.SetSize(3, 1, ct4Bit);
        Gray.SetPaletteIdent(pGray16);
        for (int x = 0; x < 3; ++x)
            Gray.SetPixel(x, 0, static_cast<std::uint32_t>(5 * x));
        Gray.Messages = &Messages;
    }
    TFileFormatRegistry Reg;
    TFakeWriter* Ppm = nullptr;
    TFakeWriter* Jpg = nullptr;
    TPixelGraphic Gray;
    test::TRecordingMessages Messages;
};

TEST_F(SaveFallback, SixteenGraysAsPpmConvertsAfterTheQuestion) {
    TMemoryStream s;
    Gray.SaveToStreamAs(s, "PPM", Reg);
    ASSERT_EQ(Messages.Questions.size(), 1u);
    EXPECT_EQ(Messages.Questions[0],
              "The graphic cannot be saved to a Fake ppm file with the current color resolution "
              "(16 shades of gray).\n\nThe graphic will be saved with a different color "
              "resolution (16.7 million colors).");
    EXPECT_EQ(Ppm->Type, ct24Bit);
    EXPECT_EQ(Ppm->Pixels,
              (std::vector<TColor>{clBlack, MakeColor(85, 85, 85), MakeColor(170, 170, 170)}));
    EXPECT_EQ(s.Data().size(), 4u);
    // The picture itself is untouched.
    EXPECT_EQ(Gray.ColorType(), ct4Bit);
}

TEST_F(SaveFallback, CancelOrRaiseWritesNothing) {
    Messages.ConfirmAnswer = false;
    TMemoryStream s;
    try {
        Gray.SaveToStreamAs(s, "ppm", Reg);
        FAIL();
    } catch (const EPGCannotWriteColorRes& e) {
        EXPECT_STREQ(e.what(),
                     "The graphic cannot be saved with to a Fake ppm file with the current "
                     "color resolution (16 shades of gray)");
    }
    Gray.SaveColorResWarningAction = pgwaRaise;
    EXPECT_THROW(Gray.SaveToStreamAs(s, "ppm", Reg), EPGCannotWriteColorRes);
    EXPECT_EQ(Messages.Questions.size(), 1u);
    EXPECT_TRUE(s.Data().empty());
}

TEST_F(SaveFallback, OkBoxWarnsAndIgnoreIsSilent) {
    TMemoryStream s;
    Gray.SaveColorResWarningAction = pgwaOKBox;
    Gray.SaveToStreamAs(s, "ppm", Reg);
    EXPECT_EQ(Messages.Warnings.size(), 1u);
    Gray.SaveColorResWarningAction = pgwaIgnore;
    Gray.SaveToStreamAs(s, "ppm", Reg);
    EXPECT_EQ(Messages.Warnings.size(), 1u);
    EXPECT_TRUE(Messages.Questions.empty());
}

TEST_F(SaveFallback, BlackAndWhiteAsJpgFallsBackTo256Grays) {
    TPixelGraphic bw;
    bw.SetSize(2, 1, ct1Bit);
    bw.SetPaletteIdent(pBlackWhite);
    bw.SetPixel(1, 0, 1);
    bw.SaveColorResWarningAction = pgwaIgnore;
    TMemoryStream s;
    bw.SaveToStreamAs(s, ".jpg", Reg);
    EXPECT_EQ(Jpg->Type, ct8Bit);
    EXPECT_EQ(Jpg->Ident, pGray256);
    EXPECT_EQ(Jpg->Pixels, (std::vector<TColor>{clBlack, clWhite}));
}

TEST_F(SaveFallback, SupportedResolutionIsWrittenAsItIs) {
    TPixelGraphic g;
    g.SetSize(2, 1, ct24Bit);
    TMemoryStream s;
    g.SaveToStreamAs(s, "ppm", Reg);
    EXPECT_TRUE(Messages.Questions.empty());
    EXPECT_EQ(Ppm->Type, ct24Bit);
}

TEST_F(SaveFallback, ConversionTargetsGetTheirPalettes) {
    // Every writer resolution from a 24-bit picture, through a writer that knows only that one.
    TPixelGraphic src;
    src.SetSize(8, 1, ct24Bit);
    for (int x = 0; x < 8; ++x)
        src.SetPixelColor(x, 0, MakeColor(x * 36, 255 - x * 30, x * x * 4));
    src.SaveColorResWarningAction = pgwaIgnore;
    src.Dither = false;
    const std::pair<TPGColorRes, TPGColorType> cases[] = {
        {crBlackWhite, ct1Bit}, {cr2Colors, ct1Bit},  {cr16Grays, ct4Bit},  {cr16SysColors, ct4Bit},
        {cr16Colors, ct4Bit},   {cr256Grays, ct8Bit}, {cr256Colors, ct8Bit}};
    for (auto [res, type] : cases) {
        TFileFormatRegistry reg;
        auto w = std::make_unique<TFakeWriter>("one", ColorResBit(res));
        TFakeWriter* writer = w.get();
        reg.AddWriter(std::move(w));
        TMemoryStream s;
        src.SaveToStreamAs(s, "one", reg);
        EXPECT_EQ(writer->Type, type) << int(res);
        EXPECT_EQ(writer->Pixels.size(), 8u);
    }
}

TEST(SaveErrors, UnknownExtensionAndEmptyLists) {
    TPixelGraphic g;
    g.SetSize(1, 1, ct24Bit);
    TMemoryStream s;
    try {
        g.SaveToStreamAs(s, "XYZ");
        FAIL();
    } catch (const EPGUnknownExtension& e) {
        EXPECT_STREQ(e.what(), "Unknown file extension \"xyz\"");
    }
    TFileFormatRegistry empty;
    try {
        g.SaveToStreamAs(s, "bmp", empty);
        FAIL();
    } catch (const EPGFileFormatWritersEmpty& e) {
        EXPECT_STREQ(e.what(), "FileFormatWriters is empty");
    }
    TFileFormatRegistry useless;
    useless.AddWriter(std::make_unique<TFakeWriter>("nil", 0));
    try {
        g.SaveToStreamAs(s, "nil", useless);
        FAIL();
    } catch (const EPGCanWriteResolutionsEmpty& e) {
        EXPECT_STREQ(e.what(), "TFakenilWriter.CanWriteResolutions is empty");
    }
}

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        Dir = std::filesystem::temp_directory_path() /
              ("pigmentaria_image_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(Dir);
    }
    void TearDown() override { std::filesystem::remove_all(Dir); }
    std::string Path(const std::string& name) const { return (Dir / name).string(); }
    std::filesystem::path Dir;
};

TEST_F(TempDir, SaveToFileByExtensionAndLoadBack) {
    TPixelGraphic g;
    g.SetSize(5, 3, ct8Bit);
    g.SetPaletteIdent(pSpecial216);
    g.SetPixelColor(2, 1, MakeColor(255, 0, 51));
    g.SaveToFile(Path("Picture.BMP"));
    TPixelGraphic back;
    back.LoadFromFile(Path("Picture.BMP"));
    EXPECT_EQ(back.GetPixelColor(2, 1), MakeColor(255, 0, 51));
    EXPECT_EQ(back.PaletteIdent(), pSpecial216);
    const TGraphicFileInfo info = GetGraphicFileInfo(Path("Picture.BMP"));
    EXPECT_TRUE(info.Ok);
    EXPECT_EQ(info.Info.BitCount, 8);
}

TEST_F(TempDir, FailedSaveRemovesANewFileButKeepsAnOldOne) {
    TFileFormatRegistry reg;
    auto w = std::make_unique<TFakeWriter>("bad", kAllColorRes);
    w->Fail = true;
    reg.AddWriter(std::move(w));
    TPixelGraphic g;
    g.SetSize(1, 1, ct24Bit);
    EXPECT_THROW(g.SaveToFile(Path("new.bad"), reg), EPixelGraphic);
    EXPECT_FALSE(std::filesystem::exists(Path("new.bad")));
    {
        std::FILE* f = std::fopen(Path("old.bad").c_str(), "wb");
        std::fputs("old", f);
        std::fclose(f);
    }
    EXPECT_THROW(g.SaveToFile(Path("old.bad"), reg), EPixelGraphic);
    EXPECT_TRUE(std::filesystem::exists(Path("old.bad")));
    // A refused extension creates nothing.
    EXPECT_THROW(g.SaveToFile(Path("x.none"), reg), EPGUnknownExtension);
    EXPECT_FALSE(std::filesystem::exists(Path("x.none")));
}

TEST_F(TempDir, FileInfoNeverRaises) {
    EXPECT_FALSE(GetGraphicFileInfo(Path("missing.bmp")).Ok);
    {
        std::FILE* f = std::fopen(Path("text.bmp").c_str(), "wb");
        std::fputs("hello, not a picture", f);
        std::fclose(f);
    }
    EXPECT_FALSE(GetGraphicFileInfo(Path("text.bmp")).Ok);
    {
        std::FILE* f = std::fopen(Path("short.bmp").c_str(), "wb");
        std::fputs("BM12", f);
        std::fclose(f);
    }
    EXPECT_FALSE(GetGraphicFileInfo(Path("short.bmp")).Ok);
}

TEST(MessageTable, PlaceholdersAreFilledOnceFromTheTemplate) {
    EXPECT_EQ(PGMessage(7, "Index"), "Index invalid");
    EXPECT_EQ(PGMessage(19, "abc"), "Unknown file extension \"abc\"");
    EXPECT_EQ(PGMessage(31, "CreateDIBSection"), "CreateDIBSection failed");
    // An argument's own text is left as it is.
    EXPECT_EQ(
        PGMessage(18, "%S2", "x"),
        "The graphic cannot be saved with to a %S2 file with the current color resolution (x)");
    EXPECT_EQ(PGMessage(0), "");
    EXPECT_EQ(PGMessage(84), "");
    EXPECT_EQ(PGMessage(85), "");
    EXPECT_EQ(PGMessage(83), "\xC2\xB0");
    EXPECT_EQ(ColorResName(cr16SysColors), "16 system colors");
    EXPECT_EQ(ColorResName(cr16M), "16.7 million colors");
}

TEST(MessageTable, WarningActions) {
    test::TRecordingMessages m;
    EXPECT_TRUE(PGWarning(&m, pgwaIgnore, "a"));
    EXPECT_TRUE(PGWarning(&m, pgwaOKBox, "b"));
    m.ConfirmAnswer = false;
    EXPECT_FALSE(PGWarning(&m, pgwaOKCancelBox, "c"));
    EXPECT_FALSE(PGWarning(&m, pgwaRaise, "d"));
    EXPECT_EQ(m.Warnings, std::vector<std::string>{"b"});
    EXPECT_EQ(m.Questions, std::vector<std::string>{"c"});
    EXPECT_TRUE(PGWarning(nullptr, pgwaOKCancelBox, "e"));
}

} // namespace
} // namespace pigmentaria
