// The BMP reader against files of independent encoders, hand-made variants, hostile input, and
// the writer's exact layout.
#include "image/bmp_format.h"
#include "image/file_format.h"
#include "image/pg_stream.h"
#include "image_test_util.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pigmentaria {
namespace {

using test::Get16;
using test::Get32;
using test::ImageData;
using test::LoadBytes;
using test::ReadBytes;
using test::ReadPpm;
using test::Set16;
using test::Set32;

std::string Fixture(const std::string& name) {
    return ImageData("bmp/" + name);
}

void ExpectPixels(const TPixelGraphic& g, const test::TPpm& ref, const std::string& what) {
    ASSERT_EQ(g.Width(), ref.Width) << what;
    ASSERT_EQ(g.Height(), ref.Height) << what;
    for (int y = 0; y < ref.Height; ++y)
        for (int x = 0; x < ref.Width; ++x)
            ASSERT_EQ(g.GetPixelColor(x, y), ref.At(x, y)) << what << " at " << x << "," << y;
}

std::string LoadError(const std::vector<std::uint8_t>& bytes) {
    TPixelGraphic g;
    try {
        LoadBytes(g, bytes);
    } catch (const EPGBMPFileFormatReader& e) {
        EXPECT_TRUE(g.Empty());
        return e.what();
    }
    return "loaded";
}

struct TFixtureCase {
    const char* Name;
    TPGColorType Type;
};

TEST(BmpReader, LoadsFilesOfIndependentEncodersPixelExactly) {
    const TFixtureCase cases[] = {
        {"pil_rgb24", ct24Bit},  {"pil_gray8", ct8Bit},   {"pil_pal8", ct8Bit},
        {"pil_bw1", ct1Bit},     {"pil_rgba32", ct24Bit}, {"im3_rgb24", ct24Bit},
        {"im3_pal8", ct8Bit},    {"im3_pal4", ct4Bit},    {"im3_bw1", ct1Bit},
        {"im3_rle8", ct8Bit},    {"im2_core24", ct24Bit}, {"im2_core8", ct8Bit},
        {"im2_core4", ct4Bit},   {"im2_core1", ct1Bit},   {"im5_rgb24", ct24Bit},
        {"im5_argb32", ct24Bit}, {"im5_bw1", ct1Bit},
    };
    for (const TFixtureCase& c : cases) {
        TPixelGraphic g;
        g.LoadFromFile(Fixture(std::string(c.Name) + ".bmp"));
        EXPECT_EQ(g.ColorType(), c.Type) << c.Name;
        ExpectPixels(g, ReadPpm(Fixture(std::string(c.Name) + ".ppm")), c.Name);
    }
}

TEST(BmpReader, SixteenBitChannelsGetTheirLowBitFilled) {
    struct TCase {
        const char* Name;
        int Bits[3]; // red, green, blue
    };
    const TCase cases[] = {{"im_565", {5, 6, 5}},
                           {"im_555", {5, 5, 5}},
                           {"im_argb1555", {5, 5, 5}},
                           {"im_argb4444", {4, 4, 4}}};
    for (bool fill : {true, false}) {
        PGLibrarySettings().LowBitFill = fill;
        for (const TCase& c : cases) {
            TPixelGraphic g;
            g.LoadFromFile(Fixture(std::string(c.Name) + ".bmp"));
            const test::TPpm ref = ReadPpm(Fixture(std::string(c.Name) + ".ppm"));
            ASSERT_EQ(g.Width(), ref.Width);
            for (int y = 0; y < ref.Height; ++y)
                for (int x = 0; x < ref.Width; ++x) {
                    const TColor r = ref.At(x, y), got = g.GetPixelColor(x, y);
                    const int refs[3] = {RedOf(r), GreenOf(r), BlueOf(r)};
                    const int gots[3] = {RedOf(got), GreenOf(got), BlueOf(got)};
                    for (int k = 0; k < 3; ++k) {
                        // The stored value, recovered from the reference's 8-bit expansion.
                        const int v = refs[k] >> (8 - c.Bits[k]);
                        const int step = 1 << (8 - c.Bits[k]);
                        const int want = v == 0 ? 0 : std::min(255, v * step + (fill ? step : 0));
                        ASSERT_EQ(gots[k], want) << c.Name << " " << x << "," << y << " ch " << k;
                    }
                }
        }
    }
    PGLibrarySettings().LowBitFill = true;
}

// A bottom-up file turned top-down: height negated, rows stored in the other order.
std::vector<std::uint8_t> TopDown(std::vector<std::uint8_t> d) {
    const std::uint32_t off = Get32(d, 10);
    const int w = static_cast<int>(Get32(d, 18)), h = static_cast<int>(Get32(d, 22));
    const std::size_t stride = TPixelGraphic::StrideOf(w, Get16(d, 28));
    Set32(d, 22, static_cast<std::uint32_t>(-h));
    for (int top = 0, bottom = h - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(d.begin() + off + top * stride, d.begin() + off + (top + 1) * stride,
                         d.begin() + off + bottom * stride);
    return d;
}

TEST(BmpReader, TopDownFilesLoadUpright) {
    for (const char* name :
         {"pil_rgb24", "im3_pal8", "im3_pal4", "pil_bw1", "pil_rgba32", "im_565"}) {
        TPixelGraphic bottomUp, topDown;
        bottomUp.LoadFromFile(Fixture(std::string(name) + ".bmp"));
        LoadBytes(topDown, TopDown(ReadBytes(Fixture(std::string(name) + ".bmp"))));
        ASSERT_EQ(topDown.Height(), bottomUp.Height()) << name;
        for (int y = 0; y < bottomUp.Height(); ++y)
            for (int x = 0; x < bottomUp.Width(); ++x)
                ASSERT_EQ(topDown.GetPixelColor(x, y), bottomUp.GetPixelColor(x, y)) << name;
    }
}

// Builds a file with a later info header of `size` bytes from a 40-byte 32-bit file, the masks
// in the header naming the channels, and `gap` unused bytes before the pixels.
std::vector<std::uint8_t> LaterHeader(std::uint32_t size, std::uint32_t compression,
                                      const std::uint32_t masks[3], std::size_t gap) {
    const std::vector<std::uint8_t> d = ReadBytes(Fixture("pil_rgba32.bmp"));
    std::vector<std::uint8_t> out(d.begin(), d.begin() + 54);
    out.resize(14 + size, 0);
    Set32(out, 14, size);
    Set32(out, 30, compression);
    if (size >= 52)
        for (int i = 0; i < 3; ++i)
            Set32(out, 54 + 4 * static_cast<std::size_t>(i), masks[i]);
    out.resize(out.size() + gap, 0xEE);
    Set32(out, 10, static_cast<std::uint32_t>(out.size()));
    out.insert(out.end(), d.begin() + 54, d.end());
    Set32(out, 2, static_cast<std::uint32_t>(out.size()));
    return out;
}

TEST(BmpReader, LaterInfoHeadersAreReadWithTheirMasks) {
    TPixelGraphic ref;
    ref.LoadFromFile(Fixture("pil_rgba32.bmp"));
    const std::uint32_t swapped[3] = {0x000000FF, 0x0000FF00, 0x00FF0000}; // red from the blue byte
    const std::uint32_t normal[3] = {0x00FF0000, 0x0000FF00, 0x000000FF};
    for (std::uint32_t size : {52u, 56u, 108u, 124u}) {
        for (std::size_t gap : {std::size_t{0}, std::size_t{10}}) {
            TPixelGraphic g;
            LoadBytes(g, LaterHeader(size, 3, swapped, gap));
            ASSERT_EQ(g.Width(), ref.Width());
            for (int y = 0; y < ref.Height(); ++y)
                for (int x = 0; x < ref.Width(); ++x) {
                    const TColor c = ref.GetPixelColor(x, y);
                    ASSERT_EQ(g.GetPixelColor(x, y), MakeColor(BlueOf(c), GreenOf(c), RedOf(c)))
                        << size << " gap " << gap;
                }
            // Without bit fields the masks in the header do not apply.
            TPixelGraphic plain;
            LoadBytes(plain, LaterHeader(size, 0, swapped, gap));
            EXPECT_EQ(plain.GetPixelColor(3, 3), ref.GetPixelColor(3, 3));
            TPixelGraphic same;
            LoadBytes(same, LaterHeader(size, 3, normal, gap));
            EXPECT_EQ(same.GetPixelColor(5, 1), ref.GetPixelColor(5, 1));
        }
    }
}

TEST(BmpReader, OtherHeaderSizesAreRefused) {
    const std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};
    for (std::uint32_t size : {64u, 41u, 100u, 0u, 16u}) {
        std::vector<std::uint8_t> d = LaterHeader(size < 40 ? 40 : size, 0, masks, 0);
        Set32(d, 14, size);
        EXPECT_EQ(LoadError(d), "BMP: Invalid size of BitmapInfoHeader/BitmapCoreHeader") << size;
    }
}

TEST(BmpReader, FieldChecksNameTheField) {
    const std::vector<std::uint8_t> rle = ReadBytes(Fixture("im3_rle8.bmp"));
    std::vector<std::uint8_t> d = rle;
    Set32(d, 22, static_cast<std::uint32_t>(-7));
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biCompression invalid");
    d = rle;
    Set16(d, 26, 2);
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biPlanes invalid");
    d = rle;
    Set16(d, 28, 7);
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biBitCount invalid");
    d = rle;
    Set16(d, 28, 4); // RLE8 compression with 4 bits
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biCompression invalid");
    d = ReadBytes(Fixture("pil_rgb24.bmp"));
    Set32(d, 30, 3); // bit fields need 16 or 32 bits
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biCompression invalid");
    d = ReadBytes(Fixture("im2_core8.bmp"));
    Set16(d, 22, 0);
    EXPECT_EQ(LoadError(d), "BMP: BitmapCoreHeader.bcPlanes invalid");
    d = ReadBytes(Fixture("im2_core8.bmp"));
    Set16(d, 24, 16);
    EXPECT_EQ(LoadError(d), "BMP: BitmapCoreHeader.bcBitCount invalid");
}

TEST(BmpReader, LyingSizesFailBeforeAllocating) {
    std::vector<std::uint8_t> d = ReadBytes(Fixture("pil_rgb24.bmp"));
    Set32(d, 18, 60000);
    Set32(d, 22, 60000);
    EXPECT_EQ(LoadError(d), "BMP: Unexpected end of file");
    Set32(d, 18, 0x7FFFFFFF);
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biWidth invalid");
    Set32(d, 18, 13);
    Set32(d, 22, 0x80000000u);
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biHeight invalid");
    d = ReadBytes(Fixture("pil_pal8.bmp"));
    Set32(d, 46, 100000); // colours used
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biClrUsed invalid");
    // An RLE stream of a few bytes cannot stand for a picture of a gigabyte.
    d = ReadBytes(Fixture("im3_rle8.bmp"));
    Set32(d, 18, 60000);
    Set32(d, 22, 60000);
    EXPECT_EQ(LoadError(d), "BMP: BitmapInfoHeader.biSizeImage invalid");
}

TEST(BmpReader, TruncatedFilesRaiseOrLoadWhatIsThere) {
    for (const char* name :
         {"pil_rgb24", "im3_pal4", "im3_rle8", "im2_core8", "im_565", "im5_bw1"}) {
        const std::vector<std::uint8_t> d = ReadBytes(Fixture(std::string(name) + ".bmp"));
        for (std::size_t n = 0; n < d.size(); ++n) {
            TPixelGraphic g;
            const std::vector<std::uint8_t> cut(d.begin(),
                                                d.begin() + static_cast<std::ptrdiff_t>(n));
            try {
                LoadBytes(g, cut);
                // Only RLE data may end early: the rows it did not reach stay index 0.
                EXPECT_STREQ(name, "im3_rle8") << n;
            } catch (const EPGBMPFileFormatReader&) {
                EXPECT_TRUE(g.Empty());
            } catch (const EPGUnknownFileFormat&) {
                EXPECT_LT(n, 2u);
            }
        }
    }
}

// Writes a 4-bit or 8-bit RLE file of `w` x `h` with `palette` and the compressed `data`.
std::vector<std::uint8_t> RleFile(int bits, int w, int h, const std::vector<TColor>& palette,
                                  const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> d(54, 0);
    d[0] = 'B', d[1] = 'M';
    Set32(d, 10, static_cast<std::uint32_t>(54 + 4 * palette.size()));
    Set32(d, 14, 40);
    Set32(d, 18, static_cast<std::uint32_t>(w));
    Set32(d, 22, static_cast<std::uint32_t>(h));
    Set16(d, 26, 1);
    Set16(d, 28, static_cast<std::uint32_t>(bits));
    Set32(d, 30, bits == 8 ? 1 : 2);
    Set32(d, 34, static_cast<std::uint32_t>(data.size()));
    Set32(d, 46, static_cast<std::uint32_t>(palette.size()));
    for (TColor c : palette) {
        d.push_back(static_cast<std::uint8_t>(BlueOf(c)));
        d.push_back(static_cast<std::uint8_t>(GreenOf(c)));
        d.push_back(static_cast<std::uint8_t>(RedOf(c)));
        d.push_back(0);
    }
    d.insert(d.end(), data.begin(), data.end());
    Set32(d, 2, static_cast<std::uint32_t>(d.size()));
    return d;
}

std::vector<std::string> Indices(const TPixelGraphic& g) {
    std::vector<std::string> rows;
    for (int y = 0; y < g.Height(); ++y) {
        std::string row;
        for (int x = 0; x < g.Width(); ++x)
            row += "0123456789ABCDEF"[g.GetPixel(x, y) & 15];
        rows.push_back(row);
    }
    return rows;
}

std::vector<TColor> GrayPalette(int n) {
    std::vector<TColor> p;
    for (int i = 0; i < n; ++i)
        p.push_back(MakeColor(i * 16, i * 16, i * 16));
    return p;
}

TEST(BmpReader, Rle4RunsLiteralsDeltasAndClipping) {
    const std::vector<std::uint8_t> data = {
        5, 0x12,                      // bottom row: 1 2 1 2 1
        0, 3,    0x34, 0x50,          // literal 3 4 5, the 5 past the row's end is dropped
        0, 0,                         // end of line
        0, 2,    2,    1,             // delta: 2 right, 1 up -> top row, column 2
        2, 0xF0,                      // F 0
        0, 5,    0xAB, 0xCD, 0xE0, 0, // literal of 5 nibbles, 3 bytes padded to 4
        0, 1,                         // end of bitmap
        9, 0x99,                      // never reached
    };
    TPixelGraphic g;
    LoadBytes(g, RleFile(4, 7, 3, GrayPalette(16), data));
    EXPECT_EQ(g.ColorType(), ct4Bit);
    EXPECT_EQ(Indices(g), (std::vector<std::string>{"00F0ABC", "0000000", "1212134"}));
}

TEST(BmpReader, Rle8LiteralPaddingAndRunsPastTheEdges) {
    const std::vector<std::uint8_t> data = {
        3,   7,             // 7 7 7
        0,   3, 1, 2, 3, 0, // literal with a pad byte
        200, 9,             // run past the row's end: clipped
        0,   0,             // next row
        2,   4,             // 4 4
        0,   2, 0, 5,       // delta 5 rows up: beyond the top, decoding ends
        1,   1,
    };
    TPixelGraphic g;
    LoadBytes(g, RleFile(8, 5, 3, GrayPalette(16), data));
    EXPECT_EQ(Indices(g), (std::vector<std::string>{"00000", "44000", "77712"}));
}

TEST(BmpReader, RleDataEndingMidRecordStopsQuietly) {
    // A literal promising more bytes than there are.
    const std::vector<std::uint8_t> data = {2, 5, 0, 9, 1, 2};
    TPixelGraphic g;
    LoadBytes(g, RleFile(8, 4, 2, GrayPalette(16), data));
    EXPECT_EQ(Indices(g), (std::vector<std::string>{"0000", "5512"}));
}

// A 40-byte header file with 16 bits and no bit fields: 5 bits a channel, red highest.
TEST(BmpReader, SixteenBitsWithoutBitFieldsUse555) {
    std::vector<std::uint8_t> d(54, 0);
    d[0] = 'B', d[1] = 'M';
    Set32(d, 10, 54);
    Set32(d, 14, 40);
    Set32(d, 18, 2);
    Set32(d, 22, 1);
    Set16(d, 26, 1);
    Set16(d, 28, 16);
    const std::uint16_t px[2] = {(31 << 10) | (1 << 5) | 0, (0 << 10) | (16 << 5) | 31};
    for (std::uint16_t p : px)
        d.push_back(static_cast<std::uint8_t>(p)), d.push_back(static_cast<std::uint8_t>(p >> 8));
    TPixelGraphic g;
    LoadBytes(g, d);
    EXPECT_EQ(g.GetPixelColor(0, 0), MakeColor(255, 16, 0));
    EXPECT_EQ(g.GetPixelColor(1, 0), MakeColor(0, 136, 255));
}

TEST(BmpReader, IndexOtherThanZeroIsRefused) {
    const std::vector<std::uint8_t> d = ReadBytes(Fixture("pil_rgb24.bmp"));
    TSpanStream s(d.data(), d.size());
    TPixelGraphic g;
    TBMPFileFormatReader reader;
    try {
        reader.Read(s, g, 1);
        FAIL();
    } catch (const EPGBMPFileFormatReader& e) {
        EXPECT_STREQ(e.what(), "BMP: Index invalid");
    }
    try {
        reader.GetInfo(s, 2);
        FAIL();
    } catch (const EPGBMPFileFormatReader& e) {
        EXPECT_STREQ(e.what(), "BMP: Invalid value for Index");
    }
}

TEST(BmpReader, AbortStopsQuietlyAndProgressIsBracketed) {
    TPixelGraphic g;
    int starts = 0, ends = 0, steps = 0;
    g.OnProgressStart = [&](const TPixelGraphic&) { ++starts; };
    g.OnProgressEnd = [&](const TPixelGraphic&) { ++ends; };
    g.OnProgress = [&](const TPixelGraphic&, int step, int max, bool& abort) {
        EXPECT_EQ(max, 10);
        ++steps;
        abort = step == 3;
    };
    g.LoadFromFile(Fixture("pil_rgb24.bmp"));
    EXPECT_EQ(starts, 1);
    EXPECT_EQ(ends, 1);
    EXPECT_EQ(steps, 3);
    EXPECT_EQ(g.Width(), 13);
    // Only the first three tenths of the rows (bottom first) were read.
    const test::TPpm ref = ReadPpm(Fixture("pil_rgb24.ppm"));
    EXPECT_EQ(g.GetPixelColor(0, 6), ref.At(0, 6));
    EXPECT_EQ(g.GetPixelColor(12, 0), clBlack);
    EXPECT_NE(ref.At(12, 0), clBlack);
}

TEST(BmpInfo, DescribesTheHeader) {
    struct TCase {
        const char* Name;
        int Bits;
        const char* Colors;
        const char* Subformat;
    };
    const TCase cases[] = {
        {"im2_core8", 8, "256", "OS/2"},         {"pil_rgb24", 24, "16.7M", "Windows, RGB"},
        {"im3_rle8", 8, "256", "Windows, RLE8"}, {"im3_pal4", 4, "16", "Windows, RGB"},
        {"im_565", 16, "64K", "Windows"},        {"pil_bw1", 1, "2", "Windows, RGB"},
        {"im5_argb32", 32, "16.7M", "Windows"}};
    for (const TCase& c : cases) {
        const TGraphicFileInfo info = GetGraphicFileInfo(Fixture(std::string(c.Name) + ".bmp"));
        ASSERT_TRUE(info.Ok) << c.Name;
        EXPECT_EQ(info.FormatDescription, "Bitmap");
        EXPECT_EQ(info.Info.BitCount, c.Bits) << c.Name;
        EXPECT_EQ(info.Info.ColorCountText, c.Colors) << c.Name;
        EXPECT_EQ(info.Info.Subformat, c.Subformat) << c.Name;
        EXPECT_EQ(info.Info.Width, 13);
        EXPECT_EQ(info.Info.Height, 7);
    }
    const std::vector<std::uint8_t> td = TopDown(ReadBytes(Fixture("pil_rgb24.bmp")));
    TSpanStream s(td.data(), td.size());
    const TGraphicInfo info = TBMPFileFormatReader().GetInfo(s, 0);
    EXPECT_EQ(info.Subformat, "Windows, RGB, Top-Down");
    EXPECT_EQ(info.Height, 7);
}

// ---- Writer

TEST(BmpWriter, WritesTheExactLayout) {
    TPixelGraphic g;
    g.SetSize(3, 2, ct4Bit);
    g.SetPalette({MakeColor(1, 2, 3), MakeColor(4, 5, 6), MakeColor(7, 8, 9), MakeColor(10, 11, 12),
                  MakeColor(13, 14, 15)});
    const int px[2][3] = {{1, 2, 3}, {4, 0, 1}};
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            g.SetPixel(x, y, static_cast<std::uint32_t>(px[y][x]));
    const std::vector<std::uint8_t> got = test::SaveBmpBytes(g);

    std::vector<std::uint8_t> want = {'B', 'M', 82, 0, 0, 0, 0, 0, 0, 0, 74, 0, 0, 0, // file header
                                      40,  0,   0,  0, 3, 0, 0, 0, 2, 0, 0,  0, 1, 0,
                                      4,   0,   0,  0, 0, 0, 8, 0, 0, 0, 0,  0, 0, 0,
                                      0,   0,   0,  0, 5, 0, 0, 0, 0, 0, 0,  0};
    for (int i = 0; i < 5; ++i) {
        const TColor c = g.Palette()[static_cast<std::size_t>(i)];
        want.insert(want.end(),
                    {static_cast<std::uint8_t>(BlueOf(c)), static_cast<std::uint8_t>(GreenOf(c)),
                     static_cast<std::uint8_t>(RedOf(c)), 0});
    }
    // Bottom row first, high nibble first, rows padded to 4 bytes.
    want.insert(want.end(), {0x40, 0x10, 0, 0, 0x12, 0x30, 0, 0});
    EXPECT_EQ(got, want);

    unsigned format = 0;
    const std::vector<std::uint8_t> dib = g.SaveToClipboardFormat(format);
    EXPECT_EQ(format, TPixelGraphic::CF_DIB);
    EXPECT_EQ(dib, std::vector<std::uint8_t>(want.begin() + 14, want.end()));
}

TEST(BmpWriter, RoundTripsEveryColourType) {
    for (TPGColorType type : {ct1Bit, ct4Bit, ct8Bit, ct24Bit}) {
        TPixelGraphic g;
        g.SetSize(11, 5, type);
        if (type != ct24Bit)
            g.SetPaletteIdent(type == ct1Bit ? pBlackWhite : type == ct4Bit ? pSys16 : pSpecial216);
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 11; ++x)
                g.SetPixelColor(x, y, MakeColor(x * 23, y * 50, (x * y * 9) % 256));
        const std::vector<std::uint8_t> bytes = test::SaveBmpBytes(g);
        TPixelGraphic back;
        LoadBytes(back, bytes);
        EXPECT_EQ(back.ColorType(), type);
        EXPECT_EQ(back.PaletteIdent(), g.PaletteIdent());
        EXPECT_EQ(back.Palette(), g.Palette());
        ASSERT_EQ(back.ImageSize(), g.ImageSize());
        EXPECT_EQ(std::memcmp(back.Bits(), g.Bits(), g.ImageSize()), 0);

        TPixelGraphic clip;
        unsigned format = 0;
        const std::vector<std::uint8_t> dib = g.SaveToClipboardFormat(format);
        clip.LoadFromClipboardFormat(format, dib.data(), dib.size());
        EXPECT_EQ(std::memcmp(clip.Bits(), g.Bits(), g.ImageSize()), 0);
    }
}

TEST(BmpWriter, SaveToStreamIsAlwaysBmp) {
    TPixelGraphic g;
    g.SetSize(2, 2, ct24Bit);
    TMemoryStream s;
    g.SaveToStream(s);
    ASSERT_GE(s.Data().size(), 2u);
    EXPECT_EQ(s.Data()[0], 'B');
    EXPECT_EQ(s.Data()[1], 'M');
    EXPECT_EQ(s.Data().size(), 54u + 16u);
}

TEST(Clipboard, UnknownFormatsAreRefused) {
    TPixelGraphic g;
    const std::uint8_t byte = 0;
    try {
        g.LoadFromClipboardFormat(3, &byte, 1);
        FAIL();
    } catch (const EPGUnknownClipboardFormat& e) {
        EXPECT_STREQ(e.what(), "Unknown clipboard format");
    }
    EXPECT_THROW(g.LoadFromClipboardFormat(TPixelGraphic::CF_DIB, nullptr, 0),
                 EPGUnknownClipboardFormat);
}

} // namespace
} // namespace pigmentaria
