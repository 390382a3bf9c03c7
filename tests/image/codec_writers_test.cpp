// The JPEG, PNG, Netpbm, Targa and TIFF writers: their layouts, their refusals, round trips
// through our readers, and files that an independent decoder (Pillow) reads pixel-exactly.
#include "image/file_format.h"
#include "image/palette_match.h"
#include "image/pg_stream.h"
#include "image_test_util.h"
#include "test_util.h"
#include "tool_skip.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace pigmentaria {
namespace {

using test::ReadBytes;
using test::TTempDir;

// A picture of each colour resolution, 13 x 7 so that rows are padded.
TPixelGraphic Picture(TPGColorRes res) {
    TPixelGraphic g;
    const int w = 13, h = 7;
    switch (res) {
    case crBlackWhite:
        g.SetSize(w, h, ct1Bit);
        g.SetPaletteIdent(pBlackWhite);
        break;
    case cr2Colors:
        g.SetSize(w, h, ct1Bit);
        g.SetPalette({MakeColor(200, 30, 30), MakeColor(20, 40, 220)});
        break;
    case cr16Grays:
        g.SetSize(w, h, ct4Bit);
        g.SetPaletteIdent(pGray16);
        break;
    case cr16SysColors:
        g.SetSize(w, h, ct4Bit);
        g.SetPaletteIdent(pSys16);
        break;
    case cr16Colors: {
        g.SetSize(w, h, ct4Bit);
        std::vector<TColor> p;
        for (int i = 0; i < 16; ++i)
            p.push_back(MakeColor(i * 16, 255 - i * 9, (i * 77) % 256));
        g.SetPalette(p);
        break;
    }
    case cr256Grays:
        g.SetSize(w, h, ct8Bit);
        g.SetPaletteIdent(pGray256);
        break;
    case cr256Colors: {
        g.SetSize(w, h, ct8Bit);
        std::vector<TColor> p;
        for (int i = 0; i < 40; ++i)
            p.push_back(MakeColor(i * 6, (i * 53) % 256, 255 - i * 5));
        g.SetPalette(p);
        break;
    }
    case cr16M:
        g.SetSize(w, h, ct24Bit);
        break;
    }
    const int levels = res == cr16M ? 1 << 24 : PaletteCapacity(g.ColorType());
    const int used = res == cr256Colors ? 40 : levels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto v = static_cast<std::uint32_t>((x * 7 + y * 13) % used);
            if (res == cr16M)
                g.SetPixel(x, y, MakeColor(x * 19, y * 36, (x * y * 5) % 256));
            else
                g.SetPixel(x, y, v);
        }
    EXPECT_EQ(ColorResOf(g), res);
    return g;
}

const TPGColorRes kAllRes[] = {crBlackWhite, cr2Colors,  cr16Grays,   cr16SysColors,
                               cr16Colors,   cr256Grays, cr256Colors, cr16M};

std::vector<std::uint8_t> Save(TPixelGraphic& g, const std::string& ext) {
    TMemoryStream s;
    g.SaveToStreamAs(s, ext);
    return s.Data();
}

void ExpectSameColours(const TPixelGraphic& a, const TPixelGraphic& b, const std::string& what) {
    ASSERT_EQ(a.Width(), b.Width()) << what;
    ASSERT_EQ(a.Height(), b.Height()) << what;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            ASSERT_EQ(a.GetPixelColor(x, y), b.GetPixelColor(x, y)) << what << " " << x << "," << y;
}

std::string WriteError(TPixelGraphic& g, const std::string& ext) {
    TMemoryStream s;
    try {
        PGFormats().FindWriter(ext)->Write(s, g);
    } catch (const EPixelGraphic& e) {
        return e.what();
    }
    return "written";
}

TEST(LosslessWriters, RoundTripEveryResolutionTheyStore) {
    struct TCase {
        const char* Ext;
        std::vector<TPGColorRes> Res;
    };
    const TCase cases[] = {
        {"png", {std::begin(kAllRes), std::end(kAllRes)}},
        {"tif",
         {crBlackWhite, cr16Grays, cr16SysColors, cr16Colors, cr256Grays, cr256Colors, cr16M}},
        {"tga", {cr16Grays, cr16SysColors, cr16Colors, cr256Colors, cr16M}},
        {"pbm", {crBlackWhite}},
        {"pgm", {cr256Grays}},
        {"ppm", {cr16M}},
    };
    for (bool variant : {false, true}) {
        // The second round: big-endian PackBits TIFF and binary Netpbm.
        PGLibrarySettings().TIFFBigEndian = variant;
        PGLibrarySettings().TIFFCompression = variant ? 32773 : 1;
        PGLibrarySettings().PxMBinary = variant;
        for (const TCase& c : cases)
            for (TPGColorRes r : c.Res) {
                TPixelGraphic g = Picture(r);
                g.SaveColorResWarningAction = pgwaRaise;
                const std::vector<std::uint8_t> bytes = Save(g, c.Ext);
                TPixelGraphic back;
                test::LoadBytes(back, bytes, c.Ext);
                ExpectSameColours(g, back, std::string(c.Ext) + " " + ColorResName(r));
            }
    }
    PGLibrarySettings().TIFFBigEndian = false;
    PGLibrarySettings().TIFFCompression = 1;
    PGLibrarySettings().PxMBinary = false;
}

