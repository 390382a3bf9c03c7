#include "convert/regions.h"
#include "test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <random>

namespace pigmentaria {
namespace {

using test::RasterFromText;

const std::map<char, TColor> Colors = {
    {'a', 0x0000C0}, {'b', 0x00C000}, {'c', 0xC00000}, {'d', 0x404040}};

TEST(RegionLabelsTest, FourConnectedAndNumberedInRasterOrder) {
    // Pixels of one colour that touch only at a corner are separate regions: the a at the
    // top-left, the two b, and the a pocket under the first b are four regions.
    const TRegionMap m = LabelRegions(RasterFromText({"abaa", "baca", "aacc"}, Colors));
    ASSERT_EQ(m.Count, 6u);
    EXPECT_EQ(m.At(0, 0), 0u);
    EXPECT_EQ(m.At(1, 0), 1u);
    EXPECT_EQ(m.At(2, 0), 2u);
    EXPECT_EQ(m.At(3, 1), 2u);
    EXPECT_EQ(m.At(0, 1), 3u);
    EXPECT_EQ(m.At(1, 1), 4u);
    EXPECT_EQ(m.At(0, 2), 4u);
    EXPECT_EQ(m.At(1, 2), 4u);
    EXPECT_EQ(m.At(2, 1), 5u);
    EXPECT_EQ(m.At(3, 2), 5u);
}

TEST(RegionLabelsTest, AUShapeJoinsBelowItsArms) {
    const TRegionMap m = LabelRegions(RasterFromText({"abab", "abab", "aaab"}, Colors));
    EXPECT_EQ(m.Count, 3u);
    EXPECT_EQ(m.At(0, 0), m.At(2, 0));
    EXPECT_EQ(m.At(1, 0), 1u);
    EXPECT_EQ(m.At(3, 0), 2u);
}

// Brute force: the nearest pixel centre of another region, the picture's outside included.
std::int32_t NaiveDistance(const TRegionMap& m, int x, int y) {
    std::int32_t best = INT_MAX;
    for (int qy = -1; qy <= m.Height; ++qy)
        for (int qx = -1; qx <= m.Width; ++qx) {
            const bool outside = qx < 0 || qy < 0 || qx >= m.Width || qy >= m.Height;
            if (!outside && m.At(qx, qy) == m.At(x, y)) continue;
            best = std::min(best, (qx - x) * (qx - x) + (qy - y) * (qy - y));
        }
    return best;
}

TEST(RegionDistanceTest, AgreesWithBruteForceOnRandomPictures) {
    std::mt19937 rng(7);
    for (int round = 0; round < 40; ++round) {
        const int w = 1 + static_cast<int>(rng() % 23), h = 1 + static_cast<int>(rng() % 19);
        // Blobs rather than noise: each pixel usually repeats a neighbour's colour.
        TRaster24 r(w, h);
        const TColor palette[3] = {0x000010, 0x001000, 0x100000};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                TColor c = palette[rng() % 3];
                if (rng() % 4 && x > 0) c = r.GetPixel(x - 1, y);
                if (rng() % 3 == 0 && y > 0) c = r.GetPixel(x, y - 1);
                r.SetPixel(x, y, c);
            }
        const TRegionMap m = LabelRegions(r);
        const std::vector<std::int32_t> d = RegionDistanceSquared(m);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                ASSERT_EQ(d[static_cast<std::size_t>(y) * w + x], NaiveDistance(m, x, y))
                    << "round " << round << " at " << x << "," << y;
    }
}

TEST(RegionDistanceTest, SquaresHoldTheirOwnWidth) {
    // A 9 x 9 square inside a border of another colour.
    std::vector<std::string> rows(11, std::string(11, 'a'));
    for (int y = 1; y <= 9; ++y)
        for (int x = 1; x <= 9; ++x)
            rows[y][x] = 'b';
    const TRegionMap m = LabelRegions(RasterFromText(rows, Colors));
    const std::vector<TRegionRoom> rooms = MeasureRegions(m, RegionDistanceSquared(m));
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[1].Area, 81);
    EXPECT_EQ(rooms[1].PoleX, 5);
    EXPECT_EQ(rooms[1].PoleY, 5);
    EXPECT_DOUBLE_EQ(InscribedDiameter(rooms[1].MaxDistanceSquared), 9.0);
    // The frame around it is one pixel wide and holds one pixel; its first such pixel in raster
    // order is its most central.
    EXPECT_DOUBLE_EQ(InscribedDiameter(rooms[0].MaxDistanceSquared), 1.0);
    EXPECT_EQ(rooms[0].PoleX, 0);
    EXPECT_EQ(rooms[0].PoleY, 0);
    EXPECT_GE(rooms[1].MaxDistanceSquared, DistanceSquaredForDiameter(9.0));
    EXPECT_LT(rooms[1].MaxDistanceSquared, DistanceSquaredForDiameter(9.01));
}

TEST(RegionDistanceTest, NeedForADiameterIsTheFirstDistanceThatHoldsIt) {
    for (double d = 0.5; d < 40; d += 0.37) {
        const std::int32_t need = DistanceSquaredForDiameter(d);
        EXPECT_GE(InscribedDiameter(need), d - 1e-9) << d;
        EXPECT_LT(InscribedDiameter(need - 1), d) << d;
    }
}

TEST(RegionLabelsTest, EmptyPictureHasNoRegions) {
    const TRegionMap m = LabelRegions(TRaster24());
    EXPECT_EQ(m.Count, 0u);
    EXPECT_TRUE(RegionDistanceSquared(m).empty());
}

} // namespace
} // namespace pigmentaria
