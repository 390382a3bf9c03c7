// The JPEG, PNG, PCX, Netpbm, Targa and TIFF readers against files of independent encoders,
// hand-made variants, their refusals and hostile input.
#include "image/codec_io.h"
#include "image/file_format.h"
#include "image/pg_stream.h"
#include "image_test_util.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace pigmentaria {
namespace {

using test::ImageData;
using test::ReadBytes;
using test::ReadPpm;

// Loads with gamma correction off, so that the pixels are the file's own.
struct TNoGamma {
    TNoGamma() { PGLibrarySettings().GammaCorrection = false; }
    ~TNoGamma() { PGLibrarySettings().GammaCorrection = true; }
};

void ExpectPixels(const TPixelGraphic& g, const test::TPpm& ref, const std::string& what) {
    ASSERT_EQ(g.Width(), ref.Width) << what;
    ASSERT_EQ(g.Height(), ref.Height) << what;
    for (int y = 0; y < ref.Height; ++y)
        for (int x = 0; x < ref.Width; ++x)
            ASSERT_EQ(g.GetPixelColor(x, y), ref.At(x, y)) << what << " at " << x << "," << y;
}

struct TFixture {
    const char* File;
    const char* Reference;
    TPGColorType Type;
};

void ExpectFixtures(const std::vector<TFixture>& cases) {
    TNoGamma noGamma;
    for (const TFixture& c : cases) {
        TPixelGraphic g;
        g.LoadFromFile(ImageData(c.File));
        EXPECT_EQ(g.ColorType(), c.Type) << c.File;
        ExpectPixels(g, ReadPpm(ImageData(c.Reference)), c.File);
    }
}

// The message a load raises, "loaded" when it does not; the picture must be empty after a failure.
std::string LoadError(const std::vector<std::uint8_t>& bytes, const std::string& ext,
                      TPixelGraphic* into = nullptr) {
    TPixelGraphic local;
    TPixelGraphic& g = into ? *into : local;
    try {
        test::LoadBytes(g, bytes, ext);
    } catch (const EPixelGraphic& e) {
        EXPECT_TRUE(g.Empty());
        return e.what();
    }
    return "loaded";
}

std::string FileLoadError(const std::string& name) {
    return LoadError(ReadBytes(ImageData(name)), ExtensionOf(name));
}

TGraphicInfo InfoOf(const std::string& name) {
    const TGraphicFileInfo info = GetGraphicFileInfo(ImageData(name));
    EXPECT_TRUE(info.Ok) << name;
    return info.Info;
}

TEST(JpegReader, LoadsFilesOfIndependentEncodersPixelExactly) {
    ExpectFixtures({
        {"jpeg/im_baseline.jpg", "jpeg/im_baseline.ppm", ct24Bit},
        {"jpeg/im_progressive.jpg", "jpeg/im_progressive.ppm", ct24Bit},
        {"jpeg/im_restart.jpg", "jpeg/im_restart.ppm", ct24Bit},
        {"jpeg/im_gray.jpg", "jpeg/im_gray.ppm", ct8Bit},
        {"jpeg/pil_444.jpg", "jpeg/pil_444.ppm", ct24Bit},
        {"jpeg/pil_420.jpg", "jpeg/pil_420.ppm", ct24Bit},
        {"jpeg/pil_gray.jpg", "jpeg/pil_gray.ppm", ct8Bit},
    });
    TPixelGraphic g;
    g.LoadFromFile(ImageData("jpeg/pil_gray.jpg"));
    EXPECT_EQ(g.PaletteIdent(), pGray256);
}

TEST(JpegReader, CmykIsRefusedAndDescribed) {
    EXPECT_EQ(FileLoadError("jpeg/im_cmyk.jpg"), "JPG: Not supported subformat");
    const TGraphicInfo info = InfoOf("jpeg/im_cmyk.jpg");
    // ImageMagick writes CMYK as YCCK with an Adobe marker.
    EXPECT_EQ(info.Subformat, "Adope, YCbCrK");
    EXPECT_EQ(info.ColorCountText, "4294.9M");
}

TEST(JpegReader, InfoNamesColourSpaceAndProgression) {
    EXPECT_EQ(InfoOf("jpeg/im_baseline.jpg").Subformat, "JFIF, YCbCr");
    EXPECT_EQ(InfoOf("jpeg/im_progressive.jpg").Subformat, "JFIF, YCbCr, Progressive");
    const TGraphicInfo gray = InfoOf("jpeg/im_gray.jpg");
    EXPECT_EQ(gray.Subformat, "JFIF, GrayScale");
    EXPECT_EQ(gray.ColorCountText, "256");
    EXPECT_EQ(gray.Width, 37);
    EXPECT_EQ(gray.Height, 21);
}

// Photos often carry an early sRGB profile that libpng knows to be slightly wrong; that says
// nothing about the picture and must not warn on every load. Real warnings still come through.
TEST(PngReader, AKnownIncorrectSrgbProfileDoesNotWarnOtherFaultsDo) {
    const std::vector<std::uint8_t> plain = ReadBytes(ImageData("png/im_rgb8.png"));
    const std::vector<std::uint8_t> photo =
        ReadBytes(std::string(PIGMENTARIA_SAMPLES) + "/astronaut.png");
    constexpr std::size_t afterHeader = 8 + 12 + 13;
    ASSERT_EQ(std::string(photo.begin() + afterHeader + 4, photo.begin() + afterHeader + 8),
              "iCCP");
    const std::size_t profileChunk = 12 + GetBE32(&photo[afterHeader]);
    auto withChunk = [&](const std::vector<std::uint8_t>& chunk) {
        std::vector<std::uint8_t> out(plain.begin(), plain.begin() + afterHeader);
        out.insert(out.end(), chunk.begin(), chunk.end());
        out.insert(out.end(), plain.begin() + afterHeader, plain.end());
        return out;
    };
    auto load = [](const std::vector<std::uint8_t>& bytes, TPixelGraphic& g,
                   test::TRecordingMessages& messages) {
        g.Messages = &messages;
        g.ReadWarningAction = pgwaOKBox;
        return LoadError(bytes, "png", &g);
    };
    {
        test::TRecordingMessages messages;
        TPixelGraphic g, reference;
        EXPECT_EQ(load(withChunk({photo.begin() + afterHeader,
                                  photo.begin() + afterHeader + profileChunk}),
                       g, messages),
                  "loaded");
        EXPECT_EQ(messages.Warnings, std::vector<std::string>{});
        test::LoadBytes(reference, plain, "png");
        for (int y = 0; y < g.Height(); ++y)
            for (int x = 0; x < g.Width(); ++x)
                ASSERT_EQ(g.GetPixelColor(x, y), reference.GetPixelColor(x, y));
    }
    {
        // A text chunk whose checksum is wrong.
        std::vector<std::uint8_t> text = {0, 0, 0, 3, 't', 'E', 'X', 't', 'a', 0, 'b', 1, 2, 3, 4};
        test::TRecordingMessages messages;
        TPixelGraphic g;
        EXPECT_EQ(load(withChunk(text), g, messages), "loaded");
        ASSERT_EQ(messages.Warnings.size(), 1u);
        EXPECT_TRUE(messages.Warnings[0].starts_with("PNG: ")) << messages.Warnings[0];
        EXPECT_NE(messages.Warnings[0].find("CRC error"), std::string::npos)
            << messages.Warnings[0];
    }
}

TEST(JpegReader, TruncatedDataWarnsThroughTheReadWarningAction) {
    std::vector<std::uint8_t> bytes = ReadBytes(ImageData("jpeg/im_baseline.jpg"));
    bytes.resize(bytes.size() * 2 / 3);
    {
        test::TRecordingMessages messages;
        TPixelGraphic g;
        g.Messages = &messages;
        g.ReadWarningAction = pgwaOKBox;
        EXPECT_EQ(LoadError(bytes, "jpg", &g), "loaded");
        ASSERT_EQ(messages.Warnings.size(), 1u);
        EXPECT_EQ(messages.Warnings[0], "JPG: Premature end of JPEG file");
        EXPECT_EQ(g.Width(), 37);
    }
    {
        TPixelGraphic g;
        g.ReadWarningAction = pgwaRaise;
        EXPECT_EQ(LoadError(bytes, "jpg", &g), "JPG: Premature end of JPEG file");
    }
    {
        test::TRecordingMessages messages;
        messages.ConfirmAnswer = false;
        TPixelGraphic g;
        g.Messages = &messages;
        EXPECT_EQ(LoadError(bytes, "jpg", &g), "JPG: Operation aborted on user request");
        EXPECT_EQ(messages.Questions.size(), 1u);
    }
}

TEST(JpegReader, LibraryErrorsBecomeTheFormatsException) {
    std::vector<std::uint8_t> bytes = ReadBytes(ImageData("jpeg/im_baseline.jpg"));
    // A start-of-frame marker with a precision libjpeg does not decode.
    for (std::size_t i = 0; i + 4 < bytes.size(); ++i)
        if (bytes[i] == 0xFF && bytes[i + 1] == 0xC0) {
            bytes[i + 4] = 12;
            break;
        }
    const std::string error = LoadError(bytes, "jpg");
    EXPECT_EQ(error.rfind("JPG: ", 0), 0u) << error;
    EXPECT_NE(error, "loaded");
}

TEST(PngReader, LoadsEveryColourTypeIntoTheNearestPicture) {
    ExpectFixtures({
        {"png/im_rgb8.png", "png/im_rgb8.ppm", ct24Bit},
        {"png/im_rgb16.png", "png/im_rgb16.ppm", ct24Bit},
        {"png/im_rgba8.png", "png/im_rgba8.ppm", ct24Bit},
        {"png/im_rgba16.png", "png/im_rgba16.ppm", ct24Bit},
        {"png/im_rgb8_interlaced.png", "png/im_rgb8_interlaced.ppm", ct24Bit},
        {"png/im_gray1.png", "png/im_gray1.ppm", ct1Bit},
        {"png/im_gray2.png", "png/im_gray2.ppm", ct4Bit},
        {"png/im_gray4.png", "png/im_gray4.ppm", ct4Bit},
        {"png/im_gray8.png", "png/im_gray8.ppm", ct8Bit},
        {"png/im_gray16.png", "png/im_gray16.ppm", ct8Bit},
        {"png/im_graya8.png", "png/im_graya8.ppm", ct8Bit},
        {"png/im_pal8.png", "png/im_pal8.ppm", ct8Bit},
        {"png/im_pal4_interlaced.png", "png/im_pal4_interlaced.ppm", ct4Bit},
        {"png/pil_pal1.png", "png/pil_pal1.ppm", ct1Bit},
        {"png/pil_pal2.png", "png/pil_pal2.ppm", ct4Bit},
        {"png/pil_pal4.png", "png/pil_pal4.ppm", ct4Bit},
        {"png/pil_pal8_trns.png", "png/pil_pal8_trns.ppm", ct8Bit},
        {"png/pil_bw1.png", "png/pil_bw1.ppm", ct1Bit},
        {"png/pil_gray8.png", "png/pil_gray8.ppm", ct8Bit},
        {"png/pil_gray16.png", "png/pil_gray16.ppm", ct8Bit},
        {"png/pil_graya8.png", "png/pil_graya8.ppm", ct8Bit},
        {"png/pil_rgba8.png", "png/pil_rgba8.ppm", ct24Bit},
    });
    TPixelGraphic g;
    g.LoadFromFile(ImageData("png/pil_bw1.png"));
    EXPECT_EQ(g.PaletteIdent(), pBlackWhite);
    g.LoadFromFile(ImageData("png/im_gray4.png"));
    EXPECT_EQ(g.PaletteIdent(), pGray16);
    g.LoadFromFile(ImageData("png/im_gray8.png"));
    EXPECT_EQ(g.PaletteIdent(), pGray256);
}

TEST(PngReader, GammaChunkCorrectsToTheDisplayGamma) {
    const test::TPpm ref = ReadPpm(ImageData("png/im_gamma.ppm"));
    TPixelGraphic g;
    g.LoadFromFile(ImageData("png/im_gamma.png"));
    EXPECT_EQ(g.Gamma, PGLibrarySettings().DisplayGamma);
    // The file's gAMA of 0.45455 stands for an encoding gamma of 2.2.
    const double exponent = (100000.0 / 45455.0) / 1.8;
    for (int y = 0; y < ref.Height; ++y)
        for (int x = 0; x < ref.Width; ++x) {
            const TColor raw = ref.At(x, y), got = g.GetPixelColor(x, y);
            for (int shift : {0, 8, 16}) {
                const int v = static_cast<int>(raw >> shift & 255);
                const long want = std::lround(255.0 * std::pow(v / 255.0, exponent));
                ASSERT_EQ(static_cast<long>(got >> shift & 255), want) << x << "," << y;
            }
        }
    // Files without the chunk are left alone.
    TPixelGraphic plain;
    plain.LoadFromFile(ImageData("png/im_rgb8.png"));
    ExpectPixels(plain, ReadPpm(ImageData("png/im_rgb8.ppm")), "im_rgb8");
}

TEST(PngReader, InfoListsTypeAndChunks) {
    const TGraphicInfo gamma = InfoOf("png/im_gamma.png");
    EXPECT_EQ(gamma.Subformat, "RGB");
    EXPECT_NE(gamma.Comment.find("gama"), std::string::npos);
    const TGraphicInfo pal = InfoOf("png/pil_pal8_trns.png");
    EXPECT_EQ(pal.Subformat, "palette");
    EXPECT_EQ(pal.Comment, "plte, trns");
    EXPECT_EQ(InfoOf("png/im_gray8.png").Subformat, "GrayScale");
    EXPECT_EQ(InfoOf("png/im_graya8.png").Subformat, "GrayScale, alpha");
    EXPECT_EQ(InfoOf("png/im_pal4_interlaced.png").Subformat, "palette, interlaced");
    EXPECT_EQ(InfoOf("png/im_rgb8.png").ColorCountText, "16.7M");
}

TEST(PngReader, CorruptDataRaisesTheLibrarysMessage) {
    std::vector<std::uint8_t> bytes = ReadBytes(ImageData("png/im_rgb8.png"));
    bytes[8 + 8 + 4] ^= 0xFF; // the header chunk's CRC no longer matches
    EXPECT_EQ(LoadError(bytes, "png").rfind("PNG: ", 0), 0u);
    bytes = ReadBytes(ImageData("png/im_rgb8.png"));
    bytes.resize(bytes.size() - 30);
    EXPECT_EQ(LoadError(bytes, "png").rfind("PNG: ", 0), 0u);
}

TEST(PngReader, AbortStopsQuietly) {
    TPixelGraphic g;
    int calls = 0;
    g.OnProgress = [&](const TPixelGraphic&, int, int, bool& abort) { abort = ++calls == 2; };
    g.LoadFromFile(ImageData("png/im_rgb8.png"));
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(g.Width(), 13);
}

// ---- PCX

std::vector<std::uint8_t> PcxHeader(int bits, int planes, int width, int height, int version = 5) {
    std::vector<std::uint8_t> h(128, 0);
    h[0] = 0x0A;
    h[1] = static_cast<std::uint8_t>(version);
    h[2] = 1;
    h[3] = static_cast<std::uint8_t>(bits);
    test::Set16(h, 8, static_cast<std::uint32_t>(width - 1));
    test::Set16(h, 10, static_cast<std::uint32_t>(height - 1));
    h[65] = static_cast<std::uint8_t>(planes);
    test::Set16(h, 66, static_cast<std::uint32_t>((width * bits + 15) / 16 * 2));
    return h;
}

TEST(PcxReader, LoadsFilesOfIndependentEncodersPixelExactly) {
    ExpectFixtures({
        {"pcx/im_rgb24.pcx", "pcx/im_rgb24.ppm", ct24Bit},
        {"pcx/im_pal8.pcx", "pcx/im_pal8.ppm", ct8Bit},
        {"pcx/pil_rgb24.pcx", "pcx/pil_rgb24.ppm", ct24Bit},
        {"pcx/pil_pal8.pcx", "pcx/pil_pal8.ppm", ct8Bit},
        {"pcx/pil_gray8.pcx", "pcx/pil_gray8.ppm", ct8Bit},
        {"pcx/pil_bw1.pcx", "pcx/pil_bw1.ppm", ct1Bit},
    });
}

TEST(PcxReader, FourPlanesMakeSixteenColoursWithRunsAcrossPlanes) {
    // 3 x 1 pixels, colours 1, 10, 15: plane p holds bit p of each index.
    std::vector<std::uint8_t> f = PcxHeader(1, 4, 3, 1);
    for (int i = 0; i < 16; ++i)
        f[16 + 3 * i] = static_cast<std::uint8_t>(i * 16); // red ramp
    // planes: bit0 = {1,0,1}, bit1 = {0,1,1}, bit2 = {0,0,1}, bit3 = {0,1,1}; two bytes a plane.
    const std::uint8_t planes[8] = {0xA0, 0, 0x60, 0, 0x20, 0, 0x60, 0};
    for (std::uint8_t b : planes) {
        f.push_back(0xC1); // every byte as a run of one, the way some encoders write them
        f.push_back(b);
    }
    TPixelGraphic g;
    test::LoadBytes(g, f, "pcx");
    ASSERT_EQ(g.ColorType(), ct4Bit);
    EXPECT_EQ(g.GetPixel(0, 0), 1u);
    EXPECT_EQ(g.GetPixel(1, 0), 10u);
    EXPECT_EQ(g.GetPixel(2, 0), 15u);
    EXPECT_EQ(g.GetPixelColor(1, 0), MakeColor(160, 0, 0));
    // Version 3 has no palette of its own: the 16 system colours.
    f[1] = 3;
    test::LoadBytes(g, f, "pcx");
    EXPECT_EQ(g.PaletteIdent(), pSys16);
    // One run of 8 zero bytes covering all four planes.
    std::vector<std::uint8_t> run = PcxHeader(1, 4, 3, 1);
    run.push_back(0xC8);
    run.push_back(0);
    test::LoadBytes(g, run, "pcx");
    EXPECT_EQ(g.GetPixel(2, 0), 0u);
}

TEST(PcxReader, RefusalsAndInfo) {
    std::vector<std::uint8_t> f = ReadBytes(ImageData("pcx/pil_pal8.pcx"));
    std::vector<std::uint8_t> bad = f;
    bad[2] = 0; // encoding
    EXPECT_EQ(LoadError(bad, "pcx"), "PCX: Unknown subformat");
    bad = f;
    bad[64] = 1; // reserved byte
    EXPECT_EQ(LoadError(bad, "pcx"), "PCX: Unknown subformat");
    bad = f;
    bad[bad.size() - 769] = 10; // palette marker
    EXPECT_EQ(LoadError(bad, "pcx"), "PCX: Not supported subformat");
    bad = PcxHeader(2, 1, 4, 4); // CGA four colours
    bad.resize(200, 0);
    EXPECT_EQ(LoadError(bad, "pcx"), "PCX: Not supported subformat");
    bad = ReadBytes(ImageData("pcx/pil_rgb24.pcx"));
    bad.resize(150);
    EXPECT_EQ(LoadError(bad, "pcx"), "PCX: Unexpected end of file");

    const TGraphicInfo info = InfoOf("pcx/pil_rgb24.pcx");
    EXPECT_EQ(info.Subformat, "Version 3.0 (5)");
    EXPECT_EQ(info.BitCount, 24);
    EXPECT_EQ(info.ColorCountText, "16.7M");
    EXPECT_EQ(InfoOf("pcx/pil_bw1.pcx").Subformat, "Version 2.8 (2) with Palette");
}

// ---- Netpbm

TEST(PnmReader, LoadsAsciiBinaryAndDeepFilesPixelExactly) {
    ExpectFixtures({
        {"pnm/im_p1.pbm", "pnm/im_p1.ref.ppm", ct1Bit},
        {"pnm/im_p2.pgm", "pnm/im_p2.ref.ppm", ct8Bit},
        {"pnm/im_p3.ppm", "pnm/im_p3.ref.ppm", ct24Bit},
        {"pnm/im_p3_16.ppm", "pnm/im_p3_16.ref.ppm", ct24Bit},
        {"pnm/im_p5_16.pgm", "pnm/im_p5_16.ref.ppm", ct8Bit},
        {"pnm/im_p6_16.ppm", "pnm/im_p6_16.ref.ppm", ct24Bit},
        {"pnm/pil_p4.pbm", "pnm/pil_p4.ref.ppm", ct1Bit},
        {"pnm/pil_p5.pgm", "pnm/pil_p5.ref.ppm", ct8Bit},
        {"pnm/pil_p6.ppm", "pnm/pil_p6.ref.ppm", ct24Bit},
        {"pnm/comment_p2.pgm", "pnm/comment_p2.ref.ppm", ct8Bit},
    });
}

TEST(PnmReader, SamplesAreScaledByTheMaximumValue) {
    TPixelGraphic g;
    const std::string pgm = "P2\n# deep\n3 1\n65535\n0 32768 65535\n";
    test::LoadBytes(g, {pgm.begin(), pgm.end()}, "pgm");
    ASSERT_EQ(g.ColorType(), ct8Bit);
    EXPECT_EQ(g.PaletteIdent(), pGray256);
    EXPECT_EQ(g.GetPixel(0, 0), 0u);
    EXPECT_EQ(g.GetPixel(1, 0), 32768u * 255 / 65535);
    EXPECT_EQ(g.GetPixel(2, 0), 255u);
    // maxval 15 (the file at 4 bits a sample), then the bitmap with no blanks between pixels.
    const std::string ppm = "P3 2 1 15 15 0 7  0 0 15";
    test::LoadBytes(g, {ppm.begin(), ppm.end()}, "ppm");
    EXPECT_EQ(g.GetPixelColor(0, 0), MakeColor(255, 0, 7 * 255 / 15));
    EXPECT_EQ(g.GetPixelColor(1, 0), MakeColor(0, 0, 255));
    const std::string pbm = "P1\n4 2\n0110\n1001\n";
    test::LoadBytes(g, {pbm.begin(), pbm.end()}, "pbm");
    EXPECT_EQ(g.GetPixelColor(0, 0), clWhite);
    EXPECT_EQ(g.GetPixelColor(1, 0), clBlack);
    EXPECT_EQ(g.GetPixelColor(0, 1), clBlack);
}

TEST(PnmReader, Refusals) {
    // Straight to the reader: the registry would not pick it for a wrong magic.
    auto error = [](const std::string& text) -> std::string {
        TSpanStream s(text.data(), text.size());
        TPixelGraphic g;
        for (const auto& r : PGFormats().Readers())
            if (r->Extension == "pgm") try {
                    r->Read(s, g, 0);
                    return "loaded";
                } catch (const EPixelGraphic& e) {
                    return e.what();
                }
        return "no reader";
    };
    EXPECT_EQ(error("Q5 1 1 255\n\x01"), "PBM, PGM, PPM: Not a PBM, PGM, PPM file");
    EXPECT_EQ(error("P7 1 1 255\n\x01"), "PBM, PGM, PPM: Unknown subformat");
    EXPECT_EQ(error("P5 4 4 255\n\x01\x02"), "PBM, PGM, PPM: Unexpected end of file");
    EXPECT_EQ(error("P2 2 1 255\n1"), "PBM, PGM, PPM: Unexpected end of file");
    EXPECT_EQ(error("P5 3"), "PBM, PGM, PPM: Unexpected end of file");
    EXPECT_EQ(InfoOf("pnm/im_p2.pgm").Subformat, "ASCII");
    EXPECT_EQ(InfoOf("pnm/pil_p5.pgm").Subformat, "Binary");
}

// ---- Targa

std::vector<std::uint8_t> TgaHeader(int type, int bits, int width, int height) {
    std::vector<std::uint8_t> h(18, 0);
    h[2] = static_cast<std::uint8_t>(type);
    test::Set16(h, 12, static_cast<std::uint32_t>(width));
    test::Set16(h, 14, static_cast<std::uint32_t>(height));
    h[16] = static_cast<std::uint8_t>(bits);
    return h;
}

TEST(TgaReader, LoadsEveryImageTypePixelExactly) {
    ExpectFixtures({
        {"tga/pil_rgb24.tga", "tga/pil_rgb24.ppm", ct24Bit},
        {"tga/pil_rgba32.tga", "tga/pil_rgba32.ppm", ct24Bit},
        {"tga/pil_gray8.tga", "tga/pil_gray8.ppm", ct8Bit},
        {"tga/pil_pal8.tga", "tga/pil_pal8.ppm", ct8Bit},
        {"tga/pil_rgb24_rle.tga", "tga/pil_rgb24_rle.ppm", ct24Bit},
        {"tga/pil_rgba32_rle.tga", "tga/pil_rgba32_rle.ppm", ct24Bit},
        {"tga/pil_gray8_rle.tga", "tga/pil_gray8_rle.ppm", ct8Bit},
        {"tga/pil_pal8_rle.tga", "tga/pil_pal8_rle.ppm", ct8Bit},
        {"tga/pil_rgb24_topleft.tga", "tga/pil_rgb24_topleft.ppm", ct24Bit},
    });
}

TEST(TgaReader, SixteenBitPixelsAndPacketsAcrossRows) {
    // 2 x 2, type 10, 16 bits: one run packet of three pixels crossing into the second row,
    // then a raw packet of one.
    std::vector<std::uint8_t> f = TgaHeader(10, 16, 2, 2);
    const std::uint16_t red = 31 << 10, blue = 1;
    f.insert(f.end(), {0x82, static_cast<std::uint8_t>(red), static_cast<std::uint8_t>(red >> 8)});
    f.insert(f.end(), {0x00, static_cast<std::uint8_t>(blue), 0});
    TPixelGraphic g;
    test::LoadBytes(g, f, "tga");
    ASSERT_EQ(g.ColorType(), ct24Bit);
    // Bottom-left origin: the first row read is the bottom one.
    EXPECT_EQ(g.GetPixelColor(0, 1), MakeColor(255, 0, 0));
    EXPECT_EQ(g.GetPixelColor(1, 1), MakeColor(255, 0, 0));
    EXPECT_EQ(g.GetPixelColor(0, 0), MakeColor(255, 0, 0));
    EXPECT_EQ(g.GetPixelColor(1, 0), MakeColor(0, 0, 8));
}

TEST(TgaReader, RefusalsAndInfo) {
    std::vector<std::uint8_t> f = ReadBytes(ImageData("tga/pil_rgb24.tga"));
    std::vector<std::uint8_t> bad = f;
    bad[2] = 4;
    EXPECT_EQ(LoadError(bad, "tga"), "TGA: Invalid value for ImageType");
    bad = f;
    bad[16] = 12;
    EXPECT_EQ(LoadError(bad, "tga"), "TGA: Not supported subformat");
    bad = f;
    bad.resize(18 + 13 * 7 * 3 - 5); // the pixels cut short (Pillow adds a footer after them)
    EXPECT_EQ(LoadError(bad, "tga"), "TGA: Unexpected end of file");
    // Targa has no signature: only its extension selects it.
    EXPECT_EQ(LoadError(f, "bin"), "Unknown file format");

    EXPECT_EQ(InfoOf("tga/pil_gray8_rle.tga").Subformat, "Run-length encoded, \"Black-and-white\"");
    EXPECT_EQ(InfoOf("tga/pil_pal8.tga").Subformat, "Uncompressed, Color-mapped");
    EXPECT_EQ(InfoOf("tga/pil_rgb24.tga").ColorCountText, "16.7M");
    EXPECT_EQ(InfoOf("tga/pil_rgba32.tga").ColorCountText, "16.7M ?");
}

// ---- TIFF

TEST(TiffReader, LoadsBothByteOrdersStripsAndPackBitsPixelExactly) {
    ExpectFixtures({
        {"tiff/im_rgb24.tif", "tiff/im_rgb24.ppm", ct24Bit},
        {"tiff/im_rgb24_packbits.tif", "tiff/im_rgb24_packbits.ppm", ct24Bit},
        {"tiff/im_rgb24_mm.tif", "tiff/im_rgb24_mm.ppm", ct24Bit},
        {"tiff/im_pal8_mm_packbits.tif", "tiff/im_pal8_mm_packbits.ppm", ct8Bit},
        {"tiff/im_pal8.tif", "tiff/im_pal8.ppm", ct8Bit},
        {"tiff/im_pal4.tif", "tiff/im_pal4.ppm", ct4Bit},
        {"tiff/im_gray8.tif", "tiff/im_gray8.ppm", ct8Bit},
        {"tiff/im_gray4.tif", "tiff/im_gray4.ppm", ct4Bit},
        {"tiff/im_bw1.tif", "tiff/im_bw1.ppm", ct1Bit},
        {"tiff/im_bw1_packbits.tif", "tiff/im_bw1_packbits.ppm", ct1Bit},
        {"tiff/im_bw1_miniswhite.tif", "tiff/im_bw1_miniswhite.ppm", ct1Bit},
        {"tiff/im_rgba.tif", "tiff/im_rgba.ppm", ct24Bit},
        {"tiff/pil_rgb24.tif", "tiff/pil_rgb24.ppm", ct24Bit},
        {"tiff/pil_rgb24_packbits.tif", "tiff/pil_rgb24_packbits.ppm", ct24Bit},
        {"tiff/pil_gray8.tif", "tiff/pil_gray8.ppm", ct8Bit},
        {"tiff/pil_bw1.tif", "tiff/pil_bw1.ppm", ct1Bit},
        {"tiff/pil_pal8.tif", "tiff/pil_pal8.ppm", ct8Bit},
    });
}

// A little-endian TIFF of one 8-bit gray strip with the given extra or replaced entries.
std::vector<std::uint8_t> TinyTiff(std::vector<std::array<std::uint32_t, 4>> entries,
                                   std::vector<std::uint8_t> pixels) {
    std::vector<std::uint8_t> f = {'I', 'I', 42, 0, 8, 0, 0, 0};
    auto put16 = [&](std::uint32_t v) {
        f.push_back(static_cast<std::uint8_t>(v));
        f.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto put32 = [&](std::uint32_t v) {
        put16(v & 0xFFFF);
        put16(v >> 16);
    };
    const std::uint32_t dataAt = 8 + 2 + 12 * static_cast<std::uint32_t>(entries.size()) + 4;
    put16(static_cast<std::uint32_t>(entries.size()));
    for (const auto& e : entries) {
        put16(e[0]);
        put16(e[1]);
        put32(e[2]);
        put32(e[3] == 0xDA7A ? dataAt : e[3]);
    }
    put32(0);
    f.insert(f.end(), pixels.begin(), pixels.end());
    return f;
}

std::vector<std::array<std::uint32_t, 4>> GrayEntries(std::uint32_t compression) {
    return {{256, 3, 1, 2},           {257, 3, 1, 2}, {258, 3, 1, 8},
            {259, 3, 1, compression}, {262, 3, 1, 1}, {273, 4, 1, 0xDA7A},
            {277, 3, 1, 1},           {278, 3, 1, 2}, {279, 4, 1, 4}};
}

TEST(TiffReader, RefusesWhatItDoesNotDecodeWithItsMessages) {
    EXPECT_EQ(FileLoadError("tiff/im_lzw.tif"), "TIFF: Unsupported compression LZW");
    const std::pair<std::uint32_t, const char*> compressions[] = {
        {2, "TIFF: Unsupported compression CCITT 1D"},
        {3, "TIFF: Unsupported compression Group 3 Fax"},
        {4, "TIFF: Unsupported compression Group 4 Fax"},
        {6, "TIFF: Unsupported compression JPEG"},
        {8, "TIFF: Unsupported compression 8"}};
    for (const auto& [c, text] : compressions)
        EXPECT_EQ(LoadError(TinyTiff(GrayEntries(c), {1, 2, 3, 4}), "tif"), text);

    auto with = [](std::array<std::uint32_t, 4> replaced) {
        auto e = GrayEntries(1);
        for (auto& x : e)
            if (x[0] == replaced[0]) x = replaced;
        if (replaced[0] == 284) e.push_back(replaced);
        return TinyTiff(e, {1, 2, 3, 4});
    };
    EXPECT_EQ(LoadError(with({284, 3, 1, 2}), "tif"), "TIFF: PlanarConfiguration invalid");
    EXPECT_EQ(LoadError(with({277, 3, 2, 1}), "tif"), "TIFF: Invalid count of SamplesPerPixel");
    EXPECT_EQ(LoadError(with({277, 3, 1, 0}), "tif"), "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(LoadError(with({278, 3, 1, 0}), "tif"), "TIFF: Invalid RowsPerStrip");
    EXPECT_EQ(LoadError(with({258, 3, 1, 4}), "tif"), "loaded");
    EXPECT_EQ(LoadError(with({262, 3, 1, 2}), "tif"), "TIFF: Invalid SamplesPerPixel");
    EXPECT_EQ(LoadError(with({258, 3, 1, 16}), "tif"), "TIFF: Unsupported 16 Bits/Pixel");
    EXPECT_EQ(LoadError(with({262, 3, 1, 5}), "tif"), "TIFF: Unsupported 8 Bits/Pixel");
    EXPECT_EQ(LoadError(with({258, 12, 1, 8}), "tif"), "TIFF: Unsupported field Type: 12");
    // PackBits that makes more than a row.
    EXPECT_EQ(LoadError(TinyTiff(GrayEntries(32773), {0xFD, 7, 0, 0}), "tif"),
              "TIFF (PackBits): Invalid count of bytes in row 0");
    TPixelGraphic g;
    test::LoadBytes(g, TinyTiff(GrayEntries(32773), {0xFF, 7, 0xFF, 9}), "tif");
    EXPECT_EQ(g.GetPixel(0, 0), 7u);
    EXPECT_EQ(g.GetPixel(1, 0), 7u);
    EXPECT_EQ(g.GetPixel(0, 1), 9u);
}

// Map entries are 16 bits: libtiff-style writers store level * 257, Pillow level * 256. Both
// must give back every level exactly.
TEST(TiffReader, PaletteEntriesGiveBackTheLevelsWritten) {
    std::vector<std::uint8_t> pixels(256);
    for (int i = 0; i < 256; ++i)
        pixels[i] = static_cast<std::uint8_t>(i);
    auto levels = [](int i) { return std::array<int, 3>{i, 255 - i, (i * 7) & 255}; };
    for (std::uint32_t scale : {256u, 257u}) {
        SCOPED_TRACE(scale);
        const std::vector<std::array<std::uint32_t, 4>> e = {
            {256, 3, 1, 16},  {257, 3, 1, 16},     {258, 3, 1, 8}, {259, 3, 1, 1},
            {262, 3, 1, 3},   {273, 4, 1, 0xDA7A}, {277, 3, 1, 1}, {278, 3, 1, 16},
            {279, 4, 1, 256}, {320, 3, 768, 0}};
        std::vector<std::uint8_t> f = TinyTiff(e, pixels);
        // The map follows the pixels.
        const std::uint32_t mapAt = static_cast<std::uint32_t>(f.size());
        const std::size_t mapOffsetField = 8 + 2 + 12 * 9 + 8;
        for (int k = 0; k < 4; ++k)
            f[mapOffsetField + k] = static_cast<std::uint8_t>(mapAt >> (8 * k));
        for (int channel = 0; channel < 3; ++channel)
            for (int i = 0; i < 256; ++i) {
                const std::uint32_t v = levels(i)[channel] * scale;
                f.push_back(static_cast<std::uint8_t>(v));
                f.push_back(static_cast<std::uint8_t>(v >> 8));
            }
        TPixelGraphic g;
        test::LoadBytes(g, f, "tif");
        ASSERT_EQ(g.ColorType(), ct8Bit);
        for (int i = 0; i < 256; ++i) {
            const auto [r, gr, b] = levels(i);
            ASSERT_EQ(g.GetPixelColor(i % 16, i / 16), MakeColor(r, gr, b)) << i;
        }
    }
}

TEST(TiffReader, StripCountMismatchWarns) {
    // Rows per strip 1 asks for two strips; the file lists one.
    auto e = GrayEntries(1);
    e[7] = {278, 3, 1, 1};
    const std::vector<std::uint8_t> f = TinyTiff(e, {1, 2, 3, 4});
    const std::string text = "TIFF: NumStripOffsets<>(ImageLength+RowsPerStrip-1) div RowsPerStrip";
    test::TRecordingMessages messages;
    TPixelGraphic g;
    g.Messages = &messages;
    g.ReadWarningAction = pgwaOKBox;
    EXPECT_EQ(LoadError(f, "tif", &g), "loaded");
    EXPECT_EQ(messages.Warnings, std::vector<std::string>{text});
    EXPECT_EQ(g.GetPixel(1, 0), 2u);
    TPixelGraphic strict;
    strict.ReadWarningAction = pgwaRaise;
    EXPECT_EQ(LoadError(f, "tif", &strict), text);
}

TEST(TiffReader, InfoNamesByteOrderAndCompression) {
    EXPECT_EQ(InfoOf("tiff/im_rgb24.tif").Subformat, "I, Uncompr.");
    EXPECT_EQ(InfoOf("tiff/im_rgb24_mm.tif").Subformat, "M, Uncompr.");
    EXPECT_EQ(InfoOf("tiff/im_pal8_mm_packbits.tif").Subformat, "M, PackBits");
    EXPECT_EQ(InfoOf("tiff/im_lzw.tif").Subformat, "I, LZW");
    EXPECT_EQ(InfoOf("tiff/im_rgb24.tif").ColorCountText, "16.7M");
    EXPECT_EQ(InfoOf("tiff/im_pal4.tif").ColorCountText, "16");
}

// ---- Every reader

TEST(CodecReaders, EveryPrefixOfEveryFixtureLoadsOrRaises) {
    const char* files[] = {"jpeg/im_progressive.jpg",
                           "jpeg/pil_420.jpg",
                           "png/im_rgb16.png",
                           "png/im_pal4_interlaced.png",
                           "pcx/im_pal8.pcx",
                           "pcx/pil_rgb24.pcx",
                           "pnm/im_p3.ppm",
                           "pnm/pil_p4.pbm",
                           "tga/pil_pal8_rle.tga",
                           "tga/pil_rgba32.tga",
                           "tiff/im_pal8_mm_packbits.tif",
                           "tiff/pil_rgb24.tif"};
    for (const char* name : files) {
        const std::vector<std::uint8_t> full = ReadBytes(ImageData(name));
        const std::size_t step = std::max<std::size_t>(1, full.size() / 300);
        for (std::size_t n = 0; n < full.size(); n += step) {
            std::vector<std::uint8_t> part(full.begin(), full.begin() + static_cast<long>(n));
            TPixelGraphic g;
            g.ReadWarningAction = pgwaIgnore;
            try {
                test::LoadBytes(g, part, ExtensionOf(name));
            } catch (const EPixelGraphic&) {
                ASSERT_TRUE(g.Empty()) << name << " cut at " << n;
            }
        }
    }
}

TEST(CodecReaders, HeadersClaimingHugePicturesFailBeforeAllocating) {
    std::vector<std::uint8_t> tga = TgaHeader(2, 24, 65535, 65535);
    EXPECT_EQ(LoadError(tga, "tga"), "TGA: Unexpected end of file");
    tga[2] = 10;
    EXPECT_EQ(LoadError(tga, "tga"), "TGA: Unexpected end of file");
    const std::string pnm = "P6 65535 65535 255\n";
    EXPECT_EQ(LoadError({pnm.begin(), pnm.end()}, "ppm"), "PBM, PGM, PPM: Unexpected end of file");
    std::vector<std::uint8_t> pcx = PcxHeader(8, 3, 60000, 60000);
    pcx.resize(300, 0xC1);
    EXPECT_EQ(LoadError(pcx, "pcx"), "PCX: Unexpected end of file");
    auto e = GrayEntries(32773);
    e[0] = {256, 3, 1, 60000};
    e[1] = {257, 3, 1, 60000};
    e[7] = {278, 4, 1, 60000};
    EXPECT_EQ(LoadError(TinyTiff(e, {0, 0, 0, 0}), "tif"), "TIFF: Unexpected end of file");
    // A JPEG header with a huge frame and no data.
    std::vector<std::uint8_t> jpg = ReadBytes(ImageData("jpeg/im_baseline.jpg"));
    for (std::size_t i = 0; i + 8 < jpg.size(); ++i)
        if (jpg[i] == 0xFF && jpg[i + 1] == 0xC0) {
            jpg[i + 5] = jpg[i + 6] = jpg[i + 7] = jpg[i + 8] = 0xF0;
            break;
        }
    EXPECT_EQ(LoadError(jpg, "jpg"), "JPG: Unexpected end of file");
}

// Inputs the fuzz targets found (their first byte chose the read warning action).
TEST(CodecReaders, FuzzFindingsStayFixed) {
    for (const char* name : {"fuzz/png_huge_text_chunk.bin", "fuzz/png_huge_chunk_2.bin"}) {
        std::vector<std::uint8_t> bytes = ReadBytes(ImageData(name));
        bytes.erase(bytes.begin());
        // A chunk claiming a gigabyte made libpng reserve and clear it before reading.
        EXPECT_EQ(LoadError(bytes, "png"), "PNG: Unexpected end of file") << name;
        TSpanStream s(bytes.data(), bytes.size());
        EXPECT_THROW(PGFormats().SelectReader(s, "")->GetInfo(s, 0), EPGPNGFileFormatReaderWriter);
    }
    // Bit and sample counts whose product overflows.
    auto e = GrayEntries(1);
    e[2] = {258, 4, 1, 0xFFFFFFF0u};
    e[6] = {277, 4, 1, 0xFFFFFFF0u};
    const std::vector<std::uint8_t> tiff = TinyTiff(e, {1, 2, 3, 4});
    EXPECT_EQ(LoadError(tiff, "tif"), "TIFF: Invalid SamplesPerPixel");
    TSpanStream s(tiff.data(), tiff.size());
    EXPECT_NO_THROW(PGFormats().SelectReader(s, "")->GetInfo(s, 0));
}

} // namespace
} // namespace pigmentaria