TEST(JpegWriter, QualityEightyBaselineTablesAndGrayFallback) {
    TPixelGraphic g = Picture(cr16M);
    const std::vector<std::uint8_t> bytes = Save(g, "jpg");
    // Quality 80 scales the standard tables to 40 %: the luminance DC step 16 becomes 6.
    bool baseline = false, lumaTable = false;
    for (std::size_t i = 0; i + 5 < bytes.size(); ++i) {
        if (bytes[i] != 0xFF) continue;
        if (bytes[i + 1] == 0xC0) baseline = true;
        if (bytes[i + 1] == 0xDB && bytes[i + 4] == 0 && bytes[i + 5] == 6) lumaTable = true;
        if (bytes[i + 1] == 0xC2) FAIL() << "progressive frame";
    }
    EXPECT_TRUE(baseline);
    EXPECT_TRUE(lumaTable);
    TPixelGraphic back;
    test::LoadBytes(back, bytes, "jpg");
    EXPECT_EQ(back.ColorType(), ct24Bit);
    EXPECT_EQ(back.Width(), 13);

    // Black and white is saved as 256 grays, one component.
    TPixelGraphic bw = Picture(crBlackWhite);
    test::TRecordingMessages messages;
    bw.Messages = &messages;
    bw.SaveColorResWarningAction = pgwaOKBox;
    TPixelGraphic gray;
    test::LoadBytes(gray, Save(bw, "jpg"), "jpg");
    EXPECT_EQ(gray.ColorType(), ct8Bit);
    EXPECT_EQ(messages.Warnings.size(), 1u);
    for (int x = 0; x < 13; ++x)
        EXPECT_EQ(gray.GetPixel(x, 0) >= 128, bw.GetPixel(x, 0) == 1) << x;

    TPixelGraphic sixteen = Picture(cr16Colors);
    EXPECT_EQ(WriteError(sixteen, "jpg"), "JPG: Invalid value for BitCount");
}

TEST(JpegWriter, ProgressiveSwitchWritesAProgressiveFile) {
    PGLibrarySettings().JPEGProgressive = true;
    TPixelGraphic g = Picture(cr16M);
    const std::vector<std::uint8_t> bytes = Save(g, "jpeg");
    PGLibrarySettings().JPEGProgressive = false;
    TMemoryStream s(bytes);
    EXPECT_EQ(PGFormats().SelectReader(s, "")->GetInfo(s, 0).Subformat, "JFIF, YCbCr, Progressive");
}

TEST(TgaWriter, SixteenColoursGoOutWithASixteenEntryMap) {
    TPixelGraphic g = Picture(cr16Colors);
    const std::vector<std::uint8_t> f = Save(g, "tga");
    EXPECT_EQ(f[1], 1);                // colour map present
    EXPECT_EQ(f[2], 1);                // colour-mapped, uncompressed
    EXPECT_EQ(test::Get16(f, 5), 16u); // map length
    EXPECT_EQ(f[7], 24);               // map entry size
    EXPECT_EQ(f[16], 8);               // pixel depth
    EXPECT_EQ(f[17], 0);               // bottom-left origin
    EXPECT_EQ(f.size(), 18u + 16 * 3 + 13 * 7);
    // The first pixel written is the bottom row's first.
    EXPECT_EQ(f[18 + 48], g.GetPixel(0, 6));
    TPixelGraphic rgb = Picture(cr16M);
    const std::vector<std::uint8_t> t = Save(rgb, "tga");
    EXPECT_EQ(t[2], 2);
    EXPECT_EQ(t[16], 24);
    EXPECT_EQ(t.size(), 18u + 13 * 7 * 3);
}

TEST(PnmWriter, AsciiLayoutAndRefusals) {
    TPixelGraphic g;
    g.SetSize(2, 2, ct24Bit);
    g.SetPixel(0, 0, MakeColor(1, 2, 3));
    g.SetPixel(1, 1, MakeColor(255, 0, 10));
    const std::vector<std::uint8_t> f = Save(g, "ppm");
    EXPECT_EQ(std::string(f.begin(), f.end()), "P3\n2 2\n255\n1 2 3 0 0 0\n0 0 0 255 0 10\n");

    TPixelGraphic bw = Picture(crBlackWhite);
    const std::vector<std::uint8_t> pbm = Save(bw, "pbm");
    const std::string text(pbm.begin(), pbm.end());
    EXPECT_EQ(text.substr(0, 8), "P1\n13 7\n");
    EXPECT_EQ(text[8], bw.GetPixel(0, 0) ? '0' : '1'); // 1 is black

    TPixelGraphic rgb = Picture(cr16M);
    EXPECT_EQ(WriteError(rgb, "pgm"), "PGM: Invalid color resolution");
    EXPECT_EQ(WriteError(rgb, "pbm"), "PBM: Invalid color resolution");
    TPixelGraphic gray = Picture(cr256Grays);
    EXPECT_EQ(WriteError(gray, "ppm"), "PPM: Invalid color resolution");
    TPixelGraphic empty;
    EXPECT_EQ(WriteError(empty, "ppm"), "PBM, PGM, PPM: Width = 0 or Height = 0");

    // Saving 16 grays as PPM converts after the warning; with pgwaRaise nothing is written.
    TPixelGraphic grays = Picture(cr16Grays);
    grays.SaveColorResWarningAction = pgwaRaise;
    TMemoryStream s;
    EXPECT_THROW(grays.SaveToStreamAs(s, "ppm"), EPGCannotWriteColorRes);
    EXPECT_EQ(s.Size(), 0);
}

