// The painting's metafiles: read back by our reader they are the rendered painting pixel for
// pixel, and their headers agree with their records, as other readers insist.
#include "image/metafile_fixtures.h"
#include "image/metafile_reader.h"
#include "model/metafile_canvas.h"
#include "model/render.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace pigmentaria {
namespace {

using namespace metafile;

std::vector<std::uint8_t> Draw(const TShapeList& shapes, bool outlines, bool enhanced) {
    TMetafileCanvas canvas(shapes.PaintingWidth(), shapes.PaintingHeight());
    DrawShapes(canvas, shapes, 1.0, outlines);
    return enhanced ? canvas.EnhancedMetafile() : canvas.WindowsMetafile();
}

void ExpectSameRaster(const TRaster24& a, const TRaster24& b) {
    ASSERT_EQ(a.Width(), b.Width());
    ASSERT_EQ(a.Height(), b.Height());
    int differ = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            differ += a.GetPixel(x, y) != b.GetPixel(x, y);
    EXPECT_EQ(differ, 0);
}

class MetafileRoundTrip : public ::testing::TestWithParam<std::tuple<bool, bool>> {};

TEST_P(MetafileRoundTrip, ReadsBackToTheRenderedPainting) {
    const auto [enhanced, outlines] = GetParam();
    const TShapeList shapes = test::TracedPainting(97, 61);
    ASSERT_GT(shapes.Count(), 20u);
    const std::vector<std::uint8_t> bytes = Draw(shapes, outlines, enhanced);
    ASSERT_TRUE(enhanced ? DetectEmf(bytes) : DetectWmf(bytes));
    const TMetafilePicture picture = ReadMetafile(bytes, enhanced);
    ExpectSameRaster(picture.Raster, RenderPainting(shapes, 1.0, outlines));
    EXPECT_EQ(picture.BitCount, 24);
}

INSTANTIATE_TEST_SUITE_P(Formats, MetafileRoundTrip,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()));

// A shape of more vertices than a Windows metafile polygon can count.
TShapeList HugeShapePainting() {
    TShapeList shapes;
    shapes.Append(MakeFrameShape(240, 240));
    std::vector<TShapePoint> pts;
    const int n = 40000;
    for (int k = 0; k < n; ++k) {
        const double a = 2 * 3.14159265358979 * k / n;
        const double r = 70 + 40 * std::sin(a * 23);
        pts.push_back({static_cast<std::int32_t>(120 + r * std::cos(a)),
                       static_cast<std::int32_t>(120 + r * std::sin(a))});
    }
    shapes.Append(MakeShape(MakeColor(200, 30, 90), std::move(pts)));
    shapes.Append(MakeShape(MakeColor(10, 200, 20), {{100, 100}, {140, 100}, {120, 150}}));
    return shapes;
}

TEST(MetafileCanvas, PolygonBeyondSixteenBitCountReadsBackExactly) {
    const TShapeList shapes = HugeShapePainting();
    for (bool outlines : {false, true}) {
        SCOPED_TRACE(outlines);
        const std::vector<std::uint8_t> wmf = Draw(shapes, outlines, false);
        ExpectSameRaster(ReadMetafile(wmf, false).Raster, RenderPainting(shapes, 1.0, outlines));
    }
}

// Walks the records of a Windows metafile and checks the header's size, object and largest
// record fields against them.
TEST(MetafileCanvas, WindowsMetafileHeaderAgreesWithItsRecords) {
    for (const TShapeList& shapes : {test::TracedPainting(40, 30), HugeShapePainting()}) {
        const std::vector<std::uint8_t> b = Draw(shapes, false, false);
        const std::uint8_t* d = b.data();
        const std::size_t n = b.size();
        ASSERT_EQ(GetU32(d, n, 0), PlaceableMagic);
        EXPECT_EQ(PlaceableChecksum(d), GetU16(d, n, 20));
        EXPECT_EQ(GetI16(d, n, 10), shapes.PaintingWidth());
        EXPECT_EQ(GetI16(d, n, 12), shapes.PaintingHeight());
        EXPECT_EQ(std::size_t(GetU32(d, n, 22 + 6)) * 2, n - 22);
        std::size_t at = 22 + 18, largest = 0;
        std::set<int> live;
        std::size_t mostLive = 0;
        bool sawEof = false;
        while (at < n) {
            const std::size_t words = GetU32(d, n, at);
            ASSERT_GE(words, 3u);
            const std::uint16_t fn = GetU16(d, n, at + 4);
            largest = std::max(largest, words);
            if (fn == META_CREATEPENINDIRECT || fn == META_CREATEBRUSHINDIRECT) {
                int slot = 0;
                while (live.count(slot))
                    ++slot;
                live.insert(slot);
                mostLive = std::max(mostLive, live.size());
            } else if (fn == META_SELECTOBJECT) {
                EXPECT_TRUE(live.count(GetU16(d, n, at + 6)));
            } else if (fn == META_DELETEOBJECT) {
                EXPECT_EQ(live.erase(GetU16(d, n, at + 6)), 1u);
            }
            at += words * 2;
            if (fn == META_EOF) {
                sawEof = true;
                break;
            }
        }
        EXPECT_TRUE(sawEof);
        EXPECT_EQ(at, n);
        EXPECT_TRUE(live.empty());
        EXPECT_EQ(GetU16(d, n, 22 + 10), mostLive);
        EXPECT_EQ(GetU32(d, n, 22 + 12), largest);
    }
}

TEST(MetafileCanvas, EnhancedMetafileHeaderAgreesWithItsRecords) {
    const TShapeList shapes = test::TracedPainting(40, 30);
    const std::vector<std::uint8_t> b = Draw(shapes, false, true);
    const std::uint8_t* d = b.data();
    const std::size_t n = b.size();
    EXPECT_EQ(GetU32(d, n, 48), n);
    EXPECT_EQ(GetU32(d, n, EmfSignatureOffset), EmfSignature);
    std::size_t at = 0, records = 0;
    std::uint32_t last = 0, maxHandle = 0;
    while (at < n) {
        const std::uint32_t size = GetU32(d, n, at + 4);
        ASSERT_GE(size, 8u);
        ASSERT_EQ(size % 4, 0u);
        last = GetU32(d, n, at);
        if (last == EMR_CREATEPEN || last == EMR_CREATEBRUSHINDIRECT)
            maxHandle = std::max(maxHandle, GetU32(d, n, at + 8));
        at += size;
        ++records;
    }
    EXPECT_EQ(at, n);
    EXPECT_EQ(last, EMR_EOF);
    EXPECT_EQ(GetU32(d, n, 52), records);
    EXPECT_GT(GetU16(d, n, 56), maxHandle);
    EXPECT_GE(maxHandle, 1u); // index 0 stands for the metafile itself
}

} // namespace
} // namespace pigmentaria
