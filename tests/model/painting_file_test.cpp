#include "model/painting_file.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <cmath>
#include <csignal>
#include <cstring>
#include <limits>
#include <random>
#include <sys/resource.h>

namespace pigmentaria {
namespace {

using test::TTempDir;

// A painting file laid out byte by byte from the format's table, independently of the writer.
struct TFileBuilder {
    std::vector<std::uint8_t> Bytes;
    void Put32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            Bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    }
    void PutAt32(std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            Bytes[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
    }
    TFileBuilder(const std::string& paletteName) {
        Bytes.assign(287, 0);
        std::memcpy(Bytes.data(), "KV1000", 6);
        std::memcpy(Bytes.data() + 6, paletteName.data(), paletteName.size());
    }
    void Shape(TColor color, TColor acquired, std::vector<TShapePoint> pts) {
        Put32(color);
        Put32(acquired);
        Put32(static_cast<std::uint32_t>(pts.size()));
        for (auto p : pts) {
            Put32(static_cast<std::uint32_t>(p.X));
            Put32(static_cast<std::uint32_t>(p.Y));
        }
    }
};

TShapeList SamplePainting() {
    TShapeList list;
    list.Append(MakeFrameShape(40, 30));
    list.Append(MakeShape(0x0000FF, {{-1, -1}, {10, -1}, {10, 5}, {-1, 5}}, 0x0102FF));
    list.Append(MakeShape(0x00FF00, {{5, 5}}, 0x00FE00));
    list.Append(MakeShape(0xFF0000, {{3, 20}, {39, 29}, {0, 30}, {20, 21}, {7, 22}}, 0xEE0000));
    return list;
}

void ExpectSameShapes(const TShapeList& a, const TShapeList& b) {
    const TPaintShape* s = a.First();
    const TPaintShape* t = b.First();
    for (; s && t; s = s->Next, t = t->Next) {
        EXPECT_EQ(s->Color, t->Color);
        EXPECT_EQ(s->AcquiredColor, t->AcquiredColor);
        EXPECT_EQ(s->Points, t->Points);
    }
    EXPECT_EQ(s, nullptr);
    EXPECT_EQ(t, nullptr);
}

TEST(PaintingFileTest, WrittenAndReadBackIsIdentical) {
    TTempDir dir;
    const TShapeList shapes = SamplePainting();
    TPrintLayoutBlock layout;
    layout.Orientation = 1;
    layout.PaperSize = 256;
    layout.PaperWidth = 2100;
    layout.PaperLength = 2970;
    layout.FrameTop = 5;
    layout.FrameLeft = 6;
    layout.FrameWidth = 70;
    layout.FrameHeight = 80;
    layout.WhatToPrint = 2;
    layout.PagesAcross = 3;
    layout.PagesDown = 4;
    layout.Overlap = 0.35;
    layout.RegistrationMarks = true;
    layout.OutlinesInBlack = true;
    layout.LineWeight = 7;
    layout.FillWith = 1;
    WritePaintingFile(dir / "p.kvp", shapes, "Windows 16 Color Palette", layout);
    const TPaintingFileContents back = ReadPaintingFile(dir / "p.kvp");
    EXPECT_EQ(back.PaletteName, "Windows 16 Color Palette");
    EXPECT_EQ(back.Layout, layout);
    ExpectSameShapes(shapes, back.Shapes);
    // Writing what was read gives the same bytes.
    EXPECT_EQ(EncodePainting(back.Shapes, back.PaletteName, back.Layout),
              ReadFileBytes(dir / "p.kvp"));
}

TEST(PaintingFileTest, LayoutOfTheBytesWritten) {
    TPrintLayoutBlock layout;
    layout.Orientation = 1;
    layout.PaperSize = 9;
    layout.FrameTop = -3;
    layout.PagesAcross = 2;
    layout.Overlap = 1.0;
    layout.OutlinesOnly = true;
    layout.FillWith = 2;
    layout.RegistrationMarks = false;
    TShapeList list;
    list.Append(MakeShape(0x00332211, {{1, -2}, {300, 4}}, 0x00665544));
    const auto b = EncodePainting(list, std::string(250, 'x'), layout);
    ASSERT_EQ(b.size(), 287u + 12 + 16);
    EXPECT_EQ(std::memcmp(b.data(), "KV1000", 6), 0);
    // The name is cut to 200 bytes and NUL-terminated; the rest of the field is zero.
    EXPECT_EQ(b[6 + 199], 'x');
    EXPECT_EQ(b[6 + 200], 0);
    EXPECT_EQ(b[207], 1);
    EXPECT_EQ(b[211], 9);
    EXPECT_EQ(b[235], 0xFD);
    EXPECT_EQ(b[238], 0xFF);
    EXPECT_EQ(b[255], 2);
    // 1.0 as 80-bit extended: mantissa 0x8000000000000000, exponent 0x3FFF.
    const std::uint8_t one[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x3F};
    EXPECT_EQ(std::memcmp(b.data() + 263, one, 10), 0);
    EXPECT_EQ(b[273], 0);
    EXPECT_EQ(b[274], 1);
    EXPECT_EQ(b[283], 2);
    EXPECT_EQ(b[287], 0x11);
    EXPECT_EQ(b[287 + 4], 0x44);
    EXPECT_EQ(b[287 + 8], 2);
    EXPECT_EQ(b[287 + 16], 0xFE); // Y = -2
    EXPECT_EQ(b[287 + 20], 0x2C); // X = 300
    EXPECT_EQ(b[287 + 21], 0x01);
}

TEST(PaintingFileTest, ReadsAFileBuiltFromTheLayout) {
    TFileBuilder f("My palette");
    f.Bytes[207] = 1;
    f.PutAt32(251, 1);
    f.PutAt32(259, 6);
    const std::uint8_t half[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFE, 0x3F};
    std::memcpy(f.Bytes.data() + 263, half, 10);
    f.Bytes[275] = 1;
    f.PutAt32(279, 3);
    f.Shape(0, 0, {{0, 0}, {8, 0}, {8, 6}, {0, 6}});
    f.Shape(0x0000FF, 0x0000FE, {{-1, -1}, {4, -1}, {4, 3}});
    const auto c = DecodePainting(f.Bytes.data(), f.Bytes.size());
    EXPECT_EQ(c.PaletteName, "My palette");
    EXPECT_EQ(c.Layout.Orientation, 1);
    EXPECT_EQ(c.Layout.WhatToPrint, 1);
    EXPECT_EQ(c.Layout.PagesDown, 6);
    EXPECT_EQ(c.Layout.Overlap, 0.5);
    EXPECT_TRUE(c.Layout.OutlinesInBlack);
    EXPECT_FALSE(c.Layout.OutlinesOnly);
    EXPECT_EQ(c.Layout.LineWeight, 3);
    ASSERT_EQ(c.Shapes.Count(), 2u);
    EXPECT_EQ(c.Shapes.PaintingWidth(), 8);
    EXPECT_EQ(c.Shapes.PaintingHeight(), 6);
    const TPaintShape& s = *c.Shapes.Last();
    EXPECT_EQ(s.AcquiredColor, 0x0000FEu);
    EXPECT_EQ(s.Prev, c.Shapes.First());
}

TEST(PaintingFileTest, BoundsAreTheTrueExtentEvenAtMinusOne) {
    // Vertices at -1 come from "Outline" shapes at the picture's top and left edge.
    TFileBuilder f("");
    f.Shape(0, 0, {{-1, 3}, {-1, -1}, {5, -1}, {-1, 7}, {2, 4}});
    f.Shape(0, 0, {{4, 4}, {-1, -1}});
    f.Shape(0, 0, {});
    const auto c = DecodePainting(f.Bytes.data(), f.Bytes.size());
    const TPaintShape* s = c.Shapes.First();
    EXPECT_EQ((std::vector<int>{s->Left, s->Top, s->Right, s->Bottom}),
              (std::vector<int>{-1, -1, 5, 7}));
    s = s->Next;
    EXPECT_EQ((std::vector<int>{s->Left, s->Top, s->Right, s->Bottom}),
              (std::vector<int>{-1, -1, 4, 4}));
    s = s->Next;
    EXPECT_TRUE(s->Points.empty());
    EXPECT_EQ((std::vector<int>{s->Left, s->Top, s->Right, s->Bottom}),
              (std::vector<int>{-1, -1, -1, -1}));
}

TEST(PaintingFileTest, HeaderOnlyFileIsAnEmptyPainting) {
    TFileBuilder f("x");
    ASSERT_EQ(f.Bytes.size(), 287u);
    EXPECT_TRUE(DecodePainting(f.Bytes.data(), f.Bytes.size()).Shapes.Empty());
}

TEST(PaintingFileTest, DamagedFilesAreRefused) {
    TFileBuilder f("");
    f.Shape(0, 0, {{0, 0}, {4, 0}, {4, 4}});
    const std::vector<std::uint8_t> good = f.Bytes;
    // Ends inside a shape record head, and inside its vertices.
    for (std::size_t cut : {good.size() - 1, std::size_t(287 + 5), std::size_t(287 + 12 + 8)})
        EXPECT_THROW(DecodePainting(good.data(), cut), EFileError) << cut;
    // A vertex count the remaining bytes cannot hold, and a negative one.
    for (std::uint32_t n : {4u, 0x7FFFFFFFu, 0x80000000u}) {
        std::vector<std::uint8_t> bad = good;
        for (int i = 0; i < 4; ++i)
            bad[287 + 8 + i] = static_cast<std::uint8_t>(n >> (8 * i));
        EXPECT_THROW(DecodePainting(bad.data(), bad.size()), EFileError) << n;
    }
    // Ends inside the header.
    EXPECT_THROW(DecodePainting(good.data(), 100), EFileError);
    // Wrong magic, however long.
    std::vector<std::uint8_t> other = good;
    other[5] = '1';
    try {
        DecodePainting(other.data(), other.size());
        FAIL();
    } catch (const ENotAPainting& e) {
        EXPECT_STREQ(e.what(), "File is not an Pigmentaria Painting");
    }
    EXPECT_THROW(DecodePainting(other.data(), 3), ENotAPainting);
}

TEST(PaintingFileTest, ExtendedFloatConversion) {
    struct TCase {
        double Value;
        std::uint8_t Bytes[10];
    };
    const TCase cases[] = {
        {0.0, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {-2.5, {0, 0, 0, 0, 0, 0, 0, 0xA0, 0x00, 0xC0}},
        {0.1, {0x00, 0xD0, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xCC, 0xFB, 0x3F}},
        {std::numeric_limits<double>::infinity(), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F}},
        // The smallest subnormal double, 2^-1074, is a normal extended number.
        {std::ldexp(1.0, -1074), {0, 0, 0, 0, 0, 0, 0, 0x80, 0xCD, 0x3B}},
    };
    for (const TCase& c : cases) {
        const auto b = DoubleToExtended(c.Value);
        EXPECT_EQ(std::memcmp(b.data(), c.Bytes, 10), 0) << c.Value;
        EXPECT_EQ(ExtendedToDouble(c.Bytes), c.Value);
    }
    EXPECT_TRUE(std::isnan(ExtendedToDouble(DoubleToExtended(std::nan("")).data())));
    // Extended values beyond double: overflow to infinity, underflow to zero; a 64-bit
    // mantissa rounds to the nearest double.
    const std::uint8_t huge[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0xFF, 0x7F - 1};
    EXPECT_TRUE(std::isinf(ExtendedToDouble(huge)));
    const std::uint8_t tiny[10] = {0, 0, 0, 0, 0, 0, 0, 0x80, 0x01, 0x00};
    EXPECT_EQ(ExtendedToDouble(tiny), 0.0);
    const std::uint8_t third[10] = {0xAB, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xAA, 0xFD, 0x3F};
    EXPECT_EQ(ExtendedToDouble(third), 1.0 / 3.0);
    std::mt19937_64 rng(5);
    for (int i = 0; i < 2000; ++i) {
        double d;
        const std::uint64_t bits = rng();
        std::memcpy(&d, &bits, 8);
        if (std::isnan(d)) continue;
        EXPECT_EQ(ExtendedToDouble(DoubleToExtended(d).data()), d);
    }
}

#if defined(__x86_64__) || defined(__i386__)
TEST(PaintingFileTest, ExtendedMatchesTheX87Format) {
    static_assert(sizeof(long double) >= 10);
    std::mt19937_64 rng(9);
    for (int i = 0; i < 500; ++i) {
        const double d =
            std::ldexp(static_cast<double>(rng() >> 11), static_cast<int>(rng() % 200) - 100);
        const long double ld = d;
        std::uint8_t native[16] = {};
        std::memcpy(native, &ld, 10);
        const auto ours = DoubleToExtended(d);
        EXPECT_EQ(std::memcmp(ours.data(), native, 10), 0) << d;
    }
}
#endif

TEST(PaintingFileTest, FailedWriteLeavesTheFormerFile) {
    TTempDir dir;
    const TShapeList small = SamplePainting();
    WritePaintingFile(dir / "p.kvp", small, "", {});
    const auto before = ReadFileBytes(dir / "p.kvp");
    TShapeList big;
    big.Append(MakeFrameShape(10, 10));
    big.Append(MakeShape(1, std::vector<TShapePoint>(20000, TShapePoint{1, 1})));
    // A file size limit makes the write fail part way, like a full disk.
    rlimit old;
    getrlimit(RLIMIT_FSIZE, &old);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = old;
    limit.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_THROW(WritePaintingFile(dir / "p.kvp", big, "", {}), EFileError);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(ReadFileBytes(dir / "p.kvp"), before);
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.Path()))
        ++files;
    EXPECT_EQ(files, 1);
    // A target that is a folder fails cleanly too.
    std::filesystem::create_directory(dir / "folder.kvp");
    EXPECT_THROW(WritePaintingFile(dir / "folder.kvp", small, "", {}), EFileError);
}

} // namespace
} // namespace pigmentaria