TEST(TiffWriter, HeaderPointsAtTheDirectory) {
    TPixelGraphic g = Picture(cr256Colors);
    const std::vector<std::uint8_t> f = Save(g, "tif");
    ASSERT_GT(f.size(), 8u);
    EXPECT_EQ(f[0], 'I');
    EXPECT_EQ(test::Get16(f, 2), 42u);
    const std::uint32_t ifd = test::Get32(f, 4);
    ASSERT_LT(ifd + 2u, f.size());
    EXPECT_EQ(ifd % 2, 0u);
    TMemoryStream s(f);
    const TGraphicInfo info = PGFormats().SelectReader(s, "")->GetInfo(s, 0);
    EXPECT_EQ(info.Subformat, "I, Uncompr.");
    EXPECT_EQ(info.BitCount, 8);
    // Two colours are not among its resolutions: they go out as 16 colours.
    EXPECT_FALSE(PGFormats().FindWriter("tif")->CanWrite(cr2Colors));
}

// ---- Files read by an independent decoder

std::string PythonWithPillow() {
    for (const char* python : {"/usr/bin/python3", "python3"})
        if (std::system((std::string(python) + " -c 'import PIL' >/dev/null 2>&1").c_str()) == 0)
            return python;
    return {};
}

TEST(CodecWriters, PillowReadsOurFilesPixelExactly) {
    const std::string python = PythonWithPillow();
    if (python.empty())
        SKIP_WITHOUT_TOOL("Pillow (python3-pil) is not installed: round trip skipped");
    TTempDir dir;
    struct TCase {
        const char* Ext;
        TPGColorRes Res;
    };
    std::vector<TCase> cases;
    for (TPGColorRes r : kAllRes) {
        cases.push_back({"png", r});
        if (r != cr2Colors) cases.push_back({"tif", r});
    }
    for (TPGColorRes r : {cr16Colors, cr256Colors, cr16M})
        cases.push_back({"tga", r});
    cases.push_back({"pbm", crBlackWhite});
    cases.push_back({"pgm", cr256Grays});
    cases.push_back({"ppm", cr16M});
    cases.push_back({"jpg", cr16M});
    cases.push_back({"jpg", cr256Grays});

    std::vector<std::pair<std::string, TPixelGraphic>> written;
    for (bool variant : {false, true}) {
        PGLibrarySettings().TIFFBigEndian = variant;
        PGLibrarySettings().TIFFCompression = variant ? 32773 : 1;
        PGLibrarySettings().PxMBinary = variant;
        for (const TCase& c : cases) {
            if (variant && std::string(c.Ext) != "tif" && c.Ext[0] != 'p') continue;
            const std::string name = (dir / (std::string(variant ? "v_" : "") + c.Ext + "_" +
                                             std::to_string(c.Res) + "." + c.Ext))
                                         .string();
            TPixelGraphic g = Picture(c.Res);
            g.SaveToFile(name);
            // What we mean the file to show: our own decoding (JPEG is lossy).
            TPixelGraphic expected;
            expected.LoadFromFile(name);
            if (std::string(c.Ext) != "jpg") ExpectSameColours(g, expected, name);
            written.emplace_back(name, std::move(expected));
        }
    }
    PGLibrarySettings().TIFFBigEndian = false;
    PGLibrarySettings().TIFFCompression = 1;
    PGLibrarySettings().PxMBinary = false;

    const std::string script = "import sys\nfrom PIL import Image\nfor n in sys.argv[1:]:\n"
                               "    Image.open(n).convert('RGB').save(n + '.ref.ppm')\n";
    test::WriteText(dir / "decode.py", script);
    std::string command = python + " " + (dir / "decode.py").string();
    for (const auto& w : written)
        command += " " + w.first;
    ASSERT_EQ(std::system(command.c_str()), 0);
    for (const auto& [name, expected] : written) {
        const test::TPpm ref = test::ReadPpm(name + ".ref.ppm");
        ASSERT_EQ(ref.Width, expected.Width()) << name;
        ASSERT_EQ(ref.Height, expected.Height()) << name;
        for (int y = 0; y < ref.Height; ++y)
            for (int x = 0; x < ref.Width; ++x)
                ASSERT_EQ(ref.At(x, y), expected.GetPixelColor(x, y))
                    << name << " " << x << "," << y;
    }
}

} // namespace
} // namespace pigmentaria
